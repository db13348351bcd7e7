// Commands that reach the settings window as WM_COMMAND: from its buttons and
// switches, from Esc (IsDialogMessageW's IDCANCEL), from the keys of the lists and
// edit fields, and from the tray menu. Each one changes the live settings through
// the store, which writes the file at once unless said otherwise.

#include "ui/settings/SettingsWindow.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "settings/ConfigStore.h"
#include "ui/settings/ListDrawing.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsTexts.h"
#include "ui/tray/TrayIcon.h"
#include "ui/tray/TrayModel.h"

namespace {

constexpr size_t TypedEntryCapacity = 512; // with its terminating zero

} // namespace

void SettingsWindow::OnCommand(int id, int code, HWND) {
    switch (id) {
    case IDC_APP_LIST:
    case IDC_SITE_LIST:
        if (code == LBN_SELCHANGE) UpdateRemoveButtons();
        if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS) {
            focusedList_ = code == LBN_SETFOCUS ? id : 0;
            InvalidateScaled(ListFrameRect); // the frame shows the focus as the edit fields' do
        }
        return;
    case IDC_APP_EDIT:
    case IDC_SITE_EDIT:
        if (code != EN_SETFOCUS && code != EN_KILLFOCUS) return;
        focusedEdit_ = code == EN_SETFOCUS ? id : 0;
        InvalidateScaled(id == IDC_APP_EDIT ? AppEditFrameRect : SiteEditFrameRect); // the frame turns blue
        return;
    default: break;
    }
    // Code 0 is a click, a menu command, Esc or a key of the lists and edit fields.
    if (code != 0) return;
    commandInHand_ = id; // a dialog command that comes while another dialog closes runs after it
    switch (id) {
    case IDCANCEL:
    case IDC_HIDE_TO_TRAY: Show(false); break;
    case IDC_ENABLE_TOGGLE:
    case ID_TRAY_TOGGLE: ToggleEnabled(); break;
    case IDC_V_ACCEL_TOGGLE: ToggleAcceleration(Axis::Vertical); break;
    case IDC_H_ACCEL_TOGGLE: ToggleAcceleration(Axis::Horizontal); break;
    case IDC_APP_ADD: AddTypedEntry(false); break;
    case IDC_SITE_ADD: AddTypedEntry(true); break;
    case IDC_APP_BROWSE: BrowseForApplication(); break;
    case IDC_APP_REMOVE: RemoveSelectedEntry(false); break;
    case IDC_SITE_REMOVE: RemoveSelectedEntry(true); break;
    case IDC_AUTOSTART_TOGGLE: ToggleStartWithWindows(); break;
    case IDC_RESET: ResetAfterAsking(); break;
    case ID_TRAY_SETTINGS: Show(true); break;
    case ID_TRAY_ABOUT: ShowAbout(); break;
    case ID_TRAY_EXIT: Exit(); break;                 // WM_DESTROY saves and ends the loop
    default: break;                                   // IDOK included: Enter elsewhere does nothing
    }
}

void SettingsWindow::ToggleEnabled() {
    ConfigStore& store = ConfigStore::Instance();
    const bool enabled = !store.IsEnabled();
    store.SetEnabled(enabled); // saved at once
    TrayIcon::Instance().UpdateTooltip(enabled);
    InvalidateRect(Control(IDC_ENABLE_TOGGLE), nullptr, FALSE);
    accessibility_.NotifyToggled(Control(IDC_ENABLE_TOGGLE));
}

void SettingsWindow::ToggleAcceleration(Axis axis) {
    ConfigStore& store = ConfigStore::Instance();
    Settings settings = store.Snapshot();
    AxisSettings& values = settings.ForAxis(axis);
    values.AccelEnabled = !values.AccelEnabled;
    store.Apply(settings, true);
    const bool horizontal = axis == Axis::Horizontal;
    const HWND strength = Control(horizontal ? IDC_H_ACCEL_STRENGTH : IDC_V_ACCEL_STRENGTH);
    EnableControl(strength, values.AccelEnabled);
    const HWND toggle = Control(horizontal ? IDC_H_ACCEL_TOGGLE : IDC_V_ACCEL_TOGGLE);
    InvalidateRect(toggle, nullptr, FALSE);
    accessibility_.NotifyToggled(toggle);
    InvalidateRect(strength, nullptr, FALSE);
    InvalidateScaled(SliderLabelRect(SliderRowCount - 1)); // the label and value turn grey or back
}

void SettingsWindow::ToggleStartWithWindows() {
    ConfigStore& store = ConfigStore::Instance();
    store.SetStartWithWindows(!store.IsStartWithWindows()); // the registry decides, not a cached flag
    InvalidateRect(Control(IDC_AUTOSTART_TOGGLE), nullptr, FALSE);
    accessibility_.NotifyToggled(Control(IDC_AUTOSTART_TOGGLE));
}

void SettingsWindow::AddTypedEntry(bool sites) {
    const HWND edit = Control(sites ? IDC_SITE_EDIT : IDC_APP_EDIT);
    wchar_t typed[TypedEntryCapacity] = {};
    GetWindowTextW(edit, typed, static_cast<int>(TypedEntryCapacity));
    if (typed[0] == L'\0') return;
    // The store normalises the text and ignores empty results and duplicates.
    ConfigStore& store = ConfigStore::Instance();
    if (sites) {
        store.AddExcludedSite(typed);
    } else {
        store.AddExcludedApp(typed);
    }
    SetWindowTextW(edit, L""); // also after a duplicate: the entry is in the list either way
    RefreshLists();
}

void SettingsWindow::BrowseForApplication() {
    wchar_t path[MAX_PATH] = {};
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = BrowseFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    // Cancelled, failed, or not opened because another dialog is.
    const auto chosen = RunModal([&dialog] { return static_cast<INT_PTR>(GetOpenFileNameW(&dialog)); });
    if (!chosen.value_or(FALSE)) return;
    ConfigStore::Instance().AddExcludedApp(path); // keeps only the file name
    RefreshLists();
}

void SettingsWindow::RemoveSelectedEntry(bool sites) {
    const HWND list = Control(sites ? IDC_SITE_LIST : IDC_APP_LIST);
    const HWND remove = Control(sites ? IDC_SITE_REMOVE : IDC_APP_REMOVE);
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return;
    const bool pressedHere = GetFocus() == remove; // refreshing the list passes the focus to it for a moment
    const std::wstring entry = ListItemText(list, static_cast<int>(index));
    ConfigStore& store = ConfigStore::Instance();
    if (sites) {
        store.RemoveExcludedSite(entry);
    } else {
        store.RemoveExcludedApp(entry);
    }
    RefreshLists();
    // The selection walks down, so repeated Delete presses empty the list from there.
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    if (count > 0) {
        SendMessageW(list, LB_SETCURSEL, std::min(index, count - 1), 0);
        UpdateRemoveButtons();
        if (pressedHere && CanTakeFocus(remove)) SetFocus(remove); // Space again removes the next one
    }
}

void SettingsWindow::ResetAfterAsking() {
    const auto answer = RunModal([this] {
        return static_cast<INT_PTR>(MessageBoxW(window_, ResetQuestion, ResetCaption, MB_YESNO | MB_ICONQUESTION));
    });
    if (answer != IDYES) return;
    StopSaveTimer(); // a slider save still pending would undo part of the reset
    ConfigStore& store = ConfigStore::Instance();
    store.ResetToDefaults();
    store.Save();
    RetrySaveIfDirty(); // the timer was stopped above
    TrayIcon::Instance().UpdateTooltip(store.IsEnabled());
    SyncFromSettings();
}

void SettingsWindow::ShowAbout() {
    RunModal([this] {
        return static_cast<INT_PTR>(MessageBoxW(window_, AboutText, AboutCaption, MB_ICONINFORMATION | MB_OK));
    });
}

void SettingsWindow::InvalidateScaled(const LayoutRect& rect) {
    const RECT scaled = ScaledRect(rect);
    InvalidateRect(window_, &scaled, FALSE);
}
