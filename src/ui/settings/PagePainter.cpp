#include "ui/settings/PagePainter.h"

#include "ui/settings/MemoryCanvas.h"
#include "ui/settings/PageContent.h"
#include "ui/settings/Palette.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsTexts.h"

namespace {

// The 1.0-wide outlines of the strip, the cards and the list frame stay one pixel at every DPI.
constexpr float HairlineWidth = 1.0f;

void PaintShapes(MemoryCanvas& canvas, const PageView& view) {
    const unsigned dpi = view.dpi;
    canvas.RoundRect(ToRect(ScaleToDpi(TabStripRect, dpi)), ScaleToDpi(10.0f, dpi),
                     FilledOutlined(Palette::Card, Palette::CardOutline, HairlineWidth));
    for (int tab = 0; tab < PageCount; ++tab) {
        if (tab != view.page && tab != view.hoveredTab) continue;
        canvas.RoundRect(ToRect(TabRectAt(tab, dpi)), ScaleToDpi(7.0f, dpi),
                         Filled(tab == view.page ? Palette::Accent : Palette::TabHover));
    }
    for (const LayoutRect& card : PageCards(view.page)) {
        canvas.RoundRect(ToRect(ScaleToDpi(card, dpi)), ScaleToDpi(12.0f, dpi),
                         FilledOutlined(Palette::Card, Palette::CardOutline, HairlineWidth));
    }
    if (view.page != PagePrograms && view.page != PageSites) return;

    // A field with the keyboard focus has a blue frame, 1.5 wide.
    const auto frame = [dpi](bool focused) {
        return focused ? FilledOutlined(Palette::Field, Palette::Accent, ScaleToDpi(1.5f, dpi))
                       : FilledOutlined(Palette::Field, Palette::FieldOutline, ScaleToDpi(1.0f, dpi));
    };
    const float frameRadius = ScaleToDpi(8.0f, dpi);
    const bool programs = view.page == PagePrograms;
    const bool listFocused = view.focusedList == (programs ? IDC_APP_LIST : IDC_SITE_LIST);
    canvas.RoundRect(ToRect(ScaleToDpi(ListFrameRect, dpi)), frameRadius,
                     listFocused ? frame(true) : FilledOutlined(Palette::Field, Palette::FieldOutline, HairlineWidth));
    const bool focused = view.focusedEdit == (programs ? IDC_APP_EDIT : IDC_SITE_EDIT);
    canvas.RoundRect(ToRect(ScaleToDpi(programs ? AppEditFrameRect : SiteEditFrameRect, dpi)), frameRadius,
                     frame(focused));
}

void PaintHeader(MemoryCanvas& canvas, const PageView& view, const ThemeFonts& fonts) {
    const unsigned dpi = view.dpi;
    canvas.Icon(fonts.logo.get(), ScaleToDpi(LogoRect.left, dpi), ScaleToDpi(LogoRect.top, dpi),
                ScaleToDpi(LogoRect.Width(), dpi));
    constexpr UINT line = DT_LEFT | DT_SINGLELINE | DT_VCENTER;
    canvas.Text(ProgramName, ToRect(ScaleToDpi(TitleRect, dpi)), fonts.title.get(), Palette::TextPrimary, line);
    canvas.Text(HeaderSubtitle, ToRect(ScaleToDpi(SubtitleRect, dpi)), fonts.small.get(), Palette::TextSecondary, line);
}

void PaintTabCaptions(MemoryCanvas& canvas, const PageView& view, const ThemeFonts& fonts) {
    for (int tab = 0; tab < PageCount; ++tab) {
        const std::uint32_t colour = tab == view.page         ? Palette::TextOnAccent
                                     : tab == view.hoveredTab ? Palette::TextPrimary
                                                              : Palette::TextSecondary;
        canvas.Text(TabCaptions[tab], ToRect(TabRectAt(tab, view.dpi)), fonts.bodySemibold.get(), colour,
                    DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    }
}

} // namespace

void PaintSettingsPage(HDC target, const RECT& client, const PageView& view, const ThemeFonts& fonts) {
    MemoryCanvas canvas(target, client);
    if (!canvas) return;
    canvas.FillAll(Palette::WindowBackground);
    PaintShapes(canvas, view);
    PaintHeader(canvas, view, fonts);
    PaintTabCaptions(canvas, view, fonts);
    PaintPageContent(canvas, view, fonts);
    canvas.Text(FooterText, ToRect(ScaleToDpi(FooterTextRect, view.dpi)), fonts.small.get(), Palette::TextMuted,
                DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    canvas.CopyTo(target, client.left, client.top);
}
