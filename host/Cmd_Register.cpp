// somnex register / unregister: run the library's own registration entry points.
#include "host/HostCommand.h"
#include "host/ServerEntry.h"

namespace host {

namespace {
int Register(const Args& args) {
    return RunRegistration(args, "libsomnex.so", true);
}
int Unregister(const Args& args) {
    return RunRegistration(args, "libsomnex.so", false);
}

const HostCommandRegistrar registerCommand({"register", "[--library PATH]",
                                            "Register the engine's classes and type library for this user.",
                                            "PATH defaults to libsomnex.so beside this program.", Register});
const HostCommandRegistrar unregisterCommand(
    {"unregister", "[--library PATH]", "Remove the engine's classes and type library from the registry.",
     "PATH defaults to libsomnex.so beside this program.", Unregister});
} // namespace

} // namespace host
