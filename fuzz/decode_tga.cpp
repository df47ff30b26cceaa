// Hostile input for the .tga picture decoder: any bytes must decode or raise EngineError.
#include "engine/decoders/PictureLoader.h"

#include "somnex/EngineError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        somnex::DecodePicture("tga", data, size, "fuzz.tga");
    } catch (const somnex::EngineError&) {
    }
    return 0;
}
