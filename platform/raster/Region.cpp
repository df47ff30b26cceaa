#include "platform/raster/Region.h"

#include <QPolygon>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <utility>

namespace plat {

namespace {

QRect ToQRect(const Rect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

Rect Normalized(const Rect& r) {
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

// Pixels whose centres lie inside the shape: one span per row, rows with equal spans merged,
// which is already the banded form QRegion keeps.
QRegion RoundRectRegion(const Rect& box, int ew, int eh) {
    const int w = box.Width(), h = box.Height();
    if (w <= 0 || h <= 0) return {};
    const double rx = std::min(ew, w) / 2.0, ry = std::min(eh, h) / 2.0;
    if (rx < 1.0 || ry < 1.0) return QRegion(ToQRect(box));
    std::vector<QRect> rects;
    int spanL = 0, spanR = 0, spanTop = box.Top;
    bool open = false;
    auto flush = [&](int y) {
        if (open && spanR > spanL) rects.emplace_back(QRect(spanL, spanTop, spanR - spanL, y - spanTop));
    };
    for (int y = box.Top; y < box.Bottom; ++y) {
        const double yc = y + 0.5;
        double dy = 0;
        if (yc < box.Top + ry)
            dy = box.Top + ry - yc;
        else if (yc > box.Bottom - ry)
            dy = yc - (box.Bottom - ry);
        int inset = 0;
        if (dy > 0) {
            const double q = dy / ry;
            const double dx = q >= 1.0 ? 0.0 : rx * std::sqrt(1.0 - q * q);
            inset = int(std::ceil(rx - dx - 0.5));
        }
        const int l = box.Left + inset, r = box.Right - inset;
        if (!open || l != spanL || r != spanR) {
            flush(y);
            spanL = l;
            spanR = r;
            spanTop = y;
            open = true;
        }
    }
    flush(box.Bottom);
    QRegion out;
    if (!rects.empty()) out.setRects(rects.data(), int(rects.size()));
    return out;
}

} // namespace

Region::Region() : r_(std::make_unique<QRegion>()) {}
Region::Region(const QRegion& q) : r_(std::make_unique<QRegion>(q)) {}
Region::~Region() = default;
Region::Region(const Region& other) : r_(std::make_unique<QRegion>(*other.r_)) {}
Region& Region::operator=(const Region& other) {
    if (this != &other) *r_ = *other.r_;
    return *this;
}
Region::Region(Region&& other) noexcept : r_(std::make_unique<QRegion>()) {
    std::swap(r_, other.r_);
}
Region& Region::operator=(Region&& other) noexcept {
    std::swap(r_, other.r_);
    return *this;
}

Region Region::FromRect(const Rect& r) {
    const Rect n = Normalized(r);
    if (n.IsEmpty()) return {};
    return Region(QRegion(ToQRect(n)));
}

Region Region::FromRoundRect(const Rect& r, int ellipseWidth, int ellipseHeight) {
    return Region(RoundRectRegion(Normalized(r), std::abs(ellipseWidth), std::abs(ellipseHeight)));
}

Region Region::FromEllipse(const Rect& r) {
    const Rect n = Normalized(r);
    return Region(RoundRectRegion(n, n.Width(), n.Height()));
}

Region Region::FromPolygon(const std::vector<Point>& points, FillRule rule) {
    if (points.size() < 3) return {};
    QPolygon poly;
    poly.reserve(qsizetype(points.size()));
    for (const Point& p : points) poly << QPoint(p.X, p.Y);
    return Region(QRegion(poly, rule == FillRule::EvenOdd ? Qt::OddEvenFill : Qt::WindingFill));
}

Region Region::United(const Region& o) const {
    return Region(r_->united(*o.r_));
}
Region Region::Intersected(const Region& o) const {
    return Region(r_->intersected(*o.r_));
}
Region Region::Subtracted(const Region& o) const {
    return Region(r_->subtracted(*o.r_));
}
Region& Region::Unite(const Region& o) {
    *r_ = r_->united(*o.r_);
    return *this;
}
Region& Region::Intersect(const Region& o) {
    *r_ = r_->intersected(*o.r_);
    return *this;
}
Region& Region::Subtract(const Region& o) {
    *r_ = r_->subtracted(*o.r_);
    return *this;
}
Region Region::Translated(int dx, int dy) const {
    return Region(r_->translated(dx, dy));
}

bool Region::IsEmpty() const {
    return r_->isEmpty();
}

Rect Region::BoundingBox() const {
    const QRect b = r_->boundingRect();
    if (b.isEmpty()) return {};
    return {b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
}

bool Region::Contains(int x, int y) const {
    return r_->contains(QPoint(x, y));
}

std::vector<Rect> Region::Rects() const {
    std::vector<Rect> out;
    out.reserve(size_t(r_->rectCount()));
    for (const QRect& q : *r_) out.push_back({q.left(), q.top(), q.left() + q.width(), q.top() + q.height()});
    return out;
}

} // namespace plat
