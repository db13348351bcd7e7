#pragma once
// The two exclusion lists: owner-drawn LISTBOX items, the hint an empty list shows, and
// the text of an item.

#include "platform/Win32.h"
#include "ui/settings/ThemeFonts.h"

#include <string>
#include <string_view>

// The item's text; empty for an index the list does not have.
std::wstring ListItemText(HWND list, int index);

void DrawListItem(HDC target, const RECT& rect, bool selected, std::wstring_view text, unsigned dpi,
                  const ThemeFonts& fonts);
// WM_DRAWITEM of a list box; nothing for the focus-only call of an empty list (itemID -1).
void DrawListBoxItem(const DRAWITEMSTRUCT& item, unsigned dpi, const ThemeFonts& fonts);

// The hint centred on one line over the field colour.
void DrawEmptyListHint(HDC target, const RECT& client, HFONT font, std::wstring_view hint);
// WM_PAINT of a list box: paints the hint and returns true while the list has no
// items; false otherwise, and the list box paints itself as usual.
bool PaintEmptyList(HWND list, std::wstring_view hint);
