#pragma once
// The raster operations slides are built from: filling and sizing, fitted resizing with a
// supersampled reduction, placing pictures, blending, and the five fixed transforms.
// Errors of the graphics layer (bad sizes, unreadable files) pass through to the caller.
#include "platform/raster/Bitmap.h"
#include "platform/raster/Canvas.h"

#include <cstdint>

namespace somnex {

// Supersampling for ReduceAntiAliased. The averaging is fixed at 3 × 3, so only 3 makes sense.
class TAntiAlias {
public:
    int32_t Factor = 3;
    plat::Bitmap Work; // exists only during one reduction
};

void FillBitmap(plat::Bitmap& bitmap, plat::Color color);
void SetBitmapSize(plat::Bitmap& bitmap, int32_t width, int32_t height, plat::Color color);
void SetBitmapToRect(plat::Bitmap& bitmap, const plat::Rect& rect, plat::Color color);

// Resizes in place to FitRect's size: enlargements are stretched, reductions supersampled when
// antiAlias is set.
void ResizeBitmap(plat::Bitmap& bitmap, int32_t width, int32_t height, int32_t mode, bool antiAlias);
// Fills `target` (already sized) with the 3 × 3 supersampled reduction of `source`.
void ReduceAntiAliased(TAntiAlias& antiAlias, const plat::Bitmap& source, plat::Bitmap& target);

// Each returns the rectangle the picture occupies (or would, when measureOnly).
plat::Rect DrawCentered(plat::Canvas& canvas, const plat::Bitmap& picture, bool measureOnly);
plat::Rect DrawAtRandom(plat::Canvas& canvas, const plat::Bitmap& picture, bool measureOnly);
void DrawTiled(plat::Canvas& canvas, const plat::Rect& rect, const plat::Bitmap& picture);

// Mixes `picture` with `background` in place. Mode 1 uses `opacity`, mode 2 each mask pixel's
// grey level. A picture marked transparent keeps its pixels of `transparent` colour, which are
// copied into the background instead. All three are converted to 24 bits; the background and
// mask must be at least the picture's size.
void BlendBitmap(int32_t mode, plat::Bitmap& picture, plat::Bitmap* mask, plat::Bitmap& background,
                 uint8_t opacity, plat::Color transparent);

// Each replaces the bitmap by its transformed copy.
void Rotate180(plat::Bitmap& bitmap);
void Rotate90CCW(plat::Bitmap& bitmap); // the top edge becomes the left edge
void Rotate90CW(plat::Bitmap& bitmap);  // the top edge becomes the right edge
void MirrorHorizontal(plat::Bitmap& bitmap);
void FlipVertical(plat::Bitmap& bitmap);

} // namespace somnex
