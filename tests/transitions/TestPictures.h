#pragma once
// Pictures whose every pixel says where it came from: image pixels carry their own position, old
// screen pixels their position with a marker bit, so a frame can be checked pixel by pixel.
#include "engine/transitions/PixelView.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace somnex::test {

constexpr uint32_t OldMark = 0x800000;

inline uint32_t Id(int32_t x, int32_t y, int32_t w) {
    return uint32_t(y * w + x + 1) & 0x7FFFFF;
}

struct Decoded {
    bool Old = false, Image = false;
    int32_t X = -1, Y = -1;
};

// A 32-bit picture with a guard margin around it: `guard` bytes before each row, after each row and
// guard rows above and below, all filled with a sentinel.
class GuardedPicture {
public:
    static constexpr uint8_t Sentinel = 0xA5;

    GuardedPicture(int32_t w, int32_t h, int32_t bpp = 4, int32_t guard = 16)
        : w_(w), h_(h), bpp_(bpp), guard_(guard), stride_(ptrdiff_t(w) * bpp + 2 * guard),
          bytes_(size_t(stride_) * size_t(h + 2)) {
        std::memset(bytes_.data(), Sentinel, bytes_.size());
    }

    PixelView View() { return {bytes_.data() + stride_ + guard_, w_, h_, stride_, bpp_}; }

    bool GuardsIntact() const {
        auto clean = [](const uint8_t* p, size_t n) {
            for (size_t i = 0; i < n; ++i)
                if (p[i] != Sentinel) return false;
            return true;
        };
        const size_t row = size_t(stride_), pixels = size_t(w_) * size_t(bpp_);
        if (!clean(bytes_.data(), row) || !clean(bytes_.data() + row * size_t(h_ + 1), row)) return false;
        for (int32_t y = 1; y <= h_; ++y) {
            const uint8_t* r = bytes_.data() + size_t(y) * row;
            if (!clean(r, size_t(guard_)) || !clean(r + guard_ + pixels, size_t(guard_))) return false;
        }
        return true;
    }

    void Set(int32_t x, int32_t y, uint32_t v) {
        uint8_t* p = View().Row(y) + size_t(x) * size_t(bpp_);
        p[0] = uint8_t(v), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16);
        if (bpp_ == 4) p[3] = 0x5A;
    }
    uint32_t Get(int32_t x, int32_t y) {
        const uint8_t* p = View().Row(y) + size_t(x) * size_t(bpp_);
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    }
    uint8_t Fourth(int32_t x, int32_t y) { return View().Row(y)[size_t(x) * 4 + 3]; }

    // The new picture: every pixel its own position.
    void FillImage() {
        for (int32_t y = 0; y < h_; ++y)
            for (int32_t x = 0; x < w_; ++x) Set(x, y, Id(x, y, w_));
    }
    // The old screen: positions with the marker bit.
    void FillOld() {
        for (int32_t y = 0; y < h_; ++y)
            for (int32_t x = 0; x < w_; ++x) Set(x, y, Id(x, y, w_) | OldMark);
    }

    Decoded Decode(int32_t x, int32_t y) {
        uint32_t v = Get(x, y);
        Decoded d;
        d.Old = (v & OldMark) != 0;
        uint32_t id = (v & 0x7FFFFF);
        if (id == 0 || id > uint32_t(w_ * h_)) return {};
        d.Image = !d.Old;
        d.X = int32_t((id - 1) % uint32_t(w_));
        d.Y = int32_t((id - 1) / uint32_t(w_));
        return d;
    }

    int32_t Width() const { return w_; }
    int32_t Height() const { return h_; }

private:
    int32_t w_, h_, bpp_, guard_;
    ptrdiff_t stride_;
    std::vector<uint8_t> bytes_;
};

// Display (holding the old screen) and image of one size, ready for one effect call.
struct Frame {
    GuardedPicture Display, Image;
    Frame(int32_t w, int32_t h, int32_t bpp = 4) : Display(w, h, bpp), Image(w, h, bpp) {
        Display.FillOld();
        Image.FillImage();
    }
};

} // namespace somnex::test
