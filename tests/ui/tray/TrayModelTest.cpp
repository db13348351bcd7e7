#include <gtest/gtest.h>

#include <string>

#include "ui/tray/TrayModel.h"

TEST(TrayModelTest, NotificationsThemeAndTooltipDecideWhatTheIconDoesAndShows) {
    struct Case {
        unsigned notification;
        TrayIntent intent;
    };
    // Context menu, right button up / left button up and double click; the presses,
    // the moves and the right double click do nothing.
    for (const Case& c : {Case{0x007B, TrayIntent::ShowMenu}, Case{0x0205, TrayIntent::ShowMenu},
                          Case{0x0202, TrayIntent::ShowWindow}, Case{0x0203, TrayIntent::ShowWindow},
                          Case{0x0200, TrayIntent::None}, Case{0x0201, TrayIntent::None}, Case{0x0204, TrayIntent::None},
                          Case{0x0206, TrayIntent::None}, Case{0x0400, TrayIntent::None}}) {
        EXPECT_EQ(TrayIntentFor(c.notification), c.intent) << std::hex << c.notification;
    }

    EXPECT_EQ(TrayGlyphIconId(true, 1), BlackGlyphIconId);
    EXPECT_EQ(TrayGlyphIconId(true, 0), WhiteGlyphIconId);
    EXPECT_EQ(TrayGlyphIconId(false, 1), WhiteGlyphIconId); // a failed read is never light

    EXPECT_EQ(std::wstring(TrayTooltip(true)), L"Velvetglide - Включено");
    EXPECT_EQ(std::wstring(TrayTooltip(false)), L"Velvetglide (Отключено)");
    EXPECT_LT(std::wstring(TrayTooltip(true)).size(), 128u); // fits the shell's field

    // Commands in menu order, separators between the groups.
    std::vector<int> ids;
    for (const TrayMenuItem& item : TrayMenuItems()) ids.push_back(item.id);
    EXPECT_EQ(ids, (std::vector<int>{ID_TRAY_TOGGLE, 0, ID_TRAY_SETTINGS, ID_TRAY_ABOUT, 0, ID_TRAY_EXIT}));
}
