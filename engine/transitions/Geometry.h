#pragma once
// Plain geometry the effects are described in: picture pixels, origin top-left, right and bottom
// exclusive. Coordinates outside the picture are allowed; drawing clips them.
#include <cstdint>
#include <vector>

namespace somnex {

struct TRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool Empty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect&) const = default;
};

struct TPoint {
    int32_t X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

using TPolygon = std::vector<TPoint>;

// Integer division truncating toward zero, as the effect formulas write "div". C++ already
// truncates; the name keeps the formulas readable next to MulDiv.
constexpr int32_t Div(int32_t a, int32_t b) {
    return b == 0 ? 0 : a / b;
}

// The quantities every effect derives from the picture size, Step and progress P.
struct Extents {
    int32_t W = 0, H = 0; // picture size
    int32_t X = 0, Y = 0; // revealed extents, proportional to the picture
    int32_t E = 0;        // step extent
    int32_t P = 0;        // progress 1..99
    int32_t Step = 0;
};

Extents ComputeExtents(int32_t w, int32_t h, int32_t step, int32_t progress);

} // namespace somnex
