// The settings window's drawing, painted into memory bitmaps at 96 and 144 DPI and
// read back pixel by pixel. Wine's GDI+ does not anti-alias fills, Windows' does:
// samples are taken inside shapes, away from their edges.
//
// With VG_PAGE_SHOTS naming a folder, the previews of the five pages are written
// there as BMP files.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ControlPreviewHost.h"
#include "PaintedBitmap.h"
#include "app/GdiplusSession.h"
#include "ui/settings/ListDrawing.h"
#include "ui/settings/PagePainter.h"
#include "ui/settings/Palette.h"
#include "ui/settings/PushButtonDrawing.h"
#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SliderDrawing.h"
#include "ui/settings/SwitchDrawing.h"

namespace {

constexpr unsigned TestedDpis[] = {96, 144};
constexpr std::uint32_t LogoColour = 0x00FF00; // in no place of the palette

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

    static PageView ViewOf(int page, unsigned dpi) {
        PageView view;
        view.page = page;
        view.dpi = dpi;
        view.settings.ExcludedApps = DefaultExcludedApps();
        view.settings.Horizontal.AccelEnabled = false;
        view.strengthSliderEnabled[static_cast<int>(Axis::Horizontal)] = false;
        view.system = {144, 200, true, L"C:\\Users\\user\\AppData\\Roaming\\Velvetglide\\config.ini"};
        return view;
    }

    GdiplusSession gdiplus_;
};

TEST_F(SettingsPaintingTest, EveryPageIsPaintedInThePaletteAtBothScales) {
    for (const unsigned dpi : TestedDpis) {
        SCOPED_TRACE(dpi);
        ThemeFonts fonts = FontsFor(dpi);
        const int s32 = ScaleToDpi(32, dpi);
        fonts.logo = SolidIcon(s32, LogoColour);
        const auto S = [dpi](int value) { return ScaleToDpi(value, dpi); };

        for (int page = 0; page < PageCount; ++page) {
            SCOPED_TRACE(page);
            PageView view = ViewOf(page, dpi);
            view.hoveredTab = (page + 1) % PageCount;
            view.focusedEdit = page == PagePrograms ? IDC_APP_EDIT : 0; // the sites page shows the unfocused frame
            PaintedBitmap bitmap(S(ClientWidth), S(ClientHeight));
            ASSERT_TRUE(bitmap.Valid());
            PaintSettingsPage(bitmap.Dc(), {0, 0, bitmap.Width(), bitmap.Height()}, view, fonts);
            const auto at = [&](int x, int y) { return bitmap.Pixel(S(x), S(y)); };

            // Window background around and between the shapes.
            EXPECT_COLOUR(at(10, 300), Palette::WindowBackground);
            EXPECT_COLOUR(at(300, 548), Palette::WindowBackground);
            EXPECT_COLOUR(at(300, 70), Palette::WindowBackground);

            // Tab strip with its one-pixel outline at every scale; the current tab, the hovered one, another.
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

            // Cards with one-pixel outlines.
            for (const LayoutRect& card : PageCards(page)) {
                const RECT rect = Scaled(card, dpi);
                const int middle = (rect.top + rect.bottom) / 2;
                EXPECT_COLOUR(bitmap.Pixel(rect.left + S(8), rect.bottom - S(8)), Palette::Card);
                EXPECT_TRUE(HairlineAt(bitmap, rect.left, middle, 1, Palette::CardOutline, Palette::WindowBackground,
                                       Palette::Card));
                EXPECT_TRUE(HairlineAt(bitmap, rect.right - 1, middle, -1, Palette::CardOutline,
                                       Palette::WindowBackground, Palette::Card));
            }

            // Header: the logo exactly in (24, 22)-(56, 54), nothing between it and the title at x = 66.
            EXPECT_COLOUR(at(24, 22), LogoColour);
            EXPECT_COLOUR(bitmap.Pixel(S(56) - 1, S(54) - 1), LogoColour);
            EXPECT_COLOUR(bitmap.Pixel(S(24) - 1, S(38)), Palette::WindowBackground);
            EXPECT_COLOUR(at(56, 38), Palette::WindowBackground);
            EXPECT_COLOUR(bitmap.Pixel(S(40), S(22) - 1), Palette::WindowBackground);
            EXPECT_COLOUR(at(40, 54), Palette::WindowBackground);
            EXPECT_EQ(S(24) + s32, S(56));
            EXPECT_EQ(bitmap.CountOther({S(56), S(18), S(66), S(58)}, Palette::WindowBackground), 0);
            EXPECT_GT(bitmap.CountOther({S(66), S(18), S(76), S(40)}, Palette::WindowBackground), 0);
            EXPECT_GT(bitmap.CountOther({S(24), S(556), S(410), S(592)}, Palette::WindowBackground), 0); // footer

            if (page == PageVertical || page == PageHorizontal) {
                // Values in their blue, except the strength row of the page whose acceleration is off.
                const bool strengthEnabled = page == PageVertical;
                for (int row = 0; row < SliderRowCount; ++row) {
                    const RECT line = Scaled(SliderLabelRect(row), dpi);
                    const bool enabled = row != 3 || strengthEnabled;
                    EXPECT_EQ(bitmap.Count(line, Palette::SliderValue) > 0, enabled) << "row " << row;
                    EXPECT_EQ(bitmap.Count(line, Palette::TextPrimary) > 0, enabled) << "row " << row;
                    EXPECT_GT(bitmap.CountOther(line, Palette::Card), 0) << "row " << row;
                }
            }
            if (page == PagePrograms || page == PageSites) {
                EXPECT_TRUE(HairlineAt(bitmap, S(44), S(340), 1, Palette::FieldOutline, Palette::Card, Palette::Field));
                EXPECT_COLOUR(at(100, 300), Palette::Field);
                const RECT editEdge = {S(44) - 1, S(502), S(44) + 3, S(502) + 1};
                EXPECT_GT(bitmap.Count(editEdge, page == PagePrograms ? Palette::Accent : Palette::FieldOutline), 0);
                EXPECT_COLOUR(at(50, 502), Palette::Field);
                EXPECT_GT(bitmap.Count(Scaled({44, 174, 556, 208}, dpi), Palette::TextSecondary), 0); // description
            }
            if (page == PageGeneral) {
                // Separators under the first four system rows only.
                for (int bottom : {370, 406, 442, 478}) EXPECT_COLOUR(at(300, bottom), Palette::CardOutline);
                EXPECT_COLOUR(at(300, 514), Palette::Card);
                EXPECT_GT(bitmap.Count(Scaled({220, 334, 556, 370}, dpi), Palette::TextPrimary), 0);
            }
        }
    }
}

TEST_F(SettingsPaintingTest, ControlsShowTheirStates) {
    for (const unsigned dpi : TestedDpis) {
        SCOPED_TRACE(dpi);
        const ThemeFonts fonts = FontsFor(dpi);
        const auto S = [dpi](int value) { return ScaleToDpi(value, dpi); };

        // Switches: the track's right end is 3 from the control's right edge.
        const RECT switchRect = {0, 0, S(512), S(32)};
        const int trackLeft = switchRect.right - S(3) - S(40);
        const int trackTop = (switchRect.bottom - S(20)) / 2;
        const int middle = trackTop + S(20) / 2;
        const auto paintSwitch = [&](const SwitchLook& look) {
            auto bitmap = std::make_unique<PaintedBitmap>(switchRect.right, switchRect.bottom);
            DrawSwitch(bitmap->Dc(), switchRect, look, dpi, fonts);
            return bitmap;
        };
        auto on = paintSwitch({true, false, false, false, L"Ускорять при быстром вращении колеса"});
        EXPECT_COLOUR(on->Pixel(trackLeft + S(4), middle), Palette::Accent);
        EXPECT_COLOUR(on->Pixel(trackLeft + S(30), middle), Palette::TextOnAccent); // the knob at the right
        EXPECT_GT(on->Count({0, 0, trackLeft, switchRect.bottom}, Palette::TextPrimary), 0);
        EXPECT_EQ(on->CountOther({trackLeft - S(12), 0, trackLeft, switchRect.bottom}, Palette::Card), 0);
        auto onHot = paintSwitch({true, true, false, false, L""});
        EXPECT_COLOUR(onHot->Pixel(trackLeft + S(4), middle), Palette::AccentHot);
        auto off = paintSwitch({false, false, false, false, L""});
        EXPECT_COLOUR(off->Pixel(trackLeft + S(10), middle), Palette::TextSecondary); // the knob at the left
        EXPECT_COLOUR(off->Pixel(trackLeft + S(30), middle), Palette::Card);
        EXPECT_GT(off->Count({trackLeft + S(20), trackTop, trackLeft + S(21), trackTop + 2}, Palette::TextSecondary),
                  0); // the track's outline
        auto offHot = paintSwitch({false, true, false, false, L""});
        EXPECT_COLOUR(offHot->Pixel(trackLeft + S(30), middle), Palette::SecondaryButtonHot);
        auto header = paintSwitch({false, false, true, true, L""});
        EXPECT_COLOUR(header->Pixel(1, 1), Palette::WindowBackground);
        EXPECT_COLOUR(header->Pixel(trackLeft + S(30), middle), Palette::WindowBackground);
        EXPECT_GT(header->Count({0, 0, trackLeft, switchRect.bottom}, Palette::TextSecondary), 0); // "Выключено"
        const float grow = ScaleToDpi(3.0f, dpi), ring = ScaleToDpi(1.5f, dpi);
        EXPECT_TRUE(Blended(header->Pixel(static_cast<int>(std::floor(trackLeft - grow + ring / 2)), middle),
                            Palette::Accent, Palette::WindowBackground, 170));

        // Push buttons, 92 x 36: fill beside the centred caption, outline at the edge.
        const RECT buttonRect = {0, 0, S(92), S(36)};
        const int buttonMiddle = buttonRect.bottom / 2;
        const auto paintButton = [&](const PushButtonLook& look) {
            auto bitmap = std::make_unique<PaintedBitmap>(buttonRect.right, buttonRect.bottom);
            DrawPushButton(bitmap->Dc(), buttonRect, look, dpi, fonts);
            return bitmap;
        };
        struct ButtonCase {
            PushButtonLook look;
            std::uint32_t fill, edge;
        };
        for (const ButtonCase& c : {
                 ButtonCase{{true, false, false, false, false, false, L"Добавить"}, Palette::Accent, Palette::Accent},
                 ButtonCase{{true, true, false, false, false, false, L""}, Palette::AccentHot, Palette::AccentHot},
                 ButtonCase{{true, true, true, false, false, false, L""}, Palette::AccentPressed, Palette::AccentPressed},
                 ButtonCase{{false, false, false, false, false, false, L"Обзор…"}, Palette::SecondaryButton,
                            Palette::SecondaryButtonOutline},
                 ButtonCase{{false, true, false, false, false, false, L""}, Palette::SecondaryButtonHot,
                            Palette::SecondaryButtonOutline},
                 ButtonCase{{false, false, true, false, false, false, L""}, Palette::SecondaryButtonPressed,
                            Palette::SecondaryButtonOutline},
                 ButtonCase{{false, true, true, true, false, false, L"Удалить"}, Palette::Card, Palette::CardOutline},
                 ButtonCase{{false, false, false, false, true, false, L""}, Palette::SecondaryButton, Palette::Accent},
             }) {
            auto bitmap = paintButton(c.look);
            EXPECT_COLOUR(bitmap->Pixel(S(4), buttonMiddle), c.fill);
            EXPECT_GT(bitmap->Count({0, buttonMiddle, 2, buttonMiddle + 1}, c.edge), 0) << Hex(c.edge);
            EXPECT_COLOUR(bitmap->Pixel(0, 0), Palette::Card); // outside the rounded corner
            if (c.look.focusRing) {
                EXPECT_COLOUR(bitmap->Pixel(S(2) - 1, buttonMiddle), Palette::Accent);
            }
            const std::uint32_t text = c.look.disabled  ? Palette::TextMuted
                                       : c.look.primary ? Palette::TextOnAccent
                                                        : Palette::TextPrimary;
            if (!c.look.text.empty()) {
                EXPECT_GT(bitmap->Count(buttonRect, text), 0) << Hex(c.fill);
            }
        }
        auto footer = paintButton({false, false, false, false, false, true, L"Свернуть в трей"});
        EXPECT_COLOUR(footer->Pixel(0, 0), Palette::WindowBackground);

        // Slider, 528 x 30, thumb in the middle: filled track left of it, plain track right of it,
        // and an inner dot whose size tells the state.
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
            EXPECT_COLOUR(bitmap.Pixel(S(40), row - S(6)), Palette::Card);
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

        // List items and the empty list.
        const RECT itemRect = {0, 0, S(504), S(30)};
        for (const bool selected : {false, true}) {
            PaintedBitmap bitmap(itemRect.right, itemRect.bottom);
            DrawListItem(bitmap.Dc(), itemRect, selected, L"blender.exe", dpi, fonts);
            EXPECT_COLOUR(bitmap.Pixel(S(5), itemRect.bottom / 2), selected ? Palette::SelectedItem : Palette::Field);
            EXPECT_COLOUR(bitmap.Pixel(S(1), itemRect.bottom / 2), Palette::Field); // inset 2
            EXPECT_GT(bitmap.Count(itemRect, Palette::TextPrimary), 0);
            EXPECT_EQ(bitmap.Count({0, 0, S(12), itemRect.bottom}, Palette::TextPrimary), 0); // text from 12 on
        }
        const RECT listRect = {0, 0, S(504), S(248)};
        PaintedBitmap empty(listRect.right, listRect.bottom);
        DrawEmptyListHint(empty.Dc(), listRect, ThemeFonts::Font(fonts.body), L"Пока пусто. Добавьте программу ниже");
        const int hintCentre = listRect.bottom / 2;
        EXPECT_GT(empty.Count({0, hintCentre - S(8), listRect.right, hintCentre + S(8)}, Palette::TextMuted), 0);
        EXPECT_EQ(empty.CountOther({0, 0, listRect.right, hintCentre - S(12)}, Palette::Field), 0);
        EXPECT_EQ(empty.CountOther({0, 0, S(60), listRect.bottom}, Palette::Field), 0); // centred, not at the left
    }
}

TEST_F(SettingsPaintingTest, RealControlsDrawThemselvesThroughTheRoutinesOnEveryPage) {
    const char* shots = std::getenv("VG_PAGE_SHOTS");
    for (const unsigned dpi : TestedDpis) {
        SCOPED_TRACE(dpi);
        ThemeFonts fonts = FontsFor(dpi);
        if (!fonts.logo) fonts.logo = SolidIcon(ScaleToDpi(32, dpi), Palette::Accent);
        const auto S = [dpi](int value) { return ScaleToDpi(value, dpi); };
        for (int page = 0; page < PageCount; ++page) {
            SCOPED_TRACE(page);
            const PageView view = ViewOf(page, dpi);
            ControlPreviewHost host(view, false, fonts);
            ASSERT_NE(host.Window(), nullptr);
            if (page == PagePrograms) SendMessageW(host.Control(IDC_APP_LIST), LB_SETCURSEL, 1, 0);
            PaintedBitmap bitmap(S(ClientWidth), S(ClientHeight));
            host.Render(bitmap.Dc());

            // A switch's track just right of its left end, halfway down.
            const auto trackStart = [&](int id) {
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
                const bool horizontal = page == PageHorizontal;
                EXPECT_COLOUR(trackStart(horizontal ? IDC_H_ACCEL_TOGGLE : IDC_V_ACCEL_TOGGLE),
                              horizontal ? Palette::Card : Palette::Accent);
                for (int row = 0; row < SliderRowCount; ++row) {
                    const int id = SliderId(horizontal, row);
                    RECT channel = {}, thumb = {};
                    SendMessageW(host.Control(id), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
                    SendMessageW(host.Control(id), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
                    ASSERT_GT((thumb.left + thumb.right) / 2, channel.left + S(4)) << "row " << row;
                    const RECT place = host.PlaceOf(id);
                    const int y = place.top + (place.bottom - place.top) / 2;
                    const bool enabled = row != 3 || !horizontal;
                    EXPECT_COLOUR(bitmap.Pixel(place.left + channel.left + S(2), y),
                                  enabled ? Palette::Accent : Palette::SliderDisabled)
                        << "row " << row;
                    EXPECT_COLOUR(bitmap.Pixel(place.left + channel.right - S(4), y), Palette::SliderTrack)
                        << "row " << row;
                    EXPECT_COLOUR(bitmap.Pixel(place.left + S(2), place.top + S(2)), Palette::Card) << "row " << row;
                }
            }
            if (page == PagePrograms) {
                EXPECT_COLOUR(buttonFill(IDC_APP_ADD), Palette::Accent);
                EXPECT_COLOUR(buttonFill(IDC_APP_BROWSE), Palette::SecondaryButton);
                const HWND list = host.Control(IDC_APP_LIST);
                const RECT place = host.PlaceOf(IDC_APP_LIST);
                const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
                RECT last = {};
                SendMessageW(list, LB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
                if (last.bottom + 2 < place.bottom - place.top) { // the field colour goes on below the last item
                    EXPECT_COLOUR(bitmap.Pixel(place.left + S(20), place.bottom - 2), Palette::Field);
                }
                for (int item : {0, 1, 2}) {
                    RECT rect = {};
                    SendMessageW(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
                    EXPECT_COLOUR(bitmap.Pixel(place.left + S(5), place.top + (rect.top + rect.bottom) / 2),
                                  item == 1 ? Palette::SelectedItem : Palette::Field)
                        << "item " << item;
                    EXPECT_GT(bitmap.Count({place.left, place.top + rect.top, place.right, place.top + rect.bottom},
                                           Palette::TextPrimary),
                              0)
                        << "item " << item;
                }
            }
            if (page == PageSites) {
                EXPECT_COLOUR(buttonFill(IDC_SITE_ADD), Palette::Accent);
                const RECT place = host.PlaceOf(IDC_SITE_LIST);
                const int middle = (place.top + place.bottom) / 2;
                EXPECT_GT(bitmap.Count({place.left, middle - S(8), place.right, middle + S(8)}, Palette::TextMuted), 0);
                EXPECT_COLOUR(bitmap.Pixel(place.left + S(4), place.top + S(4)), Palette::Field);
            }
            if (page == PageGeneral) {
                EXPECT_COLOUR(trackStart(IDC_AUTOSTART_TOGGLE), Palette::Card);
                EXPECT_COLOUR(buttonFill(IDC_RESET), Palette::SecondaryButton);
            }

            if (shots) {
                std::wstring folder(shots, shots + std::strlen(shots));
                if (!folder.empty() && folder[0] == L'/') folder = L"Z:" + folder; // a Linux path under Wine
                CreateDirectoryW(folder.c_str(), nullptr);
                const std::wstring file =
                    folder + L"\\page" + std::to_wstring(page) + L"-" + std::to_wstring(dpi) + L"dpi.bmp";
                EXPECT_TRUE(bitmap.Save(file));
            }
        }
    }
}

} // namespace
