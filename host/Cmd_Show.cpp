// somnex show: every section and list of a project.
#include "host/ProjectAccess.h"

#include <cstdio>

namespace host {

namespace {
int Show(const Args& args) {
    ParsedArgs a = ParseArgs(args, {}, {}, {"--json"});
    if (a.Positional.size() != 1) return Fail("show needs exactly one PROJECT", kUsage);
    std::unique_ptr<HostProject> project = HostProject::Open(a.Positional[0]);
    std::string text = a.Has("--json") ? ToJson(*project) : ToText(*project);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kOk;
}

const HostCommandRegistrar
    command({"show", "PROJECT [--json]", "Print every setting and list of a slideshow or Flash project.",
             "--json prints one object whose members are named after the records and\n"
             "their fields (ImageSetting.Interval ...), then the lists Images and Music,\n"
             "or Movies for a Flash project. Texts are shown as JSON strings.",
             Show});
} // namespace

} // namespace host
