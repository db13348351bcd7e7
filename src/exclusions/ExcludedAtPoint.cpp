#include "exclusions/ExcludedAtPoint.h"

#include "exclusions/BrowserWatcher.h"
#include "exclusions/ExclusionDecision.h"
#include "exclusions/ProcessInfo.h"
#include "exclusions/ProcessQueriesWin32.h"
#include "settings/ConfigStore.h"

namespace {

constexpr int TitleChars = 512;

HWND AsWindow(WindowId window) { return reinterpret_cast<HWND>(window); }

class Win32PointTarget : public PointTargetQueries {
public:
    WindowId WindowAt(int32_t x, int32_t y) override {
        return reinterpret_cast<WindowId>(WindowFromPoint(POINT{x, y}));
    }
    uint32_t ProcessIdOf(WindowId window) override {
        DWORD processId = 0;
        GetWindowThreadProcessId(AsWindow(window), &processId);
        return processId;
    }
    WindowId RootOf(WindowId window) override { return reinterpret_cast<WindowId>(GetAncestor(AsWindow(window), GA_ROOT)); }
    std::wstring TitleOf(WindowId topLevel) override {
        wchar_t buffer[TitleChars] = {};
        const int length = InternalGetWindowText(AsWindow(topLevel), buffer, TitleChars);
        return std::wstring(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    }
    std::wstring AddressOf(WindowId topLevel) override { return BrowserWatcher::GetAddress(AsWindow(topLevel)); }
    uint64_t TickMs() override { return GetTickCount64(); }
};

// The hook thread's own: the cache needs no lock.
Win32ProcessQueries g_processQueries;
OwnIntegrityLevel g_ownIntegrityLevel;
ProcessInfoCache g_processes(g_processQueries, g_ownIntegrityLevel);

} // namespace

bool IsExcludedAtPoint(POINT point) {
    Win32PointTarget target;
    try {
        return IsExcludedAt(point.x, point.y, target, g_processes, ConfigStore::Instance());
    } catch (...) {
        return false; // out of memory inside the hook: smooth as if nothing were excluded
    }
}
