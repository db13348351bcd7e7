#pragma once
// What a person does at the desktop, for end-to-end tests: clicks and key strokes
// as hardware input (SendInput), the notification area as Wine shows it, and a
// look at the pixels of a window on the screen.

#include <functional>
#include <string>
#include <vector>

#include "platform/Win32.h"

// Moves the pointer to the screen point and clicks there; a double click clicks twice quickly.
enum class MouseButton { Left, Right };
void MovePointer(POINT screen);
void ClickAt(POINT screen, MouseButton button = MouseButton::Left, bool doubleClick = false);
void ClickCentreOf(HWND window, MouseButton button = MouseButton::Left, bool doubleClick = false);
// The middle of the caption part where the window reports `hitTest` (HTCLOSE...); {-1, -1} if none.
POINT FindFramePart(HWND window, LRESULT hitTest);
// One key going down or up.
void PressKey(WORD key, bool down);
// Presses and releases `key` with the given modifiers held down.
void Keystroke(WORD key, bool ctrl = false, bool shift = false);

// Polls until `condition` holds or the time is up; the last result.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 5000);

// With no desktop tray, Wine keeps the notification icons in a "Wine System Tray"
// window of its own, one child window per icon.
namespace WineSystemTray {
int VisibleIconCount();
HWND FirstIcon(); // nullptr when there is none
// Rests the pointer on the first icon until its tooltip shows; the tooltip's text, or
// empty when none showed. `differentFrom` waits past a tooltip still showing old text.
std::wstring TooltipText(const std::wstring& differentFrom = L"");
} // namespace WineSystemTray

// A message box (or other dialog) with this caption, shown by any process; nullptr if none.
HWND FindDialog(const wchar_t* caption);
// The longest static text of a dialog: a message box's message.
std::wstring DialogMessage(HWND dialog);

// The open context menu, or nullptr.
HWND VisibleMenu();
// A box of the screen as 32-bit pixels, row by row.
std::vector<DWORD> ScreenPixels(POINT origin, SIZE box);
// Pixels that differ between two equal boxes of the screen, each given by its top-left corner.
int DifferingPixels(POINT first, POINT second, SIZE box);
