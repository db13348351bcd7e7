#include "ui/settings/SwitchDrawing.h"

#include "ui/settings/MemoryCanvas.h"
#include "ui/settings/OwnerDrawnItem.h"
#include "ui/settings/Palette.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsTexts.h"

void DrawSwitch(HDC target, const RECT& rect, const SwitchLook& look, unsigned dpi, const ThemeFonts& fonts) {
    MemoryCanvas canvas(target, rect);
    if (!canvas) return;
    const int width = canvas.Width();
    const int height = canvas.Height();
    const std::uint32_t background = look.header ? Palette::WindowBackground : Palette::Card;
    canvas.FillAll(background);

    const int trackWidth = ScaleToDpi(40, dpi);
    const int trackHeight = ScaleToDpi(20, dpi);
    const int trackRight = width - ScaleToDpi(3, dpi);
    const int trackLeft = trackRight - trackWidth;
    const int trackTop = (height - trackHeight) / 2;
    const float halfTrack = trackHeight / 2.0f;
    const float knobY = trackTop + halfTrack;

    if (look.focusRing) {
        const float grow = ScaleToDpi(3.0f, dpi);
        canvas.RoundRect(trackLeft - grow, trackTop - grow, trackWidth + 2 * grow, trackHeight + 2 * grow,
                         grow + halfTrack,
                         Outlined(Palette::Accent, ScaleToDpi(1.5f, dpi), 170));
    }
    if (look.on) {
        canvas.RoundRect(trackLeft, trackTop, trackWidth, trackHeight, halfTrack,
                         Filled(look.hot ? Palette::AccentHot : Palette::Accent));
        canvas.Circle(trackRight - halfTrack, knobY, ScaleToDpi(look.hot ? 7.0f : 6.5f, dpi),
                      Filled(Palette::TextOnAccent));
    } else {
        canvas.RoundRect(trackLeft, trackTop, trackWidth, trackHeight, halfTrack,
                         FilledOutlined(look.hot ? Palette::SecondaryButtonHot : background, Palette::TextSecondary,
                                        ScaleToDpi(1.0f, dpi)));
        canvas.Circle(trackLeft + halfTrack, knobY, ScaleToDpi(look.hot ? 6.0f : 5.0f, dpi),
                      Filled(Palette::TextSecondary));
    }

    const RECT textRect{0, 0, trackLeft - ScaleToDpi(12, dpi), height};
    const HFONT font = fonts.bodySemibold.get();
    if (look.header) {
        canvas.Text(look.on ? EnabledSwitchText : DisabledSwitchText, textRect, font,
                    look.on ? Palette::TextPrimary : Palette::TextSecondary, DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    } else {
        canvas.Text(look.text, textRect, font, Palette::TextPrimary,
                    DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
    canvas.CopyTo(target, rect.left, rect.top);
}

void DrawSwitchItem(const DRAWITEMSTRUCT& item, bool on, bool hot, unsigned dpi, const ThemeFonts& fonts) {
    const ItemText text(item.hwndItem);
    DrawSwitch(item.hDC, item.rcItem,
               {.on = on,
                .hot = hot,
                .focusRing = ShowsFocusRing(item),
                .header = item.CtlID == static_cast<UINT>(IDC_ENABLE_TOGGLE),
                .text = text.View()},
               dpi, fonts);
}
