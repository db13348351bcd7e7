#include "ui/settings/PushButtonDrawing.h"

#include "ui/settings/MemoryCanvas.h"
#include "ui/settings/OwnerDrawnItem.h"
#include "ui/settings/Palette.h"
#include "ui/settings/SettingsCommands.h"

void DrawPushButton(HDC target, const RECT& rect, const PushButtonLook& look, unsigned dpi, const ThemeFonts& fonts) {
    MemoryCanvas canvas(target, rect);
    if (!canvas) return;
    const std::uint32_t background = look.footer ? Palette::WindowBackground : Palette::Card;
    canvas.FillAll(background);

    ShapeStyle shape;
    shape.outlineWidth = ScaleToDpi(1.0f, dpi);
    if (look.disabled) {
        shape.fill = background;
        shape.outline = Palette::CardOutline;
    } else if (look.primary) {
        shape.fill = look.pressed ? Palette::AccentPressed : look.hot ? Palette::AccentHot : Palette::Accent;
    } else {
        shape.fill = look.pressed ? Palette::SecondaryButtonPressed
                     : look.hot   ? Palette::SecondaryButtonHot
                                  : Palette::SecondaryButton;
        shape.outline = Palette::SecondaryButtonOutline;
    }
    if (look.focusRing) {
        shape.outline = Palette::Accent;
        shape.outlineWidth = ScaleToDpi(2.0f, dpi);
    }
    canvas.RoundRect(canvas.Bounds(), ScaleToDpi(8.0f, dpi), shape);

    const std::uint32_t textColour = look.disabled ? Palette::TextMuted
                                     : look.primary ? Palette::TextOnAccent
                                                    : Palette::TextPrimary;
    canvas.Text(look.text, canvas.Bounds(), fonts.bodySemibold.get(), textColour,
                DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    canvas.CopyTo(target, rect.left, rect.top);
}

void DrawPushButtonItem(const DRAWITEMSTRUCT& item, bool hot, unsigned dpi, const ThemeFonts& fonts) {
    const ControlSpec* control = FindControl(static_cast<int>(item.CtlID));
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const ItemText text(item.hwndItem);
    DrawPushButton(item.hDC, item.rcItem,
                   {.primary = control && control->primary,
                    .hot = hot && !disabled,
                    .pressed = (item.itemState & ODS_SELECTED) != 0,
                    .disabled = disabled,
                    .focusRing = ShowsFocusRing(item),
                    .footer = item.CtlID == static_cast<UINT>(IDC_HIDE_TO_TRAY),
                    .text = text.View()},
                   dpi, fonts);
}
