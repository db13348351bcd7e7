#include "exclusions/ExclusionDecision.h"

#include "exclusions/ProcessInfo.h"
#include "settings/ConfigStore.h"

bool IsExcludedAt(int32_t x, int32_t y, PointTargetQueries& target, ProcessInfoCache& processes,
                  const ConfigStore& store) {
    const WindowId window = target.WindowAt(x, y);
    if (window == 0) return false;
    const uint32_t processId = target.ProcessIdOf(window);
    if (processId == 0) return false;

    const ProcessInfo& process = processes.Get(processId, target.TickMs());
    if (process.Inaccessible) return true;
    if (!process.Name.empty() && store.IsAppExcluded(process.Name)) return true;
    // The title is read only for browsers, and only while there is a site rule to match.
    if (!process.IsBrowser || !store.HasSiteExclusions()) return false;

    // The browser window under the cursor, which need not be the foreground one.
    const WindowId topLevel = target.RootOf(window);
    const std::wstring title = target.TitleOf(topLevel);
    const std::wstring address = target.AddressOf(topLevel);
    return store.IsSiteExcluded(address, title);
}
