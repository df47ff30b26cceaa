#include "engine/transitions/effects/Families.h"

#include <cmath>
#include <numbers>

namespace somnex {

namespace {

// Round half to even, the rounding of the formulas.
int32_t Round(double v) {
    return int32_t(std::nearbyint(v));
}

} // namespace

SpanRegion SweepRegion(int32_t n, const Extents& e) {
    const int32_t cx = e.W / 2, cy = e.H / 2;
    const double r = std::ceil(std::sqrt(double(cx) * cx + double(cy) * cy));
    const double delta = (n == 143 ? 1 : -1) * std::numbers::pi / 50;
    TPolygon pie{{cx, cy}};
    for (int32_t k = 1; k <= e.P; ++k) {
        const double phi = -std::numbers::pi / 2 + (k - 1) * delta;
        pie.push_back({cx + Round(r * std::cos(phi)), cy + Round(r * std::sin(phi))});
    }
    RegionBuilder b(e.W, e.H);
    b.AddPolygon(pie);
    return b.Build();
}

SpanRegion RotatingShapeRegion(int32_t n, const Extents& e) {
    const int32_t cx = e.W / 2, cy = e.H / 2, X = e.X, Y = e.Y, X2 = X / 2, Y2 = Y / 2;
    TPolygon shape;
    if (n == 149)
        shape = {{cx - X2, cy - Y2}, {cx + X2, cy - Y2}, {cx + X2, cy + Y2}, {cx - X2, cy + Y2}};
    else
        shape = {{cx - 2 * X, cy}, {cx - X2, cy - Y2}, {cx, cy - 2 * Y}, {cx + X2, cy - Y2},
                 {cx + 2 * X, cy}, {cx + X2, cy + Y2}, {cx, cy + 2 * Y}, {cx - X2, cy + Y2}};
    const double t = e.P * std::numbers::pi / 50, c = std::cos(t), s = std::sin(t);
    for (TPoint& p : shape) {
        const double dx = p.X - cx, dy = p.Y - cy;
        p = {cx + Round(dx * c - dy * s), cy + Round(dx * s + dy * c)};
    }
    RegionBuilder b(e.W, e.H);
    b.AddPolygon(shape);
    return b.Build();
}

} // namespace somnex
