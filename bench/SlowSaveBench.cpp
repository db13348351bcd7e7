// The hook's path while the configuration file takes 2 s to write: a thread
// routes a wheel notch every millisecond through the real decision, store and
// engine while the main thread saves. Prints the longest hook call and how many
// notches were queued during the write.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "engine/ScrollEngine.h"
#include "engine/WheelRouting.h"
#include "exclusions/AddressBook.h"
#include "exclusions/ExclusionDecision.h"
#include "exclusions/ProcessInfo.h"
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

class Browser : public PointTargetQueries, public ProcessQueries {
public:
    AddressBook addresses;
    WindowId WindowAt(int32_t, int32_t) override { return 0x100; }
    uint32_t ProcessIdOf(WindowId) override { return 4242; }
    WindowId RootOf(WindowId) override { return 0x200; }
    size_t TitleOf(WindowId, wchar_t* buffer) override {
        constexpr std::wstring_view title = L"Weather forecast for the week ahead - Google Chrome";
        std::copy(title.begin(), title.end(), buffer);
        return title.size();
    }
    std::wstring_view AddressOf(WindowId window) override {
        view_ = addresses.Read();
        return view_.Get(window);
    }
    uint64_t TickMs() override { return 10000; }
    bool Inspect(uint32_t, std::wstring& path, uint32_t& level) override {
        path = L"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe";
        level = MediumIntegrityLevel;
        return true;
    }
    uint32_t ReadOwnIntegrityLevel() override { return MediumIntegrityLevel; }

private:
    AddressBook::View view_;
};

class HookContext : public WheelRoutingContext {
public:
    HookContext(ConfigStore& store, ScrollEngine& engine, Browser& browser, ProcessInfoCache& processes)
        : store_(store), engine_(engine), browser_(browser), processes_(processes) {}
    bool IsSmoothingEnabled() override { return store_.IsEnabled(); }
    bool IsModifierDown() override { return false; }
    bool IsShiftDown() override { return false; }
    bool IsExcludedAtPoint(int32_t x, int32_t y) override {
        return IsExcludedAt(x, y, browser_, processes_, *store_.Current());
    }
    void CancelAll() override { engine_.CancelAll(); }
    void QueueWheel(short delta, bool horizontal) override { engine_.QueueWheel(delta, horizontal); }

private:
    ConfigStore& store_;
    ScrollEngine& engine_;
    Browser& browser_;
    ProcessInfoCache& processes_;
};

} // namespace

int main() {
    SlowFiles files;
    FakeAutoStart autoStart;
    ConfigStore store(L"C:\\bench\\config.ini", files, autoStart);
    for (const wchar_t* rule : {L"wikipedia.org", L"github.com/settings", L"Видео", L"docs.python.org", L"youtube.com"})
        store.AddExcludedSite(rule);
    ScriptedEnginePlatform platform;
    ScrollEngine engine(store, platform);
    engine.Start();
    platform.WaitUntilParked();

    Browser browser;
    browser.addresses.Publish(0x200, L"weather.example.com/forecast/week");
    browser.addresses.Commit();
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
