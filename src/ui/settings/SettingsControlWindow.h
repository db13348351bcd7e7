#pragma once
// One child control of the settings window made from its table entry: the window
// class and styles of its kind, and the set-up that never changes with the DPI
// (slider range and steps, the list's dark scroll bar, the edit's cue banner).

#include "platform/Win32.h"
#include "ui/settings/SettingsLayout.h"

// `extraStyle` is added to WS_CHILD | WS_TABSTOP and the kind's styles; `place` is
// in the parent's client pixels. nullptr if the window could not be made.
HWND CreateSettingsControl(HWND parent, HINSTANCE instance, const ControlSpec& entry, DWORD extraStyle,
                           const RECT& place);
