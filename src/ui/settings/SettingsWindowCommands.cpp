// Commands that reach the settings window as WM_COMMAND: from its buttons and
// switches, from Esc (IsDialogMessageW's IDCANCEL) and from the tray menu.

#include "ui/settings/SettingsWindow.h"

#include "settings/ConfigStore.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/tray/TrayIcon.h"

void SettingsWindow::OnCommand(int id, int code, HWND) {
    // Code 0 is a click, a menu command, Esc or an accelerator; other codes are
    // notifications of the lists and edit fields.
    if (code != 0) return;
    switch (id) {
    case IDCANCEL:
    case IDC_HIDE_TO_TRAY: Show(false); break;
    case IDC_ENABLE_TOGGLE:
    case ID_TRAY_TOGGLE: ToggleEnabled(); break;
    case ID_TRAY_SETTINGS: Show(true); break;
    case ID_TRAY_EXIT: DestroyWindow(window_); break; // WM_DESTROY saves and ends the loop
    default: break;
    }
}

void SettingsWindow::ToggleEnabled() {
    ConfigStore& store = ConfigStore::Instance();
    const bool enabled = !store.IsEnabled();
    store.SetEnabled(enabled); // saved at once
    TrayIcon::Instance().UpdateTooltip(enabled);
    InvalidateRect(Control(IDC_ENABLE_TOGGLE), nullptr, FALSE);
}
