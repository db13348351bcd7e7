// The settings window's procedure: the two registered messages first, then the
// drawing messages (SettingsDrawing), then one handler per window message through the
// route table.

#include "ui/settings/SettingsWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cwchar>
#include <utility>

#include "engine/FramePacing.h"
#include "engine/MouseHook.h"
#include "engine/ScrollEngine.h"
#include "messages/RegisteredMessages.h"
#include "settings/ConfigStore.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SliderValues.h"
#include "ui/tray/TrayIcon.h"
#include "ui/tray/TrayModel.h"

const SettingsWindow::Route SettingsWindow::Routes[] = {
    {WM_DESTROY, &SettingsWindow::OnDestroy},
    {WM_ACTIVATE, &SettingsWindow::OnActivate},
    {WM_GETOBJECT, &SettingsWindow::OnGetObject},
    {WM_CLOSE, &SettingsWindow::OnClose},
    {WM_ENDSESSION, &SettingsWindow::OnEndSession},
    {WM_SETTINGCHANGE, &SettingsWindow::OnSettingChange},
    {WM_SETCURSOR, &SettingsWindow::OnSetCursor},
    {WM_DISPLAYCHANGE, &SettingsWindow::OnDisplayChange},
    {WM_NCDESTROY, &SettingsWindow::OnNcDestroy},
    {WM_COMMAND, &SettingsWindow::OnCommandMessage},
    {WM_TIMER, &SettingsWindow::OnTimer},
    {WM_HSCROLL, &SettingsWindow::OnHScroll},
    {WM_MOUSEMOVE, &SettingsWindow::OnMouseMove},
    {WM_LBUTTONDOWN, &SettingsWindow::OnLButtonDown},
    {WM_MOUSELEAVE, &SettingsWindow::OnMouseLeave},
    {WM_DPICHANGED, &SettingsWindow::OnDpiChanged},
    {WM_TRAYICON, &SettingsWindow::OnTrayIcon},
    {WM_POWERBROADCAST, &SettingsWindow::OnPowerBroadcast},
};

LRESULT CALLBACK SettingsWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<SettingsWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<SettingsWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self ? self->HandleMessage(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT SettingsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (TaskbarCreatedMessage && message == TaskbarCreatedMessage) {
        TrayIcon::Instance().ReAdd();
        RetryTrayIconIfMissing();
        return 0;
    }
    if (ShowSettingsMessage && message == ShowSettingsMessage) {
        Show(true);
        return 0;
    }
    LRESULT drawn = 0;
    if (drawing_.OnMessage(window_, message, wParam, lParam, drawn)) return drawn;
    for (const Route& route : Routes) {
        if (route.message == message) return (this->*route.handler)(wParam, lParam);
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT SettingsWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT SettingsWindow::OnDestroy(WPARAM, LPARAM) {
    StopSaveTimer();
    KillTimer(window_, TIMER_TRAY_RETRY);
    KillTimer(window_, TIMER_LOAD_RETRY);
    ConfigStore::Instance().SaveIfDirty();
    TrayIcon::Instance().Remove();
    PostQuitMessage(0);
    return 0;
}

LRESULT SettingsWindow::OnActivate(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WA_INACTIVE) {
        rememberedFocus_ = GetFocus();
    } else if (!HIWORD(wParam)) { // not while minimised
        // The control that had the focus may have been disabled or hidden since.
        const HWND focus = CanTakeFocus(rememberedFocus_) ? rememberedFocus_ : FirstControlOfPage();
        if (focus) {
            SetFocus(focus);
            return 0;
        }
    }
    return Default(WM_ACTIVATE, wParam, lParam);
}

LRESULT SettingsWindow::OnGetObject(WPARAM wParam, LPARAM lParam) {
    if (const LRESULT answer = accessibility_.AnswerForWindow(wParam, lParam)) return answer;
    return Default(WM_GETOBJECT, wParam, lParam);
}

PageView SettingsWindow::CurrentView() const {
    PageView view;
    view.page = currentPage_ >= 0 ? currentPage_ : PageVertical;
    view.hoveredTab = hoveredTab_;
    view.focusedEdit = focusedEdit_;
    view.focusedList = focusedList_;
    view.dpi = dpi_;
    const ConfigStore& store = ConfigStore::Instance();
    view.settings = store.Snapshot();
    for (const Axis axis : {Axis::Vertical, Axis::Horizontal}) {
        const HWND strength = Control(axis == Axis::Horizontal ? IDC_H_ACCEL_STRENGTH : IDC_V_ACCEL_STRENGTH);
        view.strengthSliderEnabled[static_cast<int>(axis)] = IsWindowEnabled(strength) != FALSE;
    }
    const ScrollEngine& engine = ScrollEngine::Instance();
    // The display under the cursor: where the user looks, and where a glide would run.
    POINT cursor = {};
    GetCursorPos(&cursor);
    view.system.refreshRateHz = engine.RefreshRateAt(cursor.x, cursor.y);
    view.system.frameRateHz = FrameRateForRefresh(view.system.refreshRateHz);
    view.system.highResolutionTimer = engine.HasHighResolutionTimer();
    view.system.hookReinstalls = MouseHook::ReinstallCount();
    view.system.configPath = store.GetConfigPath();
    return view;
}

// Switches keep no state of their own: each paint asks the store (and the registry).
bool SettingsWindow::SwitchOn(int id) const {
    const ConfigStore& store = ConfigStore::Instance();
    switch (id) {
    case IDC_ENABLE_TOGGLE: return store.IsEnabled();
    case IDC_V_ACCEL_TOGGLE: return store.Snapshot().Vertical.AccelEnabled;
    case IDC_H_ACCEL_TOGGLE: return store.Snapshot().Horizontal.AccelEnabled;
    case IDC_AUTOSTART_TOGGLE: return store.IsStartWithWindows();
    default: return false;
    }
}

LRESULT SettingsWindow::OnClose(WPARAM, LPARAM) {
    ShowWindow(window_, SW_HIDE); // the close button only hides: the program stays in the tray
    return 0;
}

LRESULT SettingsWindow::OnEndSession(WPARAM wParam, LPARAM) {
    if (wParam) { // the logon really ends: a file held at start-up may be free by now
        ConfigStore::Instance().RetryLoad();
        ConfigStore::Instance().SaveIfDirty();
    }
    return 0;
}

LRESULT SettingsWindow::OnSettingChange(WPARAM wParam, LPARAM lParam) {
    const auto* area = reinterpret_cast<const wchar_t*>(lParam);
    if (area && std::wcscmp(area, L"ImmersiveColorSet") == 0) TrayIcon::Instance().UpdateIcon();
    return Default(WM_SETTINGCHANGE, wParam, lParam);
}

LRESULT SettingsWindow::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) == window_ && LOWORD(lParam) == HTCLIENT) {
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(window_, &cursor);
        if (HitTestTab(cursor) >= 0) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
    }
    return Default(WM_SETCURSOR, wParam, lParam);
}

// The displays' rates are read again: a mode change, a monitor plugged in or out, a wake
// from sleep (the displays may have changed meanwhile), a move to another monitor. A
// glide in flight keeps its pace; the next one takes the new rate.
void SettingsWindow::FollowDisplayChange() {
    ScrollEngine::Instance().RefreshDisplayRate();
    if (currentPage_ == PageGeneral) InvalidateRect(window_, nullptr, FALSE); // the system block shows the rate
}

LRESULT SettingsWindow::OnDisplayChange(WPARAM wParam, LPARAM lParam) {
    FollowDisplayChange();
    return Default(WM_DISPLAYCHANGE, wParam, lParam);
}

LRESULT SettingsWindow::OnPowerBroadcast(WPARAM wParam, LPARAM lParam) {
    if (wParam == PBT_APMRESUMEAUTOMATIC) FollowDisplayChange();
    return Default(WM_POWERBROADCAST, wParam, lParam);
}

LRESULT SettingsWindow::OnNcDestroy(WPARAM wParam, LPARAM lParam) {
    const HWND window = std::exchange(window_, nullptr);
    controls_.clear();
    for (auto& group : pageGroups_) group.clear();
    hotControl_ = rememberedFocus_ = nullptr;
    return DefWindowProcW(window, WM_NCDESTROY, wParam, lParam);
}

LRESULT SettingsWindow::OnCommandMessage(WPARAM wParam, LPARAM lParam) {
    const bool wasDirty = ConfigStore::Instance().IsDirty();
    OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    if (!wasDirty) saveRetry_.Reset(); // a new change starts the retries over
    RetrySaveIfDirty(); // a command's own failed save arms the timer unless it is pending
    return 0;
}

LRESULT SettingsWindow::OnTimer(WPARAM wParam, LPARAM lParam) {
    switch (wParam) {
    case TIMER_SAVE:
        StopSaveTimer();
        ConfigStore::Instance().SaveIfDirty();
        RetrySaveIfDirty();
        return 0;
    case TIMER_LOAD_RETRY:
        KillTimer(window_, TIMER_LOAD_RETRY);
        if (ConfigStore::Instance().RetryLoad()) {
            FollowLoadedFile();
        } else {
            RetryLoadIfWaiting();
        }
        return 0;
    case TIMER_TRAY_RETRY:
        KillTimer(window_, TIMER_TRAY_RETRY);
        TrayIcon::Instance().ReAdd();
        RetryTrayIconIfMissing();
        return 0;
    default: return Default(WM_TIMER, wParam, lParam);
    }
}

// A save fails while another program holds the file open (a reader, a virus scanner):
// the timer tries again, less and less often while it keeps failing, not only at exit.
// Armed whenever the store is dirty and no attempt is pending: also after a start-up
// write that failed, which no command of the user's would otherwise follow.
void SettingsWindow::RetrySaveIfDirty() {
    if (!window_) return;
    if (!ConfigStore::Instance().IsDirty()) {
        saveRetry_.Reset();
    } else if (!saveTimerPending_) {
        saveTimerPending_ = SetTimer(window_, TIMER_SAVE, saveRetry_.Next(), nullptr) != 0;
    }
}

void SettingsWindow::StopSaveTimer() {
    if (window_) KillTimer(window_, TIMER_SAVE);
    saveTimerPending_ = false;
}

// The configuration file was held by another program at start-up (a scanner, a backup):
// the program runs on defaults meanwhile and reads it as soon as it is free.
void SettingsWindow::RetryLoadIfWaiting() {
    if (!window_) return;
    if (ConfigStore::Instance().IsWaitingForFile()) {
        SetTimer(window_, TIMER_LOAD_RETRY, loadRetry_.Next(), nullptr);
    } else {
        KillTimer(window_, TIMER_LOAD_RETRY);
        loadRetry_.Reset();
    }
}

// The file's values are in: the engine and the exclusions read them at their next use;
// the window, its system block and the icon follow here.
void SettingsWindow::FollowLoadedFile() {
    const ConfigStore& store = ConfigStore::Instance();
    TrayIcon::Instance().UpdateTooltip(store.IsEnabled());
    SyncFromSettings();
    RetrySaveIfDirty();
}

void SettingsWindow::AddTrayIcon() {
    TrayIcon::Instance().Add(window_);
    RetryTrayIconIfMissing();
}

// At logon the shell may refuse the icon until it is ready; "TaskbarCreated" is not
// always sent afterwards, so the window keeps asking.
void SettingsWindow::RetryTrayIconIfMissing() {
    if (!window_) return;
    if (TrayIcon::Instance().IsAdded()) {
        KillTimer(window_, TIMER_TRAY_RETRY);
        trayRetry_.Reset();
    } else {
        SetTimer(window_, TIMER_TRAY_RETRY, trayRetry_.Next(), nullptr);
    }
}

// A slider moved: the engine gets the value at once, the file 500 ms after the last movement.
LRESULT SettingsWindow::OnHScroll(WPARAM, LPARAM lParam) {
    const auto slider = reinterpret_cast<HWND>(lParam);
    const int id = slider ? GetDlgCtrlID(slider) : 0;
    int row = 0;
    bool horizontal = false;
    if (!SliderRowOf(id, row, horizontal) || slider != Control(id)) return 0;
    ConfigStore& store = ConfigStore::Instance();
    Settings settings = store.Snapshot();
    const int position = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    SetFromSliderPosition(row, position, settings.ForAxis(horizontal ? Axis::Horizontal : Axis::Vertical));
    store.Apply(settings, false);
    saveRetry_.Reset();
    saveTimerPending_ = SetTimer(window_, TIMER_SAVE, SaveDelayMs, nullptr) != 0; // restarts the delay
    InvalidateScaled(SliderLabelRect(row)); // the value text follows
    return 0;
}

LRESULT SettingsWindow::OnMouseMove(WPARAM, LPARAM lParam) {
    const int tab = HitTestTab({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (tab != hoveredTab_) {
        hoveredTab_ = tab;
        InvalidateTabStrip();
    }
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, window_, 0};
    TrackMouseEvent(&track);
    return 0;
}

LRESULT SettingsWindow::OnLButtonDown(WPARAM, LPARAM lParam) {
    const int tab = HitTestTab({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (tab >= 0) SelectPage(tab);
    return 0;
}

LRESULT SettingsWindow::OnMouseLeave(WPARAM, LPARAM) {
    if (hoveredTab_ >= 0) {
        hoveredTab_ = -1;
        InvalidateTabStrip();
    }
    return 0;
}

LRESULT SettingsWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
    FollowDisplayChange(); // on another monitor, perhaps with another refresh rate
    dpi_ = HIWORD(wParam);
    CreateFonts();
    ReloadIcons();
    const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOACTIVATE | SWP_NOZORDER);
    LayoutControls();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    return 0;
}

LRESULT SettingsWindow::OnTrayIcon(WPARAM, LPARAM lParam) {
    switch (TrayIntentFor(LOWORD(lParam))) {
    case TrayIntent::ShowMenu: TrayIcon::Instance().ShowMenu(window_); break;
    case TrayIntent::ShowWindow: Show(true); break;
    case TrayIntent::None: break;
    }
    return 0;
}
