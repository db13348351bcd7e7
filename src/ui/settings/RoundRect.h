#pragma once
// The rounded-rectangle routine behind all of the settings window's shapes.

#include "platform/Win32.h"

#include <algorithm>
#include <cstdint>
#include <optional>

// The SDK's GDI+ headers use the min/max macros that NOMINMAX takes away.
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <objidl.h>
#include <gdiplus.h>

struct ShapeStyle {
    std::optional<std::uint32_t> fill;    // 0xRRGGBB, or no fill
    std::optional<std::uint32_t> outline; // 0xRRGGBB, or no outline
    float outlineWidth = 1.0f;
    std::uint8_t alpha = 255; // applies to the fill and the outline
};

inline ShapeStyle Filled(std::uint32_t fill) {
    ShapeStyle style;
    style.fill = fill;
    return style;
}

inline ShapeStyle Outlined(std::uint32_t outline, float width, std::uint8_t alpha = 255) {
    ShapeStyle style;
    style.outline = outline;
    style.outlineWidth = width;
    style.alpha = alpha;
    return style;
}

inline ShapeStyle FilledOutlined(std::uint32_t fill, std::uint32_t outline, float width) {
    ShapeStyle style = Outlined(outline, width);
    style.fill = fill;
    return style;
}

// Fills and outlines a rectangle with corners of `radius`. The outline lies inside
// the rectangle (the shape shrinks by half its width on every side); corners of a
// diameter of half a pixel or less are square; nothing is drawn for an empty shape.
void FillRoundRect(Gdiplus::Graphics& graphics, float x, float y, float width, float height, float radius,
                   const ShapeStyle& style);
