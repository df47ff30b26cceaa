// Base64Decode takes any text: a result of three bytes per group at most, or the format error;
// decoding what Base64Encode made gives back the input.
#include "shared/ini/Base64.h"
#include "somnex/EngineError.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        if (somnex::Base64Decode(text).size() > size / 4 * 3) std::abort();
    } catch (const somnex::EngineError&) {
        if (size % 4 == 0) std::abort();
    }
    if (somnex::Base64Decode(somnex::Base64Encode(text)) != text) std::abort();
    somnex::Base64Decode(somnex::Base64Pad(text));
    return 0;
}
