#include "exclusions/ExclusionDecision.h"

#include <algorithm>

#include "exclusions/ExclusionRules.h"
#include "exclusions/ProcessInfo.h"
#include "settings/SettingsSnapshot.h"
#include "settings/TextCase.h"

bool IsExcludedAt(int32_t x, int32_t y, PointTargetQueries& target, ProcessInfoCache& processes,
                  const SettingsSnapshot& settings) {
    const WindowId window = target.WindowAt(x, y);
    if (window == 0) return false;
    const uint32_t processId = target.ProcessIdOf(window);
    if (processId == 0) return false;

    ProcessInfo& process = processes.Get(processId, target.TickMs());
    if (process.Inaccessible) return true;
    if (process.VerdictGeneration != settings.Generation) {
        process.AppExcluded = ExclusionRules::IsAppExcluded(settings, process.LowerName);
        process.VerdictGeneration = settings.Generation;
    }
    if (process.AppExcluded) return true;
    // The title is read only for browsers, and only while there is a site rule to match.
    if (!process.IsBrowser || settings.Values.ExcludedSites.empty()) return false;

    // The browser window under the cursor, which need not be the foreground one.
    const WindowId topLevel = target.RootOf(window);
    wchar_t title[PointTargetQueries::TitleChars]; // on the hook thread's own stack; only [0, length) is read
    const size_t length = std::min(target.TitleOf(topLevel, title), PointTargetQueries::TitleChars - 1);
    LowerCaseInPlace(title, length);
    return ExclusionRules::IsSiteExcluded(settings, target.AddressOf(topLevel), std::wstring_view(title, length));
}
