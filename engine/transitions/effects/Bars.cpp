#include "engine/transitions/effects/Families.h"

namespace somnex {

namespace {

// Bands(hMode, vMode, A, B, S): two interleaved sets of 5-pixel bands on a 10-pixel period. While
// the reach is within the picture the first set grows; past it the first set is full and the second
// grows. A reach that comes within S of the edge snaps to it.
void AddBands(RegionBuilder& b, const Extents& e, int32_t hMode, int32_t vMode, int32_t A, int32_t B,
              int32_t S) {
    const int32_t W = e.W, H = e.H;
    if (hMode != 0) {
        if (W >= A) {
            const int32_t a = W < A + S ? W : A;
            for (int32_t i = 0; i < H + 5; i += 10) {
                if (hMode == 1 || hMode == 5) b.AddRect(W - a, i, W, i + 5);
                if (hMode == 2 || hMode == 4) b.AddRect(0, i, a, i + 5);
                if (hMode == 3) b.AddRect(0, i + 5, a, i + 10), b.AddRect(W - a, i, W, i + 5);
            }
        } else {
            for (int32_t i = 5; i < H + 5; i += 10) {
                b.AddRect(0, i - 5, W, i);
                if (hMode == 1 || hMode == 4) b.AddRect(2 * W - A, i, W, i + 5);
                if (hMode == 2 || hMode == 5) b.AddRect(0, i, A - W, i + 5);
            }
        }
    }
    if (vMode != 0) {
        if (H >= B) {
            const int32_t c = H < B + S ? H : B;
            for (int32_t j = 0; j < W + 5; j += 10) {
                if (vMode == 1 || vMode == 5) b.AddRect(j, H - c, j + 5, H);
                if (vMode == 2 || vMode == 4) b.AddRect(j, 0, j + 5, c);
                if (vMode == 3) b.AddRect(j + 5, 0, j + 10, c), b.AddRect(j, H - c, j + 5, H);
            }
        } else {
            for (int32_t j = 5; j < W + 5; j += 10) {
                b.AddRect(j - 5, 0, j, H);
                if (vMode == 1 || vMode == 4) b.AddRect(j, 2 * H - B, j + 5, H);
                if (vMode == 2 || vMode == 5) b.AddRect(j, 0, j + 5, B - H);
            }
        }
    }
}

SpanRegion Bands(const Extents& e, int32_t hMode, int32_t vMode, int32_t A, int32_t B, int32_t S) {
    RegionBuilder b(e.W, e.H);
    AddBands(b, e, hMode, vMode, A, B, S);
    return b.Build();
}

} // namespace

SpanRegion BarsRegion(int32_t n, const Extents& e) {
    const int32_t X = e.X, Y = e.Y, E = e.E;
    struct Modes {
        int32_t Number, H, V;
    };
    // Members that grow to twice the extent (two phases) with a snap margin of E.
    static constexpr Modes twoPhase[] = {
        {60, 1, 0}, {61, 2, 0}, {62, 4, 0}, {63, 5, 0}, {71, 0, 1}, {72, 0, 2}, {73, 0, 4}, {74, 0, 5},
        {86, 1, 1}, {87, 1, 2}, {88, 2, 1}, {89, 2, 2}, {90, 4, 4}, {91, 4, 5}, {92, 5, 4}, {93, 5, 5}};
    for (const Modes& m : twoPhase)
        if (m.Number == n) return Bands(e, m.H, m.V, m.H ? 2 * X : 0, m.V ? 2 * Y : 0, E);
    switch (n) {
    case 64:
        return Bands(e, 3, 0, X, 0, 0);
    case 75:
        return Bands(e, 0, 3, 0, Y, 0);
    case 94:
        return Bands(e, 1, 3, X, Y, E);
    case 95:
        return Bands(e, 2, 3, X, Y, E);
    case 96:
        return Bands(e, 3, 1, X, Y, E);
    case 97:
        return Bands(e, 3, 2, X, Y, E);
    case 98:
        return Bands(e, 3, 3, X, Y, 0);
    case 99:
        return SpanRegion::Combine(Bands(e, 1, 1, 2 * X, 2 * Y, E), Bands(e, 2, 2, 2 * X, 2 * Y, E),
                                   RegionOp::Intersect);
    default:
        return {};
    }
}

} // namespace somnex
