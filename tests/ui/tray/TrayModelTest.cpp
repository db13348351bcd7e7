#include <gtest/gtest.h>

#include <set>
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

    // Each command once, with a caption; separators only between groups; Exit last.
    const auto items = TrayMenuItems();
    std::set<int> commands;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].id == 0) {
            EXPECT_TRUE(i > 0 && i + 1 < items.size() && items[i - 1].id != 0) << i;
            continue;
        }
        EXPECT_TRUE(commands.insert(items[i].id).second) << items[i].id;
        EXPECT_GT(std::wstring(items[i].text).size(), 0u) << items[i].id;
    }
    EXPECT_EQ(commands, (std::set<int>{ID_TRAY_TOGGLE, ID_TRAY_SETTINGS, ID_TRAY_ABOUT, ID_TRAY_EXIT}));
    EXPECT_EQ(items.back().id, ID_TRAY_EXIT);
}
