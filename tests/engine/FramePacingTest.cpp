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

// Timer wake-ups recorded on this machine under Wine with both cores busy: how late (µs)
// a high-resolution timer set for each frame of a 288 frames/s run woke.
constexpr int WakeLatenessUs[] = {
    1171, 893,  2461, 230,  963,  789,  510,  238,  1266, 1514, 296,  1015, 749,  474,  269,  1004,
    1276, 1088, 2880, 3494, 22,   777,  554,  301,  5016, 1544, 999,  839,  793,  699,  649,  5356,
    1885, 605,  340,  1086, 856,  1331, 1155, 891,  612,  341,  1114, 843,  547,  4817, 1346, 5565,
    2094, 877,  624,  608,  638,  2419, 1151, 906,  701,  414,  1459, 334,  1045, 831,  566,  280};

// The engine's own frame loop on a clock that moves only when the engine waits or sends:
// each wait ends at its deadline plus the next recorded lateness. Its displays are the
// test's; the compositor's clock reports one period while the display runs at another.
class RecordedTimingPlatform : public EnginePlatform {
public:
    std::atomic<double> nowMs{1000.0};
    DisplayTable displays;
    double reportedPeriodMs = 1000.0 / 144, truePeriodMs = 1000.0 / 144, firstVBlankMs = 0.37;
    std::atomic<int> timingReads{0};
    std::atomic<int64_t> units{0};
    std::mutex lock;
    std::vector<double> dues; // guarded by lock

    double NowMs() override { return nowMs.load(); }
    void SetWake() override {
        std::lock_guard<std::mutex> guard(lock);
        woken_ = true;
        changed_.notify_all();
    }
    void WaitForWake() override {
        std::unique_lock<std::mutex> guard(lock);
        ++parks_;
        changed_.notify_all();
        changed_.wait(guard, [this] { return woken_; });
        woken_ = false;
    }
    // Queues a notch and returns once its glide has ended and the engine idles again.
    std::vector<double> Glide(ScrollEngine& engine, int32_t x, int32_t y) {
        std::unique_lock<std::mutex> guard(lock);
        dues.clear();
        const int parked = parks_;
        guard.unlock();
        engine.QueueWheel(360, false, x, y);
        guard.lock();
        changed_.wait(guard, [&] { return parks_ > parked; });
        return dues;
    }
    void WaitUntilParked() {
        std::unique_lock<std::mutex> guard(lock);
        changed_.wait(guard, [this] { return parks_ > 0; });
    }
    bool IsModifierDown() override { return false; }
    void WaitUntil(double dueMs) override {
        std::lock_guard<std::mutex> guard(lock);
        dues.push_back(dueMs);
        const double late = WakeLatenessUs[wakes_++ % std::size(WakeLatenessUs)] / 1000.0;
        nowMs = std::max(nowMs.load(), dueMs) + late;
    }
    void EmitWheelStep(bool, int32_t step) override {
        units += step;
        nowMs = nowMs.load() + 0.02; // SendInput's own time
    }
    DisplayTable ReadDisplays() override { return displays; }
    bool ReadDisplayTiming(DisplayTiming& timing) override {
        ++timingReads;
        timing.periodMs = reportedPeriodMs;
        timing.vblankMs = VBlankBefore(nowMs.load());
        return true;
    }
    bool HasHighResolutionTimer() const override { return true; }

    double VBlankBefore(double ms) const {
        return firstVBlankMs + std::floor((ms - firstVBlankMs) / truePeriodMs) * truePeriodMs;
    }

private:
    std::condition_variable changed_;
    bool woken_ = false;
    int parks_ = 0;
    size_t wakes_ = 0;
};

} // namespace

// Glides of 800 ms driven by recorded wake-ups. On the 144 Hz display the frames run at
// 288/s, two in every display interval, each due in the middle of its half: late wake-ups
// never put a third into an interval, and when the display's real clock has drifted from
// what the system said, the frames are put back in their place. On the 60 Hz display,
// whose clock the system does not tell, frames run at 240/s on deadlines counted from the
// glide's start: however late a wake-up, the grid does not move. A glide keeps its rate;
// every glide delivers exactly its units.
TEST(FramePacingTest, FramesKeepTheirPlaceInTheDisplayIntervalOnRecordedWakeUps) {
    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store{L"C:\\v\\config.ini", files, autoStart};
    Settings settings = store.Snapshot();
    settings.Vertical.DurationMs = 800;
    settings.Vertical.AccelEnabled = false;
    store.Apply(settings, false);
    RecordedTimingPlatform platform;
    platform.displays = {{0, 0, 1920, 1080, 60}, {1920, 0, 4480, 1440, 144}};
    platform.truePeriodMs = 1000.0 / 143.7; // the system says 144 Hz
    ScrollEngine engine(store, platform);
    ASSERT_TRUE(engine.Start());
    platform.WaitUntilParked();

    std::vector<double> dues = platform.Glide(engine, 2500, 700);
    EXPECT_EQ(engine.GlideFrameRateHz(), 288);
    EXPECT_EQ(platform.units, 360);
    ASSERT_GT(dues.size(), 200u);
    const double share = platform.truePeriodMs / 2;
    std::map<int64_t, int> framesPerInterval;
    double worst = 0;
    for (const double due : dues) {
        const double vblank = platform.VBlankBefore(due);
        ++framesPerInterval[std::llround((vblank - platform.firstVBlankMs) / platform.truePeriodMs)];
        const double offset = std::fmod(due - vblank, share); // within the frame's half of the interval
        worst = std::max(worst, std::fabs(offset - share / 2));
    }
    for (const auto& [interval, frames] : framesPerInterval) EXPECT_LE(frames, 2) << "display interval " << interval;
    // Left to drift, the last frames would come within 0.1 ms of the interval's edge.
    EXPECT_LT(worst, share * 3 / 8) << "a frame came near the edge of the display's interval";
    EXPECT_GE(platform.timingReads, static_cast<int>(dues.size()) / FrameScheduler::PhaseCheckFrames);

    // The 60 Hz display, though the compositor still speaks of 144: no phase, 240 frames/s.
    const double secondStart = platform.nowMs;
    dues = platform.Glide(engine, 600, 500);
    EXPECT_EQ(engine.GlideFrameRateHz(), 240);
    EXPECT_EQ(platform.units, 720);
    int skipped = 0;
    for (size_t k = 0; k < dues.size(); ++k) {
        const double frames = (dues[k] - secondStart) * 240 / 1000;
        EXPECT_NEAR(frames, std::round(frames), 1e-6) << "frame " << k << " is off the glide's grid";
        if (k > 0) skipped += static_cast<int>(std::lround((dues[k] - dues[k - 1]) * 240 / 1000)) - 1;
    }
    EXPECT_LT(skipped, static_cast<int>(dues.size()) / 5); // only the wake-ups later than a whole frame
    std::printf("288/s: frames at most %.3f ms from the middle of their share; 240/s: %zu frames, %d skipped\n",
                worst, dues.size(), skipped);
    engine.Stop();
}
