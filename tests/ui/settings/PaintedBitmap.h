#pragma once
// A 32-bit top-down bitmap to paint into and read back, for the drawing tests.

#include "platform/GdiScopes.h"
#include "platform/UniqueHandle.h"
#include "platform/Win32.h"
#include "ui/settings/MemoryCanvas.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class PaintedBitmap {
public:
    PaintedBitmap(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down: row 0 first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const std::uint32_t*>(bits);
        selected_.emplace(dc_.get(), bitmap_.get());
    }
    PaintedBitmap(const PaintedBitmap&) = delete;
    PaintedBitmap& operator=(const PaintedBitmap&) = delete;

    bool Valid() const { return bits_ != nullptr && selected_ && *selected_; }
    HDC Dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // 0xRRGGBB; 0xFF000000 for a point outside the bitmap.
    std::uint32_t Pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFF000000;
        GdiFlush();
        return bits_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF;
    }

    // Pixels of exactly `rgb` in `rect`.
    int Count(const RECT& rect, std::uint32_t rgb) const {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) count += Pixel(x, y) == rgb;
        return count;
    }
    // Pixels in `rect` that are not `rgb`.
    int CountOther(const RECT& rect, std::uint32_t rgb) const {
        return (rect.right - rect.left) * (rect.bottom - rect.top) - Count(rect, rgb);
    }

    // A 24-bit BMP file (GDI leaves the fourth byte of its pixels 0, which viewers take
    // for transparency); false if it could not be written.
    bool Save(const std::wstring& path) const {
        const int rowBytes = (width_ * 3 + 3) & ~3;
        std::vector<unsigned char> image(static_cast<size_t>(rowBytes) * height_);
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                const std::uint32_t rgb = Pixel(x, y);
                unsigned char* out = &image[static_cast<size_t>(y) * rowBytes + x * 3];
                out[0] = rgb & 0xFF;
                out[1] = (rgb >> 8) & 0xFF;
                out[2] = (rgb >> 16) & 0xFF;
            }
        }
        BITMAPFILEHEADER file = {};
        BITMAPINFOHEADER info = {};
        file.bfType = 0x4D42; // "BM"
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + static_cast<DWORD>(image.size());
        info.biSize = sizeof info;
        info.biWidth = width_;
        info.biHeight = -height_;
        info.biPlanes = 1;
        info.biBitCount = 24;
        info.biCompression = BI_RGB;
        UniqueFileHandle out(
            CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        return out && WriteFile(out.get(), &file, sizeof file, &written, nullptr) &&
               WriteFile(out.get(), &info, sizeof info, &written, nullptr) &&
               WriteFile(out.get(), image.data(), static_cast<DWORD>(image.size()), &written, nullptr) &&
               written == image.size();
    }

private:
    int width_;
    int height_;
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    const std::uint32_t* bits_ = nullptr;
    std::optional<SelectedObject> selected_; // the bitmap in the DC until the bitmap goes
};

// An opaque icon of one colour, standing in for the logo so its place can be measured.
inline UniqueIcon SolidIcon(int size, std::uint32_t rgb) {
    std::vector<std::uint32_t> pixels(static_cast<size_t>(size) * size, 0xFF000000 | rgb);
    const UniqueBitmap colour(CreateBitmap(size, size, 1, 32, pixels.data()));
    const UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
    {
        const UniqueMemoryDc maskDc(CreateCompatibleDC(nullptr));
        const SelectedObject selected(maskDc.get(), mask.get());
        PatBlt(maskDc.get(), 0, 0, size, size, BLACKNESS); // an all-black mask: every pixel is the icon's own
    }
    ICONINFO info = {TRUE, 0, 0, mask.get(), colour.get()};
    return UniqueIcon(CreateIconIndirect(&info));
}
