#pragma once
// The settings window's one dark palette, as 0xRRGGBB. It does not follow the
// system's light or dark setting; only the tray glyph does.

#include <cstdint>

namespace Palette {
inline constexpr std::uint32_t WindowBackground = 0x111318; // also the DWM caption and header/footer controls
inline constexpr std::uint32_t Card = 0x181B22;             // cards, tab strip, sliders, controls inside cards
inline constexpr std::uint32_t Field = 0x12151B;            // edit fields, list boxes, list items
inline constexpr std::uint32_t CardOutline = 0x252A34;      // cards, tab strip, separators, disabled buttons
inline constexpr std::uint32_t FieldOutline = 0x343B49;     // list frame, unfocused edit frame
inline constexpr std::uint32_t Accent = 0x298CFF;
inline constexpr std::uint32_t AccentHot = 0x4AA0FF;
inline constexpr std::uint32_t AccentPressed = 0x1C74DE;
inline constexpr std::uint32_t TabHover = 0x22262F;
inline constexpr std::uint32_t SecondaryButton = 0x242933;
inline constexpr std::uint32_t SecondaryButtonHot = 0x2E3440; // also the hot track of a switch that is off
inline constexpr std::uint32_t SecondaryButtonPressed = 0x1E222A;
inline constexpr std::uint32_t SecondaryButtonOutline = 0x383F4D;
inline constexpr std::uint32_t SelectedItem = 0x1F3758;
inline constexpr std::uint32_t SliderTrack = 0x2C323E;
inline constexpr std::uint32_t SliderDisabled = 0x424A5A;
inline constexpr std::uint32_t ThumbFill = 0x343A48;
inline constexpr std::uint32_t ThumbOutline = 0x50596B;
inline constexpr std::uint32_t TextPrimary = 0xE8ECF2;
inline constexpr std::uint32_t TextOnAccent = 0xFFFFFF;
inline constexpr std::uint32_t TextSecondary = 0x8B95A7;
inline constexpr std::uint32_t TextMuted = 0x5F6878;
inline constexpr std::uint32_t SliderValue = 0x7CC4FF;
} // namespace Palette
