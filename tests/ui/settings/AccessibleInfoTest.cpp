#include <gtest/gtest.h>

#include "ui/settings/AccessibleInfo.h"
#include "ui/settings/SettingsCommands.h"

namespace {

AccessibleInfo Describe(int id, const ControlFacts& facts, const Settings& settings = {}) {
    const ControlSpec* control = FindControl(id);
    EXPECT_NE(control, nullptr) << id;
    return control ? DescribeControl(*control, facts, settings) : AccessibleInfo{};
}

// Facts with a few fields changed from what a shown, enabled, empty control has.
ControlFacts With(void (*change)(ControlFacts&)) {
    ControlFacts facts;
    change(facts);
    return facts;
}

} // namespace

// What a screen reader hears for each kind of control: the words painted beside it,
// its state as shown, and the value text the window draws.
TEST(AccessibleInfoTest, EachControlIsNamedByWhatThePagePaintsBesideIt) {
    using namespace AccessibleState;
    // The master switch is named by its painted state; the others by their caption.
    AccessibleInfo master = Describe(IDC_ENABLE_TOGGLE, With([](ControlFacts& f) { f.focused = f.on = true; }));
    EXPECT_EQ(master.name, L"Включено");
    EXPECT_EQ(master.role, AccessibleRole::CheckButton);
    EXPECT_EQ(master.state, Checked | Focused | Focusable);
    EXPECT_EQ(master.defaultAction, L"Переключить");
    master = Describe(IDC_ENABLE_TOGGLE, ControlFacts{});
    EXPECT_EQ(master.name, L"Выключено");
    EXPECT_EQ(master.state, Focusable);
    const AccessibleInfo accel = Describe(IDC_H_ACCEL_TOGGLE, With([](ControlFacts& f) { f.visible = false; f.on = true; }));
    EXPECT_EQ(accel.name, L"Ускорять при быстром вращении колеса");
    EXPECT_EQ(accel.state, Checked | Invisible | Focusable);

    // Sliders: the row's label, the value text exactly as drawn, greyed when disabled.
    Settings settings;
    settings.Vertical.Speed = 120;
    settings.Horizontal.AccelStrength = 3.5;
    const AccessibleInfo speed = Describe(IDC_V_SPEED, ControlFacts{}, settings);
    EXPECT_EQ(speed.name, L"Скорость");
    EXPECT_EQ(speed.role, AccessibleRole::Slider);
    EXPECT_EQ(speed.value, L"120  ·  ≈3.0 строки");
    EXPECT_EQ(Describe(IDC_H_SPEED, ControlFacts{}, settings).value, L"120");
    const AccessibleInfo strength = Describe(IDC_H_ACCEL_STRENGTH, With([](ControlFacts& f) { f.enabled = false; }), settings);
    EXPECT_EQ(strength.name, L"Сила ускорения");
    EXPECT_EQ(strength.value, L"3.5×");
    EXPECT_EQ(strength.state, Unavailable | Focusable);

    // Lists and edit fields take their card's section; an empty list tells its hint.
    const AccessibleInfo apps = Describe(IDC_APP_LIST, With([](ControlFacts& f) { f.focused = true; f.itemCount = 2; f.text = L"game.exe"; }));
    EXPECT_EQ(apps.name, L"ПРОГРАММЫ");
    EXPECT_EQ(apps.role, AccessibleRole::List);
    EXPECT_EQ(apps.value, L"game.exe");
    EXPECT_EQ(apps.description, L"");
    const AccessibleInfo sites = Describe(IDC_SITE_LIST, ControlFacts{});
    EXPECT_EQ(sites.name, L"САЙТЫ");
    EXPECT_EQ(sites.description, L"Пока пусто. Впишите сайт ниже, например wikipedia.org");
    const AccessibleInfo edit = Describe(IDC_SITE_EDIT, With([](ControlFacts& f) { f.text = L"news.example"; }));
    EXPECT_EQ(edit.name, L"САЙТЫ");
    EXPECT_EQ(edit.role, AccessibleRole::Text);
    EXPECT_EQ(edit.value, L"news.example");
    EXPECT_EQ(edit.description, L"например, wikipedia.org");
    const AccessibleInfo remove = Describe(IDC_APP_REMOVE, With([](ControlFacts& f) { f.enabled = false; }));
    EXPECT_EQ(remove.name, L"Удалить");
    EXPECT_EQ(remove.role, AccessibleRole::PushButton);
    EXPECT_EQ(remove.state, Unavailable | Focusable);

    // The tab strip is a page tab list showing its page; the page's tab is the selected one.
    const AccessibleInfo strip = DescribeTabStrip(PagePrograms, true);
    EXPECT_EQ(strip.role, AccessibleRole::PageTabList);
    EXPECT_EQ(strip.value, L"Программы");
    EXPECT_EQ(strip.state, Focused | Focusable);
    const AccessibleInfo current = DescribePageTab(PagePrograms, PagePrograms, true);
    EXPECT_EQ(current.name, L"Программы");
    EXPECT_EQ(current.role, AccessibleRole::PageTab);
    EXPECT_EQ(current.state, Selectable | Selected | Focused);
    const AccessibleInfo other = DescribePageTab(PageGeneral, PagePrograms, true);
    EXPECT_EQ(other.name, L"Общие");
    EXPECT_EQ(other.state, Selectable);
}
