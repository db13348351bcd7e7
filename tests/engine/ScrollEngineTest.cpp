#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <mutex>
#include <string>
#include <thread>

#include "engine/AxisMotion.h"
#include "engine/ScrollEngine.h"
#include "engine/WheelRouting.h"
#include "settings/ConfigStore.h"
#include "support/InMemoryConfigFiles.h"
#include "support/LiveEnginePlatform.h"
#include "support/ScriptedEnginePlatform.h"

namespace {

using Units = std::pair<int64_t, int64_t>; // vertical, horizontal

// A running engine whose thread stays parked: the test queues notches and runs the frames.
class ScrollEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(engine.Start());
        platform.WaitUntilParked();
    }
    void TearDown() override {
        platform.ReleaseOnNextWake();
        engine.Stop();
    }

    void SetAxis(Axis axis, const AxisSettings& values) {
        Settings settings = store.Snapshot();
        settings.ForAxis(axis) = values;
        store.Apply(settings, false);
    }

    // Frames every 5 ms until both axes are idle; returns the units per axis.
    std::pair<int64_t, int64_t> RunTrain(double startMs) {
        int64_t vertical = 0, horizontal = 0;
        for (int i = 0; i < 100000; ++i) {
            bool anyActive = false;
            const double now = startMs + i * 5.0;
            vertical += AxisMotion::Advance(engine.AxisFor(false), now, anyActive);
            horizontal += AxisMotion::Advance(engine.AxisFor(true), now, anyActive);
            if (!anyActive) break;
        }
        return {vertical, horizontal};
    }

    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store{L"C:\\v\\config.ini", files, autoStart};
    ScriptedEnginePlatform platform;
    ScrollEngine engine{store, platform};
};

} // namespace

TEST_F(ScrollEngineTest, NotchesBecomeTrainsOnTheirOwnAxisAtThatAxisSettings) {
    engine.QueueWheel(120, false);
    EXPECT_EQ(platform.wakeCount, 1);
    EXPECT_EQ(RunTrain(platform.nowMs), Units(120, 0));
    engine.QueueWheel(-120, true);
    EXPECT_EQ(RunTrain(platform.nowMs), Units(0, -120));

    AxisSettings horizontal;
    horizontal.Speed = 300;
    horizontal.AccelEnabled = false;
    SetAxis(Axis::Horizontal, horizontal);
    platform.nowMs += 1000;
    engine.QueueWheel(60, false); // half a notch moves half the speed
    engine.QueueWheel(120, true);
    EXPECT_EQ(RunTrain(platform.nowMs), Units(60, 300));

    engine.QueueWheel(120, false);
    engine.QueueWheel(120, true);
    engine.CancelAll(); // ends both axes
    EXPECT_EQ(RunTrain(platform.nowMs + 10), Units(0, 0));
}

// The hook decides "smooth" from one look at the settings and the engine reads them again:
// a notch the engine does not take (smoothing switched off in between, the engine
// stopped) goes on to the application instead of being swallowed with nothing queued.
TEST_F(ScrollEngineTest, TheHookSwallowsOnlyTheNotchesTheEngineTook) {
    struct HookSawSmoothingOn : WheelRoutingContext {
        explicit HookSawSmoothingOn(ScrollEngine& e) : engine(e) {}
        bool IsSmoothingEnabled() override { return true; }
        bool IsModifierDown() override { return false; }
        bool IsShiftDown() override { return false; }
        bool IsExcludedAtPoint(int32_t, int32_t) override { return false; }
        void CancelAll() override {}
        bool QueueWheel(short delta, bool horizontal, int32_t x, int32_t y) override {
            return engine.QueueWheel(delta, horizontal, x, y);
        }
        ScrollEngine& engine;
    } hook(engine);
    auto notch = [](short delta) {
        MouseEvent event;
        event.message = WheelMessage;
        event.mouseData = static_cast<uint32_t>(static_cast<uint16_t>(delta)) << 16;
        return event;
    };

    store.SetEnabled(false);
    EXPECT_FALSE(RouteMouseEvent(notch(120), hook));
    store.SetEnabled(true);
    EXPECT_TRUE(RouteMouseEvent(notch(0), hook)); // taken, adds nothing
    EXPECT_EQ(platform.wakeCount, 0);
    EXPECT_FALSE(engine.AxisFor(false).active);
    EXPECT_TRUE(RouteMouseEvent(notch(-120), hook));
    EXPECT_TRUE(engine.AxisFor(false).active);
    EXPECT_EQ(RunTrain(platform.nowMs), Units(-120, 0));

    platform.ReleaseOnNextWake();
    engine.Stop();
    EXPECT_FALSE(RouteMouseEvent(notch(120), hook));
    EXPECT_FALSE(engine.AxisFor(false).active);
}

TEST_F(ScrollEngineTest, ValuesThatAreNotNumbersNeverReachASteps) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};
    for (double value : bad) {
        for (bool inSmoothing : {true, false}) {
            AxisSettings axis;
            (inSmoothing ? axis.Smoothing : axis.AccelStrength) = value;
            Settings settings = store.Snapshot();
            settings.Vertical = axis;
            store.Apply(settings, false);
            // A burst, so the acceleration multiplier is computed from the value too.
            const double start = platform.nowMs;
            for (int notch = 0; notch < 4; ++notch) {
                platform.nowMs = start + notch * 30.0;
                engine.QueueWheel(120, false);
            }
            const AxisState& state = engine.AxisFor(false);
            EXPECT_TRUE(std::isfinite(state.targetPos) && std::isfinite(state.startVelocity) &&
                        std::isfinite(state.smoothing));
            const int64_t units = RunTrain(platform.nowMs).first;
            // The notches still scroll; an infinite strength is clamped to the largest multiplier.
            EXPECT_GE(units, 4 * 120);
            EXPECT_LE(units, 4 * 120 * 5);
            platform.nowMs += 1000;
        }
    }
}

namespace {

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// An engine on a live platform, its curves short (50 ms) and without acceleration.
struct LiveEngine {
    LiveEngine() {
        Settings settings = store.Snapshot();
        settings.Vertical.DurationMs = settings.Horizontal.DurationMs = 50;
        settings.Vertical.AccelEnabled = settings.Horizontal.AccelEnabled = false;
        store.Apply(settings, false);
    }
    void SlowVertical() {
        Settings settings = store.Snapshot();
        settings.Vertical.DurationMs = 800;
        store.Apply(settings, false);
    }
    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store{L"C:\\v\\config.ini", files, autoStart};
    LiveEnginePlatform platform{240};
    ScrollEngine engine{store, platform};
};

} // namespace

// Frames run until the train ends, then the thread idles. A monitor change and a wake from
// sleep in the middle of a glide: the displays' new rate is known at once, the glide
// keeps its own to its end with exactly its units, and the next glide takes the new one.
TEST(ScrollEngineLoopTest, RunsFramesUntilTheTrainEndsThroughDisplayChangesAndSleep) {
    LiveEngine live;
    ASSERT_TRUE(live.engine.Start());
    ASSERT_TRUE(live.engine.Start()); // a second start keeps the one thread
    EXPECT_EQ(live.engine.RefreshRateAt(100, 100), 240);
    EXPECT_EQ(live.engine.GlideFrameRateHz(), 0);

    live.engine.QueueWheel(120, false);
    live.engine.QueueWheel(-240, true);
    ASSERT_TRUE(WaitUntil([&] { return live.platform.units[0] == 120 && live.platform.units[1] == -240; }));
    ASSERT_TRUE(WaitUntil([&] { return live.platform.openFrameRuns == 0; })); // idle again
    {
        // Within a frame the vertical step goes first; most frames carry both.
        std::lock_guard<std::mutex> lock(live.platform.orderLock);
        EXPECT_EQ(live.platform.order.find("HV"), std::string::npos) << live.platform.order;
        EXPECT_NE(live.platform.order.find("VH"), std::string::npos) << live.platform.order;
    }

    live.SlowVertical();
    live.engine.QueueWheel(120, false);
    live.engine.QueueWheel(120, false);
    ASSERT_TRUE(WaitUntil([&] { return live.platform.units[0] > 120; }));
    live.platform.refreshRateHz = 144;
    live.engine.RefreshDisplayRate();
    EXPECT_EQ(live.engine.RefreshRateAt(100, 100), 144);
    live.platform.refreshRateHz = 165;
    live.engine.RefreshDisplayRate();
    EXPECT_EQ(live.engine.RefreshRateAt(5000, -300), 165); // off the display: the nearest one
    EXPECT_LT(live.platform.units[0], 360); // still gliding
    EXPECT_EQ(live.engine.GlideFrameRateHz(), 240);
    live.platform.clockJumpMs = 60000.0; // the machine slept a minute
    ASSERT_TRUE(WaitUntil([&] { return live.platform.openFrameRuns == 0; }));
    EXPECT_EQ(live.platform.units[0], 360);
    EXPECT_EQ(live.engine.GlideFrameRateHz(), 240);
    live.engine.QueueWheel(120, false, 300, 200);
    ASSERT_TRUE(WaitUntil([&] { return live.platform.units[0] == 480 && live.platform.openFrameRuns == 0; }));
    EXPECT_EQ(live.engine.GlideFrameRateHz(), 330);

    const auto stopStart = std::chrono::steady_clock::now();
    live.engine.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - stopStart, std::chrono::seconds(1));
    EXPECT_FALSE(live.engine.IsRunning());
}

TEST(ScrollEngineLoopTest, HeldModifierCancelsTheTrainAndStopDuringATrainReturnsPromptly) {
    LiveEngine live;
    ASSERT_TRUE(live.engine.Start());
    live.SlowVertical();
    live.engine.QueueWheel(120, false);
    ASSERT_TRUE(WaitUntil([&] { return live.platform.units[0] > 0; }));
    live.platform.modifierDown = true;
    ASSERT_TRUE(WaitUntil([&] {
        AxisState& axis = live.engine.AxisFor(false);
        const std::lock_guard<std::mutex> lock(axis.lock); // the engine thread writes it under the lock
        return !axis.active && live.platform.openFrameRuns == 0;
    }));
    const int64_t atCancel = live.platform.units[0];
    EXPECT_LT(atCancel, 120);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(live.platform.units[0], atCancel); // nothing more after the cancel

    live.platform.modifierDown = false;
    live.engine.QueueWheel(120, false);
    ASSERT_TRUE(WaitUntil([&] { return live.platform.units[0] > atCancel; }));
    const auto stopStart = std::chrono::steady_clock::now();
    live.engine.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - stopStart, std::chrono::milliseconds(500));
    EXPECT_EQ(live.platform.openFrameRuns, 0); // the timer resolution request is paired
}
