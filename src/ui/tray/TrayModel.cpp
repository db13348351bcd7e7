#include "ui/tray/TrayModel.h"

#include "ui/settings/SettingsCommands.h"

namespace {

// The mouse messages of the classic callback form (winuser.h values).
constexpr unsigned ContextMenuMessage = 0x007B;
constexpr unsigned LeftButtonUp = 0x0202;
constexpr unsigned LeftButtonDoubleClick = 0x0203;
constexpr unsigned RightButtonUp = 0x0205;

constexpr TrayMenuItem MenuItems[] = {
    {ID_TRAY_TOGGLE, L"Плавная прокрутка активна"},
    {0, L""},
    {ID_TRAY_SETTINGS, L"Настройки..."},
    {ID_TRAY_ABOUT, L"О программе..."},
    {0, L""},
    {ID_TRAY_EXIT, L"Выход"},
};

} // namespace

const wchar_t* TrayTooltip(bool enabled) { return enabled ? L"Velvetglide - Включено" : L"Velvetglide (Отключено)"; }

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
