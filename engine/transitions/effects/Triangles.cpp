#include "engine/transitions/effects/Families.h"

namespace somnex {

namespace {

// Effect 117: the upper-left halves of boxes around a grid of points, growing until they meet.
void AddTriangularShred(RegionBuilder& b, const Extents& e) {
    // A zero step extent (tiny pictures) counts as one grid cell per side.
    const int32_t E2 = e.E > 1 ? e.E / 2 : (e.E > 0 ? e.E : 1);
    const int32_t X2 = e.X / E2, Y2 = e.Y / E2, W2 = e.W / E2, H2 = e.H / E2;
    for (int32_t r = E2; r >= 0; --r) {
        for (int32_t q = E2; q >= 0; --q) {
            const int32_t gx = q * W2, gy = r * H2;
            b.AddPolygon({{gx - X2, gy - Y2}, {gx + X2, gy - Y2}, {gx - X2, gy + Y2}});
        }
    }
}

} // namespace

SpanRegion TriangleRegion(int32_t n, const Extents& e) {
    const int32_t W = e.W, H = e.H, X = e.X, Y = e.Y;
    RegionBuilder b(W, H);
    switch (n) {
    case 110:
        b.AddPolygon({{0, 0}, {2 * X, 0}, {0, 2 * Y}});
        break;
    case 111:
        b.AddPolygon({{W, 0}, {W - 2 * X, 0}, {W, 2 * Y}});
        break;
    case 112:
        b.AddPolygon({{0, H}, {2 * X, H}, {0, H - 2 * Y}});
        break;
    case 113:
        b.AddPolygon({{W, H}, {W - 2 * X, H}, {W, H - 2 * Y}});
        break;
    case 114:
        b.AddPolygon({{0, H}, {0, 0}, {X, H}});
        b.AddPolygon({{W, H}, {W, 0}, {W - X, 0}});
        break;
    case 115:
        b.AddPolygon({{W, 0}, {0, 0}, {W, Y}});
        b.AddPolygon({{W, H}, {0, H}, {0, H - Y}});
        break;
    case 116: {
        const TPoint c{W / 2, H / 2};
        b.AddPolygon({c, {0, H}, {0, H - Y}});
        b.AddPolygon({{0, 0}, {X, 0}, c});
        b.AddPolygon({{W - X, H}, c, {W, H}});
        b.AddPolygon({c, {W, 0}, {W, Y}});
        break;
    }
    case 117:
        AddTriangularShred(b, e);
        break;
    default:
        break;
    }
    return b.Build();
}

} // namespace somnex
