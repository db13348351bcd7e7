#include "ui/settings/SettingsAccessibility.h"

#include <commctrl.h>

#include <string>

#include "settings/ConfigStore.h"
#include "ui/settings/ListDrawing.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsWindow.h"

namespace {

// The accessibility procedure's subclass id; the hover procedure uses 1 and 2, the key procedure 3.
constexpr UINT_PTR AccessibilitySubclassId = 4;

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring SelectedEntry(HWND list) {
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? std::wstring() : ListItemText(list, static_cast<int>(index));
}

RECT ToScreen(HWND window, RECT rect) {
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LRESULT CALLBACK AccessibilityProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        auto& source = *reinterpret_cast<SettingsAccessibility*>(data);
        if (const LRESULT answer = AnswerGetObject(control, OBJID_CLIENT, AccessibleShape::Control, 0, wParam, source))
            return answer;
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, AccessibilityProcedure, AccessibilitySubclassId);
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

} // namespace

LRESULT SettingsAccessibility::AnswerForWindow(WPARAM wParam, LPARAM lParam) {
    const HWND window = window_.Handle();
    switch (static_cast<LONG>(lParam)) {
    case OBJID_CLIENT:
        return AnswerGetObject(window, OBJID_CLIENT, AccessibleShape::Window, TabStripObjectId, wParam, *this);
    case TabStripObjectId: return AnswerGetObject(window, TabStripObjectId, AccessibleShape::Painted, 0, wParam, *this);
    default: return 0;
    }
}

bool SettingsAccessibility::Attach(HWND control) {
    return SetWindowSubclass(control, AccessibilityProcedure, AccessibilitySubclassId,
                             reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void SettingsAccessibility::NotifyToggled(HWND control) const {
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
    if (GetDlgCtrlID(control) == IDC_ENABLE_TOGGLE)
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

void SettingsAccessibility::NotifyPageSelected(int page) const {
    const HWND window = window_.Handle();
    NotifyWinEvent(EVENT_OBJECT_SELECTION, window, TabStripObjectId, page + 1);
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, TabStripObjectId, CHILDID_SELF);
    // With the focus on the window itself, Ctrl+Tab works on the strip: the new tab is where the user is.
    if (GetFocus() == window) NotifyWinEvent(EVENT_OBJECT_FOCUS, window, TabStripObjectId, page + 1);
}

bool SettingsAccessibility::IsTabStrip(HWND window, long objectId) const {
    return window == window_.Handle() && objectId == TabStripObjectId;
}

AccessibleInfo SettingsAccessibility::Describe(HWND window, long objectId, long child) const {
    const bool windowFocused = GetFocus() == window_.Handle();
    if (IsTabStrip(window, objectId)) {
        if (child == CHILDID_SELF) return DescribeTabStrip(window_.CurrentPage(), windowFocused);
        return DescribePageTab(static_cast<int>(child) - 1, window_.CurrentPage(), windowFocused);
    }
    const ControlSpec* control = FindControl(GetDlgCtrlID(window));
    if (!control || window_.Control(control->id) != window) return {};
    ControlFacts facts;
    facts.enabled = IsWindowEnabled(window) != FALSE;
    facts.visible = IsWindowVisible(window) != FALSE;
    facts.focused = GetFocus() == window;
    switch (control->kind) {
    case ControlKind::Switch: facts.on = window_.SwitchOn(control->id); break;
    case ControlKind::List:
        facts.itemCount = static_cast<int>(SendMessageW(window, LB_GETCOUNT, 0, 0));
        facts.text = SelectedEntry(window);
        break;
    case ControlKind::Edit: facts.text = WindowText(window); break;
    default: break;
    }
    return DescribeControl(*control, facts, ConfigStore::Instance().Snapshot());
}

long SettingsAccessibility::OwnChildCount(HWND window, long objectId) const {
    return IsTabStrip(window, objectId) ? PageCount : 0;
}

bool SettingsAccessibility::OwnPlace(HWND window, long objectId, long child, RECT& screen) const {
    if (!IsTabStrip(window, objectId) || child < 0 || child > PageCount) return false;
    const RECT client =
        child == CHILDID_SELF ? window_.ScaledRect(TabStripRect) : window_.TabRect(static_cast<int>(child) - 1);
    screen = ToScreen(window, client);
    return true;
}

long SettingsAccessibility::OwnChildAt(HWND window, long objectId, POINT screen) const {
    if (!IsTabStrip(window, objectId)) return -1;
    POINT client = screen;
    ScreenToClient(window, &client);
    const int tab = window_.HitTestTab(client);
    if (tab >= 0) return tab + 1;
    const RECT strip = window_.ScaledRect(TabStripRect);
    return PtInRect(&strip, client) ? CHILDID_SELF : -1;
}

void SettingsAccessibility::DoDefaultAction(HWND window, long objectId, long child) {
    if (IsTabStrip(window, objectId)) {
        if (child >= 1 && child <= PageCount) window_.SelectPage(static_cast<int>(child) - 1);
        return;
    }
    if (!IsWindowEnabled(window)) return; // as a click would do nothing
    // Posted: a command may open a dialog, which must not hold the caller's call open.
    PostMessageW(window_.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
}
