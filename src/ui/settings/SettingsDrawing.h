#pragma once
// The settings window's drawing as its window procedure dispatches it: the page on
// WM_PAINT (and WM_PRINTCLIENT), the owner-drawn switches, push buttons and list items,
// the sliders' custom draw, the colours of the edit fields and lists, and what a
// control is given for the DPI. The window hands these messages here, and so does the
// drawing tests' stand-in window: what the tests draw is what the window draws.

#include "platform/UniqueHandle.h"
#include "platform/Win32.h"
#include "ui/settings/PagePainter.h"
#include "ui/settings/SettingsLayout.h"
#include "ui/settings/ThemeFonts.h"

class SettingsDrawing {
public:
    // What the drawing asks its window at each request.
    class Source {
    public:
        virtual unsigned Dpi() const = 0;
        virtual PageView CurrentView() const = 0; // read anew for each paint of the page
        virtual bool SwitchOn(int id) const = 0;  // what a switch shows
        virtual HWND HotControl() const = 0;      // the control under the mouse, or nullptr

    protected:
        ~Source() = default;
    };

    explicit SettingsDrawing(const Source& source);
    SettingsDrawing(const SettingsDrawing&) = delete;
    SettingsDrawing& operator=(const SettingsDrawing&) = delete;

    // The fonts and the logo for `dpi`, made anew at each DPI change; false if a font failed.
    bool CreateFonts(HINSTANCE instance, unsigned dpi);
    const ThemeFonts& Fonts() const { return fonts_; }
    ThemeFonts& Fonts() { return fonts_; }

    // What of a control follows the DPI: a slider's thumb length, a list's item height,
    // the font of the lists and edit fields.
    void ApplyDpi(HWND control, ControlKind kind, unsigned dpi) const;

    // True when `message` is one of the drawing messages above; `result` is its answer.
    bool OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const;

private:
    void PaintPage(HWND window, HDC dc) const;
    bool DrawItem(const DRAWITEMSTRUCT& item) const;

    const Source& source_;
    ThemeFonts fonts_;
    UniqueBrush fieldBrush_; // WM_CTLCOLOREDIT and WM_CTLCOLORLISTBOX
};
