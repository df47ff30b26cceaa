#pragma once
// The catalogue of the 150 numbered transition effects. Entry n of TransitionEffects is Style n;
// projects store the numbers and hosts the names, so both are fixed, misspellings included.
#include "engine/transitions/Geometry.h"
#include "engine/transitions/PixelView.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace somnex {

// Draws one frame into Display, which holds the old screen on entry, from Image (same size).
// UpdateRect may be narrowed to the part that changed. Progress is 1..99, Step 1..100.
// Runs on the frame producer's thread and touches only its arguments (and the shared generator).
using TransitionEffectProc = void (*)(const PixelView& Display, const PixelView& Image, TRect& UpdateRect,
                                      int32_t Step, int32_t Progress);

struct TTransitionEffect {
    std::string_view Name;
    TransitionEffectProc Proc;
};

inline constexpr int32_t EffectCount = 150;
extern const std::array<TTransitionEffect, EffectCount> TransitionEffects;

// Styles whose procedures read pixels and need 32-bit Display and Image.
constexpr bool StyleNeeds32Bits(int32_t style) {
    return style >= 118 && style <= 122;
}

// "Custom" for 0, the table name for 1..150, empty otherwise.
std::string_view EffectName(int32_t style);
// The style a name selects: "Custom" in any case is 0, otherwise the first entry whose name
// matches ignoring case; -1 when nothing matches.
int32_t StyleByName(std::string_view name);

} // namespace somnex
