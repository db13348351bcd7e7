#include "engine/FramePacing.h"

#include <algorithm>
#include <cmath>

namespace {

// DWM reports the rate exactly (59.94), the display settings a whole number (59 or 60).
constexpr double RateAgreementHz = 1.0;

int64_t FirstIndexAfter(double anchorMs, double periodMs, double nowMs) {
    return static_cast<int64_t>(std::floor((nowMs - anchorMs) / periodMs)) + 1;
}

} // namespace

void FrameScheduler::Start(double nowMs, int32_t refreshHz, int32_t frameRateHz, const DisplayTiming* timing) {
    refreshHz_ = refreshHz;
    frameRateHz_ = frameRateHz > 0 ? frameRateHz : MinFrameRateHz;
    periodMs_ = 1000.0 / frameRateHz_;
    anchorMs_ = dueMs_ = nowMs; // the first frame, running now
    next_ = 1;
    inStep_ = false;
    scheduled_ = false;
    framesSinceCheck_ = 0;
    if (timing) {
        Anchor(*timing);
        next_ = FirstIndexAfter(anchorMs_, periodMs_, nowMs);
    }
}

// In step with the display when its clock agrees with the rate the glide was chosen for;
// a display that changed its mode meanwhile leaves the frames on their deadlines as they are.
void FrameScheduler::Anchor(const DisplayTiming& timing) {
    if (!(timing.periodMs > 0.0) || !std::isfinite(timing.vblankMs) || !LinesUpWithRefresh(refreshHz_, frameRateHz_) ||
        std::fabs(1000.0 / timing.periodMs - refreshHz_) > RateAgreementHz) {
        inStep_ = false;
        return;
    }
    periodMs_ = timing.periodMs * refreshHz_ / frameRateHz_;
    phaseSpanMs_ = std::min(periodMs_, timing.periodMs);
    anchorMs_ = timing.vblankMs + phaseSpanMs_ / 2;
    inStep_ = true;
}

double FrameScheduler::NextWakeMs(double nowMs) {
    double due = anchorMs_ + static_cast<double>(next_) * periodMs_;
    // A frame whose deadline passed less than half a period ago still lands in its own
    // place: it runs at once. One further behind would land in the next frame's place and
    // is skipped, as is every deadline a clock that went backwards puts far ahead.
    const double latest = nowMs - periodMs_ / 2;
    if (due <= latest || due - nowMs > 2 * periodMs_) {
        next_ = FirstIndexAfter(anchorMs_, periodMs_, latest);
        due = anchorMs_ + static_cast<double>(next_) * periodMs_;
    }
    ++next_;
    ++framesSinceCheck_;
    dueMs_ = due;
    scheduled_ = true;
    return due - leadMs_;
}

// A running median: the lead grows while steps leave after their deadline and shrinks
// while they leave before it, a little per frame, so one late wake-up hardly moves it.
void FrameScheduler::FrameDone(double doneMs) {
    if (!scheduled_) return;
    const double step = periodMs_ / 256;
    leadMs_ = std::clamp(leadMs_ + (doneMs > dueMs_ ? step : -step), 0.0, periodMs_ / 3);
}

void FrameScheduler::CheckPhase(const DisplayTiming* timing) {
    framesSinceCheck_ = 0;
    if (!inStep_ || !timing) return;
    const double place = timing->vblankMs + phaseSpanMs_ / 2;
    const double drift = std::remainder(anchorMs_ - place, phaseSpanMs_);
    if (std::fabs(drift) <= phaseSpanMs_ / 4) return;
    // The next deadline moves to its place in the same share of the display interval.
    const double nextDue = anchorMs_ + static_cast<double>(next_) * periodMs_;
    Anchor(*timing);
    if (inStep_) next_ = std::llround((nextDue - anchorMs_) / periodMs_);
}
