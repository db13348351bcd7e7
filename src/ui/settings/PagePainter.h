#pragma once
// Everything in the settings window that is not a child control: header, tab strip,
// the cards of the current page with their texts, the frames of the list and the
// edit field, the system block and the footer. Painted off screen, copied once.

#include "platform/Win32.h"
#include "settings/Settings.h"
#include "ui/settings/ThemeFonts.h"

#include <string>

// What the general page's system block shows, read by the window at each paint.
struct SystemInfo {
    int refreshRateHz = 0; // below 1: not detected
    int frameRateHz = 0;
    bool highResolutionTimer = false;
    std::wstring configPath;
    uint32_t hookReinstalls = 0; // times the hook was installed again after the system dropped it
};

// What one paint needs to know about the window.
struct PageView {
    int page = 0;        // 0-4
    int hoveredTab = -1; // -1 for none
    int focusedEdit = 0; // IDC_APP_EDIT or IDC_SITE_EDIT while it has the focus, else 0
    int focusedList = 0; // IDC_APP_LIST or IDC_SITE_LIST while it has the focus, else 0
    unsigned dpi = 96;
    Settings settings;                               // one snapshot
    bool strengthSliderEnabled[2] = {true, true};    // by Axis: the acceleration strength sliders
    SystemInfo system;
};

// Paints the whole client area into an off-screen bitmap (at least 1 x 1) and
// copies it to `target` in one BitBlt.
void PaintSettingsPage(HDC target, const RECT& client, const PageView& view, const ThemeFonts& fonts);
