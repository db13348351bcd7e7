#pragma once
// The program's main window: hidden until the user asks for it, alive for the whole
// run (a second instance finds it by class name), and the receiver of the tray's
// and the system's notifications.

#include "platform/Win32.h"

inline constexpr wchar_t SettingsWindowClass[] = L"Velvetglide_SettingsClass";

class SettingsWindow {
public:
    static SettingsWindow& Instance();

    bool Create(HINSTANCE instance); // hidden
    void Show(bool refresh);
    bool PreTranslateMessage(MSG& message);
    HWND Handle() const { return window_; }

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};
