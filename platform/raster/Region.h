#pragma once
// An area of the pixel plane made of rectangles, rounded rectangles, ellipses and polygons,
// combined by union, intersection and difference. Used to clip canvas drawing.
#include "platform/raster/Geometry.h"

#include <memory>
#include <vector>

class QRegion;

namespace plat {

enum class FillRule {
    EvenOdd, // "alternate"
    NonZero, // "winding"
};

class Region {
public:
    Region(); // empty
    ~Region();
    Region(const Region& other);
    Region& operator=(const Region& other);
    Region(Region&&) noexcept;
    Region& operator=(Region&&) noexcept;

    static Region FromRect(const Rect& r);
    // The rectangle with its corners cut by quarter ellipses `ellipseWidth` wide and
    // `ellipseHeight` high (whole-ellipse sizes, clamped to the rectangle's).
    static Region FromRoundRect(const Rect& r, int ellipseWidth, int ellipseHeight);
    // The ellipse inscribed in the rectangle.
    static Region FromEllipse(const Rect& r);
    static Region FromPolygon(const std::vector<Point>& points, FillRule rule);

    Region United(const Region& o) const;
    Region Intersected(const Region& o) const;
    Region Subtracted(const Region& o) const;
    Region& Unite(const Region& o);
    Region& Intersect(const Region& o);
    Region& Subtract(const Region& o);
    Region Translated(int dx, int dy) const;

    bool IsEmpty() const;
    Rect BoundingBox() const;
    bool Contains(int x, int y) const;
    // Non-overlapping rectangles, sorted top to bottom then left to right.
    std::vector<Rect> Rects() const;

    const QRegion& Native() const { return *r_; }

private:
    explicit Region(const QRegion& q);
    std::unique_ptr<QRegion> r_;
};

} // namespace plat
