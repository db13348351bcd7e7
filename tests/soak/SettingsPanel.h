#pragma once
// The running program's settings window, driven from outside the way its controls
// are driven by a person (trackbar positions with WM_HSCROLL, clicks on the
// switches, the tray menu's commands, clicks on the tabs), together with what the
// settings must be afterwards, by the program's own slider rules, checked against
// the configuration file the program writes.

#include <string>

#include "platform/Win32.h"
#include "settings/Settings.h"

class SettingsPanel {
public:
    SettingsPanel(HWND window, std::wstring configPath);

    // The settings as the program read them at start (false: no readable file).
    bool Load();
    const Settings& Expected() const { return expected_; }

    void MoveSlider(bool horizontal, int row, int position, bool dragged);
    void ToggleAcceleration(bool horizontal);
    // Through the tray menu's command (posted, as the menu does) or the window's switch;
    // true once the file shows the new state.
    bool ToggleEnabled(bool fromTray);

    bool IsShown() const { return IsWindowVisible(window_) != FALSE; }
    bool Show(); // as the tray menu's "settings" command; true once visible
    bool Hide(); // as the window's "hide to tray" button; true once hidden
    void ClickTab(int page);

    // Waits out a pending deferred save, then compares the file with what is expected;
    // a description of the first difference, or empty.
    std::wstring DifferenceFromFile();

private:
    bool ReadFile(Settings& settings) const;
    bool WaitForFile(bool enabled);

    HWND window_;
    std::wstring configPath_;
    Settings expected_;
    double lastSliderMs_ = 0;
};
