#pragma once
// The framing of processed field values: an optional checksum, zlib compression and CFB
// encryption, in that order on the way in (docs/store-format.md, "Value frames").
#include "engine/store/StoreCrypto.h"

#include <string>
#include <string_view>

namespace somnex {

struct FieldCoding {
    bool compress = false;
    bool encrypt = false;
    bool checksum = false;
    bool deterministic = false; // synthetic IV, for text fields
    bool framed() const { return compress || encrypt || checksum; }
};

struct CodecContext {
    TCipherAlgo cipher = TCipherAlgo::None;
    int zlibLevel = 9;
    const StoreKeys* keys = nullptr;
};

enum FrameFlag : uint8_t { kFrameCompressed = 1, kFrameEncrypted = 2, kFrameChecksum = 4 };

std::string encodeValue(const CodecContext& ctx, const FieldCoding& coding, std::string_view plain);
// Raises the store's "damaged" error (naming `file`) for a frame that does not decode. A
// deterministic value is also checked against its synthetic IV, which catches a changed text.
std::string decodeValue(const CodecContext& ctx, const FieldCoding& coding, std::string_view frame,
                        const std::string& file);

} // namespace somnex
