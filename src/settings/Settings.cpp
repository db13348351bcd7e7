#include "settings/Settings.h"

namespace {
template <typename T>
void ClampField(T& value, T minimum, T maximum) {
    if (value < minimum) value = minimum;
    if (value > maximum) value = maximum;
}
} // namespace

void ClampAxisSettings(AxisSettings& axis) {
    using namespace SettingsLimits;
    ClampField(axis.Speed, MinSpeed, MaxSpeed);
    ClampField(axis.DurationMs, MinDurationMs, MaxDurationMs);
    ClampField(axis.Smoothing, MinSmoothing, MaxSmoothing);
    ClampField(axis.AccelStrength, MinAccelStrength, MaxAccelStrength);
}

const std::vector<std::wstring>& DefaultExcludedApps() {
    static const std::vector<std::wstring> apps = {
        L"cs2.exe",       L"valorant.exe", L"dota2.exe", L"league of legends.exe",
        L"overwatch.exe", L"blender.exe",  L"acad.exe",  L"photoshop.exe",
    };
    return apps;
}
