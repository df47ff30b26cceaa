// Hostile input for the bitmap-file reader of the raster layer: any bytes must decode or raise EngineError.
#include "platform/raster/BitmapFile.h"

#include "somnex/EngineError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        plat::DecodeBitmapFile(data, size, "fuzz.bmp");
    } catch (const somnex::EngineError&) {
    }
    return 0;
}
