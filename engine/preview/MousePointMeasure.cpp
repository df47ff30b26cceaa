#include "engine/preview/MousePointMeasure.h"

#include <cstdlib>

namespace somnex {

bool TMousePointMeasure::PointMoved(int32_t X, int32_t Y) {
    // 64-bit differences: screen coordinates at opposite ends of the range must not overflow.
    bool moved = std::llabs(int64_t(X) - point_.X) > MovementThreshold ||
                 std::llabs(int64_t(Y) - point_.Y) > MovementThreshold;
    if (moved) point_ = {X, Y};
    return moved;
}

bool TMousePointMeasure::CursorMoved() {
    plat::ScreenPoint p = cursor_.Pos();
    return PointMoved(p.X, p.Y);
}

} // namespace somnex
