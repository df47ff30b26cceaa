// Enhanced metafiles (.emf): the records of clip art played onto a white bitmap.
#include "engine/decoders/EmfDecoder.h"

#include "engine/decoders/ByteReader.h"
#include "engine/decoders/Decoders.h"

#include "platform/raster/Canvas.h"
#include "platform/raster/Region.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <optional>
#include <variant>
#include <vector>

namespace somnex {

namespace {

constexpr uint32_t EmfSignature = 0x464D4520; // " EMF"

enum Record : uint32_t {
    EmrHeader = 1,
    EmrPolyBezier = 2,
    EmrPolygon = 3,
    EmrPolyline = 4,
    EmrPolyBezierTo = 5,
    EmrPolylineTo = 6,
    EmrPolyPolyline = 7,
    EmrPolyPolygon = 8,
    EmrSetWindowExtEx = 9,
    EmrSetWindowOrgEx = 10,
    EmrSetViewportExtEx = 11,
    EmrSetViewportOrgEx = 12,
    EmrEof = 14,
    EmrSetPixelV = 15,
    EmrSetMapMode = 17,
    EmrSetBkMode = 18,
    EmrSetPolyFillMode = 19,
    EmrMoveToEx = 27,
    EmrExcludeClipRect = 29,
    EmrIntersectClipRect = 30,
    EmrScaleViewportExtEx = 31,
    EmrScaleWindowExtEx = 32,
    EmrSaveDc = 33,
    EmrRestoreDc = 34,
    EmrSetWorldTransform = 35,
    EmrModifyWorldTransform = 36,
    EmrSelectObject = 37,
    EmrCreatePen = 38,
    EmrCreateBrushIndirect = 39,
    EmrDeleteObject = 40,
    EmrEllipse = 42,
    EmrRectangle = 43,
    EmrRoundRect = 44,
    EmrLineTo = 54,
    EmrBeginPath = 59,
    EmrEndPath = 60,
    EmrCloseFigure = 61,
    EmrFillPath = 62,
    EmrStrokeAndFillPath = 63,
    EmrStrokePath = 64,
    EmrSelectClipPath = 67,
    EmrAbortPath = 68,
    EmrExtSelectClipRgn = 75,
    EmrBitBlt = 76,
    EmrStretchBlt = 77,
    EmrStretchDiBits = 81,
    EmrPolyBezier16 = 85,
    EmrPolygon16 = 86,
    EmrPolyline16 = 87,
    EmrPolyBezierTo16 = 88,
    EmrPolylineTo16 = 89,
    EmrPolyPolyline16 = 90,
    EmrPolyPolygon16 = 91,
    EmrExtCreatePen = 95,
};

enum MapMode {
    MmText = 1,
    MmLoMetric,
    MmHiMetric,
    MmLoEnglish,
    MmHiEnglish,
    MmTwips,
    MmIsotropic,
    MmAnisotropic
};

constexpr uint32_t StockObject = 0x80000000;
constexpr int PsNull = 5;
constexpr uint32_t PsGeometric = 0x00010000;
constexpr uint32_t BsNull = 1;
constexpr int Transparent = 1;
constexpr int Winding = 2;
constexpr int RgnAnd = 1, RgnOr = 2, RgnXor = 3, RgnDiff = 4, RgnCopy = 5;

// Raster operations with a source, and the ones that only paint.
constexpr uint32_t SrcCopy = 0x00CC0020, SrcAnd = 0x008800C6, SrcPaint = 0x00EE0086, SrcInvert = 0x00660046,
                   NotSrcCopy = 0x00330008;
constexpr uint32_t PatCopy = 0x00F00021, Blackness = 0x00000042, Whiteness = 0x00FF0062,
                   DstInvert = 0x00550009;

// Device coordinates never get further than this outside the bitmap before they are clipped.
constexpr double Far = 1e8;

struct PointD {
    double x = 0, y = 0;
};

// World transform, applied to row vectors: (x, y, 1) x M.
struct XForm {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    PointD Apply(PointD p) const { return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy}; }
    // This transform applied first, then `o`.
    XForm Then(const XForm& o) const {
        return {m11 * o.m11 + m12 * o.m21, m11 * o.m12 + m12 * o.m22,      m21 * o.m11 + m22 * o.m21,
                m21 * o.m12 + m22 * o.m22, dx * o.m11 + dy * o.m21 + o.dx, dx * o.m12 + dy * o.m22 + o.dy};
    }
};

struct PenObject {
    plat::Color color = plat::ColorBlack;
    double width = 0; // logical units; 0 is one pixel whatever the mapping
    bool null = false;
};

struct BrushObject {
    plat::Color color = plat::ColorWhite;
    bool null = false;
};

using Object = std::variant<std::monostate, PenObject, BrushObject>;

struct DcState {
    int mapMode = MmText;
    PointD windowOrg, viewportOrg;
    PointD windowExt{1, 1}, viewportExt{1, 1};
    XForm world;
    PenObject pen;
    BrushObject brush;
    bool transparentBk = false;
    plat::FillRule fillRule = plat::FillRule::EvenOdd;
    PointD position; // logical
    std::optional<plat::Region> clip;
};

struct Figure {
    std::vector<PointD> points; // device
    bool closed = false;
};

plat::Color ColorRef(uint32_t c) {
    return plat::MakeColor(uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16));
}

double Finite(double v) {
    if (!(v == v)) return 0;
    return std::clamp(v, -Far, Far);
}

int Round(double v) {
    return int(std::lround(std::clamp(v, -Far, Far)));
}

float F32(ByteReader& in) {
    const uint32_t bits = in.U32LE();
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

int32_t I32(ByteReader& in) {
    return int32_t(in.U32LE());
}

int16_t I16(ByteReader& in) {
    return int16_t(in.U16LE());
}

// Sutherland-Hodgman against a box: keeps the winding number of every point inside it, which is
// all a fill needs, and keeps coordinates small for the rasteriser.
std::vector<PointD> ClipToBox(const std::vector<PointD>& in, double x0, double y0, double x1, double y1) {
    std::vector<PointD> cur = in, next;
    const auto pass = [&](auto inside, auto cross) {
        next.clear();
        for (size_t i = 0; i < cur.size(); ++i) {
            const PointD a = cur[i], b = cur[(i + 1) % cur.size()];
            const bool ia = inside(a), ib = inside(b);
            if (ia) next.push_back(a);
            if (ia != ib) next.push_back(cross(a, b));
        }
        std::swap(cur, next);
    };
    const auto atX = [](PointD a, PointD b, double x) {
        return PointD{x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)};
    };
    const auto atY = [](PointD a, PointD b, double y) {
        return PointD{a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
    };
    pass([&](PointD p) { return p.x >= x0; }, [&](PointD a, PointD b) { return atX(a, b, x0); });
    pass([&](PointD p) { return p.x <= x1; }, [&](PointD a, PointD b) { return atX(a, b, x1); });
    pass([&](PointD p) { return p.y >= y0; }, [&](PointD a, PointD b) { return atY(a, b, y0); });
    pass([&](PointD p) { return p.y <= y1; }, [&](PointD a, PointD b) { return atY(a, b, y1); });
    return cur;
}

// Liang-Barsky: the part of segment a-b inside the box, or false.
bool ClipSegment(PointD& a, PointD& b, double x0, double y0, double x1, double y1) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - x0, x1 - a.x, a.y - y0, y1 - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    b = {a.x + t1 * dx, a.y + t1 * dy};
    a = {a.x + t0 * dx, a.y + t0 * dy};
    return true;
}

class Player {
public:
    Player(plat::Bitmap& bmp, int objects, PointD origin, PointD pixelsPerMm, const std::string& what)
        : bmp_(bmp), canvas_(bmp), objects_(size_t(objects)), origin_(origin), pixelsPerMm_(pixelsPerMm),
          what_(what) {}

    // One record, header included; returns false at the end-of-file record.
    bool Play(const uint8_t* record, size_t size) {
        ByteReader in(record + 8, size - 8, what_);
        const uint32_t type = uint32_t(record[0] | record[1] << 8 | record[2] << 16) | uint32_t(record[3])
                                                                                           << 24;
        record_ = record;
        recordSize_ = size;
        Charge(64);
        switch (type) {
        case EmrEof:
            return false;
        case EmrSetWindowExtEx:
        case EmrSetViewportExtEx: {
            const PointD ext{double(I32(in)), double(I32(in))};
            if (ext.x == 0 || ext.y == 0) break; // refused by the platform too
            if (s_.mapMode != MmIsotropic && s_.mapMode != MmAnisotropic) break;
            (type == EmrSetWindowExtEx ? s_.windowExt : s_.viewportExt) = ext;
            break;
        }
        case EmrSetWindowOrgEx:
            s_.windowOrg = {double(I32(in)), double(I32(in))};
            break;
        case EmrSetViewportOrgEx:
            s_.viewportOrg = {double(I32(in)), double(I32(in))};
            break;
        case EmrScaleViewportExtEx:
        case EmrScaleWindowExtEx: {
            const double xNum = I32(in), xDen = I32(in), yNum = I32(in), yDen = I32(in);
            PointD& ext = type == EmrScaleWindowExtEx ? s_.windowExt : s_.viewportExt;
            if (xNum == 0 || xDen == 0 || yNum == 0 || yDen == 0) break;
            if (s_.mapMode != MmIsotropic && s_.mapMode != MmAnisotropic) break;
            ext = {Finite(ext.x * xNum / xDen), Finite(ext.y * yNum / yDen)};
            break;
        }
        case EmrSetMapMode:
            SetMapMode(int(in.U32LE()));
            break;
        case EmrSetBkMode:
            s_.transparentBk = in.U32LE() == Transparent;
            break;
        case EmrSetPolyFillMode:
            s_.fillRule = in.U32LE() == Winding ? plat::FillRule::NonZero : plat::FillRule::EvenOdd;
            break;
        case EmrSaveDc:
            if (saved_.size() < size_t(MaxEmfSavedStates)) saved_.push_back(s_);
            break;
        case EmrRestoreDc: {
            // Negative: that many states back; positive: that saved state counted from the first.
            const int32_t n = I32(in);
            const int64_t keep = n < 0 ? int64_t(saved_.size()) + n : int64_t(n) - 1;
            if (keep < 0 || keep >= int64_t(saved_.size())) break;
            s_ = saved_[size_t(keep)];
            saved_.resize(size_t(keep));
            break;
        }
        case EmrSetWorldTransform:
            if (auto x = ReadXForm(in)) s_.world = *x;
            break;
        case EmrModifyWorldTransform: {
            const std::optional<XForm> x = ReadXForm(in);
            const uint32_t mode = in.U32LE();
            if (mode == 1)
                s_.world = XForm{};
            else if (!x)
                break;
            else if (mode == 2)
                s_.world = x->Then(s_.world);
            else if (mode == 3)
                s_.world = s_.world.Then(*x);
            else if (mode == 4)
                s_.world = *x;
            break;
        }
        case EmrCreatePen: {
            const uint32_t index = in.U32LE();
            PenObject pen;
            const uint32_t style = in.U32LE();
            pen.width = std::abs(double(I32(in)));
            in.Skip(4);
            pen.color = ColorRef(in.U32LE());
            pen.null = (style & 0xF) == PsNull;
            Store(index, pen);
            break;
        }
        case EmrExtCreatePen: {
            const uint32_t index = in.U32LE();
            in.Skip(16); // the pattern bitmap's place
            PenObject pen;
            const uint32_t style = in.U32LE();
            const uint32_t width = in.U32LE();
            const uint32_t brushStyle = in.U32LE();
            pen.color = ColorRef(in.U32LE());
            pen.width = (style & PsGeometric) ? double(width) : 0;
            pen.null = (style & 0xF) == PsNull || brushStyle == BsNull;
            Store(index, pen);
            break;
        }
        case EmrCreateBrushIndirect: {
            const uint32_t index = in.U32LE();
            BrushObject brush;
            const uint32_t style = in.U32LE();
            brush.color = ColorRef(in.U32LE());
            brush.null = style == BsNull;
            Store(index, brush);
            break;
        }
        case EmrSelectObject:
            Select(in.U32LE());
            break;
        case EmrDeleteObject: {
            const uint32_t index = in.U32LE();
            if (index < objects_.size()) objects_[index] = std::monostate{};
            break;
        }
        case EmrMoveToEx: {
            s_.position = ReadPoint(in, false);
            if (inPath_) path_.push_back({{Device(s_.position)}, false});
            break;
        }
        case EmrLineTo: {
            const PointD to = ReadPoint(in, false);
            AddLine({s_.position, to}, true);
            s_.position = to;
            break;
        }
        case EmrSetPixelV: {
            const PointD at = Device(ReadPoint(in, false));
            const plat::Color c = ColorRef(in.U32LE());
            Plot(Round(std::floor(at.x)), Round(std::floor(at.y)), c);
            break;
        }
        case EmrRectangle:
        case EmrEllipse:
        case EmrRoundRect: {
            const int32_t l = I32(in), t = I32(in), r = I32(in), b = I32(in);
            PointD corner;
            if (type == EmrRoundRect) corner = {double(I32(in)), double(I32(in))};
            Shape(type, l, t, r, b, corner);
            break;
        }
        case EmrPolygon:
        case EmrPolyline:
        case EmrPolyBezier:
        case EmrPolylineTo:
        case EmrPolyBezierTo:
        case EmrPolygon16:
        case EmrPolyline16:
        case EmrPolyBezier16:
        case EmrPolylineTo16:
        case EmrPolyBezierTo16:
            Poly(type, in);
            break;
        case EmrPolyPolygon:
        case EmrPolyPolyline:
        case EmrPolyPolygon16:
        case EmrPolyPolyline16:
            PolyPoly(type, in);
            break;
        case EmrBeginPath:
            inPath_ = true;
            path_.clear();
            break;
        case EmrEndPath:
            inPath_ = false;
            break;
        case EmrCloseFigure:
            if (inPath_ && !path_.empty()) {
                path_.back().closed = true;
                // The next line starts where the figure did.
                s_.position = Logical(path_.back().points.front());
            }
            break;
        case EmrAbortPath:
        case EmrSelectClipPath:
            inPath_ = false;
            path_.clear();
            break;
        case EmrFillPath:
        case EmrStrokePath:
        case EmrStrokeAndFillPath:
            if (inPath_) break;
            if (type != EmrStrokePath) Fill(path_);
            if (type != EmrFillPath) Stroke(path_);
            path_.clear();
            break;
        case EmrIntersectClipRect:
        case EmrExcludeClipRect: {
            const int32_t l = I32(in), t = I32(in), r = I32(in), b = I32(in);
            const plat::Region box = plat::Region::FromRect(DeviceRect(l, t, r, b));
            plat::Region clip = s_.clip ? *s_.clip : plat::Region::FromRect(bmp_.ClipRect());
            if (type == EmrIntersectClipRect)
                clip.Intersect(box);
            else
                clip.Subtract(box);
            SetClip(std::move(clip));
            break;
        }
        case EmrExtSelectClipRgn:
            ClipRegion(in);
            break;
        case EmrBitBlt:
        case EmrStretchBlt:
        case EmrStretchDiBits:
            Blit(type, in);
            break;
        default:
            break; // not drawn
        }
        return true;
    }

private:
    void Charge(int64_t units) {
        work_ += units;
        if (work_ > EmfWorkBudget) FailDecode(what_, "too much drawing work");
    }

    // Page space (after the world transform) to device pixels.
    PointD PageScale() const {
        const double x = pixelsPerMm_.x, y = pixelsPerMm_.y;
        switch (s_.mapMode) {
        case MmLoMetric:
            return {x / 10, -y / 10};
        case MmHiMetric:
            return {x / 100, -y / 100};
        case MmLoEnglish:
            return {x * 0.254, -y * 0.254};
        case MmHiEnglish:
            return {x * 0.0254, -y * 0.0254};
        case MmTwips:
            return {x * 25.4 / 1440, -y * 25.4 / 1440};
        case MmIsotropic:
        case MmAnisotropic: {
            double sx = s_.viewportExt.x / s_.windowExt.x, sy = s_.viewportExt.y / s_.windowExt.y;
            if (s_.mapMode == MmIsotropic) {
                const double m = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(m, sx), sy = std::copysign(m, sy);
            }
            return {sx, sy};
        }
        default:
            return {1, 1};
        }
    }

    PointD Device(PointD logical) const {
        const PointD page = s_.world.Apply(logical);
        const PointD scale = PageScale();
        return {Finite((page.x - s_.windowOrg.x) * scale.x + s_.viewportOrg.x - origin_.x),
                Finite((page.y - s_.windowOrg.y) * scale.y + s_.viewportOrg.y - origin_.y)};
    }

    // Only for the current position after a closed figure; a singular transform gives the origin.
    PointD Logical(PointD device) const {
        const PointD scale = PageScale();
        const PointD page{(device.x + origin_.x - s_.viewportOrg.x) / scale.x + s_.windowOrg.x,
                          (device.y + origin_.y - s_.viewportOrg.y) / scale.y + s_.windowOrg.y};
        const XForm& w = s_.world;
        const double det = w.m11 * w.m22 - w.m12 * w.m21;
        if (det == 0) return {};
        const double x = page.x - w.dx, y = page.y - w.dy;
        return {Finite((x * w.m22 - y * w.m21) / det), Finite((y * w.m11 - x * w.m12) / det)};
    }

    plat::Rect DeviceRect(double l, double t, double r, double b) const {
        const PointD a = Device({l, t}), c = Device({r, b});
        return {Round(std::min(a.x, c.x)), Round(std::min(a.y, c.y)), Round(std::max(a.x, c.x)),
                Round(std::max(a.y, c.y))};
    }

    int PenWidth() const {
        if (s_.pen.width == 0) return 1;
        const PointD scale = PageScale();
        const XForm& w = s_.world;
        const double factor =
            std::sqrt(std::abs(scale.x * scale.y) * std::abs(w.m11 * w.m22 - w.m12 * w.m21));
        const double limit = 2.0 * std::max(bmp_.Width(), bmp_.Height()) + 2;
        return std::max(1, Round(std::min(s_.pen.width * factor, limit)));
    }

    bool Stroking() const { return !s_.pen.null; }
    bool Filling() const { return !s_.brush.null; }

    std::optional<XForm> ReadXForm(ByteReader& in) {
        XForm x{F32(in), F32(in), F32(in), F32(in), F32(in), F32(in)};
        for (double v : {x.m11, x.m12, x.m21, x.m22, x.dx, x.dy})
            if (!std::isfinite(v) || std::abs(v) > Far) return std::nullopt;
        return x;
    }

    PointD ReadPoint(ByteReader& in, bool small) {
        if (small) return {double(I16(in)), double(I16(in))};
        return {double(I32(in)), double(I32(in))};
    }

    void SetMapMode(int mode) {
        if (mode < MmText || mode > MmAnisotropic) return;
        s_.mapMode = mode;
        if (mode != MmIsotropic && mode != MmAnisotropic) s_.windowExt = s_.viewportExt = {1, 1};
    }

    void Store(uint32_t index, Object object) {
        // Slot 0 is the metafile itself.
        if (index == 0 || index >= objects_.size()) return;
        objects_[index] = std::move(object);
    }

    void Select(uint32_t index) {
        if (index & StockObject) {
            static const plat::Color greys[] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0x000000};
            const uint32_t stock = index & ~StockObject;
            if (stock <= 4)
                s_.brush = {greys[stock], false};
            else if (stock == 5)
                s_.brush = {plat::ColorWhite, true};
            else if (stock == 6)
                s_.pen = {plat::ColorWhite, 0, false};
            else if (stock == 7)
                s_.pen = {plat::ColorBlack, 0, false};
            else if (stock == 8)
                s_.pen = {plat::ColorBlack, 0, true};
            else if (stock == 18)
                s_.brush = {plat::ColorWhite, false};
            else if (stock == 19)
                s_.pen = {plat::ColorBlack, 0, false};
            return;
        }
        if (index >= objects_.size()) return;
        if (auto* pen = std::get_if<PenObject>(&objects_[index]))
            s_.pen = *pen;
        else if (auto* brush = std::get_if<BrushObject>(&objects_[index]))
            s_.brush = *brush;
    }

    void SetClip(plat::Region clip) {
        s_.clip = std::move(clip);
        canvas_.SetClipRegion(*s_.clip);
    }

    // Before drawing: the canvas follows the state, which restores may have changed.
    void Prepare() {
        if (s_.clip)
            canvas_.SetClipRegion(*s_.clip);
        else
            canvas_.ClearClipRegion();
        canvas_.SetBackgroundMode(s_.transparentBk ? plat::BackgroundMode::Transparent
                                                   : plat::BackgroundMode::Opaque);
    }

    // Region data: a 32-byte header then device rectangles, relative to the picture's bounds.
    void ClipRegion(ByteReader& in) {
        const uint32_t bytes = in.U32LE();
        const uint32_t mode = in.U32LE();
        if (mode == RgnCopy && bytes == 0) {
            s_.clip.reset();
            return;
        }
        if (bytes < 32 || bytes > in.Left()) return;
        ByteReader rgn(in.Take(bytes), bytes, what_);
        rgn.Skip(8);
        const uint32_t count = rgn.U32LE();
        rgn.Skip(20);
        if (uint64_t(count) * 16 > rgn.Left()) return;
        Charge(int64_t(count) * 16);
        plat::Region area;
        for (uint32_t i = 0; i < count; ++i) {
            const int32_t l = I32(rgn), t = I32(rgn), r = I32(rgn), b = I32(rgn);
            const plat::Rect box{Round(l - origin_.x), Round(t - origin_.y), Round(r - origin_.x),
                                 Round(b - origin_.y)};
            area.Unite(plat::Region::FromRect(box.Intersect(bmp_.ClipRect().Inflate(1, 1))));
        }
        const plat::Region all = plat::Region::FromRect(bmp_.ClipRect());
        const plat::Region cur = s_.clip ? *s_.clip : all;
        if (mode == RgnCopy)
            SetClip(area);
        else if (mode == RgnAnd)
            SetClip(cur.Intersected(area));
        else if (mode == RgnOr)
            SetClip(cur.United(area));
        else if (mode == RgnDiff)
            SetClip(cur.Subtracted(area));
        else if (mode == RgnXor)
            SetClip(cur.United(area).Subtracted(cur.Intersected(area)));
    }

    // Pixel drawing

    void Plot(int x, int y, plat::Color c) {
        if (x < 0 || y < 0 || x >= bmp_.Width() || y >= bmp_.Height()) return;
        if (s_.clip && !s_.clip->Contains(x, y)) return;
        bmp_.SetPixel(x, y, c);
    }

    // A one-pixel line from a to b, b itself left out as the platform does.
    void ThinLine(PointD a, PointD b, plat::Color c) {
        if (!ClipSegment(a, b, -1, -1, bmp_.Width() + 1, bmp_.Height() + 1)) return;
        int x0 = Round(std::floor(a.x)), y0 = Round(std::floor(a.y));
        const int x1 = Round(std::floor(b.x)), y1 = Round(std::floor(b.y));
        const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
        const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
        Charge(int64_t(dx) - dy);
        int err = dx + dy;
        while (x0 != x1 || y0 != y1) {
            Plot(x0, y0, c);
            const int e2 = 2 * err;
            if (e2 >= dy) err += dy, x0 += sx;
            if (e2 <= dx) err += dx, y0 += sy;
        }
    }

    // Device polygons filled with one colour; several figures are joined through the first
    // point so that one scan keeps the fill rule across all of them.
    void FillFigures(const std::vector<std::vector<PointD>>& figures, plat::Color color,
                     plat::FillRule rule) {
        const double m = 4;
        std::vector<plat::Point> joined;
        plat::Point anchor;
        for (const auto& f : figures) {
            Charge(int64_t(f.size()) * 16);
            const std::vector<PointD> clipped = ClipToBox(f, -m, -m, bmp_.Width() + m, bmp_.Height() + m);
            if (clipped.size() < 3) continue;
            if (joined.empty())
                anchor = {Round(clipped[0].x), Round(clipped[0].y)};
            else
                joined.push_back(anchor);
            for (const PointD& p : clipped) joined.push_back({Round(p.x), Round(p.y)});
            joined.push_back({Round(clipped[0].x), Round(clipped[0].y)});
        }
        if (joined.size() < 3) return;
        const plat::Region area = plat::Region::FromPolygon(joined, rule);
        const plat::Rect box = area.BoundingBox().Intersect(bmp_.ClipRect());
        Charge(int64_t(box.Width()) * box.Height());
        Prepare();
        canvas_.SetBrush({color, plat::BrushStyle::Solid});
        canvas_.FillRegion(area);
    }

    void StrokeFigure(const std::vector<PointD>& pts, bool closed) {
        if (!Stroking() || pts.empty()) return;
        const int width = PenWidth();
        const plat::Color c = s_.pen.color;
        const size_t segments = closed ? pts.size() : pts.size() - 1;
        Charge(int64_t(pts.size()) * 16);
        if (width == 1) {
            for (size_t i = 0; i < segments; ++i) ThinLine(pts[i], pts[(i + 1) % pts.size()], c);
            return;
        }
        // Wide pens: each segment as a rectangle reaching half the width past its ends, which
        // also covers the joins.
        const double h = width / 2.0;
        for (size_t i = 0; i < segments; ++i) {
            const PointD a = pts[i], b = pts[(i + 1) % pts.size()];
            double dx = b.x - a.x, dy = b.y - a.y;
            const double len = std::hypot(dx, dy);
            if (len == 0)
                dx = h, dy = 0;
            else
                dx = dx / len * h, dy = dy / len * h;
            FillFigures({{{a.x - dx + dy, a.y - dy - dx},
                          {b.x + dx + dy, b.y + dy - dx},
                          {b.x + dx - dy, b.y + dy + dx},
                          {a.x - dx - dy, a.y - dy + dx}}},
                        c, plat::FillRule::NonZero);
        }
    }

    void Fill(const std::vector<Figure>& figures) {
        if (!Filling()) return;
        std::vector<std::vector<PointD>> shapes;
        for (const Figure& f : figures) shapes.push_back(f.points);
        FillFigures(shapes, s_.brush.color, s_.fillRule);
    }

    void Stroke(const std::vector<Figure>& figures) {
        for (const Figure& f : figures) StrokeFigure(f.points, f.closed);
    }

    // Lines from logical points: drawn, or added to the path (continuing its figure).
    void AddLine(const std::vector<PointD>& logical, bool continues) {
        std::vector<PointD> pts;
        pts.reserve(logical.size());
        for (const PointD& p : logical) pts.push_back(Device(p));
        if (inPath_) {
            if (!continues || path_.empty() || path_.back().closed) path_.push_back({{pts.front()}, false});
            path_.back().points.insert(path_.back().points.end(), pts.begin() + 1, pts.end());
            return;
        }
        StrokeFigure(pts, false);
    }

    void AddClosed(std::vector<std::vector<PointD>> figures) {
        if (inPath_) {
            for (auto& f : figures) path_.push_back({std::move(f), true});
            return;
        }
        std::vector<Figure> shapes;
        for (auto& f : figures) shapes.push_back({std::move(f), true});
        Fill(shapes);
        Stroke(shapes);
    }

    // Cubic Béziers from `from` through groups of three points, flattened in device space.
    std::vector<PointD> Flatten(PointD from, const std::vector<PointD>& pts) {
        std::vector<PointD> out{Device(from)};
        for (size_t i = 0; i + 2 < pts.size(); i += 3) {
            const PointD p0 = out.back(), p1 = Device(pts[i]), p2 = Device(pts[i + 1]),
                         p3 = Device(pts[i + 2]);
            const double span = std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
                                std::hypot(p3.x - p2.x, p3.y - p2.y);
            const int steps = std::clamp(int(std::min(span, 1e6) / 4), 1, 64);
            Charge(steps * 4);
            for (int k = 1; k <= steps; ++k) {
                const double t = double(k) / steps, u = 1 - t;
                out.push_back(
                    {u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x,
                     u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y});
            }
        }
        return out;
    }

    // A record's bounds, then a point count and points of 32 or 16 bits.
    std::vector<PointD> ReadPoints(ByteReader& in, bool small, uint32_t count) {
        const size_t each = small ? 4 : 8;
        if (uint64_t(count) * each > in.Left()) FailDecode(what_, "bad point count");
        Charge(int64_t(count) * 4);
        std::vector<PointD> pts(count);
        for (PointD& p : pts) p = ReadPoint(in, small);
        return pts;
    }

    void Poly(uint32_t type, ByteReader& in) {
        const bool small = type >= EmrPolyBezier16;
        in.Skip(16);
        std::vector<PointD> pts = ReadPoints(in, small, in.U32LE());
        if (pts.empty()) return;
        switch (type) {
        case EmrPolygon:
        case EmrPolygon16: {
            std::vector<PointD> dev;
            for (const PointD& p : pts) dev.push_back(Device(p));
            AddClosed({std::move(dev)});
            break;
        }
        case EmrPolyline:
        case EmrPolyline16:
            AddLine(pts, false);
            break;
        case EmrPolylineTo:
        case EmrPolylineTo16:
            pts.insert(pts.begin(), s_.position);
            s_.position = pts.back();
            AddLine(pts, true);
            break;
        case EmrPolyBezier:
        case EmrPolyBezier16:
        case EmrPolyBezierTo:
        case EmrPolyBezierTo16: {
            const bool to = type == EmrPolyBezierTo || type == EmrPolyBezierTo16;
            const PointD from = to ? s_.position : pts.front();
            if (!to) pts.erase(pts.begin());
            if (pts.size() < 3) break;
            const std::vector<PointD> dev = Flatten(from, pts);
            if (to) s_.position = pts[(pts.size() / 3) * 3 - 1];
            if (inPath_) {
                if (!to || path_.empty() || path_.back().closed) path_.push_back({{dev.front()}, false});
                path_.back().points.insert(path_.back().points.end(), dev.begin() + 1, dev.end());
            } else {
                StrokeFigure(dev, false);
            }
            break;
        }
        default:
            break;
        }
    }

    // Bounds, figure count, point count, the figures' point counts, then all points.
    void PolyPoly(uint32_t type, ByteReader& in) {
        const bool small = type == EmrPolyPolygon16 || type == EmrPolyPolyline16;
        const bool closed = type == EmrPolyPolygon || type == EmrPolyPolygon16;
        in.Skip(16);
        const uint32_t figures = in.U32LE();
        const uint32_t total = in.U32LE();
        if (uint64_t(figures) * 4 > in.Left()) FailDecode(what_, "bad figure count");
        std::vector<uint32_t> counts(figures);
        uint64_t sum = 0;
        for (uint32_t& c : counts) sum += (c = in.U32LE());
        if (sum > total) FailDecode(what_, "bad point count");
        const std::vector<PointD> pts = ReadPoints(in, small, total);
        std::vector<std::vector<PointD>> shapes;
        size_t at = 0;
        for (uint32_t c : counts) {
            std::vector<PointD> one(pts.begin() + long(at), pts.begin() + long(at + c));
            at += c;
            if (one.empty()) continue;
            if (!closed) {
                AddLine(one, false);
                continue;
            }
            for (PointD& p : one) p = Device(p);
            shapes.push_back(std::move(one));
        }
        if (closed) AddClosed(std::move(shapes));
    }

    // Ellipse outline in logical space, for paths and rotated or sheared drawing.
    static std::vector<PointD> EllipsePoints(double l, double t, double r, double b) {
        std::vector<PointD> pts;
        const double cx = (l + r) / 2, cy = (t + b) / 2, rx = (r - l) / 2, ry = (b - t) / 2;
        for (int i = 0; i < 64; ++i) {
            const double a = i * 2 * std::numbers::pi / 64;
            pts.push_back({cx + rx * std::cos(a), cy + ry * std::sin(a)});
        }
        return pts;
    }

    void Shape(uint32_t type, double l, double t, double r, double b, PointD corner) {
        const bool axisAligned = s_.world.m12 == 0 && s_.world.m21 == 0;
        const plat::Rect box = DeviceRect(l, t, r, b);
        const plat::Rect near = bmp_.ClipRect().Inflate(PenWidth() + 2, PenWidth() + 2);
        const bool fits = box.Left >= near.Left && box.Top >= near.Top && box.Right <= near.Right &&
                          box.Bottom <= near.Bottom;
        if (inPath_ || !axisAligned || (type != EmrRectangle && !fits)) {
            std::vector<PointD> outline = type == EmrEllipse || type == EmrRoundRect
                                              ? EllipsePoints(l, t, r, b)
                                              : std::vector<PointD>{{l, t}, {r, t}, {r, b}, {l, b}};
            for (PointD& p : outline) p = Device(p);
            AddClosed({std::move(outline)});
            return;
        }
        Charge(int64_t(std::min(box.Width(), near.Width())) * std::min(box.Height(), near.Height()) + 64);
        Prepare();
        canvas_.SetPen(
            {s_.pen.color, PenWidth(), Stroking() ? plat::PenStyle::Solid : plat::PenStyle::Clear});
        canvas_.SetBrush({s_.brush.color, Filling() ? plat::BrushStyle::Solid : plat::BrushStyle::Clear});
        if (type == EmrRectangle) {
            canvas_.Rectangle(box.Intersect(near));
        } else if (type == EmrEllipse) {
            canvas_.Ellipse(box);
        } else {
            const PointD scale = PageScale();
            canvas_.RoundRect(box, Round(std::abs(corner.x * scale.x * s_.world.m11)),
                              Round(std::abs(corner.y * scale.y * s_.world.m22)));
        }
    }

    // Bitmaps

    // A device-independent bitmap held in the record: header, colour table, then bottom-up rows
    // (top-down for a negative height). Nothing comes back for the layouts left out.
    std::optional<plat::Bitmap> ReadDib(const uint8_t* rec, size_t recSize, uint32_t offBmi, uint32_t cbBmi,
                                        uint32_t offBits, uint32_t cbBits, bool& bottomUp) {
        if (uint64_t(offBmi) + cbBmi > recSize || uint64_t(offBits) + cbBits > recSize || cbBmi < 40)
            return std::nullopt;
        ByteReader h(rec + offBmi, cbBmi, what_);
        const uint32_t headerSize = h.U32LE();
        const int32_t width = I32(h), height = I32(h);
        h.Skip(2);
        const int bits = h.U16LE();
        const uint32_t compression = h.U32LE();
        h.Skip(12);
        uint32_t used = h.U32LE();
        if (headerSize < 40 || headerSize > cbBmi) return std::nullopt;
        if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
        const int64_t rows = std::abs(int64_t(height));
        bottomUp = height > 0;
        if (compression != 0 && !(compression == 3 && (bits == 16 || bits == 32))) return std::nullopt;
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
            return std::nullopt;
        CheckPictureSize(width, rows, what_, MaxEmfPixels);
        const uint64_t stride = (uint64_t(width) * uint64_t(bits) + 31) / 32 * 4;
        if (stride * uint64_t(rows) > cbBits) return std::nullopt;
        if (compression == 3 && cbBmi < 52) return std::nullopt;

        uint32_t masks[3] = {0, 0, 0};
        if (bits == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
        if (bits == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
        h.Seek(headerSize);
        if (compression == 3) {
            // The masks follow the 40-byte header, inside it for the later header versions.
            ByteReader m(rec + offBmi + 40, 12, what_);
            if (headerSize == 40) h.Skip(12);
            for (uint32_t& mask : masks) mask = m.U32LE();
        }
        std::vector<plat::Color> table;
        if (bits <= 8) {
            if (used == 0 || used > (1u << bits)) used = 1u << bits;
            table.assign(1u << bits, plat::ColorBlack);
            for (uint32_t i = 0; i < used && h.Left() >= 4; ++i) {
                const uint8_t* e = h.Take(4);
                table[i] = plat::MakeColor(e[2], e[1], e[0]);
            }
        }
        Charge(int64_t(width) * rows);
        plat::Bitmap dib = AllocatePicture(width, rows, what_, MaxEmfPixels);
        const auto channel = [](uint32_t v, uint32_t mask) -> uint8_t {
            if (mask == 0) return 0;
            int shift = 0;
            while (!((mask >> shift) & 1)) ++shift;
            const uint64_t top = mask >> shift;
            return uint8_t(uint64_t((v & mask) >> shift) * 255 / top);
        };
        for (int64_t y = 0; y < rows; ++y) {
            const uint8_t* src = rec + offBits + (bottomUp ? rows - 1 - y : y) * stride;
            uint8_t* dst = dib.ScanLine(int(y));
            for (int32_t x = 0; x < width; ++x, dst += 3) {
                plat::Color c;
                if (bits <= 8) {
                    const int perByte = 8 / bits;
                    const int shift = 8 - bits * (x % perByte + 1);
                    c = table[(src[x / perByte] >> shift) & ((1 << bits) - 1)];
                } else if (bits == 24) {
                    c = plat::MakeColor(src[x * 3 + 2], src[x * 3 + 1], src[x * 3]);
                } else {
                    const uint32_t v = bits == 16 ? uint32_t(src[x * 2] | src[x * 2 + 1] << 8)
                                                  : uint32_t(src[x * 4]) | uint32_t(src[x * 4 + 1]) << 8 |
                                                        uint32_t(src[x * 4 + 2]) << 16 |
                                                        uint32_t(src[x * 4 + 3]) << 24;
                    c = plat::MakeColor(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
                }
                dst[0] = plat::BlueOf(c), dst[1] = plat::GreenOf(c), dst[2] = plat::RedOf(c);
            }
        }
        return dib;
    }

    static uint8_t Rop(uint32_t rop, uint8_t src, uint8_t dst) {
        switch (rop) {
        case SrcAnd:
            return src & dst;
        case SrcPaint:
            return src | dst;
        case SrcInvert:
            return src ^ dst;
        case NotSrcCopy:
            return uint8_t(~src);
        default:
            return src;
        }
    }

    // Destination given in logical units by a corner and a signed size; source in DIB pixels.
    void Blit(uint32_t type, ByteReader& in) {
        in.Skip(16); // bounds
        int32_t xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc = 0, cySrc = 0;
        uint32_t rop, offBmi, cbBmi, offBits, cbBits;
        if (type == EmrStretchDiBits) {
            xDest = I32(in), yDest = I32(in), xSrc = I32(in), ySrc = I32(in), cxSrc = I32(in),
            cySrc = I32(in);
            offBmi = in.U32LE(), cbBmi = in.U32LE(), offBits = in.U32LE(), cbBits = in.U32LE();
            if (in.U32LE() != 0) return; // colours through a palette
            rop = in.U32LE();
            cxDest = I32(in), cyDest = I32(in);
        } else {
            xDest = I32(in), yDest = I32(in), cxDest = I32(in), cyDest = I32(in);
            rop = in.U32LE();
            xSrc = I32(in), ySrc = I32(in);
            in.Skip(24 + 4); // source transform, background colour
            if (in.U32LE() != 0) return;
            offBmi = in.U32LE(), cbBmi = in.U32LE(), offBits = in.U32LE(), cbBits = in.U32LE();
            if (type == EmrStretchBlt)
                cxSrc = I32(in), cySrc = I32(in);
            else
                cxSrc = cxDest, cySrc = cyDest;
        }
        const PointD a = Device({double(xDest), double(yDest)});
        const PointD b = Device({double(xDest) + cxDest, double(yDest) + cyDest});
        const plat::Rect to{Round(std::min(a.x, b.x)), Round(std::min(a.y, b.y)), Round(std::max(a.x, b.x)),
                            Round(std::max(a.y, b.y))};
        const plat::Rect area = to.Intersect(bmp_.ClipRect());
        if (area.IsEmpty()) return;

        if (cbBmi == 0) {
            // No source: the raster operation paints on its own.
            Prepare();
            if (rop == PatCopy && Filling())
                canvas_.FillRect(area, s_.brush.color);
            else if (rop == Blackness)
                canvas_.FillRect(area, plat::ColorBlack);
            else if (rop == Whiteness)
                canvas_.FillRect(area, plat::ColorWhite);
            else if (rop == DstInvert)
                Paint(area, [](int, int, uint8_t* px) { px[0] ^= 0xFF, px[1] ^= 0xFF, px[2] ^= 0xFF; });
            return;
        }
        if (rop != SrcCopy && rop != SrcAnd && rop != SrcPaint && rop != SrcInvert && rop != NotSrcCopy)
            return;
        bool bottomUp = true;
        const std::optional<plat::Bitmap> dib =
            ReadDib(record_, recordSize_, offBmi, cbBmi, offBits, cbBits, bottomUp);
        if (!dib || cxSrc == 0 || cySrc == 0) return;
        // StretchDIBits counts source rows from the bottom of a bottom-up bitmap.
        const int64_t srcW = std::abs(int64_t(cxSrc)), srcH = std::abs(int64_t(cySrc));
        const int64_t srcLeft = cxSrc > 0 ? xSrc : int64_t(xSrc) + cxSrc;
        int64_t srcTop = cySrc > 0 ? ySrc : int64_t(ySrc) + cySrc;
        if (type == EmrStretchDiBits && bottomUp) srcTop = dib->Height() - (srcTop + srcH);
        const bool flipX = (b.x < a.x) != (cxSrc < 0), flipY = (b.y < a.y) != (cySrc < 0);
        Charge(int64_t(area.Width()) * area.Height());
        Prepare();
        Paint(area, [&](int x, int y, uint8_t* px) {
            int64_t u = (int64_t(x - to.Left) * srcW) / to.Width();
            int64_t v = (int64_t(y - to.Top) * srcH) / to.Height();
            if (flipX) u = srcW - 1 - u;
            if (flipY) v = srcH - 1 - v;
            const int64_t sx = srcLeft + u, sy = srcTop + v;
            if (sx < 0 || sy < 0 || sx >= dib->Width() || sy >= dib->Height()) return;
            const uint8_t* s = dib->ScanLine(int(sy)) + sx * 3;
            for (int i = 0; i < 3; ++i) px[i] = Rop(rop, s[i], px[i]);
        });
    }

    template <typename F>
    void Paint(const plat::Rect& area, F&& f) {
        for (int y = area.Top; y < area.Bottom; ++y) {
            uint8_t* row = bmp_.ScanLine(y);
            for (int x = area.Left; x < area.Right; ++x)
                if (!s_.clip || s_.clip->Contains(x, y)) f(x, y, row + x * 3);
        }
    }

    plat::Bitmap& bmp_;
    plat::Canvas canvas_;
    const uint8_t* record_ = nullptr;
    size_t recordSize_ = 0;
    std::vector<Object> objects_;
    PointD origin_;
    PointD pixelsPerMm_;
    std::string what_;
    DcState s_;
    std::vector<DcState> saved_;
    bool inPath_ = false;
    std::vector<Figure> path_;
    int64_t work_ = 0;
};

} // namespace

plat::Bitmap DecodeEmf(const uint8_t* data, size_t size, const std::string& what) {
    ByteReader in(data, size, what);
    // Header record: bounds in device pixels (inclusive), frame in 0.01 mm, the reference device.
    if (in.U32LE() != EmrHeader) FailDecode(what, "not an enhanced metafile");
    const uint32_t headerSize = in.U32LE();
    int32_t bounds[4], frame[4];
    for (int32_t& v : bounds) v = I32(in);
    for (int32_t& v : frame) v = I32(in);
    if (in.U32LE() != EmfSignature) FailDecode(what, "not an enhanced metafile");
    if (headerSize < 88 || headerSize % 4 != 0 || headerSize > size) FailDecode(what, "bad header size");
    in.Skip(4 + 4 + 4); // version, size, record count
    const int handles = std::max<int>(in.U16LE(), 1);
    in.Skip(2 + 4 + 4 + 4);
    const int32_t devW = I32(in), devH = I32(in), mmW = I32(in), mmH = I32(in);
    const PointD perMm = devW > 0 && devH > 0 && mmW > 0 && mmH > 0
                             ? PointD{double(devW) / mmW, double(devH) / mmH}
                             : PointD{96 / 25.4, 96 / 25.4};

    // Empty bounds happen in files of some writers; the frame then gives the size.
    PointD origin{double(bounds[0]), double(bounds[1])};
    int64_t width = int64_t(bounds[2]) - bounds[0] + 1, height = int64_t(bounds[3]) - bounds[1] + 1;
    if (bounds[2] < bounds[0] || bounds[3] < bounds[1]) {
        origin = {std::floor(frame[0] * perMm.x / 100), std::floor(frame[1] * perMm.y / 100)};
        width = int64_t(std::ceil(frame[2] * perMm.x / 100) - origin.x) + 1;
        height = int64_t(std::ceil(frame[3] * perMm.y / 100) - origin.y) + 1;
    }
    plat::Bitmap bmp = AllocatePicture(width, height, what, MaxEmfPixels);
    bmp.Fill(plat::ColorWhite);

    Player player(bmp, handles, origin, perMm, what);
    in.Seek(headerSize);
    while (in.Left() >= 8) {
        in.Skip(4); // type
        const uint32_t recSize = in.U32LE();
        if (recSize < 8 || recSize % 4 != 0 || recSize - 8 > in.Left())
            FailDecode(what, "bad record size at offset " + std::to_string(in.Pos() - 8));
        if (!player.Play(in.Take(recSize - 8) - 8, recSize)) break;
    }
    return bmp;
}

} // namespace somnex
