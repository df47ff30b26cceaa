#include "engine/com/TypeLibrary.h"

#include "platform/com/Guid.h"
#include "platform/registry/Registry.h"
#include "somnex/Somnex.h"

#include <cstdio>

namespace somnex {

namespace {
std::string LibKey() {
    return "\\TypeLib\\" + plat::GuidToString(TheTypeLibrary().LibID);
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
} // namespace

std::string TTypeLibrary::VersionKey() const {
    return std::to_string(MajorVersion) + "." + std::to_string(MinorVersion);
}

const TTypeLibrary& TheTypeLibrary() {
    static const TTypeLibrary lib{LIBID_Somnex, "Somnex", "Somnex Library", 2, 0, 0x0409};
    return lib;
}

void RegisterTypeLib(const std::string& libraryPath) {
    const TTypeLibrary& lib = TheTypeLibrary();
    char lcid[16];
    std::snprintf(lcid, sizeof lcid, "%x", lib.Lcid);
    plat::Registry reg(plat::HKEY_CLASSES_ROOT);
    std::string version = LibKey() + "\\" + lib.VersionKey();
    reg.OpenKey(version, true);
    reg.WriteString("", lib.HelpString);
    reg.OpenKey(version + "\\" + lcid + "\\linux64", true);
    reg.WriteString("", libraryPath);
    reg.OpenKey(version + "\\FLAGS", true);
    reg.WriteString("", "0");
    reg.OpenKey(version + "\\HELPDIR", true);
    reg.WriteString("", FolderOf(libraryPath));
}

void UnRegisterTypeLib() {
    plat::Registry reg(plat::HKEY_CLASSES_ROOT);
    reg.DeleteKey(LibKey() + "\\" + TheTypeLibrary().VersionKey());
    if (reg.OpenKey(LibKey(), false) && reg.GetKeyNames().empty() && reg.GetValueNames().empty()) {
        reg.CloseKey();
        reg.DeleteKey(LibKey());
    }
}

} // namespace somnex
