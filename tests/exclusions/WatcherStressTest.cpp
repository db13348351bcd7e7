// The browser watcher's publishing against the hook's reading, as in the running
// program: a "watcher" thread polls (its desktop and element tree are its own), a
// "hook" thread asks the exclusion decision, which copies the published address,
// and a "settings window" thread removes and adds the site rule, so everything is
// released and built again while the hook reads. Built with ThreadSanitizer.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "exclusions/AddressBook.h"
#include "exclusions/BrowserPoller.h"
#include "exclusions/ExclusionDecision.h"
#include "exclusions/ProcessInfo.h"
#include "settings/ConfigStore.h"
#include "support/FakeAutomationTree.h"
#include "support/FakeDesktop.h"
#include "support/InMemoryConfigFiles.h"

namespace {

constexpr WindowId Browser = 7;
constexpr uint32_t ChromeProcess = 70;

// The hook's view: the browser window under every point, its title never matching,
// its address as the watcher published it.
class BrowserScreen : public PointTargetQueries, public ProcessQueries {
public:
    explicit BrowserScreen(const AddressBook& addresses) : addresses_(addresses) {}
    std::atomic<int> foreignAddresses{0};

    WindowId WindowAt(int32_t, int32_t) override { return Browser; }
    uint32_t ProcessIdOf(WindowId) override { return ChromeProcess; }
    WindowId RootOf(WindowId window) override { return window; }
    size_t TitleOf(WindowId, wchar_t* buffer) override { return CopyTitle(L"Page", buffer); }
    std::wstring_view AddressOf(WindowId window) override {
        view_ = addresses_.Read();
        const std::wstring_view address = view_.Get(window);
        // Only whole published values may be seen: empty, or a normalised address.
        if (!address.empty() && !address.starts_with(L"example.com/page")) ++foreignAddresses;
        return address;
    }
    uint64_t TickMs() override { return ++tick_; }
    bool Inspect(uint32_t, std::wstring& path, uint32_t& level) override {
        path = L"C:\\Chrome\\chrome.exe";
        level = MediumIntegrityLevel;
        return true;
    }
    uint32_t ReadOwnIntegrityLevel() override { return MediumIntegrityLevel; }

private:
    const AddressBook& addresses_;
    AddressBook::View view_;
    uint64_t tick_ = 0;
};

} // namespace

TEST(WatcherStressTest, PublishingReleasingAndReadingAddressesAtOnce) {
    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store(L"C:\\cfg\\config.ini", files, autoStart);
    store.AddExcludedSite(L"example.com/other"); // matches none of the addresses the watcher publishes
    AddressBook addresses;
    std::atomic<bool> done{false};
    std::atomic<int> polls{0}, decisions{0}, excluded{0};

    std::thread watcher([&] {
        FakeDesktop desktop;
        desktop.imagePaths[ChromeProcess] = L"C:\\Chrome\\chrome.exe";
        desktop.Open(Browser, ChromeProcess);
        FakeAutomationTree tree;
        const int field = tree.AddAddressField(tree.AddRoot(Browser), L"");
        BrowserPoller poller(desktop, tree, addresses, store);
        for (int i = 0; !done; ++i) {
            desktop.now += 300;
            desktop.windows.at(Browser).title = L"Page " + std::to_wstring(i);
            tree[field].value = L"https://www.Example.com/page/" + std::to_wstring(i) + L"?q=" + std::to_wstring(i);
            poller.Poll();
            ++polls;
        }
        poller.ReleaseEverything();
        EXPECT_EQ(tree.Outstanding(), 0);
        EXPECT_FALSE(tree.AnyReleasedTwice());
    });
    std::thread hook([&] {
        BrowserScreen screen(addresses);
        OwnIntegrityLevel own;
        ProcessInfoCache processes(screen, own);
        while (!done) {
            if (IsExcludedAt(0, 0, screen, processes, *store.Current())) ++excluded;
            ++decisions;
        }
        EXPECT_EQ(screen.foreignAddresses, 0);
    });
    std::thread settings([&] {
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            store.RemoveExcludedSite(L"example.com/other");
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            store.AddExcludedSite(L"example.com/other");
        }
    });

    std::this_thread::sleep_for(std::chrono::seconds(2));
    done = true;
    watcher.join();
    hook.join();
    settings.join();
    std::printf("%d polls, %d decisions\n", polls.load(), decisions.load());
    EXPECT_GT(polls, 0);
    EXPECT_GT(decisions, 0);
    EXPECT_EQ(excluded, 0);
    EXPECT_EQ(addresses.Read().Size(), 0u);
}
