#pragma once
// The on/off switches: an owner-drawn BUTTON with a rounded track and a knob.

#include "platform/Win32.h"
#include "ui/settings/ThemeFonts.h"

#include <string_view>

struct SwitchLook {
    bool on = false;
    bool hot = false;       // the mouse is over it
    bool focusRing = false; // keyboard focus, shown
    bool header = false;    // the master switch: on the window background, its state in words at the right
    std::wstring_view text; // the caption of the other switches
};

// Paints the switch into `rect` of `target` through one off-screen copy.
void DrawSwitch(HDC target, const RECT& rect, const SwitchLook& look, unsigned dpi, const ThemeFonts& fonts);

// WM_DRAWITEM of a switch: its state comes from the settings, the hot control from
// the window; the caption and the focus come from the control itself.
void DrawSwitchItem(const DRAWITEMSTRUCT& item, bool on, bool hot, unsigned dpi, const ThemeFonts& fonts);
