#include "ui/settings/SettingsWindow.h"

#include "app/AppMessages.h"
#include "engine/ScrollEngine.h"
#include "settings/ConfigStore.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/tray/TrayIcon.h"

#include <utility>

SettingsWindow& SettingsWindow::Instance() {
    static SettingsWindow window;
    return window;
}

bool SettingsWindow::Create(HINSTANCE instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = SettingsWindowClass;
    if (!RegisterClassExW(&windowClass)) return false;

    window_ = CreateWindowExW(0, SettingsWindowClass, L"Velvetglide", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                              560, 420, nullptr, nullptr, instance, this);
    if (!window_) return false;
    // A second instance at a lower integrity level must still reach this window.
    if (ShowSettingsMessage) ChangeWindowMessageFilterEx(window_, ShowSettingsMessage, MSGFLT_ALLOW, nullptr);
    if (TaskbarCreatedMessage) ChangeWindowMessageFilterEx(window_, TaskbarCreatedMessage, MSGFLT_ALLOW, nullptr);
    return true;
}

void SettingsWindow::Show(bool) {
    if (!window_) return;
    ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window_);
}

bool SettingsWindow::PreTranslateMessage(MSG& message) {
    if (!window_ || !IsWindowVisible(window_)) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    return IsDialogMessageW(window_, &message) != FALSE;
}

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
    if (ShowSettingsMessage && message == ShowSettingsMessage) {
        Show(true);
        return 0;
    }
    if (TaskbarCreatedMessage && message == TaskbarCreatedMessage) {
        TrayIcon::ReAdd();
        return 0;
    }
    switch (message) {
    case WM_CLOSE:
        ShowWindow(window_, SW_HIDE); // closing only hides: the program keeps running in the tray
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_TRAY_EXIT) {
            DestroyWindow(window_);
            return 0;
        }
        break;
    case WM_ENDSESSION:
        if (wParam) ConfigStore::Instance().SaveIfDirty(); // the logon really ends
        return 0;
    case WM_DISPLAYCHANGE:
        ScrollEngine::Instance().RefreshDisplayRate();
        break;
    case WM_DESTROY:
        KillTimer(window_, TIMER_SAVE);
        ConfigStore::Instance().SaveIfDirty();
        TrayIcon::Remove();
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        const HWND window = std::exchange(window_, nullptr);
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}
