#include "engine/transitions/effects/Families.h"

#include <algorithm>

namespace somnex {

namespace {

using K = CopyStep::Kind;

CopyStep C(TRect d, TRect s) {
    return {K::Copy, d, s};
}
CopyStep Same(TRect r) {
    return {K::Copy, r, r};
}

// Where the curl of an unroll ends: half the revealed part at first, a tenth of the side in the
// middle of the run, half of what remains near the end.
int32_t CurlEnd(int32_t x, int32_t side) {
    if (x < side / 5) return x + x / 2;
    if (x + side / 5 > side) return x + (side - x) / 2;
    return x + side / 10;
}

// The same curl seen from the far edge, where d is the edge of the laid-down part.
int32_t CurlStart(int32_t x, int32_t d, int32_t side) {
    if (x < side / 5) return d - x / 2;
    if (d < side / 5) return d - d / 2;
    return d - side / 10;
}

} // namespace

std::vector<CopyStep> RectCopySteps(int32_t n, const Extents& e) {
    const int32_t W = e.W, H = e.H, X = e.X, Y = e.Y, E = e.E;
    const TRect full{0, 0, W, H};
    const TRect midH{(W - X) / 2, 0, (W + X) / 2, H};
    const TRect midV{0, (H - Y) / 2, W, (H + Y) / 2};
    const TRect centre{(W - X) / 2, (H - Y) / 2, (W + X) / 2, (H + Y) / 2};
    switch (n) {
    case 1:
        return {C({W - X, 0, W, H}, full)};
    case 2:
        return {C({0, 0, X, H}, full)};
    case 3:
        return {C({W - X, 0, 2 * W - X, H}, full)};
    case 4:
        return {C({X - W, 0, X, H}, full)};
    case 5:
        return {Same({0, 0, X, H})};
    case 6:
        return {Same({W - X, 0, W, H})};
    case 7:
        return {C({0, 0, 2 * W - X, H}, {0, 0, X, H})};
    case 8:
        return {C({X - W, 0, W, H}, {W - X, 0, W, H})};
    case 9:
        return {C({X - W, 0, 2 * W - X, H}, midH)};
    case 10:
        return {C(midH, full)};
    case 11:
        return {Same(midH)};
    case 12:
        return {Same({0, 0, X / 2 + 1, H}), Same({W - X / 2 - 1, 0, W, H})};
    case 13:
        return {C({0, 0, X / 2 + 1, H}, {0, 0, W / 2 + 1, H}), C({W - X / 2 - 1, 0, W, H}, {W / 2, 0, W, H})};
    case 14: {
        int32_t R = CurlEnd(X, W);
        return {{K::MirrorH, {X, 0, R, H}, {R, 0, 2 * R - X, H}}, Same({0, 0, X, H})};
    }
    case 15: {
        int32_t D = W - X, L = CurlStart(X, D, W);
        return {{K::MirrorH, {L, 0, D, H}, {2 * L - D, 0, L, H}}, Same({D, 0, W, H})};
    }
    case 16:
        if (E == 0) return {Same({0, 0, X, H})};
        return {Same({0, 0, X, H}), C({X, 0, W, H}, {X, 0, std::min(W / E + X, W), H})};
    case 17:
        if (E == 0) return {Same({W - X, 0, W, H})};
        return {Same({W - X, 0, W, H}), C({0, 0, W - X, H}, {std::max(W - X - W / E, 0), 0, W - X, H})};
    case 18:
        return {C({0, H - Y, W, H}, full)};
    case 19:
        return {C({0, 0, W, Y}, full)};
    case 20:
        return {C({0, H - Y, W, 2 * H - Y}, full)};
    case 21:
        return {C({0, Y - H, W, Y}, full)};
    case 22:
        return {Same({0, 0, W, Y})};
    case 23:
        return {Same({0, H - Y, W, H})};
    case 24:
        return {C({0, 0, W, 2 * H - Y}, {0, 0, W, Y})};
    case 25:
        return {C({0, Y - H, W, H}, {0, H - Y, W, H})};
    case 26:
        return {C({0, Y - H, W, 2 * H - Y}, midV)};
    case 27:
        return {C(midV, full)};
    case 28:
        return {Same(midV)};
    case 29:
        return {Same({0, 0, W, Y / 2 + 1}), Same({0, H - Y / 2 - 1, W, H})};
    case 30:
        return {C({0, 0, W, Y / 2 + 1}, {0, 0, W, H / 2 + 1}), C({0, H - Y / 2 - 1, W, H}, {0, H / 2, W, H})};
    case 31: {
        int32_t R = CurlEnd(Y, H);
        return {{K::MirrorV, {0, Y, W, R}, {0, R, W, 2 * R - Y}}, Same({0, 0, W, Y})};
    }
    case 32: {
        int32_t D = H - Y, T = CurlStart(Y, D, H);
        return {{K::MirrorV, {0, T, W, D}, {0, 2 * T - D, W, T}}, Same({0, D, W, H})};
    }
    case 33:
        if (E == 0) return {Same({0, 0, W, Y})};
        return {Same({0, 0, W, Y}), C({0, Y, W, H}, {0, Y, W, std::min(H / E + Y, H)})};
    case 34:
        if (E == 0) return {Same({0, H - Y, W, H})};
        return {Same({0, H - Y, W, H}), C({0, 0, W, H - Y}, {0, std::max(H - Y - H / E, 0), W, H - Y})};
    case 35:
        return {C({W - X, H - Y, W, H}, full)};
    case 36:
        return {C({W - X, 0, W, Y}, full)};
    case 37:
        return {C({0, 0, X, Y}, full)};
    case 38:
        return {C({0, H - Y, X, H}, full)};
    case 39:
        return {C({W - X, H - Y, 2 * W - X, 2 * H - Y}, full)};
    case 40:
        return {C({W - X, Y - H, 2 * W - X, Y}, full)};
    case 41:
        return {C({X - W, Y - H, X, Y}, full)};
    case 42:
        return {C({X - W, H - Y, X, 2 * H - Y}, full)};
    case 43:
        return {Same({0, 0, X, Y})};
    case 44:
        return {Same({0, H - Y, X, H})};
    case 45:
        return {Same({W - X, H - Y, W, H})};
    case 46:
        return {Same({W - X, 0, W, Y})};
    case 47:
        return {C({0, 0, 2 * W - X, 2 * H - Y}, {0, 0, X, Y})};
    case 48:
        return {C({0, Y - H, 2 * W - X, H}, {0, H - Y, X, H})};
    case 49:
        return {C({X - W, Y - H, W, H}, {W - X, H - Y, W, H})};
    case 50:
        return {C({X - W, 0, W, 2 * H - Y}, {W - X, 0, W, Y})};
    case 51:
        return {C({X - W, Y - H, 2 * W - X, 2 * H - Y}, centre)};
    case 52:
        return {C(centre, full)};
    case 53:
        return {Same(centre)};
    case 54:
        return {Same({0, 0, W, Y / 2}), Same({0, H - Y / 2, W, H}), Same({0, 0, X / 2, H}),
                Same({W - X / 2, 0, W, H})};
    case 55:
        return {Same({0, 0, X / 2 + 1, Y / 2 + 1}), Same({0, H - Y / 2 - 1, X / 2 + 1, H}),
                Same({W - X / 2 - 1, H - Y / 2 - 1, W, H}), Same({W - X / 2 - 1, 0, W, Y / 2 + 1})};
    case 56:
        return {C({0, 0, X / 2 + 1, Y / 2 + 1}, {0, 0, W / 2 + 1, H / 2 + 1}),
                C({0, H - Y / 2, X / 2 + 1, H}, {0, H / 2 + 1, W / 2 + 1, H}),
                C({W - X / 2, H - Y / 2, W, H}, {W / 2 + 1, H / 2 + 1, W, H}),
                C({W - X / 2, 0, W, Y / 2 + 1}, {W / 2 + 1, 0, W, H / 2 + 1})};
    case 57:
        return {C({(X - W) / 2, 0, X / 2 + 1, H / 2 + 1}, {0, 0, W / 2 + 1, H / 2 + 1}),
                C({W / 2 - 1, (Y - H) / 2, W, Y / 2 + 1}, {W / 2 - 1, 0, W, H / 2 + 1}),
                C({W - X / 2, H / 2 - 1, (W - X) / 2 + W, H}, {W / 2 + 1, H / 2 - 1, W, H}),
                C({0, H - Y / 2, W / 2 + 1, (H - Y) / 2 + H}, {0, H / 2 + 1, W / 2 + 1, H})};
    default:
        return {};
    }
}

std::vector<CopyStep> PushSteps(int32_t n, const Extents& e) {
    const int32_t W = e.W, H = e.H, X = e.X, Y = e.Y;
    const TRect full{0, 0, W, H};
    auto self = [](TRect d, TRect s) { return CopyStep{K::Self, d, s}; };
    switch (n) {
    case 128:
        return {self({X, 0, W, H}, {0, 0, W - X, H}), C({0, 0, X, H}, {W - X, 0, W, H})};
    case 129:
        return {self({0, 0, W - X, H}, {X, 0, W, H}), C({W - X, 0, W, H}, {0, 0, X, H})};
    case 130:
        return {self({X, 0, W, H}, full), C({0, 0, X, H}, {W - X, 0, W, H})};
    case 131:
        return {self({0, 0, W - X, H}, full), C({W - X, 0, W, H}, {0, 0, X, H})};
    case 132:
        return {self({0, Y, W, H}, {0, 0, W, H - Y}), C({0, 0, W, Y}, {0, H - Y, W, H})};
    case 133:
        return {self({0, 0, W, H - Y}, {0, Y, W, H}), C({0, H - Y, W, H}, {0, 0, W, Y})};
    case 134:
        return {self({0, Y, W, H}, full), C({0, 0, W, Y}, {0, H - Y, W, H})};
    case 135:
        return {self({0, 0, W, H - Y}, full), C({0, H - Y, W, H}, {0, 0, W, Y})};
    default:
        return {};
    }
}

} // namespace somnex
