#pragma once
// The thirteen gradient patterns as geometry: each one is a fixed sequence of flat-coloured
// shapes, later ones painting over earlier ones. A sink receives them, so the same sequence
// drives the canvas and the tests.
#include <cstdint>

namespace somnex {

struct GradientPoint {
    int32_t X, Y;
    bool operator==(const GradientPoint&) const = default;
};

class GradientSink {
public:
    // Every shape after this call is filled in `color` (red in the low byte).
    virtual void SetColor(uint32_t color) = 0;
    // Right and bottom are exclusive.
    virtual void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    // The ellipse inside the box, no outline.
    virtual void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    // Even-odd fill, no outline.
    virtual void Polygon(const GradientPoint* points, int32_t count) = 0;

protected:
    ~GradientSink() = default;
};

constexpr uint8_t GradientDirectionCount = 13;

// Colour of step i out of n: each channel moves from colour 1 by a rounded share of the way to
// colour 2, kept to 8 bits.
uint32_t GradientStepColor(uint32_t color1, uint32_t color2, int32_t i, int32_t n);

// Sends the shapes of one direction for a width × height area. Directions above 12 send none.
void PaintGradientPattern(GradientSink& sink, uint8_t direction, uint32_t color1, uint32_t color2,
                          int32_t width, int32_t height);

} // namespace somnex
