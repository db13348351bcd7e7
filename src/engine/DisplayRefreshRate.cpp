#include "engine/DisplayRefreshRate.h"

#include "platform/Win32.h"

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM table) {
    MONITORINFOEXW info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) return TRUE;
    DisplayArea area;
    area.left = info.rcMonitor.left;
    area.top = info.rcMonitor.top;
    area.right = info.rcMonitor.right;
    area.bottom = info.rcMonitor.bottom;
    DEVMODEW mode = {};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode)) {
        const auto hz = static_cast<int32_t>(mode.dmDisplayFrequency);
        // 0 and 1 mean "hardware default"; absurd values are ignored too.
        if (hz >= 24 && hz <= 1000) area.refreshHz = hz;
    }
    try {
        reinterpret_cast<DisplayTable*>(table)->push_back(area);
    } catch (...) { // no exception may cross the system's callback
        return FALSE;
    }
    return TRUE;
}

} // namespace

DisplayTable ReadDisplayTable() {
    DisplayTable table;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&table));
    return table;
}
