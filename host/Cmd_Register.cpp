// somnex register / unregister: run the library's own registration entry points.
#include "host/HostCommand.h"
#include "host/ServerEntry.h"

namespace host {

namespace {
// Parses "[--library PATH]"; false after reporting a usage error.
bool LibraryArgument(const Args& args, std::string& path, int& error) {
    path = ExecutableFolder() + "libsomnex.so";
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--library" && i + 1 < args.size()) {
            path = args[++i];
        } else {
            error = Fail(args[i] == "--library" ? "--library needs a path"
                                                : "unexpected argument '" + args[i] + "'",
                         kUsage);
            return false;
        }
    }
    return true;
}

int RunEntry(const Args& args, bool registering) {
    std::string path;
    int error = kUsage;
    if (!LibraryArgument(args, path, error)) return error;
    return CallRegistrationEntry(path, registering);
}

int Register(const Args& args) {
    return RunEntry(args, true);
}
int Unregister(const Args& args) {
    return RunEntry(args, false);
}

const HostCommandRegistrar registerCommand({"register", "[--library PATH]",
                                            "Register the engine's classes and type library for this user.",
                                            "PATH defaults to libsomnex.so beside this program.", Register});
const HostCommandRegistrar unregisterCommand(
    {"unregister", "[--library PATH]", "Remove the engine's classes and type library from the registry.",
     "PATH defaults to libsomnex.so beside this program.", Unregister});
} // namespace

} // namespace host
