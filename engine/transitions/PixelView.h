#pragma once
// A window onto the pixel rows of a bitmap: what the effects' row loops work on. Rows run top to
// bottom; a stride larger than the row lets tests surround a picture with guard bytes.
#include <cstddef>
#include <cstdint>

namespace somnex {

struct PixelView {
    uint8_t* Bits = nullptr;
    int32_t Width = 0, Height = 0;
    ptrdiff_t Stride = 0;      // bytes from one row to the next
    int32_t BytesPerPixel = 4; // 3 or 4

    uint8_t* Row(int32_t y) const { return Bits + Stride * y; }
    bool Empty() const { return Bits == nullptr || Width <= 0 || Height <= 0; }
    bool SameShape(const PixelView& o) const {
        return Width == o.Width && Height == o.Height && BytesPerPixel == o.BytesPerPixel;
    }
};

} // namespace somnex
