#include "exclusions/ExcludedAtPoint.h"

#include "exclusions/BrowserWatcher.h"
#include "exclusions/PointTargetWin32.h"
#include "exclusions/ProcessInfo.h"
#include "exclusions/ProcessQueriesWin32.h"
#include "settings/ConfigStore.h"

namespace {
// The hook thread's own: the cache needs no lock.
Win32ProcessQueries g_processQueries;
OwnIntegrityLevel g_ownIntegrityLevel;
ProcessInfoCache g_processes(g_processQueries, g_ownIntegrityLevel);
} // namespace

bool IsExcludedAtPoint(POINT point) {
    Win32PointTarget target(BrowserWatcher::Addresses());
    try {
        return IsExcludedAt(point.x, point.y, target, g_processes, *ConfigStore::Instance().Current());
    } catch (...) {
        return false; // a first record for a new process found no memory: smooth as if nothing were excluded
    }
}
