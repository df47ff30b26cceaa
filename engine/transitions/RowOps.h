#pragma once
// The raster steps the effects are made of, as direct loops over pixel rows.
#include "engine/transitions/Geometry.h"
#include "engine/transitions/PixelView.h"
#include "engine/transitions/Region.h"

namespace somnex {

// One drawing step of the copy-based effects.
struct CopyStep {
    enum class Kind {
        Copy,    // Image part S stretched onto Display part D
        MirrorH, // as Copy with S clipped to the picture, flipped left to right inside D
        MirrorV, // the same, flipped top to bottom
        Self,    // Display part S onto Display part D, as if from a snapshot taken before
    };
    Kind How = Kind::Copy;
    TRect D, S;
    bool operator==(const CopyStep&) const = default;
};

// Whole-picture copy between two views of the same size; the pixel formats may differ.
void CopyPixels(const PixelView& dst, const PixelView& src);

// Nearest-pixel stretch of src part S onto dst part D, clipped to both pictures. Destination pixels
// whose source falls outside src keep what they had.
void StretchCopy(const PixelView& dst, const TRect& D, const PixelView& src, const TRect& S,
                 bool mirrorH = false, bool mirrorV = false);

void RunCopySteps(const PixelView& display, const PixelView& image, const std::vector<CopyStep>& steps);

// Draws src onto dst at (0, 0), clipped to the region.
void RevealRegion(const PixelView& dst, const PixelView& src, const SpanRegion& region);

} // namespace somnex
