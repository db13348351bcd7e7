#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "settings/Settings.h"

TEST(SettingsTest, ClampRaisesThenLowersEachRangedField) {
    struct Case {
        AxisSettings in, out;
    };
    const Case cases[] = {
        {{1000, 10, 1.5, true, 7.0}, {480, 50, 2.0, true, 5.0}},
        {{29, 801, 5.01, false, 0.99}, {30, 800, 5.0, false, 1.0}},
        {{30, 50, 2.0, true, 1.0}, {30, 50, 2.0, true, 1.0}},
        {{480, 800, 5.0, false, 5.0}, {480, 800, 5.0, false, 5.0}},
        {{-2147483647 - 1, -5, -1e300, true, std::numeric_limits<double>::infinity()}, {30, 50, 2.0, true, 5.0}},
        {{2147483647, 2147483647, 3.3, true, 2.5}, {480, 800, 3.3, true, 2.5}},
    };
    for (const Case& c : cases) {
        AxisSettings axis = c.in;
        ClampAxisSettings(axis);
        EXPECT_EQ(axis, c.out) << "speed " << c.in.Speed << " duration " << c.in.DurationMs;
    }
}
