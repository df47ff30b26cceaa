#pragma once
// Paints a gradient pattern straight into bitmap rows. Later shapes cover earlier ones, so each
// row is filled from the last shape back to the first and every pixel is written once, however
// many of the pattern's shapes overlap it.
#include "engine/imaging/GradientPattern.h"
#include "platform/raster/Bitmap.h"

#include <vector>

namespace somnex {

// Records the shapes a pattern sends, then renders them with the canvas's coverage: rectangles
// right and bottom exclusive, ellipses by pixel centres, polygons even-odd.
class GradientSpanPainter final : public GradientSink {
public:
    void SetColor(uint32_t color) override { color_ = color; }
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void Polygon(const GradientPoint* points, int32_t count) override;

    // Paints every recorded shape onto `target`; pixels no shape covers keep their colour.
    void Render(plat::Bitmap& target) const;

private:
    enum class Kind : uint8_t { Rect, Ellipse, Polygon };
    struct Shape {
        Kind kind;
        uint32_t color;
        int32_t count;       // polygon corners
        GradientPoint p[4];  // rectangles and ellipses: the normalized box's corners
        int32_t top, bottom; // rows the shape may touch
    };
    struct Span {
        int32_t from, to;
    };
    // Spans of one shape on row y, appended to `out`.
    void RowSpans(const Shape& s, int32_t y, std::vector<Span>& out) const;

    uint32_t color_ = 0;
    std::vector<Shape> shapes_;
};

} // namespace somnex
