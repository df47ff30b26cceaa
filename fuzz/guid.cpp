#include "platform/com/Guid.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto g = plat::TryParseGuid(text)) {
        // What parses must print back to the same GUID.
        if (!(plat::ParseGuid(plat::GuidToString(*g)) == *g)) std::abort();
    }
    return 0;
}
