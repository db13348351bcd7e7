#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <string>

#include "ui/settings/SettingsTexts.h"
#include "ui/settings/SliderValues.h"

TEST(SliderValuesTest, PositionsAndSettingsConvertBothWays) {
    AxisSettings axis;
    axis.Speed = 240;
    axis.DurationMs = 450;
    axis.Smoothing = 2.25;      // 22.5 tenths: halves away from zero
    axis.AccelStrength = 1.349; // 13.49 tenths
    EXPECT_EQ(SliderPosition(SpeedRow, axis), 240);
    EXPECT_EQ(SliderPosition(DurationRow, axis), 450);
    EXPECT_EQ(SliderPosition(SmoothingRow, axis), 23);
    EXPECT_EQ(SliderPosition(AccelStrengthRow, axis), 13);

    // Outside the row's range, or not a number at all: where the trackbar would put the thumb.
    axis.Speed = 9000;
    axis.Smoothing = std::nan("");
    axis.AccelStrength = -3.0;
    EXPECT_EQ(SliderPosition(SpeedRow, axis), 480);
    EXPECT_EQ(SliderPosition(SmoothingRow, axis), 20);
    EXPECT_EQ(SliderPosition(AccelStrengthRow, axis), 10);

    // Every position of every row comes back as itself through the setting.
    for (int row = 0; row < SliderRowCount; ++row) {
        for (int position = SliderRanges[row].min; position <= SliderRanges[row].max; ++position) {
            AxisSettings changed;
            SetFromSliderPosition(row, position, changed);
            ASSERT_EQ(SliderPosition(row, changed), position) << "row " << row;
        }
    }
    AxisSettings changed;
    SetFromSliderPosition(SmoothingRow, 35, changed);
    SetFromSliderPosition(AccelStrengthRow, 50, changed);
    EXPECT_EQ(changed.Smoothing, 3.5);
    EXPECT_EQ(changed.AccelStrength, 5.0);
    EXPECT_EQ(changed.Speed, AxisSettings{}.Speed); // other fields untouched
}

TEST(SliderValuesTest, ValueTextsKeepTheirFormatInAnyLocale) {
    // A locale with a decimal comma must not leak into the texts.
    const bool commaLocale = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "ru_RU.UTF-8");

    AxisSettings axis;
    axis.Speed = 120;
    axis.DurationMs = 280;
    axis.Smoothing = 3.5;
    axis.AccelStrength = 2.0;
    EXPECT_EQ(SliderValueText(SpeedRow, false, axis), L"120  ·  ≈3.0 строки");
    EXPECT_EQ(SliderValueText(SpeedRow, true, axis), L"120");
    EXPECT_EQ(SliderValueText(DurationRow, false, axis), L"280 мс");
    EXPECT_EQ(SliderValueText(DurationRow, true, axis), L"280 мс");
    EXPECT_EQ(SliderValueText(SmoothingRow, false, axis), L"3.5  ·  ультрамягко");
    EXPECT_EQ(SliderValueText(AccelStrengthRow, true, axis), L"2.0×");

    axis.Speed = 30; // 0.75 lines
    axis.Smoothing = 2.5;
    axis.AccelStrength = 4.7;
    EXPECT_EQ(SliderValueText(SpeedRow, false, axis), L"30  ·  ≈0.8 строки");
    EXPECT_EQ(SliderValueText(SmoothingRow, true, axis), L"2.5  ·  шелковисто");
    EXPECT_EQ(SliderValueText(AccelStrengthRow, false, axis), L"4.7×");
    axis.Smoothing = 2.4;
    EXPECT_EQ(SliderValueText(SmoothingRow, false, axis), L"2.4  ·  умеренно");
    EXPECT_STREQ(SmoothingName(3.49), L"шелковисто");
    EXPECT_STREQ(SmoothingName(5.0), L"ультрамягко");
    EXPECT_STREQ(SmoothingName(2.0), L"умеренно");

    // The general page's system values.
    EXPECT_EQ(RefreshRateText(144), L"144 Гц");
    EXPECT_EQ(RefreshRateText(0), L"не определена");
    EXPECT_EQ(RefreshRateText(-5), L"не определена");
    EXPECT_EQ(FrameRateText(200), L"200");
    EXPECT_STREQ(TimerKindText(true), L"высокой точности");
    EXPECT_STREQ(TimerKindText(false), L"обычный");

    if (commaLocale) std::setlocale(LC_ALL, "C");
}

TEST(SliderValuesTest, SitesDescriptionNamesTheExamplesAndKeepsFirefoxOnItsLine) {
    const std::wstring text = SitesDescription();
    EXPECT_EQ(text.find(std::wstring(L"Домен (") + ExampleSiteDomain + L"), адрес с путём (" + ExampleSiteAddress +
                        L") или слово"),
              0u);
    EXPECT_NE(text.find(L"В\u00A0Firefox сайт узнаётся только по заголовку вкладки."), std::wstring::npos);
    const std::wstring address = ExampleSiteAddress;
    EXPECT_EQ(std::count(address.begin(), address.end(), L'/'), 1); // one path segment
    // The cue and the empty list's hint end with the same example domain.
    const std::wstring domain = ExampleSiteDomain, cue = SiteEditCue, hint = SiteListHint;
    EXPECT_EQ(cue.substr(cue.size() - domain.size()), domain);
    EXPECT_EQ(hint.substr(hint.size() - domain.size()), domain);
}
