#include "ui/tray/TrayIcon.h"

namespace TrayIcon {
void Add(HWND) {}
void ReAdd() {}
void Remove() {}
} // namespace TrayIcon
