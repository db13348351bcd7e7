// The settings window for keyboard users: the focus is never left on a control that
// is disabled or hidden (Esc, Tab and Ctrl+Tab would then reach no window), and one
// modal dialog at a time is open over it.

#include "ui/settings/SettingsWindow.h"

#include <cwchar>
#include <utility>
#include <vector>

#include "ui/settings/SettingsCommands.h"

namespace {

// Message boxes and the file dialog of this thread that the window owns.
struct DialogSearch {
    HWND owner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOwnedDialog(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<DialogSearch*>(context);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (GetWindow(window, GW_OWNER) == search.owner && wcscmp(className, L"#32770") == 0)
        search.found.push_back(window);
    return TRUE;
}

std::vector<HWND> OwnedDialogs(HWND owner) {
    DialogSearch search{owner, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectOwnedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

bool SettingsWindow::CanTakeFocus(HWND control) const {
    return control && IsChild(window_, control) && IsWindowVisible(control) && IsWindowEnabled(control);
}

HWND SettingsWindow::FirstControlOfPage() const {
    if (currentPage_ >= 0) {
        for (HWND control : pageGroups_[currentPage_]) {
            if (CanTakeFocus(control)) return control;
        }
    }
    const HWND first = GetNextDlgTabItem(window_, nullptr, FALSE); // the header switch
    return CanTakeFocus(first) ? first : nullptr;
}

void SettingsWindow::FocusFirstControl() {
    if (const HWND control = FirstControlOfPage()) SetFocus(control);
}

void SettingsWindow::EnableControl(HWND control, bool enabled) {
    if (!enabled && control && GetFocus() == control) {
        // A Remove button hands the focus to its list, anything else to the next control in Tab order.
        HWND next = nullptr;
        if (control == Control(IDC_APP_REMOVE)) next = Control(IDC_APP_LIST);
        if (control == Control(IDC_SITE_REMOVE)) next = Control(IDC_SITE_LIST);
        if (!CanTakeFocus(next)) next = GetNextDlgTabItem(window_, control, FALSE);
        SetFocus(CanTakeFocus(next) && next != control ? next : window_);
    }
    EnableWindow(control, enabled);
}

std::optional<INT_PTR> SettingsWindow::RunModal(const std::function<INT_PTR()>& dialog) {
    if (dialogOpen_) {
        // The tray menu still works while a dialog is open: that one comes forward instead of
        // another on top. A dialog already gone but not yet returned is closing: the
        // command is taken up again once it has returned.
        if (!BringDialogForward()) commandAfterDialog_ = commandInHand_;
        return std::nullopt;
    }
    dialogOpen_ = true;
    const INT_PTR result = dialog();
    dialogOpen_ = false;
    if (exitAfterDialog_) {
        DestroyWindow(window_); // WM_DESTROY saves and ends the message loop
        return std::nullopt;
    }
    if (const int command = std::exchange(commandAfterDialog_, 0))
        PostMessageW(window_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return result;
}

bool SettingsWindow::BringDialogForward() {
    const std::vector<HWND> open = OwnedDialogs(window_);
    for (HWND dialog : open) SetForegroundWindow(dialog);
    return !open.empty();
}

void SettingsWindow::Exit() {
    if (!dialogOpen_) {
        DestroyWindow(window_);
        return;
    }
    // Destroying the window under a dialog's own message loop would leave that loop
    // running: the dialog is ended as if cancelled, and the window goes once it has returned.
    exitAfterDialog_ = true;
    for (HWND open : OwnedDialogs(window_)) EndDialog(open, IDCANCEL);
}
