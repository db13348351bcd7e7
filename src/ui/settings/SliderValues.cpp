#include "ui/settings/SliderValues.h"

#include <charconv>
#include <cmath>

#include "ui/settings/SettingsTexts.h"

namespace {

constexpr bool InTenths(int row) { return row == SmoothingRow || row == AccelStrengthRow; }

double RowSetting(int row, const AxisSettings& axis) {
    switch (row) {
    case SpeedRow: return axis.Speed;
    case DurationRow: return axis.DurationMs;
    case SmoothingRow: return axis.Smoothing;
    default: return axis.AccelStrength;
    }
}

// std::to_chars never looks at the locale, so the decimal point is always '.'.
void AppendNumber(std::wstring& text, double value, int decimals) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    text.append(buffer, result.ptr);
}

void AppendNumber(std::wstring& text, int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

} // namespace

int SliderPosition(int row, const AxisSettings& axis) {
    const SliderRange& range = SliderRanges[row];
    const double scaled = RowSetting(row, axis) * (InTenths(row) ? 10.0 : 1.0);
    // A NaN from a hand-edited file shows as the minimum rather than an undefined conversion.
    if (!(scaled >= range.min)) return range.min;
    if (scaled > range.max) return range.max;
    return static_cast<int>(std::lround(scaled));
}

void SetFromSliderPosition(int row, int position, AxisSettings& axis) {
    switch (row) {
    case SpeedRow: axis.Speed = position; break;
    case DurationRow: axis.DurationMs = position; break;
    case SmoothingRow: axis.Smoothing = position / 10.0; break;
    default: axis.AccelStrength = position / 10.0; break;
    }
}

const wchar_t* SmoothingName(double smoothing) {
    if (smoothing >= 3.5) return UltraSoftSmoothing;
    if (smoothing >= 2.5) return SilkySmoothing;
    return ModerateSmoothing;
}

std::wstring SliderValueText(int row, bool horizontal, const AxisSettings& axis) {
    std::wstring text;
    switch (row) {
    case SpeedRow:
        AppendNumber(text, axis.Speed);
        if (!horizontal) {
            // 40 wheel units make about one line at the system's usual three lines per notch.
            text += ValueSeparator;
            text += ApproximatelySign;
            AppendNumber(text, axis.Speed / 40.0, 1);
            text += LinesUnit;
        }
        break;
    case DurationRow:
        AppendNumber(text, axis.DurationMs);
        text += MillisecondsUnit;
        break;
    case SmoothingRow:
        AppendNumber(text, axis.Smoothing, 1);
        text += ValueSeparator;
        text += SmoothingName(axis.Smoothing);
        break;
    default:
        AppendNumber(text, axis.AccelStrength, 1);
        text += TimesSign;
        break;
    }
    return text;
}
