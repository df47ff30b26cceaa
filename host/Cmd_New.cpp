// somnex new: a project with the defaults, written at once.
#include "host/ProjectAccess.h"

namespace host {

namespace {
int New(const Args& args) {
    ParsedArgs a = ParseArgs(args, {"--name", "--author"}, {});
    if (a.Positional.size() != 2) return Fail("new needs a kind (slideshow or flash) and a PROJECT", kUsage);
    ProjectKind kind;
    if (a.Positional[0] == "slideshow")
        kind = ProjectKind::Slideshow;
    else if (a.Positional[0] == "flash")
        kind = ProjectKind::Flash;
    else
        return Fail("'" + a.Positional[0] + "' is not a project kind (slideshow or flash)", kUsage);
    HostProject::Create(kind, a.Positional[1], a.Single("--name"), a.Single("--author"));
    return kOk;
}

const HostCommandRegistrar
    command({"new", "slideshow|flash PROJECT [--name TEXT] [--author TEXT]",
             "Create a slideshow or Flash project with the default settings.",
             "PROJECT must not exist yet. --name and --author fill the screensaver's name\n"
             "and author; everything else can be changed later with 'somnex set'.",
             New});
} // namespace

} // namespace host
