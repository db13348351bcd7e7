#pragma once
// The program's main window: hidden until the user asks for it, alive for the whole
// run (a second instance finds it by class name), owner of the tray icon and the
// receiver of the tray's and the system's notifications. Its client area is a fixed
// 600 x 604 layout in 96-DPI units with five pages of child controls. Main thread only.

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ComApartment.h"
#include "platform/UniqueHandle.h"
#include "platform/Win32.h"

#include <commctrl.h>

#include "settings/Settings.h"
#include "ui/settings/RetryBackoff.h"
#include "ui/settings/SettingsAccessibility.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsDrawing.h"
#include "ui/settings/SettingsLayout.h"

inline constexpr wchar_t SettingsWindowClass[] = L"Velvetglide_SettingsClass";

class SettingsWindow : private SettingsDrawing::Source {
public:
    static SettingsWindow& Instance();

    SettingsWindow() = default;
    ~SettingsWindow();
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    bool Create(HINSTANCE instance); // leaves the window hidden; false if it could not be made
    void Show(bool visible);         // true: refreshed from the settings, restored and in front
    // Puts the tray icon in place; a refusal is retried on a timer until it succeeds.
    void AddTrayIcon();
    bool PreTranslateMessage(MSG& message);
    HWND Handle() const { return window_; }

    void SelectPage(int page);
    void SyncFromSettings();
    void RefreshLists();
    void LayoutControls();
    bool CreateFonts();
    RECT TabRect(int index) const;
    int HitTestTab(POINT client) const;

    // What the controls' own procedures (hover, keys) and the drawing read.
    unsigned Dpi() const override { return dpi_; }
    int Scale(int value) const { return ScaleToDpi(value, dpi_); }
    RECT ScaledRect(const LayoutRect& rect) const;
    const ThemeFonts& Fonts() const { return drawing_.Fonts(); }
    int CurrentPage() const { return currentPage_; }
    int HoveredTab() const { return hoveredTab_; }
    HWND HotControl() const override { return hotControl_; }
    void SetHotControl(HWND control) { hotControl_ = control; }
    int FocusedEdit() const { return focusedEdit_; }
    HWND Control(int id) const;
    // What a switch shows, read anew at each paint (and by assistive technology).
    bool SwitchOn(int id) const override;

private:
    using Handler = LRESULT (SettingsWindow::*)(WPARAM, LPARAM);
    struct Route {
        UINT message;
        Handler handler;
    };
    static const Route Routes[];

    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void PlaceWindow();
    void InvalidateTabStrip();
    void RetrySaveIfDirty();
    void StopSaveTimer();
    void RetryLoadIfWaiting();
    void FollowLoadedFile();
    void RetryTrayIconIfMissing();
    void FollowDisplayChange();
    void UpdateRemoveButtons();

    // Window procedure, one handler per message (SettingsWindowMessages.cpp).
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnActivate(WPARAM, LPARAM);
    LRESULT OnGetObject(WPARAM, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnEndSession(WPARAM, LPARAM);
    LRESULT OnSettingChange(WPARAM, LPARAM);
    LRESULT OnSetCursor(WPARAM, LPARAM);
    LRESULT OnDisplayChange(WPARAM, LPARAM);
    LRESULT OnNcDestroy(WPARAM, LPARAM);
    LRESULT OnCommandMessage(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnHScroll(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM, LPARAM);
    LRESULT OnTrayIcon(WPARAM, LPARAM);
    LRESULT OnPowerBroadcast(WPARAM, LPARAM);

    // Commands from the controls and the tray menu (SettingsWindowCommands.cpp).
    void OnCommand(int id, int code, HWND control);
    void ToggleEnabled();
    void ToggleAcceleration(Axis axis);
    void ToggleStartWithWindows();
    void AddTypedEntry(bool sites);
    void BrowseForApplication();
    void RemoveSelectedEntry(bool sites);
    void ResetAfterAsking();
    void ShowAbout();
    void InvalidateScaled(const LayoutRect& rect);

    // What the page painter shows, read anew at each paint.
    PageView CurrentView() const override;

    // The keyboard focus is never left on nothing (SettingsWindowFocus.cpp).
    bool CanTakeFocus(HWND control) const;
    HWND FirstControlOfPage() const;
    void FocusFirstControl();
    void EnableControl(HWND control, bool enabled);
    // One modal dialog at a time, and an exit that closes it (SettingsWindowFocus.cpp).
    std::optional<INT_PTR> RunModal(const std::function<INT_PTR()>& dialog);
    bool BringDialogForward(); // false when no dialog window is left (one is closing)
    void Exit();

    // The window on its monitor: inside the work area, icons for the DPI (SettingsWindow.cpp).
    void MoveOntoWorkArea();
    void ReloadIcons();

    // First, so it is left last: the accessible objects and the file dialog live in it.
    ComApartment apartment_{COINIT_APARTMENTTHREADED};
    HWND window_ = nullptr;
    HINSTANCE instance_ = nullptr;
    unsigned dpi_ = BaseDpi;
    SettingsDrawing drawing_{*this}; // the fonts, the header logo and the fields' brush
    UniqueBrush backgroundBrush_;
    UniqueIcon classIcon_;
    UniqueIcon classSmallIcon_;
    UniqueIcon windowIcon_; // set after a DPI change, at the sizes of the new DPI
    UniqueIcon windowSmallIcon_;
    int currentPage_ = -1;
    int hoveredTab_ = -1;
    HWND hotControl_ = nullptr;
    int focusedEdit_ = 0;
    int focusedList_ = 0; // IDC_APP_LIST or IDC_SITE_LIST while it has the focus, else 0
    HWND rememberedFocus_ = nullptr;
    RetryBackoff saveRetry_{SaveDelayMs, MaxSaveRetryMs};
    RetryBackoff trayRetry_{FirstTrayRetryMs, MaxTrayRetryMs};
    RetryBackoff loadRetry_{FirstLoadRetryMs, MaxLoadRetryMs};
    bool saveTimerPending_ = false;
    bool dialogOpen_ = false;
    bool exitAfterDialog_ = false; // "Выход" came while a dialog was open
    int commandInHand_ = 0;        // the command being carried out
    int commandAfterDialog_ = 0;   // a dialog command that came while another was closing
    std::vector<HWND> controls_; // in the order of SettingsControls()
    std::array<std::vector<HWND>, PageCount> pageGroups_;
    SettingsAccessibility accessibility_{*this};
};
