// Costs of the work done inside the system's mouse hook and on every frame.
// Each benchmark also reports heap allocations per iteration, counted by the
// replaced global operator new below.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "BrowserUnderCursor.h"
#include "engine/AxisMotion.h"
#include "engine/ScrollEngine.h"
#include "exclusions/ExclusionRules.h"
#include "settings/ConfigStore.h"
#include "support/InMemoryConfigFiles.h"
#include "support/ScriptedEnginePlatform.h"

namespace {
std::atomic<long long> g_allocations{0};
}

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

struct Fixture {
    Fixture() {
        engine.Start();
        platform.WaitUntilParked();
    }
    ~Fixture() {
        platform.ReleaseOnNextWake();
        engine.Stop();
    }
    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store{L"C:\\bench\\config.ini", files, autoStart};
    ScriptedEnginePlatform platform;
    ScrollEngine engine{store, platform};
};

// Heap allocations per call, counted over a run of calls outside the timed loop
// (the benchmark library allocates a little of its own around that loop).
template <typename Call>
void ReportAllocations(benchmark::State& state, Call call) {
    constexpr int calls = 100000;
    const long long before = g_allocations.load();
    for (int i = 0; i < calls; ++i) call();
    state.counters["allocs/call"] = static_cast<double>(g_allocations.load() - before) / calls;
}

void BM_QueueWheel(benchmark::State& state) {
    Fixture f;
    short delta = 120;
    int i = 0;
    // Mostly blends, a reversal now and then, the axis reset so it never grows without bound.
    auto notch = [&] {
        f.platform.nowMs += 7.0;
        if (++i % 16 == 0) delta = static_cast<short>(-delta);
        f.engine.QueueWheel(delta, false);
        if (i % 64 == 0) f.engine.CancelAll();
    };
    for (auto _ : state) notch();
    ReportAllocations(state, notch);
}
BENCHMARK(BM_QueueWheel);

void BM_AdvanceActiveAxis(benchmark::State& state) {
    AxisState axis(false);
    AxisMotion::Retarget(axis, 0.0, 1e9, 800, 3.0); // a long curve that stays active
    double now = 0.0;
    bool anyActive = false;
    auto frame = [&] {
        now += 0.001;
        benchmark::DoNotOptimize(AxisMotion::Advance(axis, now, anyActive));
    };
    for (auto _ : state) frame();
    ReportAllocations(state, frame);
}
BENCHMARK(BM_AdvanceActiveAxis);

// The application rules over the published snapshot, with the process name in rule
// form as the cache keeps it (the eight default names).
void BM_IsAppExcluded(benchmark::State& state, const wchar_t* name) {
    Fixture f;
    const auto settings = f.store.Current();
    auto query = [&] { benchmark::DoNotOptimize(ExclusionRules::IsAppExcluded(*settings, name)); };
    for (auto _ : state) query();
    ReportAllocations(state, query);
}
BENCHMARK_CAPTURE(BM_IsAppExcluded, not_listed, L"firefox.exe");
BENCHMARK_CAPTURE(BM_IsAppExcluded, last_entry, L"photoshop.exe");

// The hook's exclusion decision for a notch over a page inside a Chromium window:
// the process record is warm; with site rules the title is read and lowered, the
// watcher's address looked up in the committed book and every rule tried (none
// matches); without, the decision ends at the application rules.
void BM_ExclusionDecisionOverBrowser(benchmark::State& state, bool siteRules) {
    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store(L"C:\\bench\\config.ini", files, autoStart);
    if (siteRules) {
        for (const wchar_t* rule : FiveSiteRules) store.AddExcludedSite(rule);
    }
    BrowserUnderCursor browser;
    OwnIntegrityLevel own;
    ProcessInfoCache processes(browser, own);
    // The hook takes the snapshot per notch, as the program does.
    auto decide = [&] { benchmark::DoNotOptimize(IsExcludedAt(10, 10, browser, processes, *store.Current())); };
    decide(); // warms the process record
    for (auto _ : state) decide();
    ReportAllocations(state, decide);
}
BENCHMARK_CAPTURE(BM_ExclusionDecisionOverBrowser, five_site_rules, true);
BENCHMARK_CAPTURE(BM_ExclusionDecisionOverBrowser, no_site_rules, false);

} // namespace

BENCHMARK_MAIN();
