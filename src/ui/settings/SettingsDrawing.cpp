#include "ui/settings/SettingsDrawing.h"

#include <commctrl.h>

#include "platform/GdiScopes.h"
#include "ui/settings/ListDrawing.h"
#include "ui/settings/Palette.h"
#include "ui/settings/PushButtonDrawing.h"
#include "ui/settings/SliderDrawing.h"
#include "ui/settings/SwitchDrawing.h"

SettingsDrawing::SettingsDrawing(const Source& source)
    : source_(source), fieldBrush_(CreateSolidBrush(ToColorRef(Palette::Field))) {}

bool SettingsDrawing::CreateFonts(HINSTANCE instance, unsigned dpi) { return fonts_.Create(instance, dpi); }

void SettingsDrawing::ApplyDpi(HWND control, ControlKind kind, unsigned dpi) const {
    const auto body = reinterpret_cast<WPARAM>(fonts_.body.get());
    switch (kind) {
    case ControlKind::Slider: SendMessageW(control, TBM_SETTHUMBLENGTH, ScaleToDpi(SliderThumbLength, dpi), 0); break;
    case ControlKind::List:
        SendMessageW(control, LB_SETITEMHEIGHT, 0, ScaleToDpi(ListItemHeight, dpi));
        SendMessageW(control, WM_SETFONT, body, TRUE);
        break;
    case ControlKind::Edit: SendMessageW(control, WM_SETFONT, body, TRUE); break;
    default: break;
    }
}

void SettingsDrawing::PaintPage(HWND window, HDC dc) const {
    RECT client;
    GetClientRect(window, &client);
    PaintSettingsPage(dc, client, source_.CurrentView(), fonts_);
}

// List boxes get a list item, the four switches (by control id) a switch, every other
// button a push button; an item of another kind is left to the default.
bool SettingsDrawing::DrawItem(const DRAWITEMSTRUCT& item) const {
    const unsigned dpi = source_.Dpi();
    if (item.CtlType == ODT_LISTBOX) {
        DrawListBoxItem(item, dpi, fonts_);
        return true;
    }
    if (item.CtlType != ODT_BUTTON) return false;
    const bool hot = item.hwndItem == source_.HotControl();
    const ControlSpec* control = FindControl(static_cast<int>(item.CtlID));
    if (control && control->kind == ControlKind::Switch) {
        DrawSwitchItem(item, source_.SwitchOn(static_cast<int>(item.CtlID)), hot, dpi, fonts_);
    } else {
        DrawPushButtonItem(item, hot, dpi, fonts_);
    }
    return true;
}

bool SettingsDrawing::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    switch (message) {
    case WM_PAINT: {
        const PaintDc dc(window);
        if (dc) PaintPage(window, dc.get());
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT:
        PaintPage(window, reinterpret_cast<HDC>(wParam));
        result = 0;
        return true;
    case WM_ERASEBKGND: result = 1; return true; // the paint covers everything
    case WM_DRAWITEM:
        if (!DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return false;
        result = TRUE;
        return true;
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item.CtlType != ODT_LISTBOX) return false;
        item.itemHeight = static_cast<UINT>(ScaleToDpi(ListItemHeight, source_.Dpi()));
        result = TRUE;
        return true;
    }
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        int row = 0;
        bool horizontal = false;
        if (header.code != static_cast<UINT>(NM_CUSTOMDRAW) || !SliderRowOf(static_cast<int>(header.idFrom), row, horizontal))
            return false;
        result = DrawSliderCustom(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam), header.hwndFrom == source_.HotControl(),
                                  source_.Dpi());
        return true;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, ToColorRef(Palette::Field));
        SetTextColor(dc, ToColorRef(Palette::TextPrimary));
        result = reinterpret_cast<LRESULT>(fieldBrush_.get());
        return true;
    }
    default: return false;
    }
}
