#pragma once
// The effect families. Each family has a pure geometry function (what to copy or reveal for one
// frame) and the table in PSEffect dispatches numbers to them.
#include "engine/core/SharedRandom.h"
#include "engine/transitions/Geometry.h"
#include "engine/transitions/PixelView.h"
#include "engine/transitions/Region.h"
#include "engine/transitions/RowOps.h"

#include <optional>
#include <vector>

namespace somnex {

// Rectangle copies (1 to 57) and pushes (128 to 135): the copy steps in drawing order.
std::vector<CopyStep> RectCopySteps(int32_t number, const Extents& e);
std::vector<CopyStep> PushSteps(int32_t number, const Extents& e);

// The region families. Shreds, speckles and random squares draw from the generator.
SpanRegion CurvedRevealRegion(int32_t number, const Extents& e);
SpanRegion BarsRegion(int32_t number, const Extents& e);
SpanRegion ShredRegion(int32_t number, const Extents& e, SharedRandom& random);
SpanRegion TriangleRegion(int32_t number, const Extents& e);
SpanRegion SpeckleRegion(int32_t number, const Extents& e, SharedRandom& random);
SpanRegion RandomSquaresRegion(const Extents& e, SharedRandom& random);
SpanRegion BlindsRegion(int32_t number, const Extents& e);              // 136 to 141
SpanRegion RectangularShredRegion(const Extents& e);                    // 142
SpanRegion AppearingRectanglesRegion(int32_t number, const Extents& e); // 145 to 148
SpanRegion SweepRegion(int32_t number, const Extents& e);               // 143, 144
SpanRegion RotatingShapeRegion(int32_t number, const Extents& e);       // 149, 150

// The region of a reveal effect for one frame; none for the copy and pixel families.
std::optional<SpanRegion> RevealedRegion(int32_t number, const Extents& e, SharedRandom& random);

// The pixel families, on views of equal size (32 bits per pixel as the player prepares them; 24
// works too).
void FadePixels(const PixelView& display, const PixelView& image, int32_t progress);
void PivotPixels(int32_t number, const PixelView& display, const PixelView& image, int32_t progress);

} // namespace somnex
