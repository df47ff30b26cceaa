#pragma once
// Integer geometry in the Windows convention: right and bottom are exclusive.
namespace plat {

struct Point {
    int X = 0;
    int Y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    // Mirrored rectangles (right < left or bottom < top) count as empty here.
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    Rect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
    Rect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
    Rect Intersect(const Rect& o) const;
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline Rect Rect::Intersect(const Rect& o) const {
    Rect r{Left > o.Left ? Left : o.Left, Top > o.Top ? Top : o.Top, Right < o.Right ? Right : o.Right,
           Bottom < o.Bottom ? Bottom : o.Bottom};
    if (r.IsEmpty()) return {};
    return r;
}

} // namespace plat
