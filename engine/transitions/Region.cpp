#include "engine/transitions/Region.h"

#include <algorithm>
#include <cmath>

namespace somnex {

namespace {

// Sorts spans and merges the ones that overlap or touch.
void Normalize(std::vector<Span>& spans) {
    if (spans.size() < 2) return;
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.X0 < b.X0; });
    size_t out = 0;
    for (size_t i = 1; i < spans.size(); ++i) {
        if (spans[i].X0 <= spans[out].X1)
            spans[out].X1 = std::max(spans[out].X1, spans[i].X1);
        else
            spans[++out] = spans[i];
    }
    spans.resize(out + 1);
}

std::vector<Span> UnionSpans(const std::vector<Span>& a, const std::vector<Span>& b) {
    std::vector<Span> r;
    r.reserve(a.size() + b.size());
    std::merge(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(r),
               [](const Span& x, const Span& y) { return x.X0 < y.X0; });
    Normalize(r);
    return r;
}

std::vector<Span> IntersectSpans(const std::vector<Span>& a, const std::vector<Span>& b) {
    std::vector<Span> r;
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        int32_t x0 = std::max(a[i].X0, b[j].X0), x1 = std::min(a[i].X1, b[j].X1);
        if (x0 < x1) r.push_back({x0, x1});
        if (a[i].X1 < b[j].X1)
            ++i;
        else
            ++j;
    }
    return r;
}

std::vector<Span> SubtractSpans(const std::vector<Span>& a, const std::vector<Span>& b) {
    std::vector<Span> r;
    size_t j = 0;
    for (Span s : a) {
        while (j < b.size() && b[j].X1 <= s.X0) ++j;
        for (size_t k = j; k < b.size() && b[k].X0 < s.X1; ++k) {
            if (b[k].X0 > s.X0) r.push_back({s.X0, b[k].X0});
            s.X0 = std::max(s.X0, b[k].X1);
        }
        if (s.X0 < s.X1) r.push_back(s);
    }
    return r;
}

} // namespace

SpanRegion SpanRegion::Full(int32_t w, int32_t h) {
    SpanRegion r;
    if (w > 0 && h > 0) r.bands_.push_back({0, h, {{0, w}}});
    return r;
}

void SpanRegion::Append(int32_t y0, int32_t y1, std::vector<Span>&& spans) {
    if (spans.empty() || y0 >= y1) return;
    if (!bands_.empty() && bands_.back().Y1 == y0 && bands_.back().Spans == spans) {
        bands_.back().Y1 = y1;
        return;
    }
    bands_.push_back({y0, y1, std::move(spans)});
}

SpanRegion SpanRegion::Combine(const SpanRegion& a, const SpanRegion& b, RegionOp op) {
    std::vector<int32_t> ys;
    for (const Band& band : a.bands_) ys.insert(ys.end(), {band.Y0, band.Y1});
    for (const Band& band : b.bands_) ys.insert(ys.end(), {band.Y0, band.Y1});
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    static const std::vector<Span> none;
    SpanRegion r;
    size_t ia = 0, ib = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int32_t y0 = ys[k], y1 = ys[k + 1];
        while (ia < a.bands_.size() && a.bands_[ia].Y1 <= y0) ++ia;
        while (ib < b.bands_.size() && b.bands_[ib].Y1 <= y0) ++ib;
        const auto& sa = ia < a.bands_.size() && a.bands_[ia].Y0 <= y0 ? a.bands_[ia].Spans : none;
        const auto& sb = ib < b.bands_.size() && b.bands_[ib].Y0 <= y0 ? b.bands_[ib].Spans : none;
        switch (op) {
        case RegionOp::Union:
            r.Append(y0, y1, UnionSpans(sa, sb));
            break;
        case RegionOp::Intersect:
            r.Append(y0, y1, IntersectSpans(sa, sb));
            break;
        case RegionOp::Subtract:
            r.Append(y0, y1, SubtractSpans(sa, sb));
            break;
        }
    }
    return r;
}

bool SpanRegion::Contains(int32_t x, int32_t y) const {
    for (const Band& band : bands_) {
        if (y < band.Y0 || y >= band.Y1) continue;
        for (const Span& s : band.Spans)
            if (x >= s.X0 && x < s.X1) return true;
    }
    return false;
}

int64_t SpanRegion::Area() const {
    int64_t area = 0;
    for (const Band& band : bands_)
        for (const Span& s : band.Spans) area += int64_t(s.X1 - s.X0) * (band.Y1 - band.Y0);
    return area;
}

TRect SpanRegion::Bounds() const {
    if (bands_.empty()) return {};
    TRect r{INT32_MAX, bands_.front().Y0, INT32_MIN, bands_.back().Y1};
    for (const Band& band : bands_) {
        r.Left = std::min(r.Left, band.Spans.front().X0);
        r.Right = std::max(r.Right, band.Spans.back().X1);
    }
    return r;
}

void RegionBuilder::AddRect(const TRect& r) {
    TRect c{std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, w_), std::min(r.Bottom, h_)};
    if (!c.Empty()) rects_.push_back(c);
}

void RegionBuilder::AddRowSpan(int32_t y, double xa, double xb) {
    // Pixels whose centre x + 0.5 lies in [xa, xb).
    double a = std::ceil(xa - 0.5), b = std::ceil(xb - 0.5);
    int32_t x0 = a < 0 ? 0 : a > w_ ? w_ : int32_t(a);
    int32_t x1 = b < 0 ? 0 : b > w_ ? w_ : int32_t(b);
    if (x0 >= x1) return;
    if (rows_.empty()) rows_.resize(size_t(h_));
    rows_[size_t(y)].push_back({x0, x1});
}

void RegionBuilder::AddPolygon(const TPolygon& pts) {
    if (pts.size() < 3 || w_ <= 0 || h_ <= 0) return;
    int32_t minY = pts[0].Y, maxY = pts[0].Y;
    for (const TPoint& p : pts) minY = std::min(minY, p.Y), maxY = std::max(maxY, p.Y);
    struct Crossing {
        double X;
        int Dir;
    };
    std::vector<Crossing> xs;
    for (int32_t y = std::max(minY, 0); y < std::min(maxY, h_); ++y) {
        double yc = y + 0.5;
        xs.clear();
        for (size_t i = 0; i < pts.size(); ++i) {
            const TPoint& p = pts[i];
            const TPoint& q = pts[(i + 1) % pts.size()];
            if (p.Y == q.Y) continue;
            double lo = std::min(p.Y, q.Y), hi = std::max(p.Y, q.Y);
            if (yc < lo || yc >= hi) continue;
            double x = p.X + (yc - p.Y) * double(q.X - p.X) / double(q.Y - p.Y);
            xs.push_back({x, q.Y > p.Y ? 1 : -1});
        }
        std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.X < b.X; });
        int winding = 0;
        double start = 0;
        for (const Crossing& c : xs) {
            int before = winding;
            winding += c.Dir;
            if (before == 0 && winding != 0) start = c.X;
            if (before != 0 && winding == 0) AddRowSpan(y, start, c.X);
        }
    }
}

void RegionBuilder::AddRoundRect(const TRect& r, int32_t ew, int32_t eh) {
    if (r.Empty()) return;
    double rx = std::min(std::abs(ew), r.Width()) / 2.0;
    double ry = std::min(std::abs(eh), r.Height()) / 2.0;
    for (int32_t y = std::max(r.Top, 0); y < std::min(r.Bottom, h_); ++y) {
        double yc = y + 0.5, dy = 0;
        if (yc < r.Top + ry)
            dy = r.Top + ry - yc;
        else if (yc > r.Bottom - ry)
            dy = yc - (r.Bottom - ry);
        double dx = rx;
        if (dy > 0 && ry > 0) {
            double q = dy / ry;
            dx = rx * std::sqrt(std::max(0.0, 1.0 - q * q));
        }
        AddRowSpan(y, r.Left + rx - dx, r.Right - rx + dx);
    }
}

SpanRegion RegionBuilder::Build() {
    // Rectangles: sweep down the distinct top and bottom edges; between two edges the set of
    // rectangles crossing the rows, and so the spans, stays the same.
    SpanRegion rects;
    if (!rects_.empty()) {
        std::vector<int32_t> ys;
        ys.reserve(rects_.size() * 2);
        for (const TRect& r : rects_) ys.insert(ys.end(), {r.Top, r.Bottom});
        std::sort(ys.begin(), ys.end());
        ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
        std::sort(rects_.begin(), rects_.end(), [](const TRect& a, const TRect& b) { return a.Top < b.Top; });
        std::vector<const TRect*> active;
        size_t next = 0;
        std::vector<Span> spans;
        for (size_t k = 0; k + 1 < ys.size(); ++k) {
            int32_t y0 = ys[k];
            std::erase_if(active, [y0](const TRect* r) { return r->Bottom <= y0; });
            while (next < rects_.size() && rects_[next].Top <= y0) active.push_back(&rects_[next++]);
            if (active.empty()) continue;
            spans.clear();
            for (const TRect* r : active) spans.push_back({r->Left, r->Right});
            Normalize(spans);
            rects.Append(y0, ys[k + 1], std::vector<Span>(spans));
        }
    }
    if (rows_.empty()) return rects;

    SpanRegion curves;
    for (int32_t y = 0; y < h_; ++y) {
        auto& row = rows_[size_t(y)];
        Normalize(row);
        curves.Append(y, y + 1, std::move(row));
    }
    rows_.clear();
    if (rects.Empty()) return curves;
    return SpanRegion::Combine(rects, curves, RegionOp::Union);
}

} // namespace somnex
