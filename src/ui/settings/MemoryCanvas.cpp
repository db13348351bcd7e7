#include "ui/settings/MemoryCanvas.h"

#include "ui/settings/TextWrap.h"
#include "ui/settings/ThemeFonts.h"

#include <climits>
#include <vector>

namespace {

// The advance of each letter of a line, as GDI measures them in the DC's font.
std::vector<int> MeasuredAdvances(HDC dc, std::wstring_view line) {
    const int length = static_cast<int>(line.size());
    std::vector<int> ends(line.size());
    int fit = 0;
    SIZE size = {};
    if (length == 0 || !GetTextExtentExPointW(dc, line.data(), length, INT_MAX, &fit, ends.data(), &size)) return {};
    std::vector<int> advances(line.size());
    for (int i = 0; i < length; ++i) advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
    return advances;
}

int LineWidth(HDC dc, std::wstring_view line) {
    int width = 0;
    for (const int advance : MeasuredAdvances(dc, line)) width += advance;
    ABC last = {};
    if (!line.empty() && GetCharABCWidthsW(dc, line.back(), line.back(), &last) && last.abcC < 0) width -= last.abcC;
    return width;
}

} // namespace

MemoryCanvas::MemoryCanvas(HDC target, int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), dc_(CreateCompatibleDC(target)),
      bitmap_(CreateCompatibleBitmap(target, width_, height_)), selected_(dc_ ? dc_.get() : nullptr, bitmap_.get()) {}

void MemoryCanvas::Fill(const RECT& rect, std::uint32_t rgb) {
    CloseShapes();
    SetBkColor(dc_.get(), ToColorRef(rgb));
    ExtTextOutW(dc_.get(), 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr); // a solid fill without a brush
}

Gdiplus::Graphics& MemoryCanvas::Shapes() {
    if (!graphics_) {
        graphics_ = std::make_unique<Gdiplus::Graphics>(dc_.get());
        graphics_->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics_->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    }
    return *graphics_;
}

void MemoryCanvas::CloseShapes() { graphics_.reset(); }

void MemoryCanvas::RoundRect(float x, float y, float width, float height, float radius, const ShapeStyle& style) {
    if (*this) FillRoundRect(Shapes(), x, y, width, height, radius, style);
}

void MemoryCanvas::RoundRect(const RECT& rect, float radius, const ShapeStyle& style) {
    RoundRect(static_cast<float>(rect.left), static_cast<float>(rect.top), static_cast<float>(rect.right - rect.left),
              static_cast<float>(rect.bottom - rect.top), radius, style);
}

void MemoryCanvas::Circle(float centreX, float centreY, float radius, const ShapeStyle& style) {
    RoundRect(centreX - radius, centreY - radius, 2.0f * radius, 2.0f * radius, radius, style);
}

void MemoryCanvas::Text(std::wstring_view text, const RECT& rect, HFONT font, std::uint32_t rgb, UINT format,
                        int characterExtra) {
    CloseShapes();
    const HDC dc = dc_.get();
    const SelectedObject selectedFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(rgb));
    const int previousExtra = SetTextCharacterExtra(dc, characterExtra);
    RECT bounds = rect;
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &bounds, format | DT_NOPREFIX);
    SetTextCharacterExtra(dc, previousExtra);
}

int MemoryCanvas::TextWidth(std::wstring_view text, HFONT font, int characterExtra) {
    CloseShapes();
    const HDC dc = dc_.get();
    const SelectedObject selectedFont(dc, font);
    const int previousExtra = SetTextCharacterExtra(dc, characterExtra);
    const int width = LineWidth(dc, text);
    SetTextCharacterExtra(dc, previousExtra);
    return width;
}

void MemoryCanvas::WrappedText(std::wstring_view text, const RECT& rect, int firstLineHeight, HFONT font,
                               std::uint32_t rgb, bool alignRight) {
    CloseShapes();
    const HDC dc = dc_.get();
    const SelectedObject selectedFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(rgb));
    const UINT previousAlign = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    int top = rect.top + (firstLineHeight - metrics.tmHeight) / 2;
    const auto widthOf = [dc](std::wstring_view line) { return LineWidth(dc, line); };
    for (const std::wstring_view line : WrapAtSpaces(text, rect.right - rect.left, widthOf)) {
        const std::vector<int> advances = MeasuredAdvances(dc, line);
        const int left = alignRight ? rect.right - LineWidth(dc, line) : rect.left;
        ExtTextOutW(dc, left, top, ETO_CLIPPED, &rect, line.data(), static_cast<UINT>(line.size()),
                    advances.empty() ? nullptr : advances.data());
        top += metrics.tmHeight;
    }
    SetTextAlign(dc, previousAlign);
}

void MemoryCanvas::Icon(HICON icon, int x, int y, int size) {
    CloseShapes();
    if (icon) DrawIconEx(dc_.get(), x, y, icon, size, size, 0, nullptr, DI_NORMAL);
}

void MemoryCanvas::CopyTo(HDC target, int x, int y) {
    CloseShapes();
    if (*this) BitBlt(target, x, y, width_, height_, dc_.get(), 0, 0, SRCCOPY);
}
