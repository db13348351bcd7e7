#pragma once
#include "platform/Win32.h"

// The notification-area icon. The icon itself comes with its own change; until then
// these keep the start-up and shutdown order of the program in place.
namespace TrayIcon {
void Add(HWND owner);
void ReAdd();
void Remove();
} // namespace TrayIcon
