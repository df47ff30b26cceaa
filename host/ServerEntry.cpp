#include "host/ServerEntry.h"

#include "host/HostCommand.h"
#include "platform/com/InprocServer.h"

#include <cstdio>

namespace host {

int CallRegistrationEntry(const std::string& path, bool registering) {
    plat::InprocServer server = plat::LoadInprocServer(path);
    auto entry = registering ? server.RegisterServer : server.UnregisterServer;
    const char* name = registering ? "DllRegisterServer" : "DllUnregisterServer";
    if (!entry) return Fail("the library '" + path + "' does not export " + name);
    HRESULT hr = entry();
    if (FAILED(hr)) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%08X", static_cast<uint32_t>(hr));
        return Fail(std::string(name) + " of '" + path + "' failed (" + code + ")");
    }
    std::printf("%s %s\n", registering ? "registered" : "unregistered", path.c_str());
    return kOk;
}

int RunRegistration(const Args& args, const std::string& Library, bool registering) {
    std::string path = ExecutableFolder() + Library;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--library" && i + 1 < args.size())
            path = args[++i];
        else
            return Fail(args[i] == "--library" ? "--library needs a path"
                                               : "unexpected argument '" + args[i] + "'",
                        kUsage);
    }
    return CallRegistrationEntry(path, registering);
}

} // namespace host
