#include "exclusions/BrowserWatcherThread.h"

#include <system_error>
#include <vector>

#include "exclusions/BrowserPoller.h"
#include "exclusions/PointTargetWin32.h"
#include "exclusions/ProcessQueriesWin32.h"
#include "exclusions/UiAutomationTree.h"
#include "platform/ComApartment.h"
#include "settings/ConfigStore.h"

namespace {

constexpr DWORD PollPeriodMs = 300;
constexpr int ClassNameChars = 64;

HWND AsWindow(WindowId window) { return reinterpret_cast<HWND>(window); }

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    try {
        reinterpret_cast<std::vector<WindowId>*>(list)->push_back(reinterpret_cast<WindowId>(window));
    } catch (...) {
        // Out of memory: the windows collected so far are examined.
    }
    return TRUE;
}

class Win32BrowserWindows : public BrowserWindowQueries {
public:
    // The windows are collected first and examined after, so nothing the poll does
    // runs inside the system's callback.
    void ForEachTopLevelWindow(const std::function<void(WindowId)>& visit) override {
        std::vector<WindowId> windows;
        EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
        for (WindowId window : windows) visit(window);
    }
    bool IsVisible(WindowId window) override { return IsWindowVisible(AsWindow(window)) != FALSE; }
    std::wstring ClassName(WindowId window) override {
        wchar_t buffer[ClassNameChars] = {};
        const int length = GetClassNameW(AsWindow(window), buffer, ClassNameChars);
        return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    }
    std::wstring Title(WindowId window) override { return ReadWindowTitle(AsWindow(window)); }
    uint32_t ProcessIdOf(WindowId window) override { return WindowProcessId(AsWindow(window)); }
    WindowId Foreground() override { return reinterpret_cast<WindowId>(GetForegroundWindow()); }
    bool ReadImagePath(uint32_t processId, std::wstring& path) override {
        const UniqueKernelHandle process = OpenProcessForQuery(processId);
        return process && ReadProcessImagePath(process.get(), path);
    }
    uint64_t TickMs() override { return GetTickCount64(); }
};

void RunWatcher(HANDLE stopEvent, HANDLE changedEvent, const ConfigStore& store, AddressBook& addresses,
                BrowserWatcherThread::TreeFactory makeTree) {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    const ComApartment apartment(COINIT_MULTITHREADED);
    // Whether or not the apartment was entered, and whether or not the automation
    // object exists: windows are still tracked and empty addresses published.
    std::unique_ptr<AutomationTree> tree = makeTree ? makeTree() : std::make_unique<UiAutomationTree>();
    Win32BrowserWindows windows;
    const auto stopRequested = [stopEvent] { return WaitForSingleObject(stopEvent, 0) != WAIT_TIMEOUT; };
    BrowserPoller poller(windows, *tree, addresses, store, stopRequested); // released before the tree
    const HANDLE events[] = {stopEvent, changedEvent};
    for (;;) {
        // Without site rules nothing reads the addresses: no poll, no wake-up until
        // the settings change.
        const bool polling = store.HasSiteExclusions();
        const DWORD woke = WaitForMultipleObjects(polling ? 1 : 2, events, FALSE, polling ? PollPeriodMs : INFINITE);
        if (woke != WAIT_TIMEOUT && woke != WAIT_OBJECT_0 + 1) break; // stopped, or the wait failed
        poller.Poll();
    }
}

} // namespace

void BrowserWatcherThread::Start(ConfigStore& store, AddressBook& addresses, TreeFactory makeTree) {
    if (worker_.joinable()) return;
    stopEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    changedEvent_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    exitedEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stopEvent_ || !changedEvent_ || !exitedEvent_) return;
    const HANDLE stopEvent = stopEvent_.get(), changedEvent = changedEvent_.get(), exitedEvent = exitedEvent_.get();
    store_ = &store;
    store.SetChangeListener([changedEvent] { SetEvent(changedEvent); });
    try {
        worker_ = std::thread([=, &store, &addresses] {
            try {
                RunWatcher(stopEvent, changedEvent, store, addresses, makeTree);
            } catch (...) {
                // Out of memory in a poll: the watcher ends; titles still match.
            }
            SetEvent(exitedEvent);
        });
    } catch (const std::system_error&) {
        store.SetChangeListener({}); // no thread: nothing runs and every address stays empty
        store_ = nullptr;
    }
}

bool BrowserWatcherThread::Stop(DWORD timeoutMs) {
    if (!worker_.joinable()) return true;
    store_->SetChangeListener({});
    SetEvent(stopEvent_.get());
    if (WaitForSingleObject(exitedEvent_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
    worker_.join(); // returns at once: the thread has done its last step
    store_ = nullptr;
    stopEvent_.reset();
    changedEvent_.reset();
    exitedEvent_.reset();
    return true;
}
