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

// What a screen reader hears for the controls in the states the end-to-end test does
// not reach (it reads the master switch, a speed slider, a list and the tab strip):
// captions and section names, greyed and hidden controls, hints and cues.
TEST(AccessibleInfoTest, ControlsAreNamedByWhatThePagePaintsAndTellStatesItShows) {
    using namespace AccessibleState;
    const AccessibleInfo accel = Describe(IDC_H_ACCEL_TOGGLE, With([](ControlFacts& f) {
                                              f.visible = false;
                                              f.on = true;
                                          }));
    EXPECT_EQ(accel.name, L"Ускорять при быстром вращении колеса");
    EXPECT_EQ(accel.role, AccessibleRole::CheckButton);
    EXPECT_EQ(accel.state, Checked | Invisible | Focusable);
    EXPECT_EQ(accel.defaultAction, L"Переключить");

    // The horizontal speed shows a bare number; a disabled strength slider is unavailable.
    Settings settings;
    settings.Horizontal.AccelStrength = 3.5;
    EXPECT_EQ(Describe(IDC_H_SPEED, ControlFacts{}, settings).value, L"120");
    const AccessibleInfo strength =
        Describe(IDC_H_ACCEL_STRENGTH, With([](ControlFacts& f) { f.enabled = false; }), settings);
    EXPECT_EQ(strength.name, L"Сила ускорения");
    EXPECT_EQ(strength.value, L"3.5×");
    EXPECT_EQ(strength.state, Unavailable | Focusable);

    // An empty list tells its hint; an edit field its section, its text and its cue.
    const AccessibleInfo sites = Describe(IDC_SITE_LIST, ControlFacts{});
    EXPECT_EQ(sites.name, L"САЙТЫ");
    EXPECT_EQ(sites.description, L"Пока пусто. Впишите сайт ниже, например wikipedia.org");
    EXPECT_EQ(Describe(IDC_APP_LIST, With([](ControlFacts& f) { f.itemCount = 1; })).description, L"");
    const AccessibleInfo edit = Describe(IDC_SITE_EDIT, With([](ControlFacts& f) { f.text = L"news.example"; }));
    EXPECT_EQ(edit.name, L"САЙТЫ");
    EXPECT_EQ(edit.role, AccessibleRole::Text);
    EXPECT_EQ(edit.value, L"news.example");
    EXPECT_EQ(edit.description, L"например, wikipedia.org");
    const AccessibleInfo remove = Describe(IDC_APP_REMOVE, With([](ControlFacts& f) { f.enabled = false; }));
    EXPECT_EQ(remove.name, L"Удалить");
    EXPECT_EQ(remove.role, AccessibleRole::PushButton);
    EXPECT_EQ(remove.state, Unavailable | Focusable);

    // With the focus on the window itself, the strip and its current tab are focused.
    EXPECT_EQ(DescribeTabStrip(PagePrograms, true).state, Focused | Focusable);
    EXPECT_EQ(DescribePageTab(PagePrograms, PagePrograms, true).state, Selectable | Selected | Focused);
    EXPECT_EQ(DescribePageTab(PagePrograms, PagePrograms, false).state, Selectable | Selected);
    EXPECT_EQ(DescribePageTab(PageGeneral, PagePrograms, true).state, Selectable);
}
