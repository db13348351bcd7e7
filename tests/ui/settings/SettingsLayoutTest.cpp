#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsLayout.h"
#include "ui/settings/TextWrap.h"

TEST(SettingsLayoutTest, ScalingRoundsLikeMulDivAndTabsSplitTheStripAndAreHitWhereShown) {
    EXPECT_EQ(ScaleToDpi(600, 96), 600);
    EXPECT_EQ(ScaleToDpi(604, 144), 906);
    EXPECT_EQ(ScaleToDpi(13, 120), 16);  // 16.25
    EXPECT_EQ(ScaleToDpi(1, 144), 2);    // 1.5: halves away from zero
    EXPECT_EQ(ScaleToDpi(-1, 144), -2);
    EXPECT_EQ(ScaleToDpi(-13, 120), -16);
    EXPECT_FLOAT_EQ(ScaleToDpi(9.5f, 144), 14.25f);
    EXPECT_EQ(ScaleToDpi(LayoutRect{24, 80, 576, 118}, 144), (LayoutRect{36, 120, 864, 177}));

    // The tabs split the strip and the last takes the rest.
    struct Case {
        unsigned dpi;
        LayoutRect first, second, last;
    };
    // 96: inner width 544 -> 108 per tab, rest 4 to the last; 144: 816 -> 163, rest 1; 120: 680 -> 136, no rest.
    for (const Case& c : {Case{96, {28, 84, 136, 114}, {136, 84, 244, 114}, {460, 84, 572, 114}},
                          Case{144, {42, 126, 205, 171}, {205, 126, 368, 171}, {694, 126, 858, 171}},
                          Case{120, {35, 105, 171, 143}, {171, 105, 307, 143}, {579, 105, 715, 143}}}) {
        SCOPED_TRACE(c.dpi);
        EXPECT_EQ(TabRectAt(0, c.dpi), c.first);
        EXPECT_EQ(TabRectAt(1, c.dpi), c.second);
        EXPECT_EQ(TabRectAt(PageCount - 1, c.dpi), c.last);
        for (int i = 1; i < PageCount; ++i) EXPECT_EQ(TabRectAt(i, c.dpi).left, TabRectAt(i - 1, c.dpi).right);
    }

    // Hit testing finds the tab under the point.
    struct Hit {
        int x, y;
        unsigned dpi;
        int tab;
    };
    for (const Hit& c : {Hit{28, 84, 96, 0}, Hit{135, 113, 96, 0}, Hit{136, 100, 96, 1}, Hit{571, 100, 96, 4},
                        Hit{572, 100, 96, -1}, Hit{27, 100, 96, -1}, Hit{100, 83, 96, -1}, Hit{100, 114, 96, -1},
                        Hit{300, 100, 96, 2}, Hit{857, 170, 144, 4}, Hit{204, 150, 144, 0}, Hit{205, 150, 144, 1},
                        Hit{100, 100, 144, -1}, Hit{100, 150, 144, 0}}) {
        EXPECT_EQ(HitTestTabAt(c.x, c.y, c.dpi), c.tab) << c.x << "," << c.y << " at " << c.dpi;
    }
}

namespace {

bool Inside(const LayoutRect& inner, const LayoutRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const LayoutRect& a, const LayoutRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Tab order reads like the page: the next control is below the previous one, or on
// the same line further right.
bool ReadsAfter(const LayoutRect& next, const LayoutRect& previous) {
    const bool sameLine = next.top < previous.bottom && previous.top < next.bottom;
    return sameLine ? next.left >= previous.right : next.top >= previous.bottom;
}

bool InsideACard(const LayoutRect& rect, int page) {
    for (const LayoutRect& card : PageCards(page))
        if (Inside(rect, card)) return true;
    return false;
}

} // namespace

// Every page shows its controls inside its cards, none over another, in Tab order as
// they read; the header switch and the footer button, on every page, stay clear of the
// cards; the painted parts (section headers, slider lines, frames, description, system
// rows) sit in their cards around the controls they belong to; each slider row finds its control.
TEST(SettingsLayoutTest, PagesHoldTheirControlsInTheirCardsInReadingOrder) {
    const auto controls = SettingsControls();
    ASSERT_EQ(controls.front().id, IDC_ENABLE_TOGGLE);
    ASSERT_EQ(controls.back().id, IDC_HIDE_TO_TRAY);
    for (int page = 0; page < PageCount; ++page) {
        SCOPED_TRACE(page);
        const ControlSpec* previous = nullptr;
        int onPage = 0;
        for (const ControlSpec& control : controls) {
            EXPECT_EQ(FindControl(control.id), &control);
            if (control.page == AllPages) {
                EXPECT_FALSE(Overlap(control.rect, TabStripRect)) << control.id;
                for (const LayoutRect& card : PageCards(page)) EXPECT_FALSE(Overlap(control.rect, card)) << control.id;
                continue;
            }
            if (control.page != page) continue;
            ++onPage;
            EXPECT_TRUE(InsideACard(control.rect, page)) << control.id;
            if (previous) {
                EXPECT_TRUE(ReadsAfter(control.rect, previous->rect)) << previous->id << " -> " << control.id;
            }
            for (const ControlSpec& other : controls) {
                if (&other == &control || (other.page != page && other.page != AllPages)) continue;
                EXPECT_FALSE(Overlap(control.rect, other.rect)) << control.id << " and " << other.id;
            }
            previous = &control;
        }
        EXPECT_GT(onPage, 0);
        for (const LayoutRect& card : PageCards(page)) {
            EXPECT_TRUE(Inside(SectionHeaderRect(card), card));
            EXPECT_TRUE(Inside(card, {0, 0, ClientWidth, ClientHeight}));
        }
    }
    EXPECT_EQ(FindControl(2010), nullptr);
    EXPECT_TRUE(FindControl(IDC_APP_ADD)->primary && FindControl(IDC_SITE_ADD)->primary);
    EXPECT_FALSE(FindControl(IDC_APP_BROWSE)->primary);

    for (int row = 0; row < SliderRowCount; ++row) EXPECT_TRUE(InsideACard(SliderLabelRect(row), PageVertical));
    for (const int list : {IDC_APP_LIST, IDC_SITE_LIST}) EXPECT_TRUE(Inside(FindControl(list)->rect, ListFrameRect));
    EXPECT_TRUE(Inside(FindControl(IDC_APP_EDIT)->rect, AppEditFrameRect));
    EXPECT_TRUE(Inside(FindControl(IDC_SITE_EDIT)->rect, SiteEditFrameRect));
    EXPECT_FALSE(Overlap(AppEditFrameRect, FindControl(IDC_APP_ADD)->rect));
    EXPECT_FALSE(Overlap(SiteEditFrameRect, FindControl(IDC_SITE_ADD)->rect));
    EXPECT_TRUE(Inside(PageDescriptionRect, PageCards(PagePrograms)[0]));
    EXPECT_FALSE(Overlap(PageDescriptionRect, ListFrameRect));
    EXPECT_FALSE(Overlap(FooterTextRect, FindControl(IDC_HIDE_TO_TRAY)->rect));
    EXPECT_FALSE(Overlap(LogoRect, TitleRect));

    // The system block: six rows of 30 from y = 334, all in the second card of the
    // general page, values right of the labels' start; a separator under each row, one
    // pixel at 96 DPI and two at 144, at the row's scaled bottom edge.
    const LayoutRect systemCard = PageCards(PageGeneral)[1];
    EXPECT_EQ(SystemRowRect(0), (LayoutRect{44, 334, 556, 364}));
    EXPECT_EQ(SystemRowRect(SystemRowCount - 1).bottom, 514);
    for (int row = 0; row < SystemRowCount; ++row) {
        EXPECT_TRUE(Inside(SystemRowRect(row), systemCard)) << row;
        EXPECT_TRUE(Inside(SystemValueRect(row), SystemRowRect(row))) << row;
        if (row > 0) {
            EXPECT_EQ(SystemRowRect(row).top, SystemRowRect(row - 1).bottom);
        }
    }
    EXPECT_EQ(SystemSeparatorAt(0, 96), (LayoutRect{44, 364, 556, 365}));
    EXPECT_EQ(SystemSeparatorAt(1, 144), (LayoutRect{66, 591, 834, 593}));

    // Each slider row: its control, on its page, under its label line, found back from its id.
    for (bool horizontal : {false, true}) {
        for (int row = 0; row < SliderRowCount; ++row) {
            const int id = SliderId(horizontal, row);
            const ControlSpec* slider = FindControl(id);
            ASSERT_NE(slider, nullptr);
            EXPECT_EQ(slider->kind, ControlKind::Slider);
            EXPECT_EQ(slider->page, horizontal ? PageHorizontal : PageVertical);
            // The slider sits 22 below its label line and is 30 tall.
            EXPECT_EQ(slider->rect.top, SliderLabelRect(row).top + 22);
            EXPECT_EQ(slider->rect.bottom, SliderLabelRect(row).top + 52);
            int foundRow = -1;
            bool foundHorizontal = !horizontal;
            ASSERT_TRUE(SliderRowOf(id, foundRow, foundHorizontal));
            EXPECT_EQ(foundRow, row);
            EXPECT_EQ(foundHorizontal, horizontal);
        }
    }
    int row = 0;
    bool horizontal = false;
    EXPECT_FALSE(SliderRowOf(IDC_V_ACCEL_TOGGLE, row, horizontal));
    EXPECT_TRUE(PageCards(7).empty());
}

TEST(SettingsLayoutTest, WindowsStayOnTheWorkAreaWithTheirCaptionReachable) {
    const LayoutRect work{0, 0, 1280, 984}; // a 1280 x 1024 screen with a 40 high taskbar
    // At 96 DPI the window fits and is centred; at 192 DPI it is taller than the work
    // area (1208 client + frame), and centring alone would put its caption above it.
    EXPECT_EQ(KeepOnWorkArea(work, CentreOnWorkArea(work, 616, 643)), (LayoutRect{332, 170, 948, 813}));
    const LayoutRect tall = CentreOnWorkArea(work, 1216, 1247);
    EXPECT_LT(tall.top, 0);
    EXPECT_EQ(KeepOnWorkArea(work, tall), (LayoutRect{32, 0, 1248, 1247}));
    // Larger both ways, on a second monitor left of the first: the top-left corner wins.
    const LayoutRect left{-1024, 100, 0, 868};
    EXPECT_EQ(KeepOnWorkArea(left, {-1500, -50, -100, 1000}), (LayoutRect{-1024, 100, 376, 1150}));
    // A window partly off an edge comes back by as much as it was off, and no more.
    EXPECT_EQ(KeepOnWorkArea(work, {1000, 500, 1600, 1100}), (LayoutRect{680, 384, 1280, 984}));
    EXPECT_EQ(KeepOnWorkArea(work, {100, 200, 700, 800}), (LayoutRect{100, 200, 700, 800}));
}

TEST(SettingsLayoutTest, WrappingBreaksAtSpacesOnlyWhereTheLineIsFull) {
    const auto width = [](std::wstring_view text) { return static_cast<int>(text.size()) * 10; }; // 10 per letter
    const std::wstring note = L"Shift + колесо или наклон колёсика вбок";
    EXPECT_EQ(WrapAtSpaces(note, 390, width), (std::vector<std::wstring_view>{note}));
    EXPECT_EQ(WrapAtSpaces(note, 389, width),
              (std::vector<std::wstring_view>{L"Shift + колесо или наклон колёсика", L"вбок"}));
    EXPECT_EQ(WrapAtSpaces(L"  один  два три ", 70, width), (std::vector<std::wstring_view>{L"один", L"два три"}));
    // A word wider than the line stands alone; a no-break space keeps "В Firefox" together.
    EXPECT_EQ(WrapAtSpaces(L"ab сверхдлинное cd", 50, width),
              (std::vector<std::wstring_view>{L"ab", L"сверхдлинное", L"cd"}));
    EXPECT_EQ(WrapAtSpaces(L"вкладки. В\u00A0Firefox", 90, width),
              (std::vector<std::wstring_view>{L"вкладки.", L"В\u00A0Firefox"}));
    EXPECT_TRUE(WrapAtSpaces(L"   ", 100, width).empty());
}
