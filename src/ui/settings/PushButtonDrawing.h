#pragma once
// Push buttons: an owner-drawn BUTTON, primary (accent) or secondary.

#include "platform/Win32.h"
#include "ui/settings/ThemeFonts.h"

#include <string_view>

struct PushButtonLook {
    bool primary = false; // the two "Добавить" buttons
    bool hot = false;
    bool pressed = false;
    bool disabled = false;
    bool focusRing = false;
    bool footer = false; // sits on the window background rather than on a card
    std::wstring_view text;
};

void DrawPushButton(HDC target, const RECT& rect, const PushButtonLook& look, unsigned dpi, const ThemeFonts& fonts);

// WM_DRAWITEM of a push button: primary and footer by control id, pressed, disabled
// and focus from the item state, the caption from the control.
void DrawPushButtonItem(const DRAWITEMSTRUCT& item, bool hot, unsigned dpi, const ThemeFonts& fonts);
