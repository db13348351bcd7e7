#pragma once
// WM_DRAWITEM of the settings window: which routine draws which item, and what the
// routines read from an owner-drawn control.

#include "platform/Win32.h"
#include "ui/settings/ThemeFonts.h"

#include <string_view>

// A control's window text, up to 127 characters.
class ItemText {
public:
    explicit ItemText(HWND control) { length_ = control ? GetWindowTextW(control, text_, 128) : 0; }
    std::wstring_view View() const { return {text_, static_cast<size_t>(length_ > 0 ? length_ : 0)}; }

private:
    wchar_t text_[128] = {};
    int length_ = 0;
};

// Keyboard focus that the user is meant to see.
inline bool ShowsFocusRing(const DRAWITEMSTRUCT& item) {
    return (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT);
}

// List boxes get a list item, the four switches (by control id) a switch showing
// `switchOn`, every other button a push button. `hot`: the item's control is the
// window's hot control. False for an item of another kind (left to the default).
bool DrawOwnerDrawnItem(const DRAWITEMSTRUCT& item, bool switchOn, bool hot, unsigned dpi, const ThemeFonts& fonts);
