#include "engine/imaging/RowKernels.h"

#include "engine/imaging/ImgGeometry.h"

namespace somnex {

uint8_t MaskOpacity(uint8_t r, uint8_t g, uint8_t b) {
    if (int32_t(r) - g - b == 0) return r;
    return uint8_t(Nearest(0.30 * r + 0.59 * g + 0.11 * b));
}

void BlendRow(uint8_t* picture, uint8_t* background, const uint8_t* mask, int32_t width, uint8_t opacity,
              bool keyed, const uint8_t key[3]) {
    for (int32_t x = 0; x < width; ++x, picture += 3, background += 3) {
        uint32_t a = opacity;
        if (mask) {
            a = MaskOpacity(mask[2], mask[1], mask[0]);
            mask += 3;
        }
        if (keyed && picture[0] == key[0] && picture[1] == key[1] && picture[2] == key[2]) {
            background[0] = picture[0], background[1] = picture[1], background[2] = picture[2];
            continue;
        }
        picture[0] = BlendChannel(background[0], picture[0], a);
        picture[1] = BlendChannel(background[1], picture[1], a);
        picture[2] = BlendChannel(background[2], picture[2], a);
    }
}

void AverageRow(const uint8_t* const rows[3], const int32_t* offsets, int32_t width, uint8_t* target) {
    for (int32_t x = 0; x < width; ++x, offsets += 3, target += 3) {
        uint32_t b = 0, g = 0, r = 0;
        for (int k = 0; k < 3; ++k)
            for (int j = 0; j < 3; ++j) {
                const uint8_t* p = rows[k] + offsets[j];
                b += p[0], g += p[1], r += p[2];
            }
        target[0] = uint8_t(b / 9), target[1] = uint8_t(g / 9), target[2] = uint8_t(r / 9);
    }
}

} // namespace somnex
