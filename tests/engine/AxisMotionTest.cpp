#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/AxisMotion.h"
#include "engine/Ease.h"

namespace {

AxisSettings NoAccel() {
    AxisSettings settings;
    settings.AccelEnabled = false;
    return settings;
}

void Notch(AxisState& axis, double nowMs, double delta, const AxisSettings& settings = NoAccel()) {
    std::lock_guard<std::mutex> lock(axis.lock);
    AxisMotion::AddNotch(axis, nowMs, delta / 120.0, settings);
}

int32_t Frame(AxisState& axis, double nowMs) {
    bool anyActive = false;
    return AxisMotion::Advance(axis, nowMs, anyActive);
}

struct TrainResult {
    std::vector<int32_t> steps;
    int64_t total = 0;
};

// Frames every periodMs from start until the axis goes idle.
TrainResult RunFrames(AxisState& axis, double startMs, double periodMs, int maxFrames = 10000) {
    TrainResult result;
    for (int i = 0; i < maxFrames; ++i) {
        bool anyActive = false;
        const int32_t step = AxisMotion::Advance(axis, startMs + i * periodMs, anyActive);
        result.steps.push_back(step);
        result.total += step;
        if (!anyActive) break;
    }
    return result;
}

} // namespace

TEST(AxisMotionTest, WorkedTrainOfOneNotch) {
    AxisState axis(false);
    Notch(axis, 0.0, 120);
    EXPECT_EQ(Frame(axis, -1.0), 0); // a frame before the curve's start stands at its start
    EXPECT_TRUE(axis.active);

    const TrainResult train = RunFrames(axis, 0.0, 5.0);
    const std::vector<int32_t> firstTwelve(train.steps.begin(), train.steps.begin() + 12);
    EXPECT_EQ(firstTwelve, (std::vector<int32_t>{0, 0, 0, 1, 2, 2, 2, 2, 3, 2, 3, 4}));
    // 0 ms .. 280 ms: at 275 ms the curve stands at 119.9973 with 119 emitted, the last frame sends 1.
    ASSERT_EQ(train.steps.size(), 57u);
    EXPECT_EQ(train.total, 120);
    EXPECT_EQ(train.steps.back(), 1);
    EXPECT_FALSE(axis.active);
}

TEST(AxisMotionTest, TrainsEmitExactlyTheirDistanceAtAnyFramePace) {
    for (double period : {1.0, 2.7777, 4.1666, 5.0, 13.0, 100.0}) {
        for (double delta : {120.0, -120.0, 60.0, 240.0, -360.0}) {
            AxisState axis(false);
            Notch(axis, 3.0, delta);
            const TrainResult train = RunFrames(axis, 3.0, period);
            EXPECT_EQ(train.total, static_cast<int64_t>(delta)) << "period " << period << " delta " << delta;
            EXPECT_FALSE(axis.active);
        }
    }
}

TEST(AxisMotionTest, SecondNotchBlendsAtPresentSpeedWithoutAPause) {
    AxisState axis(false);
    Notch(axis, 0.0, 120);
    int64_t total = 0;
    for (int i = 0; i * 5.0 < 140.0; ++i) total += Frame(axis, i * 5.0);
    Notch(axis, 140.0, 120);
    EXPECT_NEAR(axis.startPos, 82.5, 1e-9); // where the curve stands, whatever was emitted
    EXPECT_NEAR(axis.targetPos, 240.0, 1e-9);
    EXPECT_NEAR(axis.startVelocity, 1.142857, 1e-6);
    EXPECT_EQ(axis.startTimeMs, 140.0);

    const TrainResult rest = RunFrames(axis, 140.0, 5.0);
    EXPECT_EQ(total + rest.total, 240);
    // Speed carries over: no frame right after the second notch stands still.
    for (size_t k = 0; k < 10; ++k) EXPECT_GT(rest.steps[k], 0) << "frame " << k << " after the second notch";
}

TEST(AxisMotionTest, ReversalDropsWhatWasNotEmittedUnlessUnderHalfAUnitIsLeft) {
    AxisState axis(false);
    Notch(axis, 0.0, 120);
    axis.emitted = 82; // the application has scrolled 82 of 120
    Notch(axis, 100.0, -120);
    EXPECT_EQ(axis.startPos, 82.0);
    EXPECT_EQ(axis.targetPos, -38.0);
    EXPECT_EQ(axis.startVelocity, 0.0);
    EXPECT_EQ(RunFrames(axis, 100.0, 5.0).total, -120); // the 38 units left of the first notch are never sent

    // 0.4 units left to emit: the old curve counts as finished and the reversal blends.
    Notch(axis, 0.0, 120);
    axis.targetPos = 119.4;
    axis.emitted = 119.0;
    Notch(axis, 270.0, -120);
    EXPECT_NE(axis.startPos, axis.emitted); // the start is where the old curve stands, not the emitted count
    EXPECT_NEAR(axis.targetPos, 119.4 - 120.0, 1e-9);
    EXPECT_EQ(axis.startVelocity, 0.0);
}

TEST(AxisMotionTest, AccelerationRatesAndMultipliersForNotchesFiftyMsApart) {
    AxisState axis(false);
    const AxisSettings settings; // acceleration on, strength 2
    const double rates[] = {0, 8, 12.8, 15.68, 17.408, 18.4448};
    const double multipliers[] = {1, 1.2308, 1.6, 1.8215, 1.9545, 2};
    for (int i = 0; i < 6; ++i) {
        std::lock_guard<std::mutex> lock(axis.lock);
        AxisMotion::RecordNotch(axis, i * 50.0, 1.0);
        EXPECT_NEAR(axis.notchRate, rates[i], 1e-9) << "notch " << i;
        EXPECT_NEAR(AxisMotion::AccelerationMultiplier(settings, axis.notchRate), multipliers[i], 0.00005)
            << "notch " << i;
    }
}

TEST(AxisMotionTest, RateResetsAfterLongGapOrDirectionChange) {
    struct Case {
        const char* name;
        double secondAtMs, secondNotches, expectedRate;
    };
    for (const Case& c : {Case{"250 ms still counts", 250.0, 1.0, 1.6},
                          Case{"250.001 ms starts over", 250.001, 1.0, 0.0},
                          Case{"opposite direction starts over", 50.0, -1.0, 0.0},
                          Case{"intervals under 4 ms count as 4 ms", 1.0, 1.0, 100.0},
                          Case{"a double notch counts twice", 100.0, 2.0, 8.0}}) {
        SCOPED_TRACE(c.name);
        AxisState axis(false);
        AxisMotion::RecordNotch(axis, 0.0, 1.0);
        AxisMotion::RecordNotch(axis, c.secondAtMs, c.secondNotches);
        EXPECT_NEAR(axis.notchRate, c.expectedRate, 1e-9);
    }
}

TEST(AxisMotionTest, MultiplierBounds) {
    AxisSettings weak, off, strong;
    weak.AccelStrength = 0.5;
    off.AccelEnabled = false;
    strong.AccelStrength = 5.0;
    for (double rate : {0.0, 5.0, 11.5, 18.0, 400.0}) {
        EXPECT_EQ(AxisMotion::AccelerationMultiplier(weak, rate), 1.0) << rate;
        EXPECT_EQ(AxisMotion::AccelerationMultiplier(off, rate), 1.0) << rate;
        EXPECT_EQ(AxisMotion::AccelerationMultiplier(strong, rate), rate <= 5 ? 1.0 : rate >= 18 ? 5.0 : 3.0) << rate;
    }
}

TEST(AxisMotionTest, CurveSettingsAreBoundedPerCurve) {
    struct Case {
        double duration, smoothing, expectedDuration, expectedSmoothing;
    };
    for (const Case& c : {Case{10, 3, 30, 3}, Case{280, 1.0, 280, 2}, Case{280, 7.5, 280, 5}, Case{800, 4.25, 800, 4.25}}) {
        AxisState axis(false);
        AxisMotion::Retarget(axis, 0.0, 120, c.duration, c.smoothing);
        EXPECT_EQ(axis.durationMs, c.expectedDuration);
        EXPECT_EQ(axis.smoothing, c.expectedSmoothing);
    }
}

TEST(AxisMotionTest, EndOfTrainRoundsHalvesAwayFromZero) {
    struct Case {
        double remainder;
        int32_t expected;
    };
    for (const Case& c : {Case{2.5, 3}, Case{-2.5, -3}, Case{0.4, 0}, Case{-0.4, 0}, Case{0.5, 1}, Case{-1.49, -1}}) {
        AxisState axis(false);
        AxisMotion::Retarget(axis, 0.0, 100 + c.remainder, 280, 3);
        axis.emitted = 100;
        bool anyActive = false;
        EXPECT_EQ(AxisMotion::Advance(axis, 280.0, anyActive), c.expected) << c.remainder;
        EXPECT_FALSE(anyActive);
        EXPECT_FALSE(axis.active);
        EXPECT_EQ(axis.emitted, 0.0);
    }
}

TEST(AxisMotionTest, IntermediateFramesTruncateAndCarryTheFraction) {
    for (double sign : {1.0, -1.0}) {
        AxisState axis(false);
        AxisMotion::Retarget(axis, 0.0, sign * 120, 280, 3);
        // Place the curve so that it has advanced exactly 1.9 units past what was emitted.
        const double position = sign * 120 * Ease(0.5, 3, 0);
        axis.emitted = position - sign * 1.9;
        bool anyActive = false;
        EXPECT_EQ(AxisMotion::Advance(axis, 140.0, anyActive), static_cast<int32_t>(sign));
        EXPECT_TRUE(anyActive);
        EXPECT_NEAR(position - axis.emitted, sign * 0.9, 1e-9);
    }
}

TEST(AxisMotionTest, CancelStopsTheTrainButKeepsTheBurst) {
    AxisState axis(false);
    const AxisSettings settings;
    Notch(axis, 0.0, 120, settings);
    Notch(axis, 50.0, 120, settings);
    for (int i = 0; i < 10; ++i) Frame(axis, 50.0 + i * 5);
    const double rateBefore = axis.notchRate;
    AxisMotion::Cancel(axis);
    EXPECT_FALSE(axis.active);
    EXPECT_EQ(Frame(axis, 120.0), 0);
    EXPECT_EQ(axis.notchRate, rateBefore);

    Notch(axis, 130.0, 120, settings);
    EXPECT_EQ(axis.startPos, 0.0);
    EXPECT_EQ(axis.emitted, 0.0);
    EXPECT_GT(axis.notchRate, rateBefore); // the burst goes on
    EXPECT_EQ(RunFrames(axis, 130.0, 5.0).total,
              std::lround(120 * AxisMotion::AccelerationMultiplier(settings, axis.notchRate)));
}
