#include <gtest/gtest.h>

#include "engine/Ease.h"

TEST(EaseTest, KnownValuesAndExactEnds) {
    EXPECT_DOUBLE_EQ(Ease(0.5, 3, 0), 0.6875);
    EXPECT_DOUBLE_EQ(Ease(0.5, 3, 1), 0.71875);
    for (double n : {2.0, 3.0, 5.0}) {
        for (double v : {0.0, 1.5, 4.0}) {
            EXPECT_EQ(Ease(0.0, n, v), 0.0);
            EXPECT_EQ(Ease(-0.25, n, v), 0.0);
            EXPECT_EQ(Ease(1.0, n, v), 1.0);
            EXPECT_EQ(Ease(7.0, n, v), 1.0);
        }
    }
}

TEST(EaseTest, SlopeStartsAtVelocityEndsAtRestAndMatchesTheCurve) {
    for (double n : {2.0, 3.0, 4.2, 5.0}) {
        // From rest the curve is steepest at 1/n.
        EXPECT_GT(EaseSlope(1 / n, n, 0), EaseSlope(1 / n - 0.02, n, 0));
        EXPECT_GT(EaseSlope(1 / n, n, 0), EaseSlope(1 / n + 0.02, n, 0));
        for (double v : {0.0, 1.142857, 4.0}) {
            EXPECT_EQ(EaseSlope(0.0, n, v), v);
            EXPECT_EQ(EaseSlope(1.0, n, v), 0.0);
            EXPECT_NEAR(EaseSlope(1e-9, n, v), v, 1e-6);
            // The slope is the curve's derivative: compare with a central difference.
            for (double t : {0.1, 0.33, 0.5, 0.8, 0.97}) {
                const double h = 1e-6;
                const double numeric = (Ease(t + h, n, v) - Ease(t - h, n, v)) / (2 * h);
                EXPECT_NEAR(EaseSlope(t, n, v), numeric, 1e-5) << "n=" << n << " v=" << v << " t=" << t;
            }
        }
    }
}
