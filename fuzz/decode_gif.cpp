// Hostile input for the .gif picture decoder: any bytes must decode or raise EngineError.
#include "engine/decoders/PictureLoader.h"

#include "somnex/EngineError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        somnex::DecodePicture("gif", data, size, "fuzz.gif");
    } catch (const somnex::EngineError&) {
    }
    return 0;
}
