#pragma once
// A visible window that records every wheel message it receives, with its time and
// the extra info the injecting program attached, on a thread of its own.

#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Win32.h"

struct ReceivedWheel {
    bool horizontal;
    int delta;
    ULONG_PTR extraInfo;
    double timeMs;
};

double QpcNowMs();

// Waits until QpcNowMs() reaches a moment on a high-resolution waitable timer, so
// notches are sent at the gaps a test asks for (Sleep would round them to the tick).
class InputPacer {
public:
    InputPacer();
    ~InputPacer();
    InputPacer(const InputPacer&) = delete;
    InputPacer& operator=(const InputPacer&) = delete;
    void WaitUntil(double qpcMs);

private:
    HANDLE timer_;
};

class WheelTargetWindow {
public:
    WheelTargetWindow(); // shown at (100, 100), 500 × 500, cursor moved to its centre
    ~WheelTargetWindow();

    std::vector<ReceivedWheel> Received();
    void Clear();
    // Waits until no wheel message arrived for quietMs (or timeoutMs passed).
    std::vector<ReceivedWheel> WaitUntilQuiet(int quietMs = 150, int timeoutMs = 5000);
    void PlaceCursor();

private:
    static LRESULT CALLBACK Procedure(HWND, UINT, WPARAM, LPARAM);
    void Run();

    std::mutex lock_;
    std::vector<ReceivedWheel> received_;
    double lastReceiptMs_ = 0;
    HWND window_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE created_ = nullptr;
    std::thread thread_;
};

// Input as the user's hardware would send it (unmarked unless extraInfo is given).
void InjectWheel(int delta, bool horizontal = false, ULONG_PTR extraInfo = 0);
