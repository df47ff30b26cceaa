#include "platform/com/ComObject.h"

namespace plat {

std::atomic<int32_t>& ModuleCounts::Objects() {
    static std::atomic<int32_t> count{0};
    return count;
}
std::atomic<int32_t>& ModuleCounts::LockCount() {
    static std::atomic<int32_t> count{0};
    return count;
}
int32_t ModuleCounts::LiveObjects() {
    return Objects().load();
}
int32_t ModuleCounts::Locks() {
    return LockCount().load();
}
void ModuleCounts::Lock() {
    ++LockCount();
}
void ModuleCounts::Unlock() {
    // A host that unlocks more often than it locked must not make the count negative.
    int32_t n = LockCount().load();
    while (n > 0 && !LockCount().compare_exchange_weak(n, n - 1)) {
    }
}

ComObject::ComObject() {
    ++ModuleCounts::Objects();
}
ComObject::~ComObject() {
    --ModuleCounts::Objects();
}

} // namespace plat
