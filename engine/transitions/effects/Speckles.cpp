#include "engine/transitions/effects/Families.h"

#include <algorithm>

namespace somnex {

namespace {

// One direction of Speckle: strips of size f across the run, each with its solid part up to the
// edge and random specks ahead of it, denser near the edge. Rectangles are given in "run"
// coordinates (along, across) and turned into picture rectangles by `add`.
template <typename Add>
void SpeckleStrips(int32_t side, int32_t across, int32_t reach, SharedRandom& random, bool fromFar, Add add) {
    const int32_t z = reach < side ? side / 10 : 0;
    const int32_t f = std::max(z / 20, 2);
    const int32_t n = z / f;
    const int32_t t = ((3 * z) / f) / 4;
    const int32_t advance = f / 2; // f >= 2, so the strips always move on
    for (int32_t s = 0; s < across; s += advance) {
        if (fromFar)
            add(side - reach, s, side, s + f);
        else
            add(0, s, reach, s + f);
        for (int32_t i = n; i >= 1; --i) {
            const int32_t limit = i <= t ? 1 : 0;
            if (random.Random(i) > limit) continue;
            if (fromFar)
                add(side - reach - i * f, s, side - reach - i * f + f, s + f);
            else
                add(reach + (i - 1) * f, s, reach + i * f, s + f);
        }
    }
}

} // namespace

SpanRegion SpeckleRegion(int32_t n, const Extents& e, SharedRandom& random) {
    RegionBuilder b(e.W, e.H);
    auto horizontal = [&b](int32_t a0, int32_t s0, int32_t a1, int32_t s1) { b.AddRect(a0, s0, a1, s1); };
    auto vertical = [&b](int32_t a0, int32_t s0, int32_t a1, int32_t s1) { b.AddRect(s0, a0, s1, a1); };
    switch (n) {
    case 123:
        SpeckleStrips(e.W, e.H, e.X, random, true, horizontal);
        break;
    case 124:
        SpeckleStrips(e.W, e.H, e.X, random, false, horizontal);
        break;
    case 125:
        SpeckleStrips(e.H, e.W, e.Y, random, true, vertical);
        break;
    case 126:
        SpeckleStrips(e.H, e.W, e.Y, random, false, vertical);
        break;
    default:
        break;
    }
    return b.Build();
}

SpanRegion RandomSquaresRegion(const Extents& e, SharedRandom& random) {
    // Reseeding from the size gives the same squares in the same order at every frame, so a square
    // once shown stays shown as P grows.
    random.SetSeed(uint32_t(e.W) * uint32_t(e.H));
    const int32_t E2 = e.E > 1 ? e.E / 2 : (e.E > 0 ? e.E : 1); // E of 0 would never advance
    RegionBuilder b(e.W, e.H);
    for (int32_t x = 0; x < e.W; x += E2)
        for (int32_t y = 0; y < e.H; y += E2)
            if (random.Random(100) < e.P) b.AddRect(x - E2, y - E2, x + E2, y + E2);
    return b.Build();
}

} // namespace somnex
