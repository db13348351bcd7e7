#pragma once
// The five fonts and the header logo of the settings window, made for one DPI and
// made again when the window moves to a monitor with another scale.

#include "platform/UniqueHandle.h"
#include "platform/Win32.h"
#include "resources/ResourceIds.h"

#include <cstdint>

constexpr COLORREF ToColorRef(std::uint32_t rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

inline constexpr int LogoIconId = IDI_VELVETGLIDE;

struct ThemeFonts {
    UniqueFont title;        // 17 px, 600: the program name in the header
    UniqueFont body;         // 13 px, 400: edits, lists, system labels
    UniqueFont bodySemibold; // 13 px, 600: tabs, slider rows, switches, buttons, system values
    UniqueFont small;        // 12 px, 400: subtitle, notes, descriptions, footer
    UniqueFont section;      // 11 px, 700: section headers
    UniqueIcon logo;              // icon 101 at 32 x 32 scaled

    // Makes all six anew for `dpi`; false if a font could not be made.
    bool Create(HINSTANCE instance, unsigned dpi);
};
