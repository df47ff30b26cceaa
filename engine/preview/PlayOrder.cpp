#include "engine/preview/PlayOrder.h"

#include "engine/core/SharedRandom.h"

#include <cstddef>
#include <vector>

namespace somnex {

void FillPlayOrder(int32_t Mode, int32_t Count, int32_t Previous, std::deque<int32_t>& Queue) {
    if (!Queue.empty() || Count <= 0) return;
    if (Mode == 0) {
        for (int32_t i = 0; i < Count; ++i) Queue.push_back(i);
        return;
    }
    if (Mode != 1) return;
    std::vector<int32_t> left(static_cast<size_t>(Count));
    for (int32_t i = 0; i < Count; ++i) left[size_t(i)] = i;
    auto take = [&](size_t at) {
        Queue.push_back(left[at]);
        left.erase(left.begin() + std::ptrdiff_t(at));
    };
    // Each draw advances the generator, so drawing again at once gives a new position; no wait.
    size_t first = size_t(TheRandom().Random(int32_t(left.size())));
    while (Count > 1 && left[first] == Previous) first = size_t(TheRandom().Random(int32_t(left.size())));
    take(first);
    while (!left.empty()) take(size_t(TheRandom().Random(int32_t(left.size()))));
}

} // namespace somnex
