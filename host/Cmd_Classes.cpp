// somnex classes: the COM classes registered for this user, read back from the registry.
#include "host/HostCommand.h"
#include "platform/registry/Registry.h"

#include <cstdio>

namespace host {

namespace {
std::string DefaultOf(plat::Registry& reg, const std::string& key) {
    return reg.OpenKeyReadOnly(key) ? reg.ReadString("") : std::string();
}

int Classes(const Args& args) {
    if (!args.empty()) return Fail("unexpected argument '" + args.front() + "'", kUsage);
    plat::Registry reg(plat::HKEY_CLASSES_ROOT);
    reg.OpenKeyReadOnly("\\");
    int shown = 0;
    for (const std::string& name : reg.GetKeyNames()) {
        if (name.find('.') == std::string::npos) continue; // ProgIDs are "Library.Class"
        std::string clsid = DefaultOf(reg, "\\" + name + "\\Clsid");
        if (clsid.empty()) continue;
        std::string description = DefaultOf(reg, "\\CLSID\\" + clsid);
        std::string server = DefaultOf(reg, "\\CLSID\\" + clsid + "\\InprocServer32");
        std::printf("%-26s %s  %-40s %s\n", name.c_str(), clsid.c_str(), description.c_str(), server.c_str());
        ++shown;
    }
    if (shown == 0) std::fprintf(stderr, "somnex: no classes are registered (run 'somnex register')\n");
    return kOk;
}

const HostCommandRegistrar
    command({"classes", "", "List the registered classes: ProgID, CLSID, description, server.", "", Classes});
} // namespace

} // namespace host
