#pragma once
// The wheel target program started as a process of its own under a chosen file
// name (a game, a browser), so the real program classifies it as it would the
// real thing. Its wheel messages come back through a shared report.

#include <string>
#include <vector>

#include "platform/UniqueHandle.h"
#include "support/TargetReport.h"
#include "support/WheelTargetWindow.h"

struct TargetPlacement {
    int x, y, width, height;
};

class TargetProcess {
public:
    // Copies the target program into folder under exeName (once per name) and starts
    // it with a top-level window of this class and title, and a child window inside when asked.
    TargetProcess(const std::wstring& folder, const std::wstring& exeName, const std::wstring& windowClass,
                  const std::wstring& title, TargetPlacement placement, bool withChild = false);
    ~TargetProcess(); // closes the window, and ends a process that does not leave
    TargetProcess(const TargetProcess&) = delete;
    TargetProcess& operator=(const TargetProcess&) = delete;

    bool IsReady() const { return report_ && report_->ready; }
    HWND Window() const;
    HWND Child() const;
    // Moves the cursor to the middle of the window (over the child when there is one).
    void PlaceCursor() const;

    std::vector<ReceivedWheel> Received() const;
    // One notch with the cursor over the window: what arrived until the wheel was quiet.
    std::vector<ReceivedWheel> NotchOver();
    void Clear() { seen_ = report_ ? report_->count : 0; }

private:
    TargetPlacement placement_;
    UniqueKernelHandle mapping_;
    TargetReport* report_ = nullptr;
    UniqueKernelHandle process_;
    LONG seen_ = 0; // records before this were cleared
};

// Waits until none of the sources received a wheel message for quietMs (or timeoutMs
// passed); each source is a callable returning its messages so far.
template <typename... Sources>
void WaitUntilAllQuiet(int quietMs, int timeoutMs, Sources&... sources) {
    const double start = QpcNowMs();
    for (;;) {
        Sleep(10);
        double last = start;
        auto latest = [&last](const std::vector<ReceivedWheel>& events) {
            if (!events.empty() && events.back().timeMs > last) last = events.back().timeMs;
        };
        (latest(sources.Received()), ...);
        const double now = QpcNowMs();
        if (now - last >= quietMs || now - start >= timeoutMs) return;
    }
}
