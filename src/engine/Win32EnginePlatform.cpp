#include "engine/Win32EnginePlatform.h"

#include <atomic>

#include <dwmapi.h>
#include <mmsystem.h>

#include "engine/DisplayRefreshRate.h"
#include "engine/WheelInjection.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

bool IsZoomOrSystemModifierDown() {
    const SHORT state = GetAsyncKeyState(VK_CONTROL) | GetAsyncKeyState(VK_MENU) | GetAsyncKeyState(VK_LWIN) |
                        GetAsyncKeyState(VK_RWIN);
    return (state & 0x8000) != 0;
}

Win32EnginePlatform::Win32EnginePlatform() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    counterFrequency_ = static_cast<double>(frequency.QuadPart);
    wakeEvent_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    // A high-resolution timer keeps frames precise without raising the system-wide timer resolution.
    frameTimer_.reset(
        CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
    highResolution_ = static_cast<bool>(frameTimer_);
    if (!frameTimer_) frameTimer_.reset(CreateWaitableTimerW(nullptr, FALSE, nullptr));
}

double Win32EnginePlatform::NowMs() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / counterFrequency_;
}

void Win32EnginePlatform::SetWake() {
    if (wakeEvent_) SetEvent(wakeEvent_.get());
}

void Win32EnginePlatform::WaitForWake() {
    if (wakeEvent_) WaitForSingleObject(wakeEvent_.get(), INFINITE);
    else Sleep(1); // no event could be made: poll rather than never wake
}

void Win32EnginePlatform::OnEngineThreadStart() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST); }

void Win32EnginePlatform::BeginFrames() {
    if (!highResolution_ && !periodRaised_) {
        timeBeginPeriod(1);
        periodRaised_ = true;
    }
}

void Win32EnginePlatform::EndFrames() {
    if (periodRaised_) {
        timeEndPeriod(1);
        periodRaised_ = false;
    }
}

bool Win32EnginePlatform::IsModifierDown() { return IsZoomOrSystemModifierDown(); }

void Win32EnginePlatform::WaitUntil(double dueMs) {
    const double waitMs = dueMs - NowMs();
    if (waitMs <= 0) return;
    if (!frameTimer_) {
        while (NowMs() < dueMs) Sleep(1);
        return;
    }
    // The timer's absolute form counts system time, which may be set or slewed; the
    // deadline is on the performance counter, so the wait is made relative to it here.
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(waitMs * 10'000.0); // 100 ns
    if (due.QuadPart == 0) return;
    SetWaitableTimer(frameTimer_.get(), &due, 0, nullptr, nullptr, FALSE);
    WaitForSingleObject(frameTimer_.get(), INFINITE);
}

void Win32EnginePlatform::EmitWheelStep(bool horizontal, int32_t step) { ::EmitWheelStep(horizontal, step); }

namespace {
std::atomic<Win32EnginePlatform::DisplaySource> g_displaySource{ReadDisplayTable};
}

void Win32EnginePlatform::UseDisplaySource(DisplaySource source) { g_displaySource = source; }

DisplayTable Win32EnginePlatform::ReadDisplays() { return g_displaySource.load()(); }

// Desktop composition is always on in Windows 10 and 11; the window must be null since 8.1.
bool Win32EnginePlatform::ReadDisplayTiming(DisplayTiming& timing) {
    DWM_TIMING_INFO info = {};
    info.cbSize = sizeof info;
    if (FAILED(DwmGetCompositionTimingInfo(nullptr, &info)) || info.qpcRefreshPeriod == 0) return false;
    timing.periodMs = static_cast<double>(info.qpcRefreshPeriod) * 1000.0 / counterFrequency_;
    timing.vblankMs = static_cast<double>(info.qpcVBlank) * 1000.0 / counterFrequency_;
    return true;
}
