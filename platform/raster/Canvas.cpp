#include "platform/raster/Canvas.h"

#include "platform/raster/QtView.h"

#include <QPainter>
#include <QPolygon>
#include <QRegion>

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

Rect Normalized(const Rect& r) {
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

void FillBox(Bitmap& bmp, const Rect& r, Color c) {
    const int bpp = bmp.BytesPerPixel();
    uint8_t* first = bmp.ScanLine(r.Top) + r.Left * bpp;
    for (int x = 0; x < r.Width(); ++x) {
        uint8_t* p = first + x * bpp;
        p[0] = BlueOf(c);
        p[1] = GreenOf(c);
        p[2] = RedOf(c);
        if (bpp == 4) p[3] = 0xFF;
    }
    const size_t bytes = size_t(r.Width()) * size_t(bpp);
    for (int y = r.Top + 1; y < r.Bottom; ++y) std::memcpy(bmp.ScanLine(y) + r.Left * bpp, first, bytes);
}

} // namespace

Rect Canvas::ClipRect() const {
    Rect r = bmp_.ClipRect();
    if (clip_) r = r.Intersect(clip_->BoundingBox());
    return r;
}

Region Canvas::Clipped(const Region& r) const {
    Region out = r.Intersected(Region::FromRect(bmp_.ClipRect()));
    if (clip_) out.Intersect(*clip_);
    return out;
}

void Canvas::FillSpans(const Region& area, Color c) {
    for (const Rect& r : Clipped(area).Rects()) FillBox(bmp_, r, c);
}

void Canvas::FillRect(const Rect& r, Color c) {
    const Rect n = Normalized(r).Intersect(bmp_.ClipRect());
    if (n.IsEmpty()) return;
    if (!clip_) {
        FillBox(bmp_, n, c);
        return;
    }
    FillSpans(Region::FromRect(n), c);
}

void Canvas::FillRect(const Rect& r) {
    if (brush_.Style == BrushStyle::Solid) FillRect(r, brush_.BrushColor);
}

void Canvas::FillRegion(const Region& r) {
    if (brush_.Style == BrushStyle::Solid) FillSpans(r, brush_.BrushColor);
}

void Canvas::OutlineRegion(const Region& outer, const Region& inner) {
    const bool pen = pen_.Style == PenStyle::Solid && pen_.Width > 0;
    if (brush_.Style == BrushStyle::Solid) FillSpans(pen ? inner : outer, brush_.BrushColor);
    if (pen) FillSpans(outer.Subtracted(inner), pen_.PenColor);
}

void Canvas::Rectangle(const Rect& r) {
    const Rect n = Normalized(r);
    const int pw = std::max(pen_.Width, 0);
    OutlineRegion(Region::FromRect(n), Region::FromRect(n.Inflate(-pw, -pw)));
}

void Canvas::Ellipse(const Rect& r) {
    const Rect n = Normalized(r);
    const int pw = std::max(pen_.Width, 0);
    OutlineRegion(Region::FromEllipse(n), Region::FromEllipse(n.Inflate(-pw, -pw)));
}

void Canvas::RoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) {
    const Rect n = Normalized(r);
    const int pw = std::max(pen_.Width, 0);
    OutlineRegion(Region::FromRoundRect(n, ellipseWidth, ellipseHeight),
                  Region::FromRoundRect(n.Inflate(-pw, -pw), ellipseWidth - 2 * pw, ellipseHeight - 2 * pw));
}

void Canvas::Polygon(const std::vector<Point>& points, FillRule rule) {
    if (points.empty() || bmp_.Empty()) return;
    if (brush_.Style == BrushStyle::Solid) FillSpans(Region::FromPolygon(points, rule), brush_.BrushColor);
    if (pen_.Style != PenStyle::Solid || pen_.Width <= 0) return;
    QImage view = QtViewOf(bmp_);
    QPainter p(&view);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (clip_) p.setClipRegion(clip_->Native());
    QPen qp(QtColorOf(pen_.PenColor));
    qp.setWidth(pen_.Width);
    qp.setJoinStyle(Qt::MiterJoin);
    p.setPen(qp);
    p.setBrush(Qt::NoBrush);
    QPolygon poly;
    for (const Point& pt : points) poly << QPoint(pt.X, pt.Y);
    p.drawPolygon(poly);
}

} // namespace plat
