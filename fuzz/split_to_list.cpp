// SplitToList: the first byte's worth of input is the separator. No item holds a line break.
#include "shared/ini/IniText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    size_t sepLength = std::min<size_t>(data[0] % 4, size - 1);
    std::string_view separator(reinterpret_cast<const char*>(data + 1), sepLength);
    std::string_view text(reinterpret_cast<const char*>(data + 1 + sepLength), size - 1 - sepLength);
    size_t total = 0;
    for (const auto& item : somnex::SplitToList(text, separator)) {
        if (item.find_first_of("\r\n") != std::string::npos) std::abort();
        total += item.size();
    }
    if (total > text.size()) std::abort();
    return 0;
}
