#pragma once
// Notch handling and the per-frame step of one axis: pure arithmetic on AxisState,
// with no platform calls, so every rule can be driven by a test clock.

#include <cstdint>

#include "engine/AxisState.h"
#include "settings/Settings.h"

namespace AxisMotion {

inline constexpr double BurstGapMs = 250.0;   // a longer pause starts the notch rate from 0
inline constexpr double MinNotchIntervalMs = 4.0;
inline constexpr double MinDurationMs = 30.0;
inline constexpr double MinSmoothing = 2.0, MaxSmoothing = 5.0;
inline constexpr double MaxStartVelocity = 4.0;
inline constexpr double ReversalDeadZone = 0.5; // units left that still count as "under way"

// Records a notch (axis locked): updates the notch rate and the last-notch history.
void RecordNotch(AxisState& axis, double nowMs, double notches);

// Distance multiplier for the axis's current notch rate: 1 up to 5 notches/s,
// rising linearly to AccelStrength at 18 notches/s.
double AccelerationMultiplier(const AxisSettings& settings, double notchRate);

// One notch added to the axis (axis locked): recorded in the notch rate, and its
// distance (speed × size × the acceleration of that rate) extends or restarts the
// curve. Returns that distance in wheel units. The engine's one notch arithmetic:
// whoever needs the units a series of notches gives asks this on an axis of its own.
double AddNotch(AxisState& axis, double nowMs, double notches, const AxisSettings& settings);

// Extends or restarts the axis's curve by distance units (axis locked).
void Retarget(AxisState& axis, double nowMs, double distance, double durationSetting, double smoothingSetting);

// One frame: locks the axis, returns the whole units the curve covered since the
// last frame, and sets anyActive when the axis is still moving afterwards.
int32_t Advance(AxisState& axis, double nowMs, bool& anyActive);

// Ends the axis's train without emitting anything; the notch-rate history stays.
void Cancel(AxisState& axis);

} // namespace AxisMotion
