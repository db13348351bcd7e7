#pragma once
// What the tray icon shows and what its mouse notifications mean, without windows.h:
// the tooltip for a state, the glyph for a theme, the menu's items, and the intent
// behind a raw notification.

#include <span>

#include "resources/ResourceIds.h"

// The context menu's commands, sent to the icon's owner as WM_COMMAND.
inline constexpr int ID_TRAY_TOGGLE = 3001;
inline constexpr int ID_TRAY_SETTINGS = 3002;
inline constexpr int ID_TRAY_ABOUT = 3003;
inline constexpr int ID_TRAY_EXIT = 3004;

// Icon groups of the program's resources.
inline constexpr int AppIconId = IDI_VELVETGLIDE;
inline constexpr int WhiteGlyphIconId = IDI_TRAY_GLYPH_WHITE;
inline constexpr int BlackGlyphIconId = IDI_TRAY_GLYPH_BLACK;

const wchar_t* TrayTooltip(bool enabled);

// The glyph for the "SystemUsesLightTheme" value; a failed read counts as dark.
int TrayGlyphIconId(bool valueRead, unsigned long lightTheme);

enum class TrayIntent { None, ShowMenu, ShowWindow };
// `notification` is the mouse message the shell reports in the classic callback form.
TrayIntent TrayIntentFor(unsigned notification);

struct TrayMenuItem {
    int id; // 0 for a separator
    const wchar_t* text;
};
// The context menu from top to bottom; the toggle is checked while smoothing is on
// and the settings item is the default one.
std::span<const TrayMenuItem> TrayMenuItems();
