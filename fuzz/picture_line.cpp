// A picture line read through a project file: the first byte picks the file version, the rest is
// the line. Reading either succeeds or raises the engine's error; nothing else.
#include "FuzzTempFile.h"
#include "engine/project/Unit_IniPcvProjectFile.h"
#include "platform/profile/Profile.h"
#include "somnex/EngineError.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* versions[] = {"1.0", "1.3", "1.4", "1.9", "2.0"};
    if (size == 0) return 0;
    std::string line(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string text = std::string("[FileInfo]\r\nIsScrProject=1\r\nVersion=") + versions[data[0] % 5] +
                       "\r\n[Images]\r\nCount=1\r\nImage0=" + line + "\r\n";
    plat::FlushProfileCache();
    std::string path = fuzzing::WriteTempFile("p.ini", text.data(), text.size());
    somnex::TIniPCVProjectFile project;
    if (!project.OpenProject(path)) return 0;
    somnex::TImageRec rec;
    try {
        project.ReadImage(0, rec);
    } catch (const somnex::EngineError&) {
    }
    project.CloseProject();
    return 0;
}
