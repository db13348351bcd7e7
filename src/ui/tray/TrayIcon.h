#pragma once
// The notification-area icon: the program's presence while the settings window is
// hidden. Owned by the settings window, which receives its notifications and menu
// commands. Main thread only.

#include "platform/UniqueHandle.h"
#include "platform/Win32.h"

#include <shellapi.h>

// The icon's notifications, sent to its owner window.
inline constexpr UINT WM_TRAYICON = WM_APP + 1;

class TrayIcon {
public:
    static TrayIcon& Instance();

    TrayIcon() = default;
    ~TrayIcon(); // takes the icon out of the notification area if it is still there
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // True when the shell took the icon; the owner retries a refusal (ReAdd).
    bool Add(HWND owner);
    void ReAdd(); // Explorer restarted ("TaskbarCreated"), or a retry after a refusal
    bool IsAdded() const { return added_; }
    void UpdateIcon(); // the light/dark theme changed
    void UpdateTooltip(bool enabled);
    void Remove(); // a second call does nothing
    void ShowMenu(HWND window);

    // The glyph for the current theme, at small-icon size; the colour icon if that fails.
    static UniqueIcon LoadThemedIcon();

    // What talks to the shell: Shell_NotifyIconW, replaced only by the test build.
    using NotifyFunction = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAW data);
    static void UseNotifyFunction(NotifyFunction notify);

private:
    bool Register();

    HWND owner_ = nullptr;
    NOTIFYICONDATAW data_ = {};
    UniqueIcon icon_;
    bool added_ = false;
};
