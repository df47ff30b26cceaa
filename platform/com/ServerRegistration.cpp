#include "platform/com/ServerRegistration.h"

#include "platform/com/Guid.h"
#include "platform/fs/FileSystem.h"
#include "platform/registry/Registry.h"

#include <dlfcn.h>

#include <cstdio>

namespace plat {

namespace {
std::string LibKey(const ServerTypeLibrary& lib) {
    return "\\TypeLib\\" + GuidToString(lib.LibID);
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void SetDefault(Registry& reg, const std::string& key, const std::string& value) {
    reg.OpenKey(key, true);
    reg.WriteString("", value);
}

void RegisterClass(Registry& reg, const ServerTypeLibrary& lib, const ServerClass& cls,
                   const std::string& serverPath) {
    std::string clsid = GuidToString(cls.ClassID);
    std::string classKey = "\\CLSID\\" + clsid;
    std::string progID = ProgIDOf(lib, cls);
    SetDefault(reg, classKey, cls.Description);
    // A path with a blank would be written in its short form; this platform has none, so
    // ShortPathName gives the path back and the loader reads it as it is.
    bool blank = serverPath.find(' ') != std::string::npos;
    SetDefault(reg, classKey + "\\InprocServer32", blank ? ShortPathName(serverPath) : serverPath);
    reg.WriteString("ThreadingModel", cls.ThreadingModel);
    SetDefault(reg, "\\" + progID, cls.Description);
    SetDefault(reg, "\\" + progID + "\\Clsid", clsid);
    SetDefault(reg, classKey + "\\ProgID", progID);
}

void UnregisterClass(Registry& reg, const ServerTypeLibrary& lib, const ServerClass& cls) {
    std::string classKey = "\\CLSID\\" + GuidToString(cls.ClassID);
    std::string progID = ProgIDOf(lib, cls);
    reg.DeleteKey(classKey + "\\ProgID");
    reg.DeleteKey("\\" + progID + "\\Clsid");
    reg.DeleteKey("\\" + progID);
    reg.DeleteKey(classKey + "\\InprocServer32");
    reg.DeleteKey(classKey);
}
} // namespace

std::string ServerTypeLibrary::VersionKey() const {
    return std::to_string(MajorVersion) + "." + std::to_string(MinorVersion);
}

std::string ProgIDOf(const ServerTypeLibrary& lib, const ServerClass& cls) {
    return lib.Name + "." + cls.ClassName;
}

void RegisterTypeLib(const ServerTypeLibrary& lib, const std::string& libraryPath) {
    char lcid[16];
    std::snprintf(lcid, sizeof lcid, "%x", lib.Lcid);
    Registry reg(HKEY_CLASSES_ROOT);
    std::string version = LibKey(lib) + "\\" + lib.VersionKey();
    reg.OpenKey(version, true);
    reg.WriteString("", lib.HelpString);
    reg.OpenKey(version + "\\" + lcid + "\\linux64", true);
    reg.WriteString("", libraryPath);
    reg.OpenKey(version + "\\FLAGS", true);
    reg.WriteString("", "0");
    reg.OpenKey(version + "\\HELPDIR", true);
    reg.WriteString("", FolderOf(libraryPath));
}

void UnRegisterTypeLib(const ServerTypeLibrary& lib) {
    Registry reg(HKEY_CLASSES_ROOT);
    reg.DeleteKey(LibKey(lib) + "\\" + lib.VersionKey());
    if (reg.OpenKey(LibKey(lib), false) && reg.GetKeyNames().empty() && reg.GetValueNames().empty()) {
        reg.CloseKey();
        reg.DeleteKey(LibKey(lib));
    }
}

void RegisterServerClasses(const ServerTypeLibrary& lib, const std::vector<ServerClass>& classes,
                           const std::string& libraryPath) {
    RegisterTypeLib(lib, libraryPath);
    Registry reg(HKEY_CLASSES_ROOT);
    for (const ServerClass& cls : classes) RegisterClass(reg, lib, cls, libraryPath);
}

void UnregisterServerClasses(const ServerTypeLibrary& lib, const std::vector<ServerClass>& classes) {
    UnRegisterTypeLib(lib);
    Registry reg(HKEY_CLASSES_ROOT);
    for (const ServerClass& cls : classes) UnregisterClass(reg, lib, cls);
}

std::string ModulePathOf(const void* address) {
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname) return {};
    return ExpandFileName(info.dli_fname);
}

} // namespace plat
