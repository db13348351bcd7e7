#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "exclusions/BrowserKind.h"
#include "exclusions/ExclusionDecision.h"
#include "exclusions/ProcessInfo.h"
#include "settings/ConfigStore.h"
#include "support/FakeDesktop.h"
#include "support/InMemoryConfigFiles.h"

namespace {

// Processes answered from a table; a process missing from it cannot be opened.
class FakeProcesses : public ProcessQueries {
public:
    struct Process {
        std::wstring path;
        uint32_t level = MediumIntegrityLevel;
    };
    std::map<uint32_t, Process> processes;
    uint32_t ownLevel = MediumIntegrityLevel;
    int inspections = 0, ownReads = 0;

    bool Inspect(uint32_t processId, std::wstring& imagePath, uint32_t& integrityLevel) override {
        ++inspections;
        const auto found = processes.find(processId);
        if (found == processes.end()) return false;
        imagePath = found->second.path;
        integrityLevel = found->second.level;
        return true;
    }
    uint32_t ReadOwnIntegrityLevel() override {
        ++ownReads;
        return ownLevel;
    }
};

} // namespace

TEST(TargetClassificationTest, BrowsersAreKnownByFileNameInAnyCase) {
    for (const wchar_t* name : {L"chrome.exe", L"MSEDGE.EXE", L"Browser.exe", L"opera.exe", L"brave.exe",
                                L"Vivaldi.exe", L"chromium.exe", L"thorium.exe", L"arc.exe"})
        EXPECT_EQ(ClassifyBrowserExe(name), BrowserKind::ChromiumFamily) << testing::Message() << name;
    for (const wchar_t* name : {L"FireFox.exe", L"librewolf.exe", L"waterfox.exe", L"floorp.exe", L"ZEN.exe"})
        EXPECT_EQ(ClassifyBrowserExe(name), BrowserKind::FirefoxFamily) << testing::Message() << name;
    for (const wchar_t* name : {L"chrome", L"chrome.exe.bak", L"notchrome.exe", L" chrome.exe", L"", L"explorer.exe"})
        EXPECT_EQ(ClassifyBrowserExe(name), BrowserKind::None) << testing::Message() << name;

    EXPECT_EQ(FileNameOfPath(L"C:\\Program Files\\App\\app.exe"), L"app.exe");
    EXPECT_EQ(FileNameOfPath(L"Z:/tmp/x/chrome.exe"), L"chrome.exe");
    EXPECT_EQ(FileNameOfPath(L"plain.exe"), L"plain.exe");
    EXPECT_EQ(FileNameOfPath(L"C:\\folder\\"), L"");
}

TEST(TargetClassificationTest, RecordsStayFiveSecondsAndTheCacheEmptiesAboveSixtyFour) {
    FakeProcesses system;
    system.processes[7] = {L"C:\\Games\\Game.exe"};
    OwnIntegrityLevel own;
    ProcessInfoCache cache(system, own);

    EXPECT_EQ(cache.Get(7, 1000).Name, L"Game.exe");
    // A new program under the same id is seen under the old record until that is 5000 ms old.
    system.processes[7] = {L"C:\\Program Files\\Mozilla Firefox\\firefox.exe"};
    const ProcessInfo& old = cache.Get(7, 5999);
    EXPECT_EQ(old.Name, L"Game.exe");
    EXPECT_FALSE(old.IsBrowser);
    EXPECT_EQ(system.inspections, 1);
    const ProcessInfo& fresh = cache.Get(7, 6000);
    EXPECT_EQ(fresh.Name, L"firefox.exe");
    EXPECT_TRUE(fresh.IsBrowser);
    EXPECT_EQ(fresh.QueriedAtMs, 6000u);
    EXPECT_EQ(system.inspections, 2);

    for (uint32_t id = 100; cache.Size() <= ProcessInfoCache::MaxRecords; ++id) {
        system.processes[id] = {L"C:\\p\\p" + std::to_wstring(id) + L".exe"};
        cache.Get(id, 7000);
    }
    EXPECT_EQ(cache.Size(), ProcessInfoCache::MaxRecords + 1);
    const int before = system.inspections;
    cache.Get(1, 7000); // one more store: everything goes
    EXPECT_EQ(cache.Size(), 1u);
    cache.Get(7, 7000); // a record that was fresh is queried afresh
    EXPECT_EQ(system.inspections, before + 2);
}

TEST(TargetClassificationTest, ProcessesAboveOurLevelOrUnreadableAreLeftAlone) {
    struct Case {
        const char* what;
        uint32_t own;     // 0: our own level cannot be read
        bool opens;
        uint32_t target;  // 0: the target's level cannot be read
        bool inaccessible;
    };
    const Case cases[] = {
        {"equal levels", MediumIntegrityLevel, true, 0x2000, false},
        {"low-integrity target", MediumIntegrityLevel, true, 0x1000, false},
        {"elevated target", MediumIntegrityLevel, true, 0x3000, true},
        {"target level unreadable", MediumIntegrityLevel, true, 0, true},
        {"process cannot be opened", MediumIntegrityLevel, false, 0x2000, true},
        {"own level unreadable counts as medium: elevated", 0, true, 0x3000, true},
        {"own level unreadable counts as medium: medium", 0, true, 0x2000, false},
        {"running elevated: elevated target", 0x3000, true, 0x3000, false},
        {"running elevated: system target", 0x3000, true, 0x4000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeProcesses system;
        system.ownLevel = c.own;
        if (c.opens) system.processes[9] = {L"C:\\x\\tool.exe", c.target};
        OwnIntegrityLevel own;
        ProcessInfoCache cache(system, own);
        EXPECT_EQ(cache.Get(9, 0).Inaccessible, c.inaccessible);
        // Our own level is read only once a target's level was, and then only once.
        EXPECT_EQ(system.ownReads, c.opens && c.target != 0 ? 1 : 0);
        system.processes[10] = {L"C:\\x\\other.exe", 0x2000};
        cache.Get(10, 0);
        EXPECT_EQ(system.ownReads, 1);
    }
}

namespace {

// Windows under points, each with its process, top-level window, title and published address.
class FakeScreen : public PointTargetQueries {
public:
    struct Window {
        uint32_t processId = 0;
        WindowId root = 0; // 0: it is a top-level window itself
        std::wstring title;
        std::wstring address;
    };
    std::map<int32_t, WindowId> windowAtX; // the point's x selects the window
    std::map<WindowId, Window> windows;
    std::vector<WindowId> titlesRead;
    uint64_t now = 50000;

    WindowId WindowAt(int32_t x, int32_t) override {
        const auto found = windowAtX.find(x);
        return found == windowAtX.end() ? 0 : found->second;
    }
    uint32_t ProcessIdOf(WindowId window) override { return windows.at(window).processId; }
    WindowId RootOf(WindowId window) override {
        const WindowId root = windows.at(window).root;
        return root ? root : window;
    }
    size_t TitleOf(WindowId window, wchar_t* buffer) override {
        titlesRead.push_back(window);
        return CopyTitle(windows.at(window).title, buffer);
    }
    std::wstring_view AddressOf(WindowId window) override { return windows.at(window).address; }
    uint64_t TickMs() override { return now; }
};

} // namespace

TEST(TargetClassificationTest, DecisionForTheWindowUnderTheCursor) {
    FakeProcesses system;
    system.processes = {{1, {L"C:\\Games\\GAME.EXE"}},
                        {2, {L"C:\\Chrome\\chrome.exe"}},
                        {3, {L"C:\\Firefox\\firefox.exe"}},
                        {4, {L"C:\\Windows\\notepad.exe"}},
                        {5, {L"C:\\Admin\\regedit.exe", 0x3000}},
                        {6, {L""}}}; // its executable name cannot be read
    OwnIntegrityLevel own;
    ProcessInfoCache cache(system, own);
    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store(L"C:\\cfg\\config.ini", files, autoStart);
    store.AddExcludedApp(L"game");

    FakeScreen screen;
    screen.windows = {{10, {1, 0, L"Game", L""}},
                      {20, {2, 0, L"Wikipedia, the free encyclopedia - Google Chrome", L""}},
                      {21, {2, 20, L"", L""}}, // the page inside it
                      {22, {2, 0, L"GitHub - Google Chrome", L"github.com/settings/profile"}},
                      {30, {3, 0, L"Wikipedia — Mozilla Firefox", L""}},
                      {40, {4, 0, L"wikipedia.txt - Notepad", L""}},
                      {50, {5, 0, L"Registry Editor", L""}},
                      {60, {0, 0, L"", L""}},
                      {70, {6, 0, L"Wikipedia", L""}}};
    screen.windowAtX = {{10, 10}, {21, 21}, {22, 22}, {30, 30}, {40, 40}, {50, 50}, {60, 60}, {70, 70}};
    auto excluded = [&](int32_t x) { return IsExcludedAt(x, 0, screen, cache, *store.Current()); };

    EXPECT_FALSE(excluded(0));  // no window
    EXPECT_FALSE(excluded(60)); // no process
    EXPECT_TRUE(excluded(10));  // "game" was stored as "game.exe"; the process is GAME.EXE
    EXPECT_TRUE(excluded(50));  // elevated, though no rule names it
    // Without site rules a browser is smoothed and its title is not even read.
    EXPECT_FALSE(excluded(21));
    EXPECT_TRUE(screen.titlesRead.empty());

    store.AddExcludedSite(L"https://en.wikipedia.org/wiki/Main_Page"); // a pasted address keeps its host
    store.AddExcludedSite(L"github.com/settings");
    EXPECT_TRUE(excluded(21)); // by the title of the top-level window around the page
    EXPECT_EQ(screen.titlesRead, std::vector<WindowId>{20});
    EXPECT_TRUE(excluded(22));  // by the published address
    screen.windows.at(22).address.clear();
    EXPECT_FALSE(excluded(22)); // a rule with a path never matches by title
    EXPECT_TRUE(excluded(30));
    EXPECT_FALSE(excluded(40)); // not a browser: titles do not count
    EXPECT_FALSE(excluded(70)); // no name: nothing to match, no browser, but reachable
    EXPECT_EQ(system.inspections, 6); // one query per process: the cache answered the rest

    // A process's verdict is kept only as long as the settings it was made with.
    store.RemoveExcludedApp(L"game.exe");
    EXPECT_FALSE(excluded(10));
    store.AddExcludedApp(L"Game.exe");
    EXPECT_TRUE(excluded(10));
    EXPECT_EQ(system.inspections, 6);
}
