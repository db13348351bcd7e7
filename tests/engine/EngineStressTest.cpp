// Three threads on one engine and one store, as in the running program: a "hook"
// thread queues notches, cancels and asks the exclusion queries; the engine thread
// runs frames; a "settings window" thread applies settings and edits the lists.
// Built with ThreadSanitizer; every checked round must emit exactly what was asked.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <random>
#include <thread>

#include "engine/ScrollEngine.h"
#include "exclusions/ExclusionRules.h"
#include "settings/ConfigStore.h"
#include "support/InMemoryConfigFiles.h"
#include "support/LiveEnginePlatform.h"

namespace {

using Clock = std::chrono::steady_clock;

double StressSeconds() {
    const char* text = std::getenv("VG_STRESS_SECONDS");
    return text ? std::atof(text) : 4.0;
}

bool AxisActive(AxisState& axis) {
    std::lock_guard<std::mutex> lock(axis.lock);
    return axis.active;
}

} // namespace

TEST(EngineStressTest, ConcurrentNotchesFramesAndSettingsKeepEveryUnit) {
    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store(L"C:\\stress\\config.ini", files, autoStart);
    {
        // The vertical axis asks exactly its delta per notch, so each round's units are known.
        Settings settings = store.Snapshot();
        settings.Vertical.AccelEnabled = false;
        settings.Vertical.DurationMs = 60;
        store.Apply(settings, true);
    }
    LiveEnginePlatform platform;
    platform.frameWait = std::chrono::microseconds(500);
    ScrollEngine engine(store, platform);
    ASSERT_TRUE(engine.Start());

    std::atomic<bool> stop{false};
    std::atomic<int> settingsChanges{0};
    std::thread settingsThread([&] {
        std::mt19937 random(7);
        while (!stop.load()) {
            Settings settings = store.Snapshot();
            settings.Vertical.DurationMs = 50 + static_cast<int>(random() % 100);
            settings.Vertical.Smoothing = 2.0 + (random() % 300) / 100.0;
            settings.Horizontal.Speed = 30 + static_cast<int>(random() % 450);
            settings.Horizontal.AccelEnabled = random() % 2 == 0;
            settings.Horizontal.AccelStrength = 1.0 + (random() % 400) / 100.0;
            store.Apply(settings, random() % 4 == 0);
            const std::wstring app = L"tool" + std::to_wstring(random() % 5);
            if (random() % 2) store.AddExcludedApp(app); else store.RemoveExcludedApp(app + L".exe");
            const std::wstring site = L"site" + std::to_wstring(random() % 5) + L".org";
            if (random() % 2) store.AddExcludedSite(site); else store.RemoveExcludedSite(site);
            store.SaveIfDirty();
            ++settingsChanges;
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    });

    std::mt19937 random(11);
    int checkedRounds = 0, stressRounds = 0;
    int64_t checkedUnits = 0;
    const auto deadline = Clock::now() + std::chrono::duration<double>(StressSeconds());
    while (Clock::now() < deadline) {
        if (random() % 2 == 0) {
            // Checked round: same-direction notches, no cancel; the units must all arrive.
            const int64_t before = platform.units[0].load();
            const short sign = random() % 2 ? 1 : -1;
            int64_t asked = 0;
            for (int n = 1 + static_cast<int>(random() % 8); n > 0; --n) {
                const short delta = static_cast<short>(sign * (random() % 3 == 0 ? 60 : 120));
                engine.QueueWheel(delta, false);
                asked += delta;
                const auto settings = store.Current();
                (void)ExclusionRules::IsAppExcluded(*settings, L"tool3.exe");
                (void)ExclusionRules::IsSiteExcluded(*settings, L"www.site1.org/page", L"title");
                std::this_thread::sleep_for(std::chrono::milliseconds(random() % 25));
            }
            const auto wait = Clock::now() + std::chrono::seconds(10);
            while ((AxisActive(engine.AxisFor(false)) || platform.units[0].load() - before != asked) &&
                   Clock::now() < wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ASSERT_EQ(platform.units[0].load() - before, asked) << "round " << checkedRounds;
            checkedUnits += asked < 0 ? -asked : asked;
            ++checkedRounds;
        } else {
            // Stress round: both axes, reversals and cancels in any order.
            for (int n = 1 + static_cast<int>(random() % 12); n > 0; --n) {
                const int action = static_cast<int>(random() % 10);
                if (action == 0) engine.CancelAll();
                else engine.QueueWheel(static_cast<short>((random() % 2 ? 1 : -1) * 120), action % 2 == 0);
                std::this_thread::sleep_for(std::chrono::microseconds(random() % 8000));
            }
            engine.CancelAll();
            // A step computed just before the cancel may still be on its way out.
            while (!platform.parked.load()) std::this_thread::sleep_for(std::chrono::microseconds(200));
            ++stressRounds;
        }
    }
    stop = true;
    settingsThread.join();
    engine.Stop();

    EXPECT_GT(checkedRounds, 5);
    EXPECT_GT(stressRounds, 5);
    EXPECT_GT(settingsChanges.load(), 5);
    std::printf("checked rounds %d (%lld units), stress rounds %d, settings changes %d, steps emitted %lld\n",
                checkedRounds, static_cast<long long>(checkedUnits), stressRounds, settingsChanges.load(),
                static_cast<long long>(platform.steps.load()));
}
