#pragma once
// The two subclass procedures of the settings window's controls: hover tracking for
// switches, buttons and sliders (the window keeps one hot control), and the keys
// that act on the lists and edit fields (Delete removes, Enter adds).

#include "platform/Win32.h"

class SettingsWindow;

// Switches and push buttons; sliders (which also paint everything on every WM_PAINT).
enum class HoverKind { Button = 1, Slider = 2 };

bool AddHoverProcedure(HWND control, HoverKind kind, SettingsWindow& owner);
// Enter in the two edit fields, Delete in the two lists; false for any other control.
bool AddKeyProcedure(HWND control);
