#pragma once
// The settings window as assistive technology sees it: every custom control and the
// tab strip painted on the window answer WM_GETOBJECT with an object of their own,
// and switches that flip and pages that change are announced with NotifyWinEvent.
// Main thread only.

#include "ui/settings/AccessibleObject.h"

class SettingsWindow;

// The tab strip's object id on the settings window: positive ids are the program's own.
inline constexpr long TabStripObjectId = 1;

class SettingsAccessibility final : public AccessibleSource {
public:
    explicit SettingsAccessibility(SettingsWindow& window) : window_(window) {}
    SettingsAccessibility(const SettingsAccessibility&) = delete;
    SettingsAccessibility& operator=(const SettingsAccessibility&) = delete;

    // WM_GETOBJECT of the settings window itself; 0 for an object it leaves to the default.
    LRESULT AnswerForWindow(WPARAM wParam, LPARAM lParam);
    // Makes a child control answer WM_GETOBJECT with its own object.
    bool Attach(HWND control);

    void NotifyToggled(HWND control) const; // a switch's state (the master switch: also its name) changed
    void NotifyPageSelected(int page) const;

    AccessibleInfo Describe(HWND window, long objectId, long child) const override;
    long OwnChildCount(HWND window, long objectId) const override;
    bool OwnPlace(HWND window, long objectId, long child, RECT& screen) const override;
    long OwnChildAt(HWND window, long objectId, POINT screen) const override;
    void DoDefaultAction(HWND window, long objectId, long child) override;

private:
    bool IsTabStrip(HWND window, long objectId) const;

    SettingsWindow& window_;
};
