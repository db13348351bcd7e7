#include "engine/AxisMotion.h"

#include <algorithm>
#include <cmath>

#include "engine/Ease.h"

namespace AxisMotion {
namespace {

// Whole units from a curve value; a value that is not finite is never emitted and an
// absurd one cannot overflow the event's 32-bit field.
int32_t ToStep(double units, bool roundToNearest) {
    if (!std::isfinite(units)) return 0;
    constexpr double limit = 2147483647.0;
    units = std::clamp(roundToNearest ? std::round(units) : std::trunc(units), -limit, limit);
    return static_cast<int32_t>(units);
}

void ResetTrain(AxisState& axis) {
    axis.active = false;
    axis.startPos = axis.targetPos = axis.emitted = axis.startVelocity = 0.0;
}

} // namespace

void RecordNotch(AxisState& axis, double nowMs, double notches) {
    const int32_t direction = notches > 0 ? 1 : -1;
    const double gap = nowMs - axis.lastNotchMs;
    if (axis.hasLastNotch && gap <= BurstGapMs && direction == axis.lastDirection) {
        axis.notchRate = std::fabs(notches) * 1000.0 / std::max(MinNotchIntervalMs, gap) * 0.4 + axis.notchRate * 0.6;
    } else {
        axis.notchRate = 0.0;
    }
    axis.lastNotchMs = nowMs;
    axis.hasLastNotch = true;
    axis.lastDirection = direction;
}

double AccelerationMultiplier(const AxisSettings& settings, double notchRate) {
    if (!settings.AccelEnabled) return 1.0;
    const double ramp = std::clamp((notchRate - 5.0) / 13.0, 0.0, 1.0);
    return 1.0 + (std::max(1.0, settings.AccelStrength) - 1.0) * ramp;
}

double AddNotch(AxisState& axis, double nowMs, double notches, const AxisSettings& settings) {
    RecordNotch(axis, nowMs, notches);
    const double distance = settings.Speed * notches * AccelerationMultiplier(settings, axis.notchRate);
    Retarget(axis, nowMs, distance, settings.DurationMs, settings.Smoothing);
    return distance;
}

void Retarget(AxisState& axis, double nowMs, double distance, double durationSetting, double smoothingSetting) {
    const double duration = std::max(MinDurationMs, durationSetting);
    double n = smoothingSetting;
    if (n < MinSmoothing) n = MinSmoothing;
    if (n > MaxSmoothing) n = MaxSmoothing;

    if (!axis.active) {
        axis.startPos = 0.0;
        axis.targetPos = distance;
        axis.emitted = 0.0;
        axis.startVelocity = 0.0;
    } else if (const double remaining = axis.targetPos - axis.emitted;
               std::fabs(remaining) > ReversalDeadZone && (remaining > 0) != (distance > 0)) {
        // Reversal: what the old motion had not yet emitted is dropped; the new one
        // starts from rest where the application actually is.
        axis.startPos = axis.emitted;
        axis.targetPos = axis.emitted + distance;
        axis.startVelocity = 0.0;
    } else {
        // Blend: a new curve from the present position that starts at the present speed.
        const double t = (nowMs - axis.startTimeMs) / axis.durationMs;
        const double span = axis.targetPos - axis.startPos;
        const double position = axis.startPos + Ease(t, axis.smoothing, axis.startVelocity) * span;
        const double slope = EaseSlope(t, axis.smoothing, axis.startVelocity);
        axis.startPos = position;
        axis.targetPos += distance;
        const double rest = axis.targetPos - position;
        axis.startVelocity = std::fabs(rest) > 0.001
                                 ? std::clamp(span / axis.durationMs * slope * duration / rest, 0.0, MaxStartVelocity)
                                 : 0.0;
    }
    axis.durationMs = duration;
    axis.smoothing = n;
    axis.startTimeMs = nowMs;
    axis.active = true;
}

int32_t Advance(AxisState& axis, double nowMs, bool& anyActive) {
    std::lock_guard<std::mutex> lock(axis.lock);
    if (!axis.active) return 0;

    const double t = (nowMs - axis.startTimeMs) / axis.durationMs;
    int32_t step;
    if (t >= 1.0) {
        // The train's end: the remainder, halves away from zero, so under half a unit is never sent.
        step = ToStep(axis.targetPos - axis.emitted, true);
        ResetTrain(axis);
    } else {
        const double position = axis.startPos + Ease(t, axis.smoothing, axis.startVelocity) * (axis.targetPos - axis.startPos);
        // Truncation carries the fraction into later frames.
        step = ToStep(position - axis.emitted, false);
        axis.emitted += step;
    }
    if (axis.active) anyActive = true;
    return step;
}

void Cancel(AxisState& axis) {
    std::lock_guard<std::mutex> lock(axis.lock);
    ResetTrain(axis);
}

} // namespace AxisMotion
