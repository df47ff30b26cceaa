#include "engine/transitions/effects/Families.h"

namespace somnex {

namespace {

enum class Edge { Left, Right, Top, Bottom };

// Slats of period q, each covering P percent of its period from its leading edge. A period of 0
// (an extent of 0 on a tiny picture) has no slats rather than an endless loop.
void AddSlats(RegionBuilder& b, const Extents& e, int32_t q, Edge from) {
    if (q <= 0) return;
    const int32_t W = e.W, H = e.H, part = (e.P * q) / 100;
    switch (from) {
    case Edge::Left:
        for (int32_t k = 0; k * q < W; ++k) b.AddRect(k * q, 0, k * q + part, H);
        break;
    case Edge::Right:
        for (int32_t k = 0; W - k * q >= 0; ++k) b.AddRect(W - k * q - part, 0, W - k * q, H);
        break;
    case Edge::Top:
        for (int32_t k = 0; k * q < H; ++k) b.AddRect(0, k * q, W, k * q + part);
        break;
    case Edge::Bottom:
        for (int32_t k = 0; H - k * q >= 0; ++k) b.AddRect(0, H - k * q - part, W, H - k * q);
        break;
    }
}

// A fixed period from a side and the step extent. When E is 0, or so large that the period would
// be 0, the whole side is one period and the blind becomes a plain wipe.
int32_t FixedPeriod(int32_t side, int32_t E) {
    int32_t q = E > 0 ? side / E : 0;
    return q > 0 ? q : side;
}

} // namespace

SpanRegion BlindsRegion(int32_t n, const Extents& e) {
    RegionBuilder b(e.W, e.H);
    switch (n) {
    case 136:
        AddSlats(b, e, FixedPeriod(e.W, e.E), Edge::Left);
        break;
    case 137:
        AddSlats(b, e, FixedPeriod(e.H, e.E), Edge::Top);
        break;
    case 138:
        AddSlats(b, e, e.X, Edge::Left);
        break;
    case 139:
        AddSlats(b, e, e.X, Edge::Right);
        break;
    case 140:
        AddSlats(b, e, e.Y, Edge::Top);
        break;
    case 141:
        AddSlats(b, e, e.Y, Edge::Bottom);
        break;
    default:
        break;
    }
    return b.Build();
}

SpanRegion RectangularShredRegion(const Extents& e) {
    const int32_t E = e.E > 0 ? e.E : 1;
    const int32_t X3 = e.X / E, Y3 = e.Y / E;
    const int32_t E2 = E > 1 ? E / 2 : E;
    const int32_t W2 = e.W / E2, H2 = e.H / E2;
    RegionBuilder b(e.W, e.H);
    for (int32_t r = E2; r >= 0; --r) {
        for (int32_t q = E2; q >= 0; --q) {
            const int32_t gx = q * W2, gy = r * H2;
            b.AddRect(gx - X3, gy - Y3, gx + X3, gy + Y3);
        }
    }
    return b.Build();
}

SpanRegion AppearingRectanglesRegion(int32_t n, const Extents& e) {
    const int32_t W = e.W, H = e.H, P = e.P;
    RegionBuilder b(W, H);
    const bool rows = n == 145 || n == 146;
    // Stripes of a fixed period growing out of their centre lines; none when the period is 0.
    const int32_t q = e.E > 0 ? (rows ? H : W) / e.E : 0;
    if (q > 0) {
        const int32_t half = (P * q) / 200;
        for (int32_t m = q / 2; m - half < (rows ? H : W); m += q) {
            if (rows)
                b.AddRect(0, m - half, W, m + half);
            else
                b.AddRect(m - half, 0, m + half, H);
        }
    }
    switch (n) {
    case 145:
        AddSlats(b, e, e.X, Edge::Left);
        break;
    case 146:
        AddSlats(b, e, e.X, Edge::Right);
        break;
    case 147:
        AddSlats(b, e, e.Y, Edge::Top);
        break;
    case 148:
        AddSlats(b, e, e.Y, Edge::Bottom);
        break;
    default:
        break;
    }
    return b.Build();
}

} // namespace somnex
