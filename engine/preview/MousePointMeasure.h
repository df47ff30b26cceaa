#pragma once
// The mouse movement test behind the exit-on-mouse rule: a move counts only when the cursor is
// more than MovementThreshold pixels away from the noted point on either axis.
#include <cstdint>

#include "platform/display/Cursor.h"

namespace somnex {

class TMousePointMeasure {
public:
    static constexpr int32_t MovementThreshold = 15;

    explicit TMousePointMeasure(plat::CursorSource& cursor = plat::SystemCursor()) : cursor_(cursor) {}

    void NoteCursorPos() { point_ = cursor_.Pos(); }
    void SetPoint(int32_t X, int32_t Y) { point_ = {X, Y}; }
    plat::ScreenPoint Point() const { return point_; }
    // A move stores (X, Y) as the new point; otherwise the point stays.
    bool PointMoved(int32_t X, int32_t Y);
    bool CursorMoved();

private:
    plat::CursorSource& cursor_;
    plat::ScreenPoint point_;
};

} // namespace somnex
