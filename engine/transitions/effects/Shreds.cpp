#include "engine/transitions/effects/Families.h"

namespace somnex {

namespace {

struct Jitter {
    SharedRandom& Random;
    int32_t Limit;
    // Random(c) - Random(c), the first draw added; the order of the draws is part of the effect.
    int32_t operator()() {
        int32_t plus = Random.Random(Limit);
        int32_t minus = Random.Random(Limit);
        return plus - minus;
    }
};

// One direction of Shred: bands 5 pixels apart across the run, each with a freshly randomised
// edge. Rectangles are given in run coordinates (along, across) and turned into picture
// rectangles by `add`.
template <typename Add>
void ShredBands(int32_t side, int32_t across, int32_t reach, int32_t mode, SharedRandom& random, Add add) {
    Jitter j{random, reach < side ? side / 7 : 0};
    for (int32_t k = 0; k < across; k += 5) {
        const int32_t end = k + 5 + across % 5;
        switch (mode) {
        case 1:
            add(side - reach + j(), k, side, end);
            break;
        case 2:
            add(0, k, reach + j(), end);
            break;
        case 3: {
            const int32_t d1 = j(), d2 = j();
            add((side - reach + d1) / 2, k, side / 2, end);
            add(side / 2, k, (side + reach + d2) / 2, end);
            break;
        }
        case 4: {
            const int32_t d1 = j(), d2 = j();
            add(side - (reach + d1) / 2, k, side, end);
            add(0, k, (reach + d2) / 2, end);
            break;
        }
        }
    }
}

// Shred(hMode, vMode): the horizontal bands first (their random numbers too), then the vertical.
SpanRegion Shred(const Extents& e, SharedRandom& random, int32_t hMode, int32_t vMode) {
    RegionBuilder b(e.W, e.H);
    if (hMode != 0)
        ShredBands(e.W, e.H, e.X, hMode, random,
                   [&b](int32_t a0, int32_t s0, int32_t a1, int32_t s1) { b.AddRect(a0, s0, a1, s1); });
    if (vMode != 0)
        ShredBands(e.H, e.W, e.Y, vMode, random,
                   [&b](int32_t a0, int32_t s0, int32_t a1, int32_t s1) { b.AddRect(s0, a0, s1, a1); });
    return b.Build();
}

} // namespace

SpanRegion ShredRegion(int32_t n, const Extents& e, SharedRandom& random) {
    struct Modes {
        int32_t Number, H, V;
    };
    static constexpr Modes members[] = {{65, 1, 0},  {66, 2, 0},  {67, 3, 0},  {68, 4, 0},  {76, 0, 1},
                                        {77, 0, 2},  {78, 0, 3},  {79, 0, 4},  {100, 1, 1}, {101, 1, 2},
                                        {102, 2, 1}, {103, 2, 2}, {104, 1, 3}, {105, 2, 3}, {106, 3, 1},
                                        {107, 3, 2}, {108, 3, 3}, {109, 4, 4}};
    for (const Modes& m : members)
        if (m.Number == n) return Shred(e, random, m.H, m.V);
    return {};
}

} // namespace somnex
