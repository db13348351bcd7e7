#pragma once
// An off-screen picture the size of what is being drawn: a memory DC with its own
// bitmap, GDI+ shapes on it and GDI text over them, copied to the screen in one
// BitBlt. Every drawing routine of the settings window paints through one.

#include "platform/GdiScopes.h"
#include "platform/UniqueHandle.h"
#include "platform/Win32.h"
#include "ui/settings/RoundRect.h"
#include "ui/settings/SettingsLayout.h"

#include <cstdint>
#include <memory>
#include <string_view>

inline RECT ToRect(const LayoutRect& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

class MemoryCanvas {
public:
    // A picture compatible with `target`, at least 1 x 1 pixels.
    MemoryCanvas(HDC target, int width, int height);
    // A picture the size of `area` (drawn at its own origin, copied back to `area`).
    MemoryCanvas(HDC target, const RECT& area)
        : MemoryCanvas(target, area.right - area.left, area.bottom - area.top) {}
    ~MemoryCanvas() { CloseShapes(); }
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    explicit operator bool() const { return static_cast<bool>(selected_); }
    HDC Dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    RECT Bounds() const { return {0, 0, width_, height_}; }

    void Fill(const RECT& rect, std::uint32_t rgb);
    void FillAll(std::uint32_t rgb) { Fill(Bounds(), rgb); }

    // Anti-aliased shapes through GDI+ with half-pixel offset; the graphics stay
    // open until text, an icon or the copy needs the DC again.
    void RoundRect(float x, float y, float width, float height, float radius, const ShapeStyle& style);
    void RoundRect(const RECT& rect, float radius, const ShapeStyle& style);
    void Circle(float centreX, float centreY, float radius, const ShapeStyle& style);

    // GDI text on a transparent background, always without prefix processing;
    // `characterExtra` is added between letters.
    void Text(std::wstring_view text, const RECT& rect, HFONT font, std::uint32_t rgb, UINT format,
              int characterExtra = 0);
    // Width of one line of `text` as it is drawn by WrappedText: the sum of the
    // measured advances and what the last letter reaches beyond its own.
    int TextWidth(std::wstring_view text, HFONT font, int characterExtra = 0);
    // `text` broken at spaces into lines no wider than `rect`, right- or left-aligned,
    // the first line centred on the top `firstLineHeight` pixels and the others below
    // it; nothing is drawn outside `rect`. Letters go exactly where they were measured:
    // Wine draws a line a few pixels wider than it measures it otherwise.
    void WrappedText(std::wstring_view text, const RECT& rect, int firstLineHeight, HFONT font, std::uint32_t rgb,
                     bool alignRight);
    void Icon(HICON icon, int x, int y, int size);

    // BitBlt (SRCCOPY) of the whole picture to (x, y) of `target`.
    void CopyTo(HDC target, int x, int y);

private:
    Gdiplus::Graphics& Shapes();
    void CloseShapes(); // flushes GDI+ before GDI draws on the same DC

    int width_;
    int height_;
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    SelectedObject selected_; // the bitmap in the DC, put out again before the bitmap goes
    std::unique_ptr<Gdiplus::Graphics> graphics_;
};
