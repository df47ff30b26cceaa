#pragma once
// A device-independent bitmap: top-down rows of B,G,R bytes (24 bpp) or B,G,R,X bytes (32 bpp),
// each row padded to a multiple of 4 bytes as in the Windows bitmap layout.
#include "platform/raster/Color.h"
#include "platform/raster/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

enum class PixelFormat { Pf24, Pf32 };

enum class TransparentMode {
    Auto,  // the transparent colour is the bottom-left pixel at drawing time
    Fixed, // the transparent colour is TransparentColor()
};

class Bitmap {
public:
    // Largest side and largest pixel buffer a bitmap may have; SetSize refuses more.
    static constexpr int MaxSide = 65535;
    static constexpr size_t MaxBytes = size_t(1) << 31;

    Bitmap() = default;
    Bitmap(int width, int height, PixelFormat format = PixelFormat::Pf24);

    int Width() const { return width_; }
    int Height() const { return height_; }
    PixelFormat Format() const { return format_; }
    int BytesPerPixel() const { return format_ == PixelFormat::Pf24 ? 3 : 4; }
    // Bytes from one row to the next.
    int Stride() const { return stride_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    Rect ClipRect() const { return {0, 0, width_, height_}; }

    // Resizes, keeping the pixels that still fit; new pixels are black. Throws EngineError for a
    // negative or oversized request.
    void SetSize(int width, int height);
    // Converts the pixels in place. 24 -> 32 sets the fourth byte to 0xFF.
    void SetPixelFormat(PixelFormat format);
    // The same pixels, format and transparency settings.
    void Assign(const Bitmap& other) { *this = other; }

    uint8_t* ScanLine(int y) { return data_.data() + size_t(y) * size_t(stride_); }
    const uint8_t* ScanLine(int y) const { return data_.data() + size_t(y) * size_t(stride_); }
    uint8_t* Bits() { return data_.data(); }
    const uint8_t* Bits() const { return data_.data(); }

    // Pixels as colours (red in the low byte). Out-of-range reads give black, writes do nothing.
    Color Pixel(int x, int y) const;
    void SetPixel(int x, int y, Color c);
    // Fills every pixel; for 32 bpp the fourth byte becomes 0xFF.
    void Fill(Color c);

    // Transparency used when this bitmap is drawn onto a canvas.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }
    TransparentMode GetTransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TransparentMode m) { transparentMode_ = m; }
    // In Auto mode the bottom-left pixel (black for an empty bitmap).
    Color TransparentColor() const;
    // Also switches to Fixed mode.
    void SetTransparentColor(Color c);

    friend bool operator==(const Bitmap& a, const Bitmap& b); // same size, format and pixels

private:
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
    PixelFormat format_ = PixelFormat::Pf24;
    std::vector<uint8_t> data_;
    bool transparent_ = false;
    TransparentMode transparentMode_ = TransparentMode::Auto;
    Color transparentColor_ = 0;
};

// Row stride for a width and format, padded to 4 bytes.
int StrideFor(int width, PixelFormat format);

} // namespace plat
