// Reads arbitrary bytes as a package: the directory, every member into memory, and every member
// into a folder of its own, which must hold nothing else afterwards.
#include "engine/compiler/PackageFile.h"
#include "fuzz/FuzzTempFile.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace fs = std::filesystem;
    const std::string package =
        fuzzing::WriteTempFile("input.scr", reinterpret_cast<const char*>(data), size);
    const fs::path out = fuzzing::TempFolder() / "out";
    fs::create_directories(out);
    somnex::TPackageFile reader;
    reader.OnError = [](somnex::TBasePackageFile&, const std::string&) {};
    if (reader.Open(package)) {
        std::vector<uint8_t> stream;
        for (int32_t i = 0; i < reader.PackageFileCount() && i < 64; ++i)
            (void)reader.ExtractToStream(i, stream);
        reader.ExtractAll(out.string() + "/");
    }
    // Anything written must sit directly in the target folder.
    for (const auto& e : fs::directory_iterator(fuzzing::TempFolder()))
        if (e.path() != out && e.path() != package) std::abort();
    std::error_code ec;
    fs::remove_all(out, ec);
    fs::remove(package, ec);
    return 0;
}
