#include "ui/settings/SettingsControlWindow.h"

#include <commctrl.h>
#include <uxtheme.h>

HWND CreateSettingsControl(HWND parent, HINSTANCE instance, const ControlSpec& entry, DWORD extraStyle,
                           const RECT& place) {
    const wchar_t* className = L"BUTTON";
    const wchar_t* text = entry.text;
    DWORD style = WS_CHILD | WS_TABSTOP | extraStyle;
    switch (entry.kind) {
    case ControlKind::Switch:
    case ControlKind::PushButton: style |= BS_OWNERDRAW; break;
    case ControlKind::Slider:
        className = TRACKBAR_CLASSW;
        style |= TBS_BOTH | TBS_NOTICKS | TBS_FIXEDLENGTH;
        break;
    case ControlKind::List:
        className = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
        text = L""; // the table's text is the hint drawn while the list is empty
        break;
    case ControlKind::Edit:
        className = L"EDIT";
        style |= ES_AUTOHSCROLL;
        text = L""; // the table's text is the cue banner
        break;
    }
    const HWND control = CreateWindowExW(0, className, text, style, place.left, place.top, place.right - place.left,
                                         place.bottom - place.top, parent,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
    if (!control) return nullptr;
    int row = 0;
    bool horizontal = false;
    if (entry.kind == ControlKind::Slider && SliderRowOf(entry.id, row, horizontal)) {
        const SliderRange& range = SliderRanges[row];
        SendMessageW(control, TBM_SETRANGE, TRUE, MAKELPARAM(range.min, range.max));
        SendMessageW(control, TBM_SETLINESIZE, 0, range.lineStep);
        SendMessageW(control, TBM_SETPAGESIZE, 0, range.pageStep);
    } else if (entry.kind == ControlKind::List) {
        SetWindowTheme(control, L"DarkMode_Explorer", nullptr); // a dark scroll bar
    } else if (entry.kind == ControlKind::Edit) {
        SendMessageW(control, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(entry.text)); // also while focused
    }
    return control;
}
