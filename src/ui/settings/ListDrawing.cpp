#include "ui/settings/ListDrawing.h"

#include "platform/GdiScopes.h"
#include "ui/settings/MemoryCanvas.h"
#include "ui/settings/Palette.h"

#include <string>

void DrawListItem(HDC target, const RECT& rect, bool selected, std::wstring_view text, unsigned dpi,
                  const ThemeFonts& fonts) {
    MemoryCanvas canvas(target, rect);
    if (!canvas) return;
    const int width = canvas.Width();
    const int height = canvas.Height();
    canvas.FillAll(Palette::Field);
    if (selected) {
        const float inset = ScaleToDpi(2.0f, dpi);
        canvas.RoundRect(inset, inset, width - 2 * inset, height - 2 * inset, ScaleToDpi(6.0f, dpi),
                         Filled(Palette::SelectedItem));
    }
    const int margin = ScaleToDpi(12, dpi);
    canvas.Text(text, {margin, 0, width - margin, height}, fonts.body.get(), Palette::TextPrimary,
                DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    canvas.CopyTo(target, rect.left, rect.top);
}

std::wstring ListItemText(HWND list, int index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void DrawListBoxItem(const DRAWITEMSTRUCT& item, unsigned dpi, const ThemeFonts& fonts) {
    if (item.itemID == static_cast<UINT>(-1)) return;
    const std::wstring text = ListItemText(item.hwndItem, static_cast<int>(item.itemID));
    DrawListItem(item.hDC, item.rcItem, (item.itemState & ODS_SELECTED) != 0, text, dpi, fonts);
}

void DrawEmptyListHint(HDC target, const RECT& client, HFONT font, std::wstring_view hint) {
    MemoryCanvas canvas(target, client);
    if (!canvas) return;
    canvas.FillAll(Palette::Field);
    canvas.Text(hint, canvas.Bounds(), font, Palette::TextMuted, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    canvas.CopyTo(target, client.left, client.top);
}

bool PaintEmptyList(HWND list, std::wstring_view hint) {
    if (SendMessageW(list, LB_GETCOUNT, 0, 0) != 0) return false;
    const PaintDc dc(list);
    if (dc) {
        RECT client;
        GetClientRect(list, &client);
        DrawEmptyListHint(dc.get(), client, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)), hint);
    }
    return true;
}
