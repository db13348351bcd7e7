#include "ui/tray/TrayIcon.h"

#include <commctrl.h>
#include <cwchar>

#include "settings/ConfigStore.h"
#include "ui/tray/TrayModel.h"

namespace {

constexpr UINT IconId = 1;
TrayIcon::NotifyFunction g_notify = Shell_NotifyIconW;

void CopyTooltip(NOTIFYICONDATAW& data, bool enabled) {
    wcsncpy(data.szTip, TrayTooltip(enabled), std::size(data.szTip) - 1);
    data.szTip[std::size(data.szTip) - 1] = L'\0';
}

} // namespace

void TrayIcon::UseNotifyFunction(NotifyFunction notify) { g_notify = notify; }

TrayIcon& TrayIcon::Instance() {
    static TrayIcon icon;
    return icon;
}

TrayIcon::~TrayIcon() { Remove(); }

UniqueIcon TrayIcon::LoadThemedIcon() {
    DWORD lightTheme = 0;
    DWORD size = sizeof lightTheme;
    const bool read = RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                                   L"SystemUsesLightTheme", RRF_RT_REG_DWORD, nullptr, &lightTheme,
                                   &size) == ERROR_SUCCESS;
    const HINSTANCE module = GetModuleHandleW(nullptr);
    HICON icon = nullptr;
    if (SUCCEEDED(LoadIconMetric(module, MAKEINTRESOURCEW(TrayGlyphIconId(read, lightTheme)), LIM_SMALL, &icon)))
        return UniqueIcon(icon);
    return UniqueIcon(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(AppIconId), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                    LR_DEFAULTCOLOR)));
}

bool TrayIcon::Add(HWND owner) {
    owner_ = owner;
    return Register();
}

void TrayIcon::ReAdd() {
    added_ = false;
    if (owner_) Register();
}

bool TrayIcon::Register() {
    icon_ = LoadThemedIcon();
    data_ = {};
    data_.cbSize = sizeof data_;
    data_.hWnd = owner_;
    data_.uID = IconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = WM_TRAYICON;
    data_.hIcon = icon_.get();
    CopyTooltip(data_, ConfigStore::Instance().IsEnabled());
    // The shell may still hold the icon (a "TaskbarCreated" without a real restart).
    added_ = g_notify(NIM_ADD, &data_) || g_notify(NIM_MODIFY, &data_);
    return added_;
}

void TrayIcon::UpdateIcon() {
    if (!added_) return;
    icon_ = LoadThemedIcon();
    data_.uFlags = NIF_ICON;
    data_.hIcon = icon_.get();
    g_notify(NIM_MODIFY, &data_);
}

void TrayIcon::UpdateTooltip(bool enabled) {
    if (!added_) return;
    CopyTooltip(data_, enabled);
    data_.uFlags = NIF_TIP;
    g_notify(NIM_MODIFY, &data_);
}

void TrayIcon::Remove() {
    if (!added_) return;
    g_notify(NIM_DELETE, &data_);
    added_ = false;
}

void TrayIcon::ShowMenu(HWND window) {
    POINT cursor = {};
    GetCursorPos(&cursor); // where the click was, before anything else can move it
    const UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    const bool enabled = ConfigStore::Instance().IsEnabled();
    for (const TrayMenuItem& item : TrayMenuItems()) {
        if (item.id == 0) {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        } else {
            const UINT checked = item.id == ID_TRAY_TOGGLE && enabled ? MF_CHECKED : MF_UNCHECKED;
            AppendMenuW(menu.get(), MF_STRING | checked, static_cast<UINT_PTR>(item.id), item.text);
        }
    }
    SetMenuDefaultItem(menu.get(), ID_TRAY_SETTINGS, FALSE);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    TrackPopupMenu(menu.get(), TPM_BOTTOMALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
    PostMessageW(window, WM_NULL, 0, 0);
}
