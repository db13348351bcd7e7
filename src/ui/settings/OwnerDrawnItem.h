#pragma once
// What the item routines read from an owner-drawn control (WM_DRAWITEM).

#include "platform/Win32.h"

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
