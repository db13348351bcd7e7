#pragma once
// The user's settings record: plain values with no platform dependency.

#include <cstdint>
#include <string>
#include <vector>

enum class Axis : int { Vertical = 0, Horizontal = 1 };

struct AxisSettings {
    int32_t Speed = 120;        // wheel units per notch (120 = one standard notch)
    int32_t DurationMs = 280;   // animation time of one notch
    double Smoothing = 3.0;     // exponent of the easing curve
    bool AccelEnabled = true;
    double AccelStrength = 2.0; // largest acceleration multiplier

    bool operator==(const AxisSettings&) const = default;
};

struct Settings {
    bool Enabled = true;
    bool StartWithWindows = false; // mirror of the Run value; never kept in the file
    AxisSettings Vertical;
    AxisSettings Horizontal;
    std::vector<std::wstring> ExcludedApps;
    std::vector<std::wstring> ExcludedSites;

    AxisSettings& ForAxis(Axis axis) { return axis == Axis::Horizontal ? Horizontal : Vertical; }
    const AxisSettings& ForAxis(Axis axis) const { return axis == Axis::Horizontal ? Horizontal : Vertical; }

    bool operator==(const Settings&) const = default;
};

namespace SettingsLimits {
inline constexpr int32_t MinSpeed = 30, MaxSpeed = 480;
inline constexpr int32_t MinDurationMs = 50, MaxDurationMs = 800;
inline constexpr double MinSmoothing = 2.0, MaxSmoothing = 5.0;
inline constexpr double MinAccelStrength = 1.0, MaxAccelStrength = 5.0;
} // namespace SettingsLimits

// Raises each ranged field to its minimum, then lowers it to its maximum.
// A NaN compares false both ways and passes unchanged; the engine guards itself against it.
void ClampAxisSettings(AxisSettings& axis);

// Applications that get the ordinary wheel out of the box (games and tools with their own scrolling).
const std::vector<std::wstring>& DefaultExcludedApps();
