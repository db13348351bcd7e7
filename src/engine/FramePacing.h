#pragma once
// Frame rate and wait derived from the display's refresh rate.

#include <cstdint>

inline constexpr int32_t MinFrameRateHz = 200;
inline constexpr int32_t MaxFrameRateHz = 360;

// The refresh rate held to 200..360 frames per second (0, unknown, gives 200).
constexpr int32_t FrameRateForRefresh(int32_t refreshRateHz) {
    return refreshRateHz < MinFrameRateHz ? MinFrameRateHz
                                          : (refreshRateHz > MaxFrameRateHz ? MaxFrameRateHz : refreshRateHz);
}

// A waitable timer's relative due time for one frame, in 100-ns units (negative = relative).
constexpr int64_t FrameWaitDueTime(int32_t frameRateHz) { return -(10'000'000LL / frameRateHz); }

// When the next frame is due: one period after the current one was due, so the
// frame's own work (mostly SendInput, which the system's hooks make slow) and the
// timer's lateness come out of the wait instead of stretching every frame. After a
// stall the schedule restarts from now with at least a tenth of a period to wait,
// so a loaded machine gets no burst of catch-up frames.
constexpr double NextFrameDueMs(double currentDueMs, double nowMs, int32_t frameRateHz) {
    const double period = 1000.0 / frameRateHz;
    double next = currentDueMs + period;
    if (next > nowMs + period) next = nowMs + period; // a clock that went backwards
    if (next < nowMs + period / 10) next = nowMs + period / 10;
    return next;
}
