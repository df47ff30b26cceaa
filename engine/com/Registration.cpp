#include "engine/com/Registration.h"

#include "engine/com/ComClasses.h"
#include "engine/com/TypeLibrary.h"
#include "platform/com/Guid.h"
#include "platform/fs/FileSystem.h"
#include "platform/registry/Registry.h"

namespace somnex {

namespace {
void SetDefault(plat::Registry& reg, const std::string& key, const std::string& value) {
    reg.OpenKey(key, true);
    reg.WriteString("", value);
}

void RegisterClass(plat::Registry& reg, const TComClassEntry& entry, const std::string& serverPath) {
    std::string clsid = plat::GuidToString(entry.ClassID);
    std::string classKey = "\\CLSID\\" + clsid;
    SetDefault(reg, classKey, entry.Description);
    // A path with a blank would be written in its short form; this platform has none, so
    // ShortPathName gives the path back and the loader reads it as it is.
    bool blank = serverPath.find(' ') != std::string::npos;
    SetDefault(reg, classKey + "\\InprocServer32", blank ? plat::ShortPathName(serverPath) : serverPath);
    reg.WriteString("ThreadingModel", ThreadingModelName(entry.ThreadingModel));
    SetDefault(reg, "\\" + entry.ProgID(), entry.Description);
    SetDefault(reg, "\\" + entry.ProgID() + "\\Clsid", clsid);
    SetDefault(reg, classKey + "\\ProgID", entry.ProgID());
}

void UnregisterClass(plat::Registry& reg, const TComClassEntry& entry) {
    std::string classKey = "\\CLSID\\" + plat::GuidToString(entry.ClassID);
    reg.DeleteKey(classKey + "\\ProgID");
    reg.DeleteKey("\\" + entry.ProgID() + "\\Clsid");
    reg.DeleteKey("\\" + entry.ProgID());
    reg.DeleteKey(classKey + "\\InprocServer32");
    reg.DeleteKey(classKey);
}
} // namespace

void RegisterServer(const std::string& libraryPath) {
    RegisterTypeLib(libraryPath);
    plat::Registry reg(plat::HKEY_CLASSES_ROOT);
    for (const TComClassEntry& entry : ClassRegistry()) RegisterClass(reg, entry, libraryPath);
}

void UnregisterServer() {
    UnRegisterTypeLib();
    plat::Registry reg(plat::HKEY_CLASSES_ROOT);
    for (const TComClassEntry& entry : ClassRegistry()) UnregisterClass(reg, entry);
}

} // namespace somnex
