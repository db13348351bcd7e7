#pragma once
// A hidden stand-in for the settings window: the real child controls of one page,
// created with the window's classes, styles and places, whose owner-draw and
// custom-draw requests go to the drawing routines. Render() paints the page and
// then has every control print itself at its place, which shows the page as the
// window will, without a screen.

#include "platform/Win32.h"
#include "ui/settings/PagePainter.h"
#include "ui/settings/SettingsLayout.h"
#include "ui/settings/ThemeFonts.h"

#include <vector>

class ControlPreviewHost {
public:
    // `view.settings` gives the switch states, slider positions and list entries.
    ControlPreviewHost(const PageView& view, bool startWithWindows, const ThemeFonts& fonts);
    ~ControlPreviewHost();
    ControlPreviewHost(const ControlPreviewHost&) = delete;
    ControlPreviewHost& operator=(const ControlPreviewHost&) = delete;

    HWND Window() const { return window_; }
    HWND Control(int id) const; // nullptr if not on this page
    // The control's rectangle in the host's client area.
    RECT PlaceOf(int id) const;

    // The page painter, then each control through WM_PRINTCLIENT (an empty list
    // through its hint, as its WM_PAINT would).
    void Render(HDC target) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool SwitchOn(int id) const;
    void CreateControls(HINSTANCE instance);

    PageView view_;
    bool startWithWindows_;
    const ThemeFonts& fonts_;
    UniqueGdiObject fieldBrush_;
    HWND window_ = nullptr;
    struct Child {
        const ControlSpec* entry;
        HWND handle;
    };
    std::vector<Child> children_;
};
