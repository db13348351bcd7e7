#include "exclusions/BrowserWatcherThread.h"

#include <system_error>
#include <vector>

#include "exclusions/BrowserPoller.h"
#include "exclusions/PointTargetWin32.h"
#include "exclusions/ProcessQueriesWin32.h"
#include "exclusions/UiAutomationTree.h"

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

// Enters the multithreaded apartment; leaves it only if entering succeeded.
class ComApartment {
public:
    ComApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComApartment() {
        if (entered_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool entered_;
};

void RunWatcher(HANDLE stopEvent, const ConfigStore& store, AddressBook& addresses) {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
    ComApartment apartment;
    // Whether or not the apartment was entered, and whether or not the automation
    // object exists: windows are still tracked and empty addresses published.
    UiAutomationTree tree;
    Win32BrowserWindows windows;
    BrowserPoller poller(windows, tree, addresses, store); // released before the tree
    while (WaitForSingleObject(stopEvent, PollPeriodMs) == WAIT_TIMEOUT) poller.Poll();
}

} // namespace

void BrowserWatcherThread::Start(const ConfigStore& store, AddressBook& addresses) {
    if (worker_.joinable()) return;
    stopEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!stopEvent_) return;
    const HANDLE stopEvent = stopEvent_.get();
    try {
        worker_ = std::thread([stopEvent, &store, &addresses] {
            try {
                RunWatcher(stopEvent, store, addresses);
            } catch (...) {
                // Out of memory in a poll: the watcher ends; titles still match.
            }
        });
    } catch (const std::system_error&) {
        stopEvent_.reset(); // no thread: nothing runs and every address stays empty
    }
}

void BrowserWatcherThread::Stop() {
    if (!worker_.joinable()) return;
    SetEvent(stopEvent_.get());
    worker_.join();
    stopEvent_.reset();
}
