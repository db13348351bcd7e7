#include "ui/tray/TrayModel.h"

#include "ui/tray/TrayTexts.h"

namespace {

// The mouse messages of the classic callback form (winuser.h values).
constexpr unsigned ContextMenuMessage = 0x007B;
constexpr unsigned LeftButtonUp = 0x0202;
constexpr unsigned LeftButtonDoubleClick = 0x0203;
constexpr unsigned RightButtonUp = 0x0205;

constexpr TrayMenuItem MenuItems[] = {
    {ID_TRAY_TOGGLE, TrayMenuToggleText},
    {0, L""},
    {ID_TRAY_SETTINGS, TrayMenuSettingsText},
    {ID_TRAY_ABOUT, TrayMenuAboutText},
    {0, L""},
    {ID_TRAY_EXIT, TrayMenuExitText},
};

} // namespace

const wchar_t* TrayTooltip(bool enabled) { return enabled ? TrayTooltipEnabled : TrayTooltipDisabled; }

int TrayGlyphIconId(bool valueRead, unsigned long lightTheme) {
    return valueRead && lightTheme != 0 ? BlackGlyphIconId : WhiteGlyphIconId;
}

TrayIntent TrayIntentFor(unsigned notification) {
    switch (notification) {
    case ContextMenuMessage:
    case RightButtonUp: return TrayIntent::ShowMenu;
    case LeftButtonUp:
    case LeftButtonDoubleClick: return TrayIntent::ShowWindow;
    default: return TrayIntent::None;
    }
}

std::span<const TrayMenuItem> TrayMenuItems() { return MenuItems; }
