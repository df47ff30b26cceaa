#pragma once
// The engine's one pseudo-random generator, shared by slide placement, the player and the effects,
// so that a fixed seed replays a whole show.
#include <cstdint>

namespace somnex {

class SharedRandom {
public:
    uint32_t Seed() const { return seed_; }
    void SetSeed(uint32_t seed) { seed_ = seed; }
    // 0 .. n-1 (0 for n <= 0): a linear congruential step, then the high half of seed × n.
    int32_t Random(int32_t n) {
        seed_ = seed_ * 134775813u + 1u;
        if (n <= 0) return 0;
        return int32_t((uint64_t(seed_) * uint64_t(uint32_t(n))) >> 32);
    }

private:
    uint32_t seed_ = 0;
};

// The library-wide instance.
SharedRandom& TheRandom();

} // namespace somnex
