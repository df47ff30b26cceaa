#pragma once
// The per-pixel arithmetic of blending and supersampled reduction, on raw 24-bit rows of
// blue, green, red bytes. Kept apart from the bitmaps so the exact values can be tested.
#include <cstdint>

namespace somnex {

// Opacity a mask pixel gives: its red value when red equals green plus blue (black included),
// otherwise its rounded luminance.
uint8_t MaskOpacity(uint8_t r, uint8_t g, uint8_t b);

// One blended channel. The sum is divided by 256, so even full opacity loses one level of 255.
inline uint8_t BlendChannel(uint8_t background, uint8_t picture, uint32_t a) {
    return uint8_t(((255 - a) * background + a * picture) >> 8);
}

// Blends one row of the picture over the background row in place. With a mask row the opacity
// comes from each mask pixel, otherwise from `opacity`. When `keyed`, picture pixels of colour
// `key` (blue, green, red) stay as they are and are copied into the background instead.
void BlendRow(uint8_t* picture, uint8_t* background, const uint8_t* mask, int32_t width, uint8_t opacity,
              bool keyed, const uint8_t key[3]);

// Averages 3 × 3 samples per target pixel into one target row. `rows` are the three source
// rows behind this target row and `offsets[3x + k]` the byte offset, within a row, of sample
// column k of target pixel x; each average drops the remainder of the division by 9.
void AverageRow(const uint8_t* const rows[3], const int32_t* offsets, int32_t width, uint8_t* target);

} // namespace somnex
