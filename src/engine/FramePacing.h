#pragma once
// Frame rate derived from the display's refresh rate, and the pacing of frames.

#include <cstdint>

inline constexpr int32_t MinFrameRateHz = 200;
inline constexpr int32_t MaxFrameRateHz = 360;

// The refresh rate held to 200..360 frames per second (0, unknown, gives 200).
constexpr int32_t FrameRateForRefresh(int32_t refreshRateHz) {
    return refreshRateHz < MinFrameRateHz ? MinFrameRateHz
                                          : (refreshRateHz > MaxFrameRateHz ? MaxFrameRateHz : refreshRateHz);
}

// Paces frames one period apart, start to start. The frame's own work (mostly
// SendInput, which every installed hook slows down) comes out of the wait, and so
// does the timer's typical lateness, learned as a running median over the frames:
// a late wake-up is not chased with a short frame, it only nudges the estimate.
// After an overrun the next wait is still a tenth of a period, so a loaded machine
// gets no burst of catch-up frames.
class FrameScheduler {
public:
    // The first frame of a run of frames starts now.
    void Restart(double nowMs) { frameStartMs_ = nowMs; }

    // After the frame's work: how long to wait before the next frame, in ms.
    double NextWaitMs(double nowMs, int32_t frameRateHz) {
        const double period = 1000.0 / frameRateHz;
        double wait = period - (nowMs - frameStartMs_) - latenessMs_;
        if (wait > period) wait = period; // a clock that went backwards
        if (wait < period / 10) wait = period / 10;
        dueMs_ = nowMs + wait;
        return wait;
    }

    // The wait has ended: the next frame starts now.
    void Woke(double nowMs) {
        constexpr double step = 0.01, maxLateness = 1.0;
        latenessMs_ += nowMs - dueMs_ > latenessMs_ ? step : -step;
        if (latenessMs_ < 0) latenessMs_ = 0;
        if (latenessMs_ > maxLateness) latenessMs_ = maxLateness;
        frameStartMs_ = nowMs;
    }

    double TypicalLatenessMs() const { return latenessMs_; }

private:
    double frameStartMs_ = 0.0, dueMs_ = 0.0, latenessMs_ = 0.0;
};
