// Hostile input for the GraphicsMagick-routed formats without a target of their own: the first byte
// picks the extension, the rest is the file. Any bytes must decode or raise EngineError.
#include "engine/decoders/PictureLoader.h"

#include "somnex/EngineError.h"

#include <iterator>
#include <string>

namespace {

// eps is left out: a Ghostscript run per input is far too slow to fuzz. The order is the seed
// corpus's first byte; append only.
const char* const Extensions[] = {"ico", "wmf", "pcx", "pcd", "sgi", "rgb", "bw",  "rla",
                                  "rpf", "ppm", "pgm", "pbm", "cut", "fax", "dib", "rle"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const char* ext = Extensions[data[0] % std::size(Extensions)];
    try {
        somnex::DecodePicture(ext, data + 1, size - 1, std::string("fuzz.") + ext);
    } catch (const somnex::EngineError&) {
    }
    return 0;
}
