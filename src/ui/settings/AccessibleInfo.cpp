#include "ui/settings/AccessibleInfo.h"

#include "ui/settings/SettingsCommands.h"
#include "ui/settings/SettingsTexts.h"
#include "ui/settings/SliderValues.h"

namespace {

long CommonState(const ControlFacts& facts) {
    long state = AccessibleState::Focusable;
    if (facts.focused) state |= AccessibleState::Focused;
    if (!facts.enabled) state |= AccessibleState::Unavailable;
    if (!facts.visible) state |= AccessibleState::Invisible;
    return state;
}

// The lists and edit fields carry no label of their own: their card's section header names them.
const wchar_t* SectionOf(int page) { return page == PageSites ? SitesSection : ProgramsSection; }

} // namespace

AccessibleInfo DescribeControl(const ControlSpec& control, const ControlFacts& facts, const Settings& settings) {
    AccessibleInfo info;
    info.state = CommonState(facts);
    switch (control.kind) {
    case ControlKind::Switch:
        info.role = AccessibleRole::CheckButton;
        // The master switch has no caption; it paints its state in words instead.
        if (control.id == IDC_ENABLE_TOGGLE) {
            info.name = facts.on ? EnabledSwitchText : DisabledSwitchText;
        } else {
            info.name = control.text;
        }
        if (facts.on) info.state |= AccessibleState::Checked;
        info.defaultAction = ToggleAction;
        break;
    case ControlKind::PushButton:
        info.role = AccessibleRole::PushButton;
        info.name = control.text;
        info.defaultAction = PressAction;
        break;
    case ControlKind::Slider: {
        info.role = AccessibleRole::Slider;
        int row = 0;
        bool horizontal = false;
        if (SliderRowOf(control.id, row, horizontal)) {
            info.name = SliderRowLabels[row];
            info.value =
                SliderValueText(row, horizontal, settings.ForAxis(horizontal ? Axis::Horizontal : Axis::Vertical));
        }
        break;
    }
    case ControlKind::List:
        info.role = AccessibleRole::List;
        info.name = SectionOf(control.page);
        info.value = facts.text;
        if (facts.itemCount == 0) info.description = control.text; // the hint painted over the empty list
        break;
    case ControlKind::Edit:
        info.role = AccessibleRole::Text;
        info.name = SectionOf(control.page);
        info.value = facts.text;
        info.description = control.text; // the cue banner
        break;
    }
    return info;
}

AccessibleInfo DescribeTabStrip(int currentPage, bool windowFocused) {
    AccessibleInfo info;
    info.role = AccessibleRole::PageTabList;
    info.name = TabStripName;
    info.state = AccessibleState::Focusable | (windowFocused ? AccessibleState::Focused : 0);
    if (currentPage >= 0 && currentPage < PageCount) info.value = TabCaptions[currentPage];
    return info;
}

AccessibleInfo DescribePageTab(int page, int currentPage, bool windowFocused) {
    AccessibleInfo info;
    info.role = AccessibleRole::PageTab;
    if (page >= 0 && page < PageCount) info.name = TabCaptions[page];
    info.state = AccessibleState::Selectable;
    if (page == currentPage) {
        info.state |= AccessibleState::Selected;
        if (windowFocused) info.state |= AccessibleState::Focused;
    }
    info.defaultAction = SelectAction;
    return info;
}
