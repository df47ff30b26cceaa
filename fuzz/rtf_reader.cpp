// The rich-text reader on arbitrary text: it either refuses with its own error or gives a
// document whose text it could have read from the input.
#include "notifier/RtfReader.h"
#include "somnex/EngineError.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        heraldex::TRichDocument doc = heraldex::ParseRtf(text);
        if (doc.Paragraphs.empty()) std::abort();
        // Every character costs at least one input byte, and a \u at most four output bytes.
        if (doc.PlainText().size() > 4 * size) std::abort();
    } catch (const somnex::EngineError&) {
    }
    return 0;
}
