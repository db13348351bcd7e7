#include "soak/SoakDesktop.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <mutex>
#include <thread>
#include <utility>

#include "engine/WheelInjection.h"
#include "platform/UniqueHandle.h"
#include "support/DesktopInput.h"

namespace {

struct SpotInfo {
    const char* name;
    const wchar_t* exe;
    const wchar_t* windowClass;
    TargetPlacement place;
    bool withChild;
};

// Apart from each other and from the own window at (100, 100), 500 × 500; all topmost,
// so the settings window, when shown, never covers them.
const SpotInfo Spots[SpotCount] = {
    {"own window", nullptr, nullptr, {100, 100, 500, 500}, false},
    {"chrome.exe", L"chrome.exe", L"Chrome_WidgetWin_1", {660, 100, 360, 260}, true},
    {"game.exe", L"game.exe", L"GameWindow", {660, 400, 200, 160}, false},
    {"firefox.exe", L"firefox.exe", L"MozillaWindowClass", {880, 400, 260, 160}, true},
};

const wchar_t* const ExcludedPageTitle = L"Wikipedia, the free encyclopedia - Google Chrome";
const wchar_t* const OtherPageTitle = L"Weather forecast - Google Chrome";
const wchar_t* const FirefoxTitle = L"Смешное видео — Mozilla Firefox";

constexpr size_t RecordsBeforeRestart = TargetReport::MaxRecords / 2;

} // namespace

const char* SpotName(Spot spot) { return Spots[static_cast<int>(spot)].name; }

// How the system saw each notch. Under Wine the pointer is not always where it was last
// put (the X server's pointer, which moves apart from the system's when input is
// injected under a low-level hook, can be reported again and take the system's pointer
// along), and a change of focus takes the keyboard state from the X server, which lets
// go of keys pressed with SendInput. A low-level hook of our own, installed after the
// program's and so called before it, keeps the point and the modifier keys of every
// wheel event without the program's marker and passes it on.
class NotchWatch {
public:
    NotchWatch() {
        instance_ = this;
        thread_ = std::thread([this] { Run(); });
        WaitForSingleObject(ready_.get(), 5000);
    }
    ~NotchWatch() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        instance_ = nullptr;
    }
    NotchWatch(const NotchWatch&) = delete;
    NotchWatch& operator=(const NotchWatch&) = delete;

    std::vector<SeenNotch> Take() {
        std::lock_guard<std::mutex> hold(lock_);
        return std::exchange(notches_, {});
    }

private:
    void Run() {
        MSG message;
        PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // the queue, for WM_QUIT
        threadId_ = GetCurrentThreadId();
        const HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, Procedure, GetModuleHandleW(nullptr), 0);
        SetEvent(ready_.get());
        while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        if (hook) UnhookWindowsHookEx(hook);
    }
    static LRESULT CALLBACK Procedure(int code, WPARAM message, LPARAM lParam) {
        if (code >= 0 && (message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL)) {
            const auto* data = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
            if (data->dwExtraInfo != WheelMarker && instance_) {
                const double atMs = QpcNowMs();
                const bool shift = GetAsyncKeyState(VK_SHIFT) < 0;
                const bool modifier = (GetAsyncKeyState(VK_CONTROL) | GetAsyncKeyState(VK_MENU) |
                                       GetAsyncKeyState(VK_LWIN) | GetAsyncKeyState(VK_RWIN)) < 0;
                std::lock_guard<std::mutex> hold(instance_->lock_);
                instance_->notches_.push_back({data->pt, shift, modifier, atMs});
            }
        }
        return CallNextHookEx(nullptr, code, message, lParam);
    }

    static inline NotchWatch* instance_ = nullptr;
    std::mutex lock_;
    std::vector<SeenNotch> notches_;
    UniqueKernelHandle ready_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    DWORD threadId_ = 0;
    std::thread thread_; // last: ends first
};

SoakDesktop::SoakDesktop() {
    const TargetPlacement& own = Spots[0].place;
    ownWindow_ = GetAncestor(WindowFromPoint({own.x + own.width / 2, own.y + own.height / 2}), GA_ROOT);
    for (Spot spot : {Spot::Chrome, Spot::Game, Spot::Firefox}) Start(spot);
}

SoakDesktop::~SoakDesktop() = default;

void SoakDesktop::WatchNotches() {
    watch_.reset(); // one at a time: the hook's procedure finds its watch through a static
    watch_ = std::make_unique<NotchWatch>();
}

std::string SoakDesktop::SpotAt(POINT point) {
    const HWND window = GetAncestor(WindowFromPoint(point), GA_ROOT);
    if (window && window == ownWindow_) return SpotName(Spot::Own);
    for (Spot spot : {Spot::Chrome, Spot::Game, Spot::Firefox})
        if (window && window == TargetAt(spot).process->Window()) return SpotName(spot);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return "a window of class " + std::string(name, name + wcslen(name));
}

std::vector<SeenNotch> SoakDesktop::NotchesSeen() { return watch_ ? watch_->Take() : std::vector<SeenNotch>(); }

void SoakDesktop::Start(Spot spot) {
    const SpotInfo& info = Spots[static_cast<int>(spot)];
    const wchar_t* title = spot == Spot::Chrome ? (chromeShowsExcludedSite_ ? ExcludedPageTitle : OtherPageTitle)
                           : spot == Spot::Game ? L"Game"
                                                : FirefoxTitle;
    Target& target = TargetAt(spot);
    target.process.reset(); // the old process ends before the new one takes its place
    target.process =
        std::make_unique<TargetProcess>(copies_.Path(), info.exe, info.windowClass, title, info.place, info.withChild);
    target.recordsUsed = 0;
}

bool SoakDesktop::IsReady() const {
    return std::all_of(std::begin(targets_), std::end(targets_),
                       [](const Target& t) { return t.process && t.process->IsReady(); });
}

POINT SoakDesktop::PointIn(Spot spot, std::mt19937* random) const {
    const TargetPlacement& place = Spots[static_cast<int>(spot)].place;
    if (!random) return {place.x + place.width / 2, place.y + place.height / 2};
    // Clear of the 10-pixel frame around a browser's page.
    return {std::uniform_int_distribution<int>(place.x + 15, place.x + place.width - 15)(*random),
            std::uniform_int_distribution<int>(place.y + 15, place.y + place.height - 15)(*random)};
}

bool SoakDesktop::PointAt(Spot spot, std::mt19937* random) {
    const POINT point = PointIn(spot, random);
    MovePointer(point);
    const HWND window = spot == Spot::Own ? ownWindow_ : TargetAt(spot).process->Window();
    // The X server's answer to a change of focus resets the keyboard state: it must be
    // in before a key is pressed.
    const bool focusMoves = GetForegroundWindow() != window;
    if (focusMoves) SetForegroundWindow(window);
    Sleep(focusMoves ? 150 : 30); // the move reaches the hooks; a late report of the X pointer comes by now
    POINT now = {};
    GetCursorPos(&now); // the system's own pointer within 100 ms of a move, under Wine too
    return std::abs(now.x - point.x) <= 1 && std::abs(now.y - point.y) <= 1;
}

void SoakDesktop::MoveOver(Spot spot, std::mt19937& random, bool keyHeld) {
    const POINT point = PointIn(spot, &random);
    if (!keyHeld) return MovePointer(point);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = point.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = point.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

bool SoakDesktop::IsExcluded(Spot spot) const {
    return spot == Spot::Game || spot == Spot::Firefox || (spot == Spot::Chrome && chromeShowsExcludedSite_);
}

std::vector<ReceivedWheel> SoakDesktop::ReceivedEverywhere() {
    std::vector<ReceivedWheel> events = own_.Received();
    for (const Target& target : targets_) {
        const std::vector<ReceivedWheel> more = target.process->Received();
        events.insert(events.end(), more.begin(), more.end());
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const ReceivedWheel& a, const ReceivedWheel& b) { return a.timeMs < b.timeMs; });
    return events;
}

void SoakDesktop::ClearAll() {
    if (watch_) watch_->Take();
    own_.Clear();
    for (Spot spot : {Spot::Chrome, Spot::Game, Spot::Firefox}) {
        Target& target = TargetAt(spot);
        target.recordsUsed += target.process->Received().size();
        target.process->Clear();
        // A report that fills up drops what comes later: a fresh process well before.
        if (target.recordsUsed > RecordsBeforeRestart) Start(spot);
    }
}

void SoakDesktop::WaitUntilQuiet(int quietMs, int timeoutMs) {
    WaitUntilAllQuiet(quietMs, timeoutMs, own_, *TargetAt(Spot::Chrome).process, *TargetAt(Spot::Game).process,
                      *TargetAt(Spot::Firefox).process);
}

namespace {

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    if (!window || !GetClassNameW(window, name, 64)) return "none";
    return std::string(name, name + wcslen(name));
}

std::string Units(const std::vector<ReceivedWheel>& events) {
    int vertical = 0, horizontal = 0;
    for (const ReceivedWheel& e : events) (e.horizontal ? horizontal : vertical) += e.delta;
    return std::to_string(events.size()) + " events " + std::to_string(vertical) + "/" + std::to_string(horizontal);
}

} // namespace

std::string SoakDesktop::Describe() {
    std::string text = "  windows: own " + Units(own_.Received());
    for (Spot spot : {Spot::Chrome, Spot::Game, Spot::Firefox})
        text += ", " + std::string(SpotName(spot)) + " " + Units(TargetAt(spot).process->Received());
    POINT cursor = {};
    GetCursorPos(&cursor);
    text += "\n  pointer at (" + std::to_string(cursor.x) + ", " + std::to_string(cursor.y) + ") over " +
            ClassOf(WindowFromPoint(cursor)) + "; in front: " + ClassOf(GetForegroundWindow()) + "; keys down:";
    for (const auto& [key, name] : {std::pair{VK_CONTROL, " Ctrl"}, {VK_MENU, " Alt"}, {VK_SHIFT, " Shift"},
                                    {VK_LWIN, " LWin"}, {VK_RWIN, " RWin"}})
        if (GetAsyncKeyState(key) < 0) text += name;
    return text;
}

void SoakDesktop::ShowExcludedSite(bool excluded) {
    chromeShowsExcludedSite_ = excluded;
    // Sent across processes as WM_SETTEXT: the title has changed when this returns.
    SetWindowTextW(TargetAt(Spot::Chrome).process->Window(), excluded ? ExcludedPageTitle : OtherPageTitle);
}

void SoakDesktop::RestartBrowser() { Start(Spot::Chrome); }
