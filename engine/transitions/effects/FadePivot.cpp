#include "engine/transitions/effects/Families.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace somnex {

namespace {

// v / 100 for 0 <= v <= 25500 as a multiply and shift.
constexpr uint32_t Div100(uint32_t v) {
    return (v * 5243u) >> 19;
}

constexpr bool Div100Exact() {
    for (uint32_t v = 0; v <= 25500; ++v)
        if (Div100(v) != v / 100) return false;
    return true;
}
static_assert(Div100Exact());

template <int Bpp>
void Fade(const PixelView& display, const PixelView& image, int32_t p) {
    const uint32_t keep = uint32_t(100 - p), take = uint32_t(p);
    const int32_t w = std::min(display.Width, image.Width), h = std::min(display.Height, image.Height);
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* d = display.Row(y);
        const uint8_t* s = image.Row(y);
        for (int32_t x = 0; x < w; ++x, d += Bpp, s += Bpp) {
            d[0] = uint8_t(Div100(keep * d[0] + take * s[0]));
            d[1] = uint8_t(Div100(keep * d[1] + take * s[1]));
            d[2] = uint8_t(Div100(keep * d[2] + take * s[2]));
        }
    }
}

// Rows are counted from the bottom here; the pivot and the source row are in those terms. Along a
// destination row u grows by one, so the rotated coordinates grow by C and S: no multiplications
// inside the loop.
template <int Bpp>
void Pivot(const PixelView& display, const PixelView& image, int32_t cx, int32_t cy, double a) {
    const int32_t W = std::min(display.Width, image.Width), H = std::min(display.Height, image.Height);
    const int64_t S = int64_t(std::sin(-a) * 65536.0), C = int64_t(std::cos(-a) * 65536.0);
    for (int32_t r = 0; r < H; ++r) {
        uint8_t* d = display.Row(H - 1 - r);
        const int64_t v = r - cy + 1;
        int64_t u = 0 - cx + 1;
        int64_t nx = u * C - v * S, nr = u * S + v * C;
        for (int32_t x = 0; x < W; ++x, nx += C, nr += S) {
            const int64_t sx = cx + (nx >> 16), sr = cy + (nr >> 16);
            if (sx < 0 || sx >= W || sr < 0 || sr >= H) continue;
            std::memcpy(d + size_t(x) * Bpp, image.Row(int32_t(H - 1 - sr)) + size_t(sx) * Bpp, Bpp);
        }
    }
}

} // namespace

void FadePixels(const PixelView& display, const PixelView& image, int32_t progress) {
    if (display.BytesPerPixel != image.BytesPerPixel) return;
    if (display.BytesPerPixel == 4)
        Fade<4>(display, image, progress);
    else
        Fade<3>(display, image, progress);
}

void PivotPixels(int32_t n, const PixelView& display, const PixelView& image, int32_t progress) {
    if (display.BytesPerPixel != image.BytesPerPixel) return;
    const int32_t W = display.Width, H = display.Height;
    const double up = (100 - progress) * std::numbers::pi / 200, down = -up;
    int32_t cx = -1, cy = -1;
    double a = up;
    switch (n) {
    case 119:
        cx = -1, cy = -1, a = up;
        break;
    case 120:
        cx = -1, cy = H, a = down;
        break;
    case 121:
        cx = W, cy = -1, a = down;
        break;
    case 122:
        cx = W, cy = H, a = up;
        break;
    default:
        return;
    }
    if (display.BytesPerPixel == 4)
        Pivot<4>(display, image, cx, cy, a);
    else
        Pivot<3>(display, image, cx, cy, a);
}

} // namespace somnex
