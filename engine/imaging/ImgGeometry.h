#pragma once
// Where pictures, logos and captions go: the fit computation, the nine grid positions and
// centred or random origins. Pure arithmetic, so the rounding rules can be checked exactly.
#include "platform/raster/Geometry.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace somnex {

// Halves to even, the rounding every fractional position of this module uses.
int32_t Nearest(double x);

// The rectangle (0, 0, new width, new height) of a picture fitted into a target.
// Mode 0 keeps the size, 1 stretches, 2 fits the width, 3 fits the height, 4 picks one of those.
// A source or target without height has no aspect ratio; that is an EngineError.
plat::Rect FitRect(int32_t srcWidth, int32_t srcHeight, int32_t dstWidth, int32_t dstHeight, int32_t mode);

// Grid positions: 2..10 are the cells of a 3 × 3 grid read row by row, 1 picks one of them at
// random, anything else is the top-left cell.
plat::Rect PlaceRect(int32_t position, int32_t containerWidth, int32_t containerHeight, int32_t margin,
                     int32_t objectWidth, int32_t objectHeight);

// Top-left corner that centres an object in a container; negative when it is larger.
int32_t CentredOffset(int32_t containerSize, int32_t objectSize);

// Random corner on one axis; an object that does not fit leaves no random range and is centred.
int32_t RandomOffset(int32_t containerSize, int32_t objectSize);

// The line with the most characters, by the pairwise rule that decides ties (see the .cpp).
std::string LongestLine(const std::vector<std::string>& lines);

// Reseeds the shared generator "from the clock". Position 1 of PlaceRect does this on every call;
// tests install a fixed clock so the random cell is reproducible.
using SeedClock = std::function<uint32_t()>;
void SetSeedClock(SeedClock clock); // empty: the real millisecond tick count
void RandomizeFromClock();

} // namespace somnex
