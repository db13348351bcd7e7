#pragma once
// What the slider rows of the two axis pages show and change: the trackbar position
// of each setting and back, and the value texts beside them (their words and the row
// labels are in SettingsTexts.h).

#include <string>

#include "settings/Settings.h"
#include "ui/settings/SettingsLayout.h"

inline constexpr int SpeedRow = 0;
inline constexpr int DurationRow = 1;
inline constexpr int SmoothingRow = 2;
inline constexpr int AccelStrengthRow = 3;

// The trackbar position that shows the row's setting: speed and duration as they
// are, smoothing and strength in tenths rounded halves away from zero. Kept inside
// the row's range, as the trackbar would keep it.
int SliderPosition(int row, const AxisSettings& axis);
// Writes the row's setting from a trackbar position (tenths become 2.0-5.0 and 1.0-5.0).
void SetFromSliderPosition(int row, int position, AxisSettings& axis);

// "ультрамягко" from 3.5, "шелковисто" from 2.5, "умеренно" below.
const wchar_t* SmoothingName(double smoothing);

// The text drawn right-aligned on the row's label line, numbers in the "C" locale:
// "120  ·  ≈3.0 строки" (vertical speed; the horizontal one is the bare number),
// "280 мс", "3.0  ·  шелковисто", "2.0×".
std::wstring SliderValueText(int row, bool horizontal, const AxisSettings& axis);
