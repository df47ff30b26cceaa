#include "platform/raster/Bitmap.h"

#include "somnex/EngineError.h"

#include <algorithm>
#include <cstring>

namespace plat {

int StrideFor(int width, PixelFormat format) {
    const int bpp = format == PixelFormat::Pf24 ? 3 : 4;
    return (width * bpp + 3) & ~3;
}

Bitmap::Bitmap(int width, int height, PixelFormat format) : format_(format) {
    SetSize(width, height);
}

void Bitmap::SetSize(int width, int height) {
    if (width < 0 || height < 0 || width > MaxSide || height > MaxSide)
        throw somnex::EngineError("Invalid bitmap size");
    if (width == width_ && height == height_) return;
    const int stride = StrideFor(width, format_);
    if (size_t(stride) * size_t(height) > MaxBytes) throw somnex::EngineError("Bitmap too large");
    if (width == 0 || height == 0) {
        width_ = width;
        height_ = height;
        stride_ = stride;
        data_.clear();
        return;
    }
    std::vector<uint8_t> fresh(size_t(stride) * size_t(height), 0);
    if (format_ == PixelFormat::Pf32)
        for (size_t i = 3; i < fresh.size(); i += 4) fresh[i] = 0xFF;
    const int keepRows = std::min(height, height_);
    const size_t keepBytes = size_t(std::min(width, width_)) * size_t(BytesPerPixel());
    for (int y = 0; y < keepRows; ++y)
        std::memcpy(fresh.data() + size_t(y) * size_t(stride), ScanLine(y), keepBytes);
    data_ = std::move(fresh);
    width_ = width;
    height_ = height;
    stride_ = stride;
}

void Bitmap::SetPixelFormat(PixelFormat format) {
    if (format == format_) return;
    const int stride = StrideFor(width_, format);
    std::vector<uint8_t> out(size_t(stride) * size_t(height_));
    for (int y = 0; y < height_; ++y) {
        const uint8_t* s = ScanLine(y);
        uint8_t* d = out.data() + size_t(y) * size_t(stride);
        if (format == PixelFormat::Pf32) {
            for (int x = 0; x < width_; ++x, s += 3, d += 4) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
                d[3] = 0xFF;
            }
        } else {
            for (int x = 0; x < width_; ++x, s += 4, d += 3) {
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
        }
    }
    data_ = std::move(out);
    stride_ = stride;
    format_ = format;
}

Color Bitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return ColorBlack;
    const uint8_t* p = ScanLine(y) + x * BytesPerPixel();
    return MakeColor(p[2], p[1], p[0]);
}

void Bitmap::SetPixel(int x, int y, Color c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint8_t* p = ScanLine(y) + x * BytesPerPixel();
    p[0] = BlueOf(c);
    p[1] = GreenOf(c);
    p[2] = RedOf(c);
}

void Bitmap::Fill(Color c) {
    if (Empty()) return;
    const int bpp = BytesPerPixel();
    uint8_t* row0 = ScanLine(0);
    for (int x = 0; x < width_; ++x) {
        row0[x * bpp] = BlueOf(c);
        row0[x * bpp + 1] = GreenOf(c);
        row0[x * bpp + 2] = RedOf(c);
        if (bpp == 4) row0[x * bpp + 3] = 0xFF;
    }
    for (int y = 1; y < height_; ++y) std::memcpy(ScanLine(y), row0, size_t(width_) * size_t(bpp));
}

Color Bitmap::TransparentColor() const {
    if (transparentMode_ == TransparentMode::Fixed) return transparentColor_;
    return Pixel(0, height_ - 1);
}

void Bitmap::SetTransparentColor(Color c) {
    transparentColor_ = c & 0xFFFFFF;
    transparentMode_ = TransparentMode::Fixed;
}

bool operator==(const Bitmap& a, const Bitmap& b) {
    if (a.width_ != b.width_ || a.height_ != b.height_ || a.format_ != b.format_) return false;
    const size_t rowBytes = size_t(a.width_) * size_t(a.BytesPerPixel());
    for (int y = 0; y < a.height_; ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), rowBytes) != 0) return false;
    return true;
}

} // namespace plat
