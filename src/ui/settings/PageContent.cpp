#include "ui/settings/PageContent.h"

#include "ui/settings/Palette.h"
#include "ui/settings/SettingsTexts.h"
#include "ui/settings/SliderValues.h"

#include <algorithm>
#include <span>

namespace {

constexpr UINT SingleLine = DT_SINGLELINE | DT_VCENTER;

RECT Scaled(const LayoutRect& rect, unsigned dpi) { return ToRect(ScaleToDpi(rect, dpi)); }

void PaintSectionHeader(MemoryCanvas& canvas, const LayoutRect& card, const wchar_t* title, const wchar_t* note,
                        const PageView& view, const ThemeFonts& fonts) {
    const RECT rect = Scaled(SectionHeaderRect(card), view.dpi);
    const HFONT titleFont = fonts.section.get();
    const int letterSpacing = ScaleToDpi(1, view.dpi);
    canvas.Text(title, rect, titleFont, Palette::TextSecondary, DT_LEFT | SingleLine, letterSpacing);
    if (!note) return;
    // Right-aligned in what the title leaves; a font wider than planned wraps it under the line.
    RECT noteRect = Scaled(SectionNoteArea(card), view.dpi);
    const int titleRight = rect.left + canvas.TextWidth(title, titleFont, letterSpacing);
    noteRect.left = std::max<LONG>(noteRect.left, titleRight + ScaleToDpi(SectionNoteGap, view.dpi));
    canvas.WrappedText(note, noteRect, rect.bottom - rect.top, fonts.small.get(), Palette::TextMuted, true);
}

void PaintSliderRows(MemoryCanvas& canvas, const PageView& view, const ThemeFonts& fonts) {
    const bool horizontal = view.page == PageHorizontal;
    const Axis axis = horizontal ? Axis::Horizontal : Axis::Vertical;
    const AxisSettings& settings = view.settings.ForAxis(axis);
    const HFONT font = fonts.bodySemibold.get();
    for (int row = 0; row < SliderRowCount; ++row) {
        const bool enabled = row != AccelStrengthRow || view.strengthSliderEnabled[static_cast<int>(axis)];
        const RECT rect = Scaled(SliderLabelRect(row), view.dpi);
        canvas.Text(SliderRowLabels[row], rect, font, enabled ? Palette::TextPrimary : Palette::TextMuted,
                    DT_LEFT | SingleLine);
        canvas.Text(SliderValueText(row, horizontal, settings), rect, font,
                    enabled ? Palette::SliderValue : Palette::TextMuted, DT_RIGHT | SingleLine);
    }
}

void PaintDescription(MemoryCanvas& canvas, std::wstring_view text, const PageView& view, const ThemeFonts& fonts) {
    canvas.Text(text, Scaled(PageDescriptionRect, view.dpi), fonts.small.get(), Palette::TextSecondary,
                DT_LEFT | DT_WORDBREAK);
}

void PaintSystemBlock(MemoryCanvas& canvas, const PageView& view, const ThemeFonts& fonts) {
    const SystemInfo& system = view.system;
    const std::wstring values[SystemRowCount] = {RefreshRateText(system.refreshRateHz),
                                                 FrameRateText(system.frameRateHz),
                                                 TimerKindText(system.highResolutionTimer),
                                                 std::to_wstring(system.hookReinstalls),
                                                 system.configPath,
                                                 ProgramVersion};
    const unsigned dpi = view.dpi;
    for (int row = 0; row < SystemRowCount; ++row) {
        canvas.Text(SystemRowLabels[row], Scaled(SystemRowRect(row), dpi), fonts.body.get(), Palette::TextSecondary,
                    DT_LEFT | SingleLine);
        // A long path keeps its file name and loses its middle.
        const UINT ellipsis = row == ConfigPathRow ? DT_PATH_ELLIPSIS : 0;
        canvas.Text(values[row], Scaled(SystemValueRect(row), dpi), fonts.bodySemibold.get(), Palette::TextPrimary,
                    DT_RIGHT | SingleLine | ellipsis);
        if (row + 1 < SystemRowCount) canvas.Fill(ToRect(SystemSeparatorAt(row, dpi)), Palette::CardOutline);
    }
}

} // namespace

void PaintPageContent(MemoryCanvas& canvas, const PageView& view, const ThemeFonts& fonts) {
    const std::span<const LayoutRect> cards = PageCards(view.page);
    switch (view.page) {
    case PageVertical:
    case PageHorizontal: {
        const bool horizontal = view.page == PageHorizontal;
        PaintSectionHeader(canvas, cards[0], horizontal ? HorizontalScrollingSection : ScrollingSection,
                           horizontal ? HorizontalScrollingNote : nullptr, view, fonts);
        PaintSectionHeader(canvas, cards[1], AccelerationSection, nullptr, view, fonts);
        PaintSliderRows(canvas, view, fonts);
        break;
    }
    case PagePrograms:
        PaintSectionHeader(canvas, cards[0], ProgramsSection, nullptr, view, fonts);
        PaintDescription(canvas, ProgramsDescription, view, fonts);
        break;
    case PageSites:
        PaintSectionHeader(canvas, cards[0], SitesSection, nullptr, view, fonts);
        PaintDescription(canvas, SitesDescription(), view, fonts);
        break;
    case PageGeneral:
        PaintSectionHeader(canvas, cards[0], StartupSection, nullptr, view, fonts);
        PaintSectionHeader(canvas, cards[1], SystemSection, nullptr, view, fonts);
        PaintSystemBlock(canvas, view, fonts);
        break;
    default: break;
    }
}
