#pragma once
// Where the mouse cursor is, in screen coordinates.
#include <cstdint>

namespace plat {

struct ScreenPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

class CursorSource {
public:
    virtual ~CursorSource() = default;
    virtual ScreenPoint Pos() = 0;
};

// The toolkit's cursor when its application exists, the X server's pointer before that, (0, 0)
// when there is no display at all.
CursorSource& SystemCursor();

} // namespace plat
