#include "engine/transitions/PSEffect.h"

#include "engine/core/MulDiv.h"
#include "engine/transitions/effects/Families.h"

#include <optional>
#include <utility>

namespace somnex {

Extents ComputeExtents(int32_t w, int32_t h, int32_t step, int32_t progress) {
    Extents e{w, h, 0, 0, 0, progress, step};
    if (w <= 0 || h <= 0) return e;
    if (w >= h) {
        e.X = MulDiv(w, progress, 100);
        e.Y = MulDiv(e.X, h, w);
        e.E = MulDiv(w, step, 90);
    } else {
        e.Y = MulDiv(h, progress, 100);
        e.X = MulDiv(e.Y, w, h);
        e.E = MulDiv(h, step, 90);
    }
    return e;
}

std::optional<SpanRegion> RevealedRegion(int32_t n, const Extents& e, SharedRandom& random) {
    if (n == 58 || n == 59 || n == 69 || n == 70 || (n >= 80 && n <= 85)) return CurvedRevealRegion(n, e);
    if ((n >= 60 && n <= 64) || (n >= 71 && n <= 75) || (n >= 86 && n <= 99)) return BarsRegion(n, e);
    if ((n >= 65 && n <= 68) || (n >= 76 && n <= 79) || (n >= 100 && n <= 109))
        return ShredRegion(n, e, random);
    if (n >= 110 && n <= 117) return TriangleRegion(n, e);
    if (n >= 123 && n <= 126) return SpeckleRegion(n, e, random);
    if (n == 127) return RandomSquaresRegion(e, random);
    if (n >= 136 && n <= 141) return BlindsRegion(n, e);
    if (n == 142) return RectangularShredRegion(e);
    if (n == 143 || n == 144) return SweepRegion(n, e);
    if (n >= 145 && n <= 148) return AppearingRectanglesRegion(n, e);
    if (n == 149 || n == 150) return RotatingShapeRegion(n, e);
    return std::nullopt;
}

namespace {

// One frame of effect N: the family is chosen by the number.
template <int32_t N>
void Effect(const PixelView& display, const PixelView& image, TRect& updateRect, int32_t step,
            int32_t progress) {
    const Extents e = ComputeExtents(updateRect.Width(), updateRect.Height(), step, progress);
    if (e.W <= 0 || e.H <= 0) return;
    SharedRandom& random = TheRandom();
    if constexpr (N <= 57) {
        RunCopySteps(display, image, RectCopySteps(N, e));
    } else if constexpr (N >= 128 && N <= 135) {
        RunCopySteps(display, image, PushSteps(N, e));
    } else if constexpr (N == 118) {
        FadePixels(display, image, progress);
    } else if constexpr (N >= 119 && N <= 122) {
        PivotPixels(N, display, image, progress);
    } else {
        RevealRegion(display, image, *RevealedRegion(N, e, random));
    }
}

constexpr std::string_view Names[EffectCount] = {
    "Expand from right",
    "Expand from left",
    "Slide in from right",
    "Slide in from left",
    "Reveal from left",
    "Reveal from right",
    "Expand in from right",
    "Expand in from left",
    "Expand in to middle",
    "Expand out from middle",
    "Reveal out from middle",
    "Reveal in from sides",
    "Expand in from sides",
    "Unroll from left",
    "Unroll from right",
    "Build up from right",
    "Build up from left",
    "Expand from bottom",
    "Expand from top",
    "Slide in from bottom",
    "Slide in from top",
    "Reveal from top",
    "Reveal from bottom",
    "Expand in from bottom",
    "Expand in from top",
    "Expand in to middle (horiz)",
    "Expand out from middle (horiz)",
    "Reveal from middle (horiz)",
    "Slide in from top / bottom",
    "Expand in from top / bottom",
    "Unroll from top",
    "Unroll from bottom",
    "Expand from bottom",
    "Expand in from top",
    "Expand from bottom right",
    "Expand from top right",
    "Expand from top left",
    "Expand from bottom left",
    "Slide in from bottom right",
    "Slide in from top right",
    "Slide in from top left",
    "Slide in from bottom left",
    "Reveal from top left",
    "Reveal from bottom left",
    "Reveal from bottom right",
    "Reveal from top right",
    "Appear and Contract to top left",
    "Appear and Contract to bottom left",
    "Appear and Contract to bottom right",
    "Appear and Contract to top right",
    "Appear and Contract to middle",
    "Expand out from centre",
    "Reveal out from centre",
    "Reveal in to centre",
    "Quarters Reveal in to middle",
    "Quarters Expand to middle",
    "Quarters Slide in to middle",
    "Curved Reveal from left",
    "Curved Reveal from right",
    "Bars in from right",
    "Bars in from left",
    "Bars left then right",
    "Bars right then left",
    "Bars from both sides",
    "Uneven shred from right",
    "Uneven shred from left",
    "Uneven shred out from middle (horiz)",
    "Uneven shred in to middle (horiz)",
    "Curved Reveal from top",
    "Curved Reveal from bottom",
    "Bars from bottom",
    "Bars from top",
    "Bars top then bottom",
    "Bars bottom then top",
    "Bars from top and bottom",
    "Unven shred from bottom",
    "Uneven shred from top",
    "Uneven shred from horizon",
    "Uneven shred in to horizon",
    "Curved reveal from top left",
    "Curved reveal from top right",
    "Curved reveal from bottom left",
    "Curved reveal from bottom right",
    "Circular reveal from centre",
    "Circular reveal to centre",
    "Criss Cross reveal from bottom right",
    "Criss Cross reveal from top right",
    "Criss Cross reveal from bottom left",
    "Criss Cross reveal from top left",
    "Criss Cross reveal bounce from top left",
    "Criss Cross reveal bounce from bottom left",
    "Criss Cross reveal bounce from top right",
    "Criss Cross reveal bounce from bottom right",
    "Criss Cross reveal from right top and bottom",
    "Criss Cross reveal from left top and bottom",
    "Criss Cross reveal from left right and bottom",
    "Criss Cross reveal from left right and top",
    "Criss Cross reveal from top left right and bottom",
    "Criss Cross reveal from bottom left top right",
    "Uneven shred from bottom and right",
    "Uneven shred from top and right",
    "Uneven shred from bottom and left",
    "Uneven shred from top and left",
    "Uneven shred from horiz and right",
    "Uneven shred from horiz and left",
    "Uneven shred from bottom and vert middle",
    "Uneven shred from top and vert middle",
    "Uneven shred from centre",
    "Uneven shred to centre",
    "Reveal diagonal from top left",
    "Reveal diagonal from top right",
    "Reveal diagonal from bottom left",
    "Reveal diagonal from bottom right",
    "Diagonal sweep from top left bottom right anticlockwise",
    "Diagonal sweep from top left bottom right clockwise",
    "Starburst clockwise from center",
    "Triangular shred to top left",
    "Fade",
    "Pivot from top left",
    "Pivot from bottom left",
    "Pivot from top right",
    "Pivot from bottom right",
    "Speckle appear from right",
    "Speckle appear from left",
    "Speckle appear from bottom",
    "Speckle appear from top",
    "Random squares appear",
    "Push right",
    "Push left",
    "Push and squeeze right",
    "Push and squeeze left",
    "Push down",
    "Push up",
    "Push and sqeeze down",
    "Push and sqeeze up",
    "Blind vertically",
    "Blind horizontally",
    "Uneven blind from left",
    "Uneven blind from right",
    "Uneven blind from top",
    "Uneven blind from bottom",
    "Rectangular shred",
    "Sweep clockwise",
    "Sweep anticlockwise",
    "Rectangles apear from left and disapear to right",
    "Rectangles apear from right and disapear to left",
    "Rectangles apear from up and disapear to bottom",
    "Rectangles apear from bottom and disapear to up",
    "Rotational rectangle",
    "Rotational star",
};

template <size_t... I>
constexpr std::array<TTransitionEffect, EffectCount> MakeTable(std::index_sequence<I...>) {
    return {{{Names[I], &Effect<int32_t(I) + 1>}...}};
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

} // namespace

const std::array<TTransitionEffect, EffectCount> TransitionEffects =
    MakeTable(std::make_index_sequence<EffectCount>{});

std::string_view EffectName(int32_t style) {
    if (style == 0) return "Custom";
    if (style < 1 || style > EffectCount) return {};
    return TransitionEffects[size_t(style - 1)].Name;
}

int32_t StyleByName(std::string_view name) {
    if (EqualNoCase(name, "Custom")) return 0;
    for (int32_t i = 0; i < EffectCount; ++i)
        if (EqualNoCase(TransitionEffects[size_t(i)].Name, name)) return i + 1;
    return -1;
}

} // namespace somnex
