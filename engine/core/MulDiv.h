#pragma once
#include <cstdint>

namespace somnex {

// a × b / d with a 64-bit product, rounded to nearest with halves away from zero.
// A divisor of 0, or a quotient that does not fit 32 bits, gives -1 (the platform's answer).
inline int32_t MulDiv(int32_t a, int32_t b, int32_t d) {
    if (d == 0) return -1;
    int64_t p = int64_t(a) * int64_t(b);
    bool negative = (p < 0) != (d < 0);
    uint64_t ap = p < 0 ? uint64_t(-p) : uint64_t(p);
    uint64_t ad = d < 0 ? uint64_t(-int64_t(d)) : uint64_t(d);
    uint64_t q = (ap + ad / 2) / ad;
    if (q > (negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX))) return -1;
    return negative ? int32_t(-int64_t(q)) : int32_t(q);
}

} // namespace somnex
