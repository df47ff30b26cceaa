// The profile parser on arbitrary file bytes: every read survives, and a write reads back.
#include "FuzzTempFile.h"
#include "platform/profile/Profile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::FlushProfileCache();
    std::string path = fuzzing::WriteTempFile("f.ini", reinterpret_cast<const char*>(data), size);
    for (const auto& section : plat::GetProfileSections(path)) {
        for (const auto& key : plat::GetProfileKeys(path, section)) {
            if (plat::GetProfileString(path, section, key, "").size() > 2047) std::abort();
        }
    }
    auto sections = plat::GetProfileSections(path);
    std::string section = sections.empty() ? "New" : sections.front();
    if (plat::WriteProfileString(path, section, "FuzzKey", "value")) {
        if (plat::GetProfileString(path, section, "FuzzKey", "") != "value") std::abort();
        plat::EraseProfileSection(path, section);
        if (!plat::GetProfileKeys(path, section).empty()) std::abort();
    }
    return 0;
}
