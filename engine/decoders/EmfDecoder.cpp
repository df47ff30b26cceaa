// Enhanced metafiles (.emf): not rendered yet; every file is refused with a clear message.
#include "engine/decoders/ByteReader.h"
#include "engine/decoders/Decoders.h"

namespace somnex {

namespace {
constexpr uint32_t EmrHeader = 1;
constexpr uint32_t EmfSignature = 0x464D4520; // " EMF"
} // namespace

plat::Bitmap DecodeEmf(const uint8_t* data, size_t size, const std::string& what) {
    ByteReader in(data, size, what);
    if (in.U32LE() != EmrHeader) FailDecode(what, "not an enhanced metafile");
    in.Seek(40);
    if (in.U32LE() != EmfSignature) FailDecode(what, "not an enhanced metafile");
    FailDecode(what, "enhanced metafiles are not supported");
}

} // namespace somnex
