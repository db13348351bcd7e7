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
