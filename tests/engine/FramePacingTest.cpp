#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <iterator>
#include <map>
#include <mutex>
#include <vector>

#include "engine/EnginePlatform.h"
#include "engine/FramePacing.h"
#include "engine/ScrollEngine.h"
#include "settings/ConfigStore.h"
#include "support/InMemoryConfigFiles.h"

TEST(FramePacingTest, RateIsAWholeMultipleOfTheRefreshOfTheDisplayUnderThePoint) {
    const std::map<int32_t, int32_t> rates = {{0, 200},   {60, 240},  {75, 225},  {100, 200}, {120, 240}, {144, 288},
                                              {165, 330}, {240, 240}, {360, 360}, {480, 240}, {1000, 250},
                                              {185, 200}, {390, 360}, {24, 216},  {59, 236}};
    for (const auto& [refresh, rate] : rates) {
        EXPECT_EQ(FrameRateForRefresh(refresh), rate) << refresh;
        // Only the bounds that stand in for a missing multiple or divisor are out of step.
        EXPECT_EQ(LinesUpWithRefresh(refresh, rate), refresh != 0 && refresh != 185 && refresh != 390) << refresh;
    }
    // A 60 Hz display and a 144 Hz one to its right, 240 Hz above it with a gap between.
    const DisplayTable displays = {{0, 0, 1920, 1080, 60}, {1920, 0, 4480, 1440, 144}, {0, -1200, 1920, -100, 240}};
    EXPECT_EQ(RefreshRateAt(displays, 1919, 1079), 60);
    EXPECT_EQ(RefreshRateAt(displays, 1920, 0), 144);
    EXPECT_EQ(RefreshRateAt(displays, 800, -101), 240);
    EXPECT_EQ(RefreshRateAt(displays, 800, -40), 60);    // in the gap, nearer the lower one
    EXPECT_EQ(RefreshRateAt(displays, 5000, 2000), 144); // off every edge
    EXPECT_EQ(RefreshRateAt({}, 10, 10), 0);
}

namespace {

// Timer wake-ups recorded on this machine under Wine: how late (µs) a high-resolution
// timer set for each frame of a 288 frames/s run woke. Wine's timers end on whole
// milliseconds after they are set, hence the saw-tooth; a few wake-ups are held up longer.
constexpr int WakeLatenessUs[] = {
    587,  2229, 904, 579, 654,  347, 1090, 833,  641,  956,  742,  946,  759,  302,  1069, 821,
    570,  321,  1121, 556, 312,  1064, 822, 582, 363,  1108, 837,  1575, 583, 909,  657,  431,
    4304, 832,  625,  3465, 129,  1068, 814, 570, 340,  1082, 856,  599,  1837, 1818, 569, 345,
    1107, 873,  596,  268,  958,  638,  322, 1005, 2085, 759,  446,  129,  809,  495,  141, 883};

// The engine's own frame loop on a clock that moves only when the engine waits or sends:
// each wait ends at its time plus the next recorded lateness, each step takes 0.02 ms to
// leave. Its displays are the test's; the compositor's clock reports one period while the
// display runs at another.
class RecordedTimingPlatform : public EnginePlatform {
public:
    std::atomic<double> nowMs{1000.0};
    DisplayTable displays;
    double reportedPeriodMs = 1000.0 / 144, truePeriodMs = 1000.0 / 144, firstVBlankMs = 0.37;
    std::atomic<int64_t> units{0};

    struct Record {
        std::vector<double> wakes, steps; // when each wait was to end; when each step left
    };

    double NowMs() override { return nowMs.load(); }
    void SetWake() override {
        std::lock_guard<std::mutex> guard(lock_);
        woken_ = true;
        changed_.notify_all();
    }
    void WaitForWake() override {
        std::unique_lock<std::mutex> guard(lock_);
        ++parks_;
        changed_.notify_all();
        changed_.wait(guard, [this] { return woken_; });
        woken_ = false;
    }
    // Queues a notch and returns once its glide has ended and the engine idles again.
    Record Glide(ScrollEngine& engine, short delta, int32_t x, int32_t y) {
        std::unique_lock<std::mutex> guard(lock_);
        record_ = {};
        const int parked = parks_;
        guard.unlock();
        engine.QueueWheel(delta, false, x, y);
        guard.lock();
        changed_.wait(guard, [&] { return parks_ > parked; });
        return record_;
    }
    void WaitUntilParked() {
        std::unique_lock<std::mutex> guard(lock_);
        changed_.wait(guard, [this] { return parks_ > 0; });
    }
    bool IsModifierDown() override { return false; }
    void WaitUntil(double wakeMs) override {
        std::lock_guard<std::mutex> guard(lock_);
        record_.wakes.push_back(wakeMs);
        const double late = WakeLatenessUs[wakes_++ % std::size(WakeLatenessUs)] / 1000.0;
        nowMs = std::max(nowMs.load(), wakeMs) + late;
    }
    void EmitWheelStep(bool, int32_t step) override {
        std::lock_guard<std::mutex> guard(lock_);
        units += step;
        nowMs = nowMs.load() + 0.02;
        record_.steps.push_back(nowMs);
    }
    DisplayTable ReadDisplays() override { return displays; }
    bool ReadDisplayTiming(DisplayTiming& timing) override {
        timing.periodMs = reportedPeriodMs;
        timing.vblankMs = VBlankBefore(nowMs.load());
        return true;
    }
    bool HasHighResolutionTimer() const override { return true; }

    double VBlankBefore(double ms) const {
        return firstVBlankMs + std::floor((ms - firstVBlankMs) / truePeriodMs) * truePeriodMs;
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool woken_ = false;
    int parks_ = 0;
    size_t wakes_ = 0;
    Record record_;
};

} // namespace

// Glides of 800 ms driven by recorded wake-ups, as a window would see their steps. On the
// 144 Hz display the frames run at 288/s, two in each display interval, each in the
// middle of its half, wherever in the interval the glide began: the frames learn to wake
// early by the wake-ups' typical lateness, and as the display's real clock drifts from
// what the system said, they are put back in their place. On the 60 Hz display, whose
// clock the system does not tell, frames run at 240/s on deadlines counted from the
// glide's start: late wake-ups do not move them. Every glide delivers exactly its units.
TEST(FramePacingTest, StepsKeepTheirPlaceInTheDisplayIntervalOnRecordedWakeUps) {
    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store{L"C:\\v\\config.ini", files, autoStart};
    Settings settings = store.Snapshot();
    settings.Vertical.DurationMs = 800;
    settings.Vertical.AccelEnabled = false;
    store.Apply(settings, false);
    RecordedTimingPlatform platform;
    platform.displays = {{0, 0, 1920, 1080, 60}, {1920, 0, 4480, 1440, 144}};
    platform.truePeriodMs = 1000.0 / 143.4; // the system says 144 Hz
    ScrollEngine engine(store, platform);
    ASSERT_TRUE(engine.Start());
    platform.WaitUntilParked();

    platform.Glide(engine, 1200, 2500, 700); // the frames learn how late they wake
    // Glides that start at different points of the display interval.
    double leastEven = 1.0;
    for (int glide = 0; glide < 6; ++glide) {
        platform.nowMs = platform.nowMs + 100 + glide * platform.truePeriodMs / 6;
        const double start = platform.nowMs;
        const std::vector<double> steps = platform.Glide(engine, 1200, 2500, 700).steps;
        EXPECT_EQ(engine.GlideFrameRateHz(), 288);
        // The display intervals of the glide's middle part, where every frame sends a step.
        const double first = platform.VBlankBefore(start + 100) + platform.truePeriodMs;
        std::vector<int> stepsPerInterval(static_cast<size_t>(600 / platform.truePeriodMs), 0);
        for (const double left : steps) {
            const auto interval = static_cast<size_t>(std::floor((left - first) / platform.truePeriodMs));
            if (left >= first && interval < stepsPerInterval.size()) ++stepsPerInterval[interval];
        }
        const double even = static_cast<double>(std::count(stepsPerInterval.begin(), stepsPerInterval.end(), 2)) /
                            static_cast<double>(stepsPerInterval.size());
        leastEven = std::min(leastEven, even);
    }
    EXPECT_EQ(platform.units, 7 * 1200);
    // Without the phase, some of these glides have 30 % of their intervals uneven; without
    // the drift put right or the lateness learned, every glide has 15 to 25 %.
    EXPECT_GT(leastEven, 0.88);

    // The 60 Hz display, though the compositor still speaks of 144: no phase, 240 frames/s.
    const double secondStart = platform.nowMs;
    const RecordedTimingPlatform::Record unsynced = platform.Glide(engine, 1200, 600, 500);
    EXPECT_EQ(engine.GlideFrameRateHz(), 240);
    EXPECT_EQ(platform.units, 8 * 1200);
    for (const double wake : unsynced.wakes) {
        // Never after a deadline of the grid, and never more than a third of a frame before it.
        const double frames = (wake - secondStart) * 240 / 1000, before = std::ceil(frames - 1e-9) - frames;
        EXPECT_TRUE(before > -1e-9 && before < 1.0 / 3) << "a wake-up at " << wake << " is off the glide's grid";
    }
    std::printf("288/s: at least %.0f %% of the display intervals got two steps; 240/s: %zu frames\n",
                leastEven * 100, unsynced.wakes.size());
    engine.Stop();
}
