#include "engine/DisplayRefreshRate.h"

#include "platform/Win32.h"

int32_t DetectRefreshRate() {
    int32_t best = 0;
    for (DWORD index = 0;; ++index) {
        DISPLAY_DEVICEW device = {};
        device.cb = sizeof device;
        if (!EnumDisplayDevicesW(nullptr, index, &device, 0)) break;
        if (!(device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP)) continue;
        DEVMODEW mode = {};
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsW(device.DeviceName, ENUM_CURRENT_SETTINGS, &mode)) continue;
        const int32_t hz = static_cast<int32_t>(mode.dmDisplayFrequency);
        // 0 and 1 mean "hardware default"; absurd values are ignored too.
        if (hz >= 24 && hz <= 1000 && hz > best) best = hz;
    }
    return best;
}
