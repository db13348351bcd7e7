#pragma once
// The notification-area icon: the program's presence while the settings window is
// hidden. Owned by the settings window, which receives its notifications and menu
// commands. Main thread only.

#include "platform/UniqueHandle.h"
#include "platform/Win32.h"

#include <shellapi.h>

class TrayIcon {
public:
    static TrayIcon& Instance();

    TrayIcon() = default;
    ~TrayIcon(); // takes the icon out of the notification area if it is still there
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    bool Add(HWND owner);
    void ReAdd(); // Explorer restarted ("TaskbarCreated")
    void UpdateIcon(); // the light/dark theme changed
    void UpdateTooltip(bool enabled);
    void Remove(); // a second call does nothing
    void ShowMenu(HWND window);

    // The glyph for the current theme, at small-icon size; the colour icon if that fails.
    static UniqueIcon LoadThemedIcon();

private:
    bool Register();

    HWND owner_ = nullptr;
    NOTIFYICONDATAW data_ = {};
    UniqueIcon icon_;
    bool added_ = false;
};
