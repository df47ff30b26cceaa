#include "platform/registry/KeyPath.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string once = plat::NormalizeKeyPath(text);
    // Normal form is stable, has no empty component, and its ancestry ends at itself.
    if (plat::NormalizeKeyPath(once) != once) std::abort();
    if (once.find("\\\\") != std::string::npos ||
        (!once.empty() && (once.front() == '\\' || once.back() == '\\')))
        std::abort();
    auto chain = plat::KeyPathAncestry(once);
    if (!once.empty() && chain.back() != once) std::abort();
    if (plat::ResolveKeyPath(once, "\\" + once) != once) std::abort();
    return 0;
}
