#pragma once
// A hidden stand-in for the settings window: the real child controls of one page,
// created with the window's classes, styles and places, whose drawing messages go to
// the window's own drawing dispatch (SettingsDrawing), as the window's do. Render()
// prints the page and then has every control print itself at its place, which shows
// the page as the window will, without a screen.

#include "platform/Win32.h"
#include "ui/settings/PagePainter.h"
#include "ui/settings/SettingsDrawing.h"
#include "ui/settings/SettingsLayout.h"

#include <vector>

class ControlPreviewHost : private SettingsDrawing::Source {
public:
    // `view.settings` gives the switch states, slider positions and list entries.
    ControlPreviewHost(const PageView& view, bool startWithWindows);
    ~ControlPreviewHost();
    ControlPreviewHost(const ControlPreviewHost&) = delete;
    ControlPreviewHost& operator=(const ControlPreviewHost&) = delete;

    HWND Window() const { return window_; }
    HWND Control(int id) const; // nullptr if not on this page
    // The control's rectangle in the host's client area.
    RECT PlaceOf(int id) const;
    // The fonts of the view's DPI, with the logo the test may replace.
    ThemeFonts& Fonts() { return drawing_.Fonts(); }

    // The page as the window prints it (WM_PRINTCLIENT), then each control through
    // WM_PRINTCLIENT (an empty list through its hint, as its WM_PAINT would).
    void Render(HDC target) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    unsigned Dpi() const override { return view_.dpi; }
    PageView CurrentView() const override { return view_; }
    bool SwitchOn(int id) const override;
    HWND HotControl() const override { return nullptr; }
    void CreateControls(HINSTANCE instance);

    PageView view_;
    bool startWithWindows_;
    SettingsDrawing drawing_{*this};
    HWND window_ = nullptr;
    struct Child {
        const ControlSpec* entry;
        HWND handle;
    };
    std::vector<Child> children_;
};
