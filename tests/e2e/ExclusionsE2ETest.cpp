// Exclusions in the real program: targets of their own process, copied under the
// names of a game and of browsers, with the window classes and titles browsers use.
// A notch over an excluded window must arrive unchanged; elsewhere it arrives as a
// smooth train. Runs under Wine here, where UI Automation cannot be created, so the
// site rules match by title.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "engine/WheelInjection.h"
#include "exclusions/AddressBook.h"
#include "exclusions/BrowserWatcherThread.h"
#include "exclusions/UiAutomationTree.h"
#include "settings/ConfigStore.h"
#include "support/InMemoryConfigFiles.h"
#include "support/ProgramUnderTest.h"
#include "support/TargetProcess.h"
#include "support/WheelTargetWindow.h"
#include "support/WheelTotals.h"

namespace {

double LastStepMs(const std::vector<ReceivedWheel>& events) {
    double last = 0;
    for (const ReceivedWheel& e : events)
        if (e.extraInfo == WheelMarker && e.timeMs > last) last = e.timeMs;
    return last;
}

bool PassedUnchanged(const WheelTotals& t) { return t.marked == 0 && t.unmarked == 1 && t.unmarkedUnits == 120; }
bool Smoothed(const WheelTotals& t) { return t.unmarked == 0 && t.marked > 1 && t.markedUnits == 120; }

// Places on the right of the test's own window (100, 100, 500 × 500): three columns, six rows.
TargetPlacement Cell(int column, int row) { return {650 + column * 200, 40 + row * 160, 180, 140}; }

std::unique_ptr<TargetProcess> StartTarget(const TempFolder& copies, const wchar_t* exe, const wchar_t* windowClass,
                                           const wchar_t* title, TargetPlacement place, bool withChild = false) {
    auto target = std::make_unique<TargetProcess>(copies.Path(), exe, windowClass, title, place, withChild);
    EXPECT_TRUE(target->IsReady()) << "the target program did not start";
    return target;
}

const wchar_t* const Chromium = L"Chrome_WidgetWin_1";
const wchar_t* const Mozilla = L"MozillaWindowClass";

class ExclusionsE2ETest : public ::testing::Test {
protected:
    void StartProgram(const std::wstring& config) {
        program = std::make_unique<ProgramUnderTest>(config);
        ASSERT_TRUE(program->Start());
        // The hook is up once a notch over the test's own window comes back smoothed.
        own.PlaceCursor();
        Sleep(50);
        own.Clear();
        InjectWheel(120);
        ASSERT_TRUE(Smoothed(Sum(own.WaitUntilQuiet()))) << "the hook is not active";
        own.Clear();
    }
    void StopProgram() {
        const double asked = QpcNowMs();
        EXPECT_EQ(program->ExitThroughTrayMenu(), 0);
        std::printf("program ended %.0f ms after the exit command\n", QpcNowMs() - asked);
        program.reset();
    }
    WheelTotals NotchOver(TargetProcess& target) { return Sum(target.NotchOver()); }
    std::unique_ptr<TargetProcess> Target(const wchar_t* exe, const wchar_t* windowClass, const wchar_t* title,
                                          TargetPlacement place, bool withChild = false) {
        return StartTarget(copies, exe, windowClass, title, place, withChild);
    }
    void TearDown() override {
        if (program) StopProgram();
    }

    TempFolder copies; // the target program under other names
    WheelTargetWindow own;
    std::unique_ptr<ProgramUnderTest> program;
};

} // namespace

// An excluded program and site rules, with one start of the program: the excluded
// program gets plain notches while a train elsewhere plays to its end, and site rules
// match browser titles only for known browsers.
TEST_F(ExclusionsE2ETest, ExcludedProgramsAndSitesGetPlainNotchesOnlyWhereTheyMatch) {
    struct Case {
        const wchar_t* exe;
        const wchar_t* windowClass;
        const wchar_t* title;
        bool withChild;
        bool excluded;
        const char* why;
    };
    const Case cases[] = {
        {L"chrome.exe", Chromium, L"Wikipedia, the free encyclopedia - Google Chrome", true, true,
         "the host's main label in the title of the window around the page under the cursor"},
        {L"chrome.exe", Chromium, L"Смешное ВИДЕО - Google Chrome", false, true, "a word rule in another letter case"},
        {L"chrome.exe", Chromium, L"GitHub Settings - Google Chrome", false, false,
         "a rule with a path never matches by title"},
        {L"chrome.exe", Chromium, L"Weather forecast - Google Chrome", false, false, "no rule matches"},
        {L"firefox.exe", Mozilla, L"Wikipedia — Mozilla Firefox", true, true, "Firefox by title"},
        {L"firefox.exe", Mozilla, L"Смешное видео — Mozilla Firefox", false, true, "Firefox, a word rule"},
        {L"firefox.exe", Mozilla, L"GitHub Settings — Mozilla Firefox", false, false, "Firefox, a rule with a path"},
        {L"FIREFOX.EXE", Mozilla, L"Прогноз погоды — Mozilla Firefox", false, false, "Firefox, no rule matches"},
        {L"chat.exe", Chromium, L"Wikipedia chat", false, false, "the browsers' window class, but no browser"},
    };
    std::vector<std::unique_ptr<TargetProcess>> targets;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        targets.push_back(Target(c.exe, c.windowClass, c.title, Cell(static_cast<int>(i % 3), static_cast<int>(i / 3)),
                                 c.withChild));
        ASSERT_TRUE(targets.back()->IsReady());
    }
    const auto game = Target(L"game.exe", L"GameWindow", L"Game", Cell(0, 3));
    const auto other = Target(L"gamepad.exe", L"GameWindow", L"Game", Cell(1, 3));
    ASSERT_TRUE(game->IsReady() && other->IsReady());
    // A pasted address keeps its host; the word rule is stored lower-case; the third keeps its path.
    StartProgram(L"[Vertical]\r\nAccelEnabled=0\r\nDurationMs=800\r\n[Exclusions]\r\nCount=1\r\nApp0=GAME.EXE\r\n"
                 L"[Sites]\r\nCount=3\r\n"
                 L"Site0=https://en.wikipedia.org/wiki/Main_Page\r\nSite1=Видео\r\nSite2=github.com/settings\r\n");
    Sleep(1000); // the browser watcher has polled the windows a few times

    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].why);
        const WheelTotals totals = NotchOver(*targets[i]);
        EXPECT_EQ(cases[i].excluded ? PassedUnchanged(totals) : Smoothed(totals), true)
            << totals.unmarked << " plain and " << totals.marked << " marked events";
        if (cases[i].withChild) {
            // The window under the cursor is the untitled child: the title came from around it.
            POINT cursor = {};
            GetCursorPos(&cursor);
            EXPECT_EQ(WindowFromPoint(cursor), targets[i]->Child());
        }
    }

    EXPECT_TRUE(PassedUnchanged(NotchOver(*game)));
    EXPECT_TRUE(Smoothed(NotchOver(*other))) << "the same program under another name must be smoothed";

    // A train starts over the test's own window; the cursor moves over the game before it ends.
    own.PlaceCursor();
    Sleep(50);
    own.Clear();
    game->Clear();
    InjectWheel(120);
    Sleep(200);
    game->PlaceCursor();
    Sleep(20);
    const double plainSent = QpcNowMs();
    InjectWheel(120);
    WaitUntilAllQuiet(200, 5000, own, *game);
    const WheelTotals atOwn = Sum(own.Received()), atGame = Sum(game->Received());
    EXPECT_EQ(atOwn.unmarked + atGame.unmarked, 1);
    EXPECT_EQ(atGame.unmarkedUnits, 120);
    // Wherever its steps landed, the whole train arrived, and it went on after the plain notch.
    EXPECT_EQ(atOwn.markedUnits + atGame.markedUnits, 120);
    const double lastStep = std::max(LastStepMs(own.Received()), LastStepMs(game->Received()));
    EXPECT_GT(lastStep, plainSent + 100) << "the train stopped when the cursor reached the excluded window";

    EXPECT_EQ(WaitForSingleObject(program->Process(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the program ended";
    StopProgram();

    // Without site rules the same browser windows are smoothed.
    StartProgram(L"[Vertical]\r\nAccelEnabled=0\r\n");
    EXPECT_TRUE(Smoothed(NotchOver(*targets[0]))) << "chrome.exe";
    EXPECT_TRUE(Smoothed(NotchOver(*targets[4]))) << "firefox.exe";
}

// The watcher thread itself, on a store in memory: it finds the browser windows
// although UI Automation cannot be created, publishes the empty address for the
// Chromium one, forgets a closed window and ends promptly.
TEST(BrowserWatcherE2ETest, TracksBrowserWindowsWithoutUiAutomationAndStopsPromptly) {
    TempFolder copies;
    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore store(L"C:\\not-written\\config.ini", files, autoStart);
    store.AddExcludedSite(L"example.com");
    AddressBook addresses;
    auto chrome = StartTarget(copies, L"chrome.exe", Chromium, L"Example Domain - Google Chrome", Cell(0, 0));
    const auto firefox = StartTarget(copies, L"firefox.exe", Mozilla, L"Example Domain — Mozilla Firefox", Cell(1, 0));
    const WindowId chromeWindow = reinterpret_cast<WindowId>(chrome->Window());

    std::thread([] {
        const HRESULT apartment = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        std::printf("UI Automation available: %s\n", UiAutomationTree().CanSearch() ? "yes" : "no");
        if (SUCCEEDED(apartment)) CoUninitialize();
    }).join();

    BrowserWatcherThread watcher;
    watcher.Start(store, addresses);
    watcher.Start(store, addresses); // a second start changes nothing
    for (int i = 0; i < 300 && addresses.Read().Size() == 0; ++i) Sleep(10);
    Sleep(700); // a few more polls
    EXPECT_EQ(addresses.Read().Size(), 1u) << "only the Chromium window has an entry";
    EXPECT_EQ(addresses.Read().Get(chromeWindow), L"");
    EXPECT_EQ(addresses.Read().Get(reinterpret_cast<WindowId>(firefox->Window())), L"");

    chrome.reset(); // the window closes
    for (int i = 0; i < 300 && addresses.Read().Size() != 0; ++i) Sleep(10);
    EXPECT_EQ(addresses.Read().Size(), 0u);

    auto again = StartTarget(copies, L"chrome.exe", Chromium, L"Example Domain - Google Chrome", Cell(0, 0));
    for (int i = 0; i < 300 && addresses.Read().Size() == 0; ++i) Sleep(10);
    EXPECT_EQ(addresses.Read().Size(), 1u);
    const double asked = QpcNowMs();
    EXPECT_TRUE(watcher.Stop(1000));
    std::printf("watcher stopped %.1f ms after the stop request\n", QpcNowMs() - asked);
    EXPECT_FALSE(watcher.IsRunning());
    EXPECT_EQ(addresses.Read().Size(), 0u) << "the thread's end releases everything";
}
