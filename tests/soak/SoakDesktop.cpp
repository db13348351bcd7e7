#include "soak/SoakDesktop.h"

#include <algorithm>

#include "e2e/DesktopInput.h"

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

SoakDesktop::SoakDesktop() {
    for (Spot spot : {Spot::Chrome, Spot::Game, Spot::Firefox}) Start(spot);
}

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
    ++starts_;
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

void SoakDesktop::PointAt(Spot spot, std::mt19937* random) {
    const POINT point = PointIn(spot, random);
    MovePointer(point);
    const HWND window =
        GetAncestor(spot == Spot::Own ? WindowFromPoint(point) : TargetAt(spot).process->Window(), GA_ROOT);
    if (GetForegroundWindow() != window) SetForegroundWindow(window);
}

void SoakDesktop::Nudge(Spot spot, std::mt19937& random) {
    const POINT point = PointIn(spot, &random);
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

void SoakDesktop::ShowExcludedSite(bool excluded) {
    chromeShowsExcludedSite_ = excluded;
    // Sent across processes as WM_SETTEXT: the title has changed when this returns.
    SetWindowTextW(TargetAt(Spot::Chrome).process->Window(), excluded ? ExcludedPageTitle : OtherPageTitle);
}

void SoakDesktop::RestartBrowser() { Start(Spot::Chrome); }
