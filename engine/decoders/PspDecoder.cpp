// Paint Shop Pro images (.psp): not decoded yet; every file is refused with a clear message.
#include "engine/decoders/ByteReader.h"
#include "engine/decoders/Decoders.h"

#include <cstring>

namespace somnex {

plat::Bitmap DecodePsp(const uint8_t* data, size_t size, const std::string& what) {
    ByteReader in(data, size, what);
    if (std::memcmp(in.Take(32), "Paint Shop Pro Image File\n\x1a", 27) != 0)
        FailDecode(what, "not a Paint Shop Pro file");
    FailDecode(what, "Paint Shop Pro pictures are not supported");
}

} // namespace somnex
