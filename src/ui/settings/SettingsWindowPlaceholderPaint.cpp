// Plain stand-ins for the window's custom drawing: a flat page with its tab
// captions, flat owner-drawn items, and the trackbars' own look. Enough to tell the
// pages apart; the dark custom drawing replaces all three functions.

#include "ui/settings/SettingsWindow.h"

#include <commctrl.h>

#include "settings/ConfigStore.h"
#include "ui/settings/Palette.h"
#include "ui/settings/SettingsCommands.h"

namespace {

constexpr const wchar_t* TabCaptions[PageCount] = {L"Вертикаль", L"Горизонталь", L"Программы", L"Сайты", L"Общие"};

void Fill(HDC dc, const RECT& rect, std::uint32_t rgb) {
    const UniqueGdiObject brush(CreateSolidBrush(ToColorRef(rgb)));
    FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

void Text(HDC dc, const wchar_t* text, RECT rect, HFONT font, std::uint32_t rgb, UINT format) {
    const HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(rgb));
    DrawTextW(dc, text, -1, &rect, format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, previous);
}

} // namespace

void SettingsWindow::PaintPage(HDC dc, const RECT& client) {
    const int width = std::max<int>(client.right - client.left, 1);
    const int height = std::max<int>(client.bottom - client.top, 1);
    const HDC memory = CreateCompatibleDC(dc);
    const UniqueGdiObject bitmap(CreateCompatibleBitmap(dc, width, height));
    const HGDIOBJ previous = SelectObject(memory, bitmap.get());
    Fill(memory, client, Palette::WindowBackground);
    Fill(memory, ScaledRect(TabStripRect), Palette::Card);
    for (int tab = 0; tab < PageCount; ++tab) {
        const RECT rect = TabRect(tab);
        if (tab == currentPage_) Fill(memory, rect, Palette::Accent);
        Text(memory, TabCaptions[tab], rect, ThemeFonts::Font(fonts_.bodySemibold),
             tab == currentPage_ ? Palette::TextOnAccent : Palette::TextSecondary, DT_CENTER);
    }
    Text(memory, L"Velvetglide", ScaledRect({66, 18, 380, 40}), ThemeFonts::Font(fonts_.title), Palette::TextPrimary,
         DT_LEFT);
    BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

bool SettingsWindow::DrawItem(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    const RECT& rect = item.rcItem;
    if (item.CtlType == ODT_LISTBOX) {
        if (item.itemID == static_cast<UINT>(-1)) return true;
        Fill(dc, rect, (item.itemState & ODS_SELECTED) ? Palette::SelectedItem : Palette::Field);
        wchar_t text[512] = {};
        if (SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0) < static_cast<LRESULT>(std::size(text)))
            SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
        RECT inner = rect;
        inner.left += Scale(12);
        Text(dc, text, inner, ThemeFonts::Font(fonts_.body), Palette::TextPrimary, DT_LEFT | DT_END_ELLIPSIS);
        return true;
    }
    const bool header = item.CtlID == IDC_ENABLE_TOGGLE || item.CtlID == IDC_HIDE_TO_TRAY;
    Fill(dc, rect, header ? Palette::WindowBackground : Palette::SecondaryButton);
    wchar_t text[128] = {};
    GetWindowTextW(item.hwndItem, text, static_cast<int>(std::size(text)));
    const wchar_t* shown = text;
    if (item.CtlID == IDC_ENABLE_TOGGLE) shown = ConfigStore::Instance().IsEnabled() ? L"Включено" : L"Выключено";
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    Text(dc, shown, rect, ThemeFonts::Font(fonts_.bodySemibold), disabled ? Palette::TextMuted : Palette::TextPrimary,
         DT_CENTER);
    return true;
}

LRESULT SettingsWindow::DrawSlider(NMCUSTOMDRAW&) { return CDRF_DODEFAULT; }
