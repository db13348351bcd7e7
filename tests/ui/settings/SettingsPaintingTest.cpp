// The settings window's drawing, painted into memory bitmaps at 96 and 144 DPI and
// read back pixel by pixel. Wine's GDI+ does not anti-alias fills, Windows' does:
// samples are taken inside shapes, away from their edges.
//
// With VG_PAGE_SHOTS naming a folder, the five pages at both scales are written there
// as BMP files.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ControlPreviewHost.h"
#include "PaintedBitmap.h"
#include "platform/GdiplusSession.h"
#include "ui/settings/MemoryCanvas.h"
#include "ui/settings/PagePainter.h"
#include "ui/settings/Palette.h"
#include "ui/settings/PushButtonDrawing.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SliderDrawing.h"
#include "ui/settings/SwitchDrawing.h"

namespace {

constexpr unsigned TestedDpis[] = {96, 144};
constexpr std::uint32_t LogoColour = Palette::Accent; // a stand-in logo of one colour, to measure its place

std::string Hex(std::uint32_t rgb) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb));
    return text;
}

// Compares colours as #RRGGBB so a failure reads like the palette.
#define EXPECT_COLOUR(actual, expected) EXPECT_EQ(Hex(actual), Hex(expected))

// `over` seen through `colour` drawn with `alpha`, within the rounding of a blend.
::testing::AssertionResult Blended(std::uint32_t actual, std::uint32_t colour, std::uint32_t over, int alpha) {
    for (int shift : {16, 8, 0}) {
        const int source = (colour >> shift) & 0xFF, destination = (over >> shift) & 0xFF;
        const int expected = (source * alpha + destination * (255 - alpha) + 127) / 255;
        if (std::abs(static_cast<int>((actual >> shift) & 0xFF) - expected) > 3)
            return ::testing::AssertionFailure() << Hex(actual) << " is not " << Hex(colour) << " at alpha " << alpha
                                                 << " over " << Hex(over);
    }
    return ::testing::AssertionSuccess();
}

RECT Scaled(const LayoutRect& rect, unsigned dpi) { return ToRect(ScaleToDpi(rect, dpi)); }

// An outline one pixel wide crossing row `y` at the shape's edge `x` (or one pixel
// further right: Wine's GDI+ rounds half-pixel coordinates up), between `outside` and `inside`.
::testing::AssertionResult HairlineAt(const PaintedBitmap& bitmap, int x, int y, int inward, std::uint32_t line,
                                      std::uint32_t outside, std::uint32_t inside) {
    for (int at : {x, x + 1}) {
        if (bitmap.Pixel(at, y) == line && bitmap.Pixel(at - inward, y) == outside &&
            bitmap.Pixel(at + inward, y) == inside)
            return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "no hairline " << Hex(line) << " at " << x << "," << y << ": "
                                         << Hex(bitmap.Pixel(x - inward, y)) << " " << Hex(bitmap.Pixel(x, y)) << " "
                                         << Hex(bitmap.Pixel(x + inward, y)) << " " << Hex(bitmap.Pixel(x + 2 * inward, y));
}

class SettingsPaintingTest : public ::testing::Test {
protected:
    static ThemeFonts FontsFor(unsigned dpi) {
        ThemeFonts fonts;
        EXPECT_TRUE(fonts.Create(GetModuleHandleW(nullptr), dpi));
        return fonts;
    }

    GdiplusSession gdiplus_;
};

// Each page with its real controls, as the window shows it: the palette at fixed
// points, the geometry of the header, one-pixel outlines at every scale, switch and
// slider states read from the settings, list items and the empty-list hint.
TEST_F(SettingsPaintingTest, EveryPageWithItsControlsAtBothScales) {
    const char* shots = std::getenv("VG_PAGE_SHOTS");
    for (const unsigned dpi : TestedDpis) {
        SCOPED_TRACE(dpi);
        const auto S = [dpi](int value) { return ScaleToDpi(value, dpi); };
        for (int page = 0; page < PageCount; ++page) {
            SCOPED_TRACE(page);
            PageView view;
            view.page = page;
            view.dpi = dpi;
            view.hoveredTab = (page + 1) % PageCount;
            view.focusedEdit = page == PagePrograms ? IDC_APP_EDIT : 0; // the sites page shows the unfocused frame
            view.focusedList = page == PageSites ? IDC_SITE_LIST : 0;   // and the focused list
            view.settings.ExcludedApps = DefaultExcludedApps();
            view.settings.Horizontal.AccelEnabled = false;
            view.strengthSliderEnabled[static_cast<int>(Axis::Horizontal)] = false;
            view.system = {144, 200, true, L"C:\\Users\\user\\AppData\\Roaming\\Velvetglide\\config.ini"};
            ControlPreviewHost host(view, false);
            ASSERT_NE(host.Window(), nullptr);
            const ThemeFonts& fonts = host.Fonts();
            host.Fonts().logo = SolidIcon(ScaleToDpi(LogoRect.Width(), dpi), LogoColour);
            if (page == PagePrograms) SendMessageW(host.Control(IDC_APP_LIST), LB_SETCURSEL, 1, 0);
            PaintedBitmap bitmap(S(ClientWidth), S(ClientHeight));
            ASSERT_TRUE(bitmap.Valid());
            host.Render(bitmap.Dc());
            const auto at = [&](int x, int y) { return bitmap.Pixel(S(x), S(y)); };

            // Background, tab strip, tabs (current, hovered, another) and cards.
            EXPECT_COLOUR(at(10, 300), Palette::WindowBackground);
            EXPECT_COLOUR(at(300, 548), Palette::WindowBackground);
            EXPECT_COLOUR(at(26, 99), Palette::Card);
            EXPECT_TRUE(HairlineAt(bitmap, S(24), S(99), 1, Palette::CardOutline, Palette::WindowBackground,
                                   Palette::Card));
            const auto tabSample = [&](int tab) {
                const LayoutRect rect = TabRectAt(tab, dpi);
                return bitmap.Pixel(rect.left + S(4), (rect.top + rect.bottom) / 2);
            };
            EXPECT_COLOUR(tabSample(page), Palette::Accent);
            EXPECT_COLOUR(tabSample(view.hoveredTab), Palette::TabHover);
            EXPECT_COLOUR(tabSample((page + 2) % PageCount), Palette::Card);
            for (const LayoutRect& card : PageCards(page)) {
                const RECT rect = Scaled(card, dpi);
                const int middle = (rect.top + rect.bottom) / 2;
                EXPECT_COLOUR(bitmap.Pixel(rect.left + S(8), rect.bottom - S(8)), Palette::Card);
                EXPECT_TRUE(HairlineAt(bitmap, rect.left, middle, 1, Palette::CardOutline, Palette::WindowBackground,
                                       Palette::Card));
                EXPECT_TRUE(HairlineAt(bitmap, rect.right - 1, middle, -1, Palette::CardOutline,
                                       Palette::WindowBackground, Palette::Card));
            }

            // Header: the logo exactly in (24, 22)-(56, 54), nothing between it and the title at x = 66;
            // the master switch on, the footer's secondary button on the window background.
            EXPECT_COLOUR(at(24, 22), LogoColour);
            EXPECT_COLOUR(bitmap.Pixel(S(56) - 1, S(54) - 1), LogoColour);
            EXPECT_COLOUR(bitmap.Pixel(S(24) - 1, S(38)), Palette::WindowBackground);
            EXPECT_COLOUR(at(56, 38), Palette::WindowBackground);
            EXPECT_COLOUR(bitmap.Pixel(S(40), S(22) - 1), Palette::WindowBackground);
            EXPECT_COLOUR(at(40, 54), Palette::WindowBackground);
            EXPECT_EQ(bitmap.CountOther({S(56), S(18), S(66), S(58)}, Palette::WindowBackground), 0);
            EXPECT_GT(bitmap.Count({S(66), S(18), S(76), S(40)}, Palette::TextPrimary), 0);
            EXPECT_GT(bitmap.Count({S(24), S(556), S(410), S(592)}, Palette::TextMuted), 0); // footer
            const auto trackStart = [&](int id) { // a switch's track just right of its left end
                const RECT place = host.PlaceOf(id);
                return bitmap.Pixel(place.right - S(3) - S(40) + S(4), (place.top + place.bottom) / 2);
            };
            const auto buttonFill = [&](int id) {
                const RECT place = host.PlaceOf(id);
                return bitmap.Pixel(place.left + S(4), (place.top + place.bottom) / 2);
            };
            EXPECT_COLOUR(trackStart(IDC_ENABLE_TOGGLE), Palette::Accent);
            EXPECT_COLOUR(buttonFill(IDC_HIDE_TO_TRAY), Palette::SecondaryButton);
            EXPECT_COLOUR(bitmap.Pixel(host.PlaceOf(IDC_HIDE_TO_TRAY).left, host.PlaceOf(IDC_HIDE_TO_TRAY).top),
                          Palette::WindowBackground);

            if (page == PageVertical || page == PageHorizontal) {
                // Acceleration is off on the horizontal page: its switch is off and its strength row grey.
                const bool horizontal = page == PageHorizontal;
                EXPECT_COLOUR(trackStart(horizontal ? IDC_H_ACCEL_TOGGLE : IDC_V_ACCEL_TOGGLE),
                              horizontal ? Palette::Card : Palette::Accent);
                for (int row = 0; row < SliderRowCount; ++row) {
                    SCOPED_TRACE(row);
                    const bool enabled = row != 3 || !horizontal;
                    const RECT line = Scaled(SliderLabelRect(row), dpi);
                    EXPECT_EQ(bitmap.Count(line, Palette::SliderValue) > 0, enabled);
                    EXPECT_EQ(bitmap.Count(line, Palette::TextPrimary) > 0, enabled);
                    EXPECT_EQ(bitmap.Count(line, Palette::TextMuted) > 0, !enabled);

                    const HWND slider = host.Control(SliderId(horizontal, row));
                    RECT channel = {}, thumb = {};
                    SendMessageW(slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
                    SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
                    ASSERT_GT((thumb.left + thumb.right) / 2, channel.left + S(4));
                    const RECT place = host.PlaceOf(SliderId(horizontal, row));
                    const int y = (place.top + place.bottom) / 2;
                    EXPECT_COLOUR(bitmap.Pixel(place.left + channel.left + S(2), y),
                                  enabled ? Palette::Accent : Palette::SliderDisabled);
                    EXPECT_COLOUR(bitmap.Pixel(place.left + channel.right - S(4), y), Palette::SliderTrack);
                    EXPECT_COLOUR(bitmap.Pixel(place.left + S(2), place.top + S(2)), Palette::Card);
                }
            }
            if (page == PageHorizontal) {
                // The header's note ends at the header's right edge, nothing of it past the edge and
                // nothing cut: it has as many pixels as the note drawn alone with room to spare.
                const LayoutRect card = PageCards(page)[0];
                const RECT area = Scaled(SectionNoteArea(card), dpi);
                EXPECT_EQ(bitmap.CountOther({area.right, area.top, S(card.right) - 2, area.bottom}, Palette::Card), 0);
                const RECT noteSide = {S(300), area.top, area.right, area.bottom};
                EXPECT_GT(bitmap.CountOther({area.right - S(4), area.top, area.right, area.bottom}, Palette::Card), 0);
                PaintedBitmap alone(S(ClientWidth), area.bottom - area.top);
                MemoryCanvas canvas(alone.Dc(), RECT{0, 0, S(ClientWidth), area.bottom - area.top});
                canvas.FillAll(Palette::Card);
                canvas.WrappedText(L"Shift + колесо или наклон колёсика вбок", canvas.Bounds(), S(16),
                                   fonts.small.get(), Palette::TextMuted, true);
                canvas.CopyTo(alone.Dc(), 0, 0);
                EXPECT_EQ(bitmap.CountOther(noteSide, Palette::Card), alone.CountOther(canvas.Bounds(), Palette::Card));
            }
            if (page == PagePrograms || page == PageSites) {
                // List and edit frames (blue while they have the focus), description, primary button.
                if (page == PagePrograms) {
                    EXPECT_TRUE(
                        HairlineAt(bitmap, S(44), S(340), 1, Palette::FieldOutline, Palette::Card, Palette::Field));
                } else {
                    EXPECT_GT(bitmap.Count({S(44) - 1, S(340), S(44) + 3, S(340) + 1}, Palette::Accent), 0);
                    EXPECT_EQ(bitmap.Count(Scaled(ListFrameRect, dpi), Palette::FieldOutline), 0);
                }
                const RECT editEdge = {S(44) - 1, S(502), S(44) + 3, S(502) + 1};
                EXPECT_GT(bitmap.Count(editEdge, page == PagePrograms ? Palette::Accent : Palette::FieldOutline), 0);
                EXPECT_COLOUR(at(50, 502), Palette::Field);
                EXPECT_GT(bitmap.Count(Scaled({44, 174, 556, 208}, dpi), Palette::TextSecondary), 0);
                EXPECT_COLOUR(buttonFill(page == PagePrograms ? IDC_APP_ADD : IDC_SITE_ADD), Palette::Accent);
                EXPECT_COLOUR(buttonFill(page == PagePrograms ? IDC_APP_REMOVE : IDC_SITE_REMOVE),
                              Palette::SecondaryButton);
            }
            if (page == PagePrograms) {
                // Items with the second one selected, the field colour below the last one.
                const HWND list = host.Control(IDC_APP_LIST);
                const RECT place = host.PlaceOf(IDC_APP_LIST);
                for (int item : {0, 1, 2}) {
                    RECT rect = {};
                    SendMessageW(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
                    EXPECT_COLOUR(bitmap.Pixel(place.left + S(5), place.top + (rect.top + rect.bottom) / 2),
                                  item == 1 ? Palette::SelectedItem : Palette::Field);
                    const auto textIn = [&](int from, int to) {
                        return bitmap.Count({place.left + S(from), place.top + rect.top, place.left + S(to),
                                             place.top + rect.bottom},
                                            Palette::TextPrimary);
                    };
                    EXPECT_EQ(textIn(0, 12), 0); // left-aligned from 12 on
                    EXPECT_GT(textIn(12, 30), 0);
                }
                EXPECT_COLOUR(bitmap.Pixel(place.left + S(20), place.bottom - 2), Palette::Field);
            }
            if (page == PageSites) {
                // The empty list's hint, centred.
                const RECT place = host.PlaceOf(IDC_SITE_LIST);
                const int middle = (place.top + place.bottom) / 2;
                EXPECT_GT(bitmap.Count({place.left, middle - S(8), place.right, middle + S(8)}, Palette::TextMuted), 0);
                EXPECT_EQ(bitmap.CountOther({place.left, place.top, place.right, middle - S(12)}, Palette::Field), 0);
                EXPECT_EQ(bitmap.CountOther({place.left, place.top, place.left + S(40), place.bottom}, Palette::Field),
                          0);
            }
            if (page == PageGeneral) {
                // Start with Windows off; separators under the first five system rows only.
                EXPECT_COLOUR(trackStart(IDC_AUTOSTART_TOGGLE), Palette::Card);
                EXPECT_COLOUR(buttonFill(IDC_RESET), Palette::SecondaryButton);
                for (int bottom : {364, 394, 424, 454, 484}) EXPECT_COLOUR(at(300, bottom), Palette::CardOutline);
                EXPECT_COLOUR(at(300, 514), Palette::Card);
                EXPECT_GT(bitmap.Count(Scaled({220, 334, 556, 364}, dpi), Palette::TextPrimary), 0);
                EXPECT_GT(bitmap.Count(Scaled({220, 424, 556, 454}, dpi), Palette::TextPrimary), 0); // hook re-installs
            }

            if (shots) {
                std::wstring folder(shots, shots + std::strlen(shots));
                if (!folder.empty() && folder[0] == L'/') folder = L"Z:" + folder; // a Linux path under Wine
                CreateDirectoryW(folder.c_str(), nullptr);
                EXPECT_TRUE(bitmap.Save(folder + L"\\page" + std::to_wstring(page) + L"-" + std::to_wstring(dpi) +
                                        L"dpi.bmp"));
            }
        }
    }
}

// The states the window shows only under the mouse or the keyboard: hot, pressed,
// disabled, focus rings, and the slider dot's size.
TEST_F(SettingsPaintingTest, ControlsShowHoverPressAndFocus) {
    for (const unsigned dpi : TestedDpis) {
        SCOPED_TRACE(dpi);
        const ThemeFonts fonts = FontsFor(dpi);
        const auto S = [dpi](int value) { return ScaleToDpi(value, dpi); };

        // Switches: the track's right end is 3 from the control's right edge.
        const RECT switchRect = {0, 0, S(512), S(32)};
        const int trackLeft = switchRect.right - S(3) - S(40);
        const int middle = (switchRect.bottom - S(20)) / 2 + S(20) / 2;
        struct SwitchCase {
            SwitchLook look;
            std::uint32_t trackLeftPart, trackRightPart;
        };
        for (const SwitchCase& c :
             {SwitchCase{{true, true, false, false, L""}, Palette::AccentHot, Palette::TextOnAccent},
              SwitchCase{{false, true, false, false, L""}, Palette::TextSecondary, Palette::SecondaryButtonHot},
              SwitchCase{{false, false, true, true, L""}, Palette::TextSecondary, Palette::WindowBackground}}) {
            PaintedBitmap bitmap(switchRect.right, switchRect.bottom);
            DrawSwitch(bitmap.Dc(), switchRect, c.look, dpi, fonts);
            EXPECT_COLOUR(bitmap.Pixel(trackLeft + S(10), middle), c.trackLeftPart);
            EXPECT_COLOUR(bitmap.Pixel(trackLeft + S(30), middle), c.trackRightPart);
            if (c.look.header) { // "Выключено" on the window background, and the focus ring
                EXPECT_COLOUR(bitmap.Pixel(1, 1), Palette::WindowBackground);
                EXPECT_GT(bitmap.Count({0, 0, trackLeft, switchRect.bottom}, Palette::TextSecondary), 0);
                const float grow = ScaleToDpi(3.0f, dpi), ring = ScaleToDpi(1.5f, dpi);
                EXPECT_TRUE(Blended(bitmap.Pixel(static_cast<int>(std::floor(trackLeft - grow + ring / 2)), middle),
                                    Palette::Accent, Palette::WindowBackground, 170));
            }
        }

        // Push buttons, 92 x 36: fill beside the centred caption, outline at the edge.
        const RECT buttonRect = {0, 0, S(92), S(36)};
        const int buttonMiddle = buttonRect.bottom / 2;
        struct ButtonCase {
            PushButtonLook look;
            std::uint32_t fill, edge;
        };
        for (const ButtonCase& c : {
                 ButtonCase{{true, true, false, false, false, false, L""}, Palette::AccentHot, Palette::AccentHot},
                 ButtonCase{{true, true, true, false, false, false, L""}, Palette::AccentPressed, Palette::AccentPressed},
                 ButtonCase{{false, true, false, false, false, false, L""}, Palette::SecondaryButtonHot,
                            Palette::SecondaryButtonOutline},
                 ButtonCase{{false, false, true, false, false, false, L""}, Palette::SecondaryButtonPressed,
                            Palette::SecondaryButtonOutline},
                 ButtonCase{{false, true, true, true, false, false, L"Удалить"}, Palette::Card, Palette::CardOutline},
                 ButtonCase{{false, false, false, false, true, false, L""}, Palette::SecondaryButton, Palette::Accent},
             }) {
            PaintedBitmap bitmap(buttonRect.right, buttonRect.bottom);
            DrawPushButton(bitmap.Dc(), buttonRect, c.look, dpi, fonts);
            EXPECT_COLOUR(bitmap.Pixel(S(4), buttonMiddle), c.fill);
            EXPECT_GT(bitmap.Count({0, buttonMiddle, 2, buttonMiddle + 1}, c.edge), 0) << Hex(c.edge);
            EXPECT_COLOUR(bitmap.Pixel(0, 0), Palette::Card); // outside the rounded corner
            if (c.look.focusRing) {
                EXPECT_COLOUR(bitmap.Pixel(S(2) - 1, buttonMiddle), Palette::Accent); // 2 wide
            }
            if (c.look.disabled) {
                EXPECT_GT(bitmap.Count(buttonRect, Palette::TextMuted), 0);
            }
        }

        // Slider, 528 x 30, thumb in the middle; the inner dot's radius tells the state.
        const int sliderWidth = S(528), sliderHeight = S(30);
        const int centre = sliderWidth / 2;
        const float mid = sliderHeight / 2.0f;
        const int row = static_cast<int>(mid);
        SliderLook look;
        look.client = {0, 0, sliderWidth, sliderHeight};
        look.channel = {S(13), row - S(2), sliderWidth - S(13), row + S(2)};
        look.thumb = {centre - S(6), S(4), centre + S(6), sliderHeight - S(4)};
        struct SliderCase {
            bool enabled, active, dragging;
            float dot;
        };
        for (const SliderCase& c : {SliderCase{true, false, false, 5.0f}, SliderCase{true, true, false, 6.0f},
                                    SliderCase{true, true, true, 4.0f}, SliderCase{false, false, false, 4.5f}}) {
            SCOPED_TRACE(c.dot);
            look.enabled = c.enabled;
            look.active = c.active;
            look.dragging = c.dragging;
            look.focusRing = c.active && !c.dragging;
            PaintedBitmap bitmap(sliderWidth, sliderHeight);
            DrawSlider(bitmap.Dc(), look, dpi);
            const std::uint32_t filled = c.enabled ? Palette::Accent : Palette::SliderDisabled;
            EXPECT_COLOUR(bitmap.Pixel(S(40), row), filled);
            EXPECT_COLOUR(bitmap.Pixel(sliderWidth - S(40), row), Palette::SliderTrack);
            EXPECT_COLOUR(bitmap.Pixel(S(6), row), Palette::Card); // left of the channel
            // Pixel centre + k spans [k, k + 1] from the circle's centre.
            const float dot = ScaleToDpi(c.dot, dpi);
            EXPECT_COLOUR(bitmap.Pixel(centre + static_cast<int>(std::floor(dot)) - 1, row), filled);
            EXPECT_COLOUR(bitmap.Pixel(centre + static_cast<int>(std::ceil(dot)), row), Palette::ThumbFill);
            const float ringRadius = ScaleToDpi(12.5f, dpi), ringWidth = ScaleToDpi(1.5f, dpi);
            const int ringRow = static_cast<int>(std::floor(mid - ringRadius + ringWidth / 2));
            bool ringSeen = false;
            for (int y = ringRow; y <= ringRow + 1; ++y)
                ringSeen = ringSeen || Blended(bitmap.Pixel(centre, y), Palette::Accent, Palette::Card, 170);
            EXPECT_EQ(ringSeen, look.focusRing);
            EXPECT_COLOUR(bitmap.Pixel(centre, ringRow - 2), Palette::Card);
        }
    }
}

} // namespace
