#include "ui/settings/RoundRect.h"

namespace {

Gdiplus::Color ToColor(std::uint32_t rgb, std::uint8_t alpha) {
    return Gdiplus::Color(alpha, static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb));
}

} // namespace

void FillRoundRect(Gdiplus::Graphics& graphics, float x, float y, float width, float height, float radius,
                   const ShapeStyle& style) {
    if (style.outline) {
        const float half = style.outlineWidth / 2.0f;
        x += half;
        y += half;
        width -= style.outlineWidth;
        height -= style.outlineWidth;
    }
    if (width <= 0.0f || height <= 0.0f) return;

    Gdiplus::GraphicsPath path;
    const float diameter = std::min({width, height, 2.0f * radius});
    if (diameter <= 0.5f) {
        path.AddRectangle(Gdiplus::RectF(x, y, width, height));
    } else {
        const float right = x + width - diameter;
        const float bottom = y + height - diameter;
        path.AddArc(x, y, diameter, diameter, 180.0f, 90.0f);
        path.AddArc(right, y, diameter, diameter, 270.0f, 90.0f);
        path.AddArc(right, bottom, diameter, diameter, 0.0f, 90.0f);
        path.AddArc(x, bottom, diameter, diameter, 90.0f, 90.0f);
        path.CloseFigure();
    }
    if (style.fill) {
        Gdiplus::SolidBrush brush(ToColor(*style.fill, style.alpha));
        graphics.FillPath(&brush, &path);
    }
    if (style.outline) {
        Gdiplus::Pen pen(ToColor(*style.outline, style.alpha), style.outlineWidth);
        graphics.DrawPath(&pen, &path);
    }
}
