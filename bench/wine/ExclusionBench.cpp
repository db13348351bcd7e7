// [6] The hook's exclusion decision, timed in this process with the program's own
// Win32 queries over a browser window of another process.

#include "WineBench.h"

#include "exclusions/AddressBook.h"
#include "exclusions/ExclusionDecision.h"
#include "exclusions/PointTargetWin32.h"
#include "exclusions/ProcessInfo.h"
#include "exclusions/ProcessQueriesWin32.h"
#include "settings/ConfigStore.h"
#include "support/InMemoryConfigFiles.h"
#include "support/TargetProcess.h"

namespace {
AddressBook g_addresses; // stands in for the browser watcher's
} // namespace

// The hook's exclusion decision, called here in the bench's own process with the
// program's Win32 queries, for the point over a page inside a chrome.exe window of
// another process: five site rules, none matching, so all five are tried.
void ExclusionDecisionCost() {
    Print("\n[6] Exclusion decision for a notch over a browser window\n");
    TempFolder copies;
    const TargetPlacement place{650, 100, 400, 300};
    TargetProcess browser(copies.Path(), L"chrome.exe", L"Chrome_WidgetWin_1", L"Weather forecast - Google Chrome",
                          place, true);
    if (!browser.IsReady()) {
        Print("  !! the wheel target program did not start (is it built beside this program?)\n");
        return;
    }
    g_addresses.Publish(reinterpret_cast<WindowId>(browser.Window()), L"weather.example.com/forecast/week");
    g_addresses.Commit();
    InMemoryConfigFiles files;
    FakeAutoStart autoStart;
    ConfigStore noSites(L"C:\\bench\\none.ini", files, autoStart);
    ConfigStore fiveSites(L"C:\\bench\\five.ini", files, autoStart);
    for (const wchar_t* rule : {L"wikipedia.org", L"github.com/settings", L"\u0432\u0438\u0434\u0435\u043E",
                                L"docs.python.org", L"youtube.com"})
        fiveSites.AddExcludedSite(rule);
    Win32ProcessQueries queries;
    OwnIntegrityLevel own;
    Win32PointTarget target(g_addresses);
    const int x = place.x + place.width / 2, y = place.y + place.height / 2;

    // Rounds of the three kinds in turn, so that a slow stretch of the machine is shared by all.
    ProcessInfoCache warmCache(queries, own);
    std::vector<double> none, warm, cold;
    bool excluded = IsExcludedAt(x, y, target, warmCache, *fiveSites.Current());
    auto time = [&](std::vector<double>& into, ProcessInfoCache& cache, const ConfigStore& store) {
        const double before = QpcNowMs();
        excluded = IsExcludedAt(x, y, target, cache, *store.Current()) || excluded;
        into.push_back(QpcNowMs() - before);
    };
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 500; ++i) time(none, warmCache, noSites);
        for (int i = 0; i < 500; ++i) time(warm, warmCache, fiveSites);
        for (int i = 0; i < 10; ++i) {
            ProcessInfoCache fresh(queries, own);
            time(cold, fresh, fiveSites);
        }
    }
    if (excluded) Print("  !! the window was excluded: the decision did not run to its end\n");
    Print("    IsExcludedAt with the program's Win32 queries, in this process, over a page inside a\n"
          "    Chrome_WidgetWin_1 window of chrome.exe (another process); none of the rules matches.\n");
    PrintCost("no site rules (the title is not read):", Summarize(none));
    PrintCost("five site rules, process cache warm:", Summarize(warm));
    PrintCost("five site rules, process queried (cold):", Summarize(cold));
}
