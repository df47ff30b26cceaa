#pragma once
// The order in which a player shows pictures, music, effects and movies.
#include <cstdint>
#include <deque>

namespace somnex {

// Fills an empty Queue with Count positions: mode 0 ascending, mode 1 a random permutation whose
// first position differs from Previous (when Count > 1); any other mode, or a queue that still
// holds positions, leaves it alone.
void FillPlayOrder(int32_t Mode, int32_t Count, int32_t Previous, std::deque<int32_t>& Queue);

} // namespace somnex
