#pragma once
// Regions for the reveal effects, kept as horizontal bands of sorted, disjoint spans: building one
// from a few thousand rectangles is a sweep, and drawing through one is a row copy per span.
#include "engine/transitions/Geometry.h"

#include <cstdint>
#include <vector>

namespace somnex {

struct Span {
    int32_t X0 = 0, X1 = 0; // columns X0 .. X1-1
    bool operator==(const Span&) const = default;
};

struct Band {
    int32_t Y0 = 0, Y1 = 0; // rows Y0 .. Y1-1, all with the same spans
    std::vector<Span> Spans;
};

enum class RegionOp { Union, Intersect, Subtract };

class SpanRegion {
public:
    static SpanRegion Full(int32_t w, int32_t h);
    // a op b; Subtract is a minus b.
    static SpanRegion Combine(const SpanRegion& a, const SpanRegion& b, RegionOp op);

    const std::vector<Band>& Bands() const { return bands_; }
    bool Empty() const { return bands_.empty(); }
    bool Contains(int32_t x, int32_t y) const;
    int64_t Area() const;
    // The smallest rectangle holding the region (empty rectangle for an empty region).
    TRect Bounds() const;

private:
    friend class RegionBuilder;
    // Appends rows y0..y1-1 with the given spans, merging into the last band when it continues it.
    void Append(int32_t y0, int32_t y1, std::vector<Span>&& spans);

    std::vector<Band> bands_;
};

// Collects rectangles, polygons (non-zero winding) and rounded rectangles, clipped to the picture
// (0, 0, w, h), and builds their union. A pixel belongs to a polygon or rounded rectangle when its
// centre does.
class RegionBuilder {
public:
    RegionBuilder(int32_t w, int32_t h) : w_(w), h_(h) {}

    void AddRect(const TRect& r);
    void AddRect(int32_t l, int32_t t, int32_t r, int32_t b) { AddRect(TRect{l, t, r, b}); }
    void AddPolygon(const TPolygon& points);
    // The rectangle with its corners cut by quarter ellipses ew wide and eh high.
    void AddRoundRect(const TRect& r, int32_t ew, int32_t eh);

    SpanRegion Build();

private:
    void AddRowSpan(int32_t y, double xa, double xb);

    int32_t w_, h_;
    std::vector<TRect> rects_;
    std::vector<std::vector<Span>> rows_; // per-row spans of the curved shapes, sized on first use
};

} // namespace somnex
