#pragma once
// What assistive technology is told about the settings window's controls and its
// tab strip: name, role, state, value, description and default action, in the
// numbers of Microsoft Active Accessibility (MSAA), which UI Automation bridges.
// The texts are the ones the window paints, so a screen reader hears what is shown.
// No windows.h: the window gathers the facts, this decides what they mean.

#include <string>

#include "settings/Settings.h"
#include "ui/settings/SettingsLayout.h"

// MSAA's role and state numbers (oleacc.h ROLE_SYSTEM_*, STATE_SYSTEM_*).
namespace AccessibleRole {
inline constexpr long Client = 0x0A;
inline constexpr long List = 0x21;
inline constexpr long PageTab = 0x25;
inline constexpr long Text = 0x2A;
inline constexpr long PushButton = 0x2B;
inline constexpr long CheckButton = 0x2C;
inline constexpr long Slider = 0x33;
inline constexpr long PageTabList = 0x3C;
} // namespace AccessibleRole

namespace AccessibleState {
inline constexpr long Unavailable = 0x1;
inline constexpr long Selected = 0x2;
inline constexpr long Focused = 0x4;
inline constexpr long Checked = 0x10;
inline constexpr long Invisible = 0x8000;
inline constexpr long Focusable = 0x100000;
inline constexpr long Selectable = 0x200000;
} // namespace AccessibleState

struct AccessibleInfo {
    std::wstring name;
    long role = AccessibleRole::Client;
    long state = 0;
    std::wstring value;       // empty: the object has none
    std::wstring description; // empty: none
    std::wstring defaultAction;
};

// What the window knows about one control when it is asked.
struct ControlFacts {
    bool enabled = true;
    bool visible = true;
    bool focused = false;
    bool on = false;   // switches: the state they paint
    int itemCount = 0; // lists
    std::wstring text; // edit fields: the typed text; lists: the selected entry
};

// The control's description; `settings` gives the values the slider rows show.
AccessibleInfo DescribeControl(const ControlSpec& control, const ControlFacts& facts, const Settings& settings);

// The tab strip, painted on the window itself: a page tab list whose value is the
// current page. It counts as focused while the window itself has the focus.
AccessibleInfo DescribeTabStrip(int currentPage, bool windowFocused);
// Tab `page` (0-4) of the strip.
AccessibleInfo DescribePageTab(int page, int currentPage, bool windowFocused);
