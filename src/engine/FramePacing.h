#pragma once
// The frame rate a glide runs at, chosen from the refresh rate of its display, and the
// times its frames are due.
//
// What the eye sees is how far the content moves from one display frame to the next:
// only a frame rate that is a whole multiple of the refresh rate gives every display
// frame the same number of wheel events, and only frames kept away from the display's
// own frame boundaries stop a late wake-up from slipping an event into the next one.

#include <cstdint>

inline constexpr int32_t MinFrameRateHz = 200;
inline constexpr int32_t MaxFrameRateHz = 360;

// The frame rate for a display of refreshHz: its smallest whole multiple within
// 200..360 (60 → 240, 144 → 288); where none fits, its largest whole divisor there
// (480 → 240); else the nearer bound. Unknown (0 or less) gives 200.
constexpr int32_t FrameRateForRefresh(int32_t refreshHz) {
    if (refreshHz <= 0) return MinFrameRateHz;
    for (int32_t multiple = refreshHz; multiple <= MaxFrameRateHz; multiple += refreshHz) {
        if (multiple >= MinFrameRateHz) return multiple;
    }
    for (int32_t divisor = 2; refreshHz / divisor >= MinFrameRateHz; ++divisor) {
        if (refreshHz % divisor == 0 && refreshHz / divisor <= MaxFrameRateHz) return refreshHz / divisor;
    }
    return refreshHz < MinFrameRateHz ? MinFrameRateHz : MaxFrameRateHz;
}

// Frames and display intervals line up: the frame rate is a whole multiple or a whole
// divisor of the refresh rate, so each frame can keep its place in the display's interval.
constexpr bool LinesUpWithRefresh(int32_t refreshHz, int32_t frameRateHz) {
    return refreshHz > 0 && frameRateHz > 0 && (frameRateHz % refreshHz == 0 || refreshHz % frameRateHz == 0);
}

// One reading of the display's clock, on the engine's clock (ms): how long a refresh
// lasts and when the last one began. Windows tells both (DwmGetCompositionTimingInfo).
struct DisplayTiming {
    double periodMs = 0.0;
    double vblankMs = 0.0;
};

// Frame k of a glide is due at the anchor plus k frame periods: absolute deadlines, so a
// late wake-up shortens the next wait instead of delaying every frame after it. With the
// display's timing, the anchor is the middle of a frame's share of the display interval,
// as far from both of its edges as it can be. The frames wake before their deadline by
// the typical time from the wait's end to the step's leaving (the timer's lateness and
// the frame's own work), learned over the frames, so that steps leave around it. The
// glide's frame rate never changes.
class FrameScheduler {
public:
    // Frames between two readings of the display's clock while in step with it.
    static constexpr int PhaseCheckFrames = 64;

    // A glide's first frame runs now, at frameRateHz on a display of refreshHz (0:
    // unknown). timing: the display's clock, or null when the system did not tell it;
    // it is used only when it agrees with refreshHz and the two rates line up.
    void Start(double nowMs, int32_t refreshHz, int32_t frameRateHz, const DisplayTiming* timing);

    // After a frame's work (done at nowMs): schedules the next frame and returns when to
    // wake for it. Its deadline may lie up to half a period in the past after a late
    // wake-up (that frame runs at once); frames further behind are skipped: no burst of
    // catch-up frames.
    double NextWakeMs(double nowMs);
    // The frame's steps have left at doneMs: how far that was from its deadline.
    void FrameDone(double doneMs);

    // The time a frame that woke at wokeMs samples the curve at: its deadline, so that a
    // wake-up off it changes when the step is sent but not how far it moves, and each
    // display interval moves as the curve does. A frame woken more than half a period
    // early (a wait that could not be made) takes the clock as it is.
    double FrameTimeMs(double wokeMs) const { return wokeMs < dueMs_ - periodMs_ / 2 ? wokeMs : dueMs_; }

    // While in step: a fresh reading of the display's clock is due.
    bool WantsTiming() const { return inStep_ && framesSinceCheck_ >= PhaseCheckFrames; }
    // A fresh reading (null: the system did not answer). The frames are anchored again
    // when they have drifted more than a quarter of a frame from their place.
    void CheckPhase(const DisplayTiming* timing);

private:
    void Anchor(const DisplayTiming& timing);

    int32_t refreshHz_ = 0, frameRateHz_ = MinFrameRateHz;
    double periodMs_ = 1000.0 / MinFrameRateHz;
    double anchorMs_ = 0.0;
    double dueMs_ = 0.0;       // of the frame running now
    double phaseSpanMs_ = 0.0; // the finer of the frame and display periods
    double leadMs_ = 0.0;      // how long before its deadline a frame wakes; kept across glides
    int64_t next_ = 1;         // index of the next frame from the anchor
    bool inStep_ = false;
    bool scheduled_ = false; // the frame running now had a deadline (not a glide's first)
    int framesSinceCheck_ = 0;
};
