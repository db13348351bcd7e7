// The hook's path while the configuration file takes 2 s to write: a thread
// routes a wheel notch every millisecond through the real decision, store and
// engine while the main thread saves. Prints the longest hook call and how many
// notches were queued during the write.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "BrowserUnderCursor.h"
#include "engine/ScrollEngine.h"
#include "engine/WheelRouting.h"
#include "settings/ConfigStore.h"
#include "support/InMemoryConfigFiles.h"
#include "support/ScriptedEnginePlatform.h"

using Clock = std::chrono::steady_clock;

namespace {

class SlowFiles : public InMemoryConfigFiles {
public:
    std::atomic<bool> slow{false};
    bool WriteFileAtomically(const std::wstring& path, const std::wstring& text) override {
        if (slow) std::this_thread::sleep_for(std::chrono::seconds(2));
        return InMemoryConfigFiles::WriteFileAtomically(path, text);
    }
};

class HookContext : public WheelRoutingContext {
public:
    HookContext(ConfigStore& store, ScrollEngine& engine, BrowserUnderCursor& browser, ProcessInfoCache& processes)
        : store_(store), engine_(engine), browser_(browser), processes_(processes) {}
    bool IsSmoothingEnabled() override { return store_.IsEnabled(); }
    bool IsModifierDown() override { return false; }
    bool IsShiftDown() override { return false; }
    bool IsExcludedAtPoint(int32_t x, int32_t y) override {
        return IsExcludedAt(x, y, browser_, processes_, *store_.Current());
    }
    void CancelAll() override { engine_.CancelAll(); }
    bool QueueWheel(short delta, bool horizontal, int32_t x, int32_t y) override {
        return engine_.QueueWheel(delta, horizontal, x, y);
    }

private:
    ConfigStore& store_;
    ScrollEngine& engine_;
    BrowserUnderCursor& browser_;
    ProcessInfoCache& processes_;
};

} // namespace

int main() {
    SlowFiles files;
    FakeAutoStart autoStart;
    ConfigStore store(L"C:\\bench\\config.ini", files, autoStart);
    for (const wchar_t* rule : FiveSiteRules) store.AddExcludedSite(rule);
    ScriptedEnginePlatform platform;
    ScrollEngine engine(store, platform);
    engine.Start();
    platform.WaitUntilParked();

    BrowserUnderCursor browser;
    OwnIntegrityLevel own;
    ProcessInfoCache processes(browser, own);

    std::atomic<bool> saving{false}, done{false};
    std::atomic<long long> longestNs{0}, callsDuringSave{0}, queuedDuringSave{0};
    std::thread hook([&] {
        HookContext context(store, engine, browser, processes);
        MouseEvent notch;
        notch.message = WheelMessage;
        notch.mouseData = 120u << 16;
        while (!done) {
            const bool during = saving;
            const auto start = Clock::now();
            const bool swallowed = RouteMouseEvent(notch, context);
            const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
            if (ns > longestNs) longestNs = ns;
            if (during) {
                ++callsDuringSave;
                if (swallowed) ++queuedDuringSave;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    files.slow = true;
    saving = true;
    const auto saveStart = Clock::now();
    store.SetEnabled(true); // saves at once: 2 s on this file
    const double saveMs = std::chrono::duration<double, std::milli>(Clock::now() - saveStart).count();
    saving = false;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    done = true;
    hook.join();
    platform.ReleaseOnNextWake();
    engine.Stop();

    std::printf("save took %.0f ms\n", saveMs);
    std::printf("longest hook call: %.3f ms\n", static_cast<double>(longestNs.load()) / 1e6);
    std::printf("hook calls during the save: %lld, notches queued during the save: %lld\n", callsDuringSave.load(),
                queuedDuringSave.load());
    return 0;
}
