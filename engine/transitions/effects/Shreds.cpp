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

// Shred(hMode, vMode): bands 5 pixels apart, each with a freshly randomised edge.
SpanRegion Shred(const Extents& e, SharedRandom& random, int32_t hMode, int32_t vMode) {
    const int32_t W = e.W, H = e.H, X = e.X, Y = e.Y;
    RegionBuilder b(W, H);
    if (hMode != 0) {
        Jitter j{random, X < W ? W / 7 : 0};
        for (int32_t k = 0; k < H; k += 5) {
            const int32_t bottom = k + 5 + H % 5;
            switch (hMode) {
            case 1:
                b.AddRect(W - X + j(), k, W, bottom);
                break;
            case 2:
                b.AddRect(0, k, X + j(), bottom);
                break;
            case 3: {
                int32_t d1 = j(), d2 = j();
                b.AddRect((W - X + d1) / 2, k, W / 2, bottom);
                b.AddRect(W / 2, k, (W + X + d2) / 2, bottom);
                break;
            }
            case 4: {
                int32_t d1 = j(), d2 = j();
                b.AddRect(W - (X + d1) / 2, k, W, bottom);
                b.AddRect(0, k, (X + d2) / 2, bottom);
                break;
            }
            }
        }
    }
    if (vMode != 0) {
        Jitter j{random, Y < H ? H / 7 : 0};
        for (int32_t k = 0; k < W; k += 5) {
            const int32_t right = k + 5 + W % 5;
            switch (vMode) {
            case 1:
                b.AddRect(k, H - Y + j(), right, H);
                break;
            case 2:
                b.AddRect(k, 0, right, Y + j());
                break;
            case 3: {
                int32_t d1 = j(), d2 = j();
                b.AddRect(k, (H - Y + d1) / 2, right, H / 2);
                b.AddRect(k, H / 2, right, (H + Y + d2) / 2);
                break;
            }
            case 4: {
                int32_t d1 = j(), d2 = j();
                b.AddRect(k, H - (Y + d1) / 2, right, H);
                b.AddRect(k, 0, right, (Y + d2) / 2);
                break;
            }
            }
        }
    }
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
