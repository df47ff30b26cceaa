#include "engine/transitions/effects/Families.h"

namespace somnex {

SpanRegion CurvedRevealRegion(int32_t n, const Extents& e) {
    const int32_t W = e.W, H = e.H, X = e.X, Y = e.Y;
    RegionBuilder b(W, H);
    switch (n) {
    case 58:
        b.AddRoundRect({-2 * W, -5, 2 * X, H + 5}, 2 * W, 2 * W);
        break;
    case 59:
        b.AddRoundRect({W - 2 * X, -5, 3 * W, H + 5}, 2 * W, 2 * W);
        break;
    case 69:
        b.AddRoundRect({-5, -2 * H, W + 5, 2 * Y}, 2 * H, 2 * H);
        break;
    case 70:
        b.AddRoundRect({-5, H - 2 * Y, W + 5, 3 * H}, 2 * H, 2 * H);
        break;
    case 80:
        b.AddRoundRect({-2 * W, -2 * H, 2 * X, 2 * Y}, 2 * W, 2 * H);
        break;
    case 81:
        b.AddRoundRect({W - 2 * X, -2 * H, 3 * W, 2 * Y}, 2 * W, 2 * H);
        break;
    case 82:
        b.AddRoundRect({-2 * W, H - 2 * Y, 2 * X, 3 * H}, 2 * W, 2 * H);
        break;
    case 83:
        b.AddRoundRect({W - 2 * X, H - 2 * Y, 3 * W, 3 * H}, 2 * H, 2 * H);
        break;
    case 84: {
        const int32_t cx = W / 2, cy = H / 2;
        b.AddRoundRect({cx - X, cy - Y, cx + X, cy + Y}, X * 9 / 5, Y * 9 / 5);
        break;
    }
    case 85: {
        b.AddRoundRect({X - W / 2, Y - H / 2, (3 * W) / 2 - X, (3 * H) / 2 - Y}, (W - X) * 9 / 5,
                       (H - Y) * 9 / 5);
        return SpanRegion::Combine(SpanRegion::Full(W, H), b.Build(), RegionOp::Subtract);
    }
    default:
        break;
    }
    return b.Build();
}

} // namespace somnex
