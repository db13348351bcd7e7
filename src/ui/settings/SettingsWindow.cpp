#include "ui/settings/SettingsWindow.h"

#include <commctrl.h>
#include <dwmapi.h>

#include "messages/RegisteredMessages.h"
#include "platform/Dpi.h"
#include "settings/ConfigStore.h"
#include "ui/settings/ControlSubclass.h"
#include "ui/settings/MemoryCanvas.h"
#include "ui/settings/Palette.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsControlWindow.h"
#include "ui/settings/SettingsTexts.h"
#include "ui/settings/SliderValues.h"
#include "ui/tray/TrayIcon.h"
#include "ui/tray/TrayModel.h"

namespace {

constexpr DWORD WindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// Dark caption to match the client area; older builds know only some of the attributes.
void UseDarkTitleBar(HWND window) {
    const BOOL on = TRUE;
    DwmSetWindowAttribute(window, 20, &on, sizeof on); // DWMWA_USE_IMMERSIVE_DARK_MODE
    DwmSetWindowAttribute(window, 19, &on, sizeof on); // the same before Windows 10 20H1
    const COLORREF caption = ToColorRef(Palette::WindowBackground);
    DwmSetWindowAttribute(window, 35, &caption, sizeof caption); // DWMWA_CAPTION_COLOR
}

UniqueIcon LoadAppIcon(HINSTANCE instance, int width, int height) {
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(AppIconId), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
}

UniqueIcon LoadAppIcon(HINSTANCE instance, int widthMetric, int heightMetric, unsigned dpi) {
    return LoadAppIcon(instance, SystemMetricForDpi(widthMetric, dpi), SystemMetricForDpi(heightMetric, dpi));
}

LayoutRect ToLayoutRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

LayoutRect WorkAreaOf(HWND window, DWORD fallback) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, fallback), &monitor);
    return ToLayoutRect(monitor.rcWork);
}

} // namespace

SettingsWindow& SettingsWindow::Instance() {
    static SettingsWindow window;
    return window;
}

SettingsWindow::~SettingsWindow() {
    if (!window_) return;
    // Only on an early way out: the tray and the store may already be gone at process
    // exit, so the window goes without running its handlers.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

bool SettingsWindow::Create(HINSTANCE instance) {
    instance_ = instance;
    const INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    backgroundBrush_.reset(CreateSolidBrush(ToColorRef(Palette::WindowBackground)));
    classIcon_ = LoadAppIcon(instance, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    classSmallIcon_ = LoadAppIcon(instance, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));

    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = classIcon_.get();
    windowClass.hIconSm = classSmallIcon_.get();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = backgroundBrush_.get();
    windowClass.lpszClassName = SettingsWindowClass;
    RegisterClassExW(&windowClass);

    if (!CreateWindowExW(0, SettingsWindowClass, WindowTitle, WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 200, 200,
                         nullptr, nullptr, instance, this))
        return false;
    dpi_ = WindowDpi(window_);
    CreateFonts();
    UseDarkTitleBar(window_);
    // A second instance or Explorer at a lower integrity level must still reach this window.
    if (TaskbarCreatedMessage) ChangeWindowMessageFilterEx(window_, TaskbarCreatedMessage, MSGFLT_ALLOW, nullptr);
    if (ShowSettingsMessage) ChangeWindowMessageFilterEx(window_, ShowSettingsMessage, MSGFLT_ALLOW, nullptr);
    CreateControls();
    LayoutControls();
    PlaceWindow();
    SyncFromSettings();
    SelectPage(PageVertical);
    // What the start-up load left to do: a rewrite that failed, a file that could not be read.
    RetrySaveIfDirty();
    RetryLoadIfWaiting();
    return true;
}

bool SettingsWindow::CreateFonts() { return drawing_.CreateFonts(instance_, dpi_); }

void SettingsWindow::CreateControls() {
    for (const ControlSpec& entry : SettingsControls()) {
        // Placed and sized by LayoutControls, which runs again at every DPI change.
        const HWND control = CreateSettingsControl(window_, instance_, entry, 0, {});
        controls_.push_back(control);
        accessibility_.Attach(control);
        switch (entry.kind) {
        case ControlKind::Switch:
        case ControlKind::PushButton: AddHoverProcedure(control, HoverKind::Button, *this); break;
        case ControlKind::Slider: AddHoverProcedure(control, HoverKind::Slider, *this); break;
        case ControlKind::List:
        case ControlKind::Edit: AddKeyProcedure(control); break;
        }
        if (entry.page == AllPages) {
            ShowWindow(control, SW_SHOW);
        } else {
            pageGroups_[entry.page].push_back(control);
        }
    }
}

void SettingsWindow::LayoutControls() {
    const auto table = SettingsControls();
    for (size_t i = 0; i < table.size() && i < controls_.size(); ++i) {
        const HWND control = controls_[i];
        const RECT rect = ScaledRect(table[i].rect);
        SetWindowPos(control, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOACTIVATE | SWP_NOZORDER);
        drawing_.ApplyDpi(control, table[i].kind, dpi_);
    }
}

// Client area of 600 x 604 scaled, centred on the work area of the window's monitor;
// where that is too small the caption stays on it, so the window can still be moved.
void SettingsWindow::PlaceWindow() {
    RECT frame = {0, 0, Scale(ClientWidth), Scale(ClientHeight)};
    AdjustWindowRectForDpi(frame, WindowStyle, dpi_);
    const LayoutRect work = WorkAreaOf(window_, MONITOR_DEFAULTTOPRIMARY);
    const LayoutRect place =
        KeepOnWorkArea(work, CentreOnWorkArea(work, frame.right - frame.left, frame.bottom - frame.top));
    SetWindowPos(window_, nullptr, place.left, place.top, place.Width(), place.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
}

// Monitors and their resolutions change while the window is hidden: it comes back on one.
void SettingsWindow::MoveOntoWorkArea() {
    RECT rect = {};
    GetWindowRect(window_, &rect);
    const LayoutRect now = ToLayoutRect(rect);
    const LayoutRect kept = KeepOnWorkArea(WorkAreaOf(window_, MONITOR_DEFAULTTONEAREST), now);
    if (kept != now)
        SetWindowPos(window_, nullptr, kept.left, kept.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

// The class icons have the sizes of the DPI at start; after a DPI change the window gets its own.
void SettingsWindow::ReloadIcons() {
    UniqueIcon big = LoadAppIcon(instance_, SM_CXICON, SM_CYICON, dpi_);
    UniqueIcon small = LoadAppIcon(instance_, SM_CXSMICON, SM_CYSMICON, dpi_);
    if (big) SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    if (small) SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // Only now that the window shows the new ones can the old ones go.
    if (big) windowIcon_ = std::move(big);
    if (small) windowSmallIcon_ = std::move(small);
    TrayIcon::Instance().UpdateIcon();
}

void SettingsWindow::Show(bool visible) {
    if (!window_) return;
    if (!visible) {
        ShowWindow(window_, SW_HIDE);
        return;
    }
    SyncFromSettings();
    MoveOntoWorkArea();
    ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window_);
    if (dialogOpen_) {
        BringDialogForward(); // it keeps the focus until it is closed
    } else {
        FocusFirstControl();
    }
}

void SettingsWindow::SelectPage(int page) {
    if (page == currentPage_ || page < 0 || page >= PageCount) return;
    currentPage_ = page;
    // Turning redraw back on makes a window visible: a hidden window is left alone.
    const bool visible = IsWindowVisible(window_) != FALSE;
    if (visible) SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    // The focus leaves a control of the page that goes away before it is hidden, for the
    // window itself, whose tab strip Ctrl+Tab works on.
    const HWND focus = GetFocus();
    for (int group = 0; group < PageCount; ++group) {
        if (group == page) continue;
        for (HWND control : pageGroups_[group]) {
            if (control == focus) SetFocus(window_);
        }
    }
    for (int group = 0; group < PageCount; ++group) {
        for (HWND control : pageGroups_[group]) ShowWindow(control, group == page ? SW_SHOW : SW_HIDE);
    }
    if (visible) SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    accessibility_.NotifyPageSelected(page);
}

void SettingsWindow::SyncFromSettings() {
    const Settings settings = ConfigStore::Instance().Snapshot();
    for (const bool horizontal : {false, true}) {
        const AxisSettings& axis = settings.ForAxis(horizontal ? Axis::Horizontal : Axis::Vertical);
        for (int row = 0; row < SliderRowCount; ++row)
            SendMessageW(Control(SliderId(horizontal, row)), TBM_SETPOS, TRUE, SliderPosition(row, axis));
    }
    EnableControl(Control(IDC_V_ACCEL_STRENGTH), settings.Vertical.AccelEnabled);
    EnableControl(Control(IDC_H_ACCEL_STRENGTH), settings.Horizontal.AccelEnabled);
    RefreshLists();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void SettingsWindow::RefreshLists() {
    const ConfigStore& store = ConfigStore::Instance();
    const std::pair<int, std::vector<std::wstring>> lists[] = {{IDC_APP_LIST, store.GetExcludedApps()},
                                                              {IDC_SITE_LIST, store.GetExcludedSites()}};
    for (const auto& [id, entries] : lists) {
        const HWND list = Control(id);
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (const std::wstring& entry : entries) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
    UpdateRemoveButtons();
}

void SettingsWindow::UpdateRemoveButtons() {
    for (const auto& [list, remove] : {std::pair{IDC_APP_LIST, IDC_APP_REMOVE}, std::pair{IDC_SITE_LIST, IDC_SITE_REMOVE}})
        EnableControl(Control(remove), SendMessageW(Control(list), LB_GETCURSEL, 0, 0) != LB_ERR);
}

bool SettingsWindow::PreTranslateMessage(MSG& message) {
    if (!window_ || !IsWindowVisible(window_)) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        const int step = GetKeyState(VK_SHIFT) < 0 ? PageCount - 1 : 1;
        SelectPage((currentPage_ + step) % PageCount);
        return true;
    }
    // Tab between controls, arrows in sliders, and Esc as IDCANCEL (which hides).
    return IsDialogMessageW(window_, &message) != FALSE;
}

RECT SettingsWindow::ScaledRect(const LayoutRect& rect) const { return ToRect(ScaleToDpi(rect, dpi_)); }

RECT SettingsWindow::TabRect(int index) const { return ToRect(TabRectAt(index, dpi_)); }

int SettingsWindow::HitTestTab(POINT client) const { return HitTestTabAt(client.x, client.y, dpi_); }

HWND SettingsWindow::Control(int id) const {
    const auto table = SettingsControls();
    for (size_t i = 0; i < table.size() && i < controls_.size(); ++i) {
        if (table[i].id == id) return controls_[i];
    }
    return nullptr;
}

void SettingsWindow::InvalidateTabStrip() {
    const RECT strip = ScaledRect(TabStripRect);
    InvalidateRect(window_, &strip, FALSE);
}
