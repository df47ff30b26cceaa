// somnex remove: one entry taken out of a project's list.
#include "host/ProjectAccess.h"

#include <stdexcept>

namespace host {

namespace {
template <class List>
void RemoveAt(List& list, int32_t index, const std::string& what) {
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        throw std::invalid_argument("the project has no " + what + " " + std::to_string(index) + " (it has " +
                                    std::to_string(list.size()) + ", counted from 0)");
    list.erase(list.begin() + index);
}

int Remove(const Args& args) {
    ParsedArgs a = ParseArgs(args, {}, {});
    if (a.Positional.size() != 3) return Fail("remove needs a PROJECT, a list and an INDEX", kUsage);
    const std::string& list = a.Positional[1];
    if (list != "images" && list != "music" && list != "movies")
        return Fail("'" + list + "' is not a list (images, music or movies)", kUsage);
    int32_t index = ParseInt(a.Positional[2], "INDEX");
    std::unique_ptr<HostProject> project = HostProject::Open(a.Positional[0]);
    bool flash = project->Kind() == ProjectKind::Flash;
    if (flash != (list == "movies"))
        throw std::invalid_argument("a " + std::string(flash ? "Flash" : "slideshow") + " project has no " +
                                    list + " list");
    if (list == "images")
        RemoveAt(project->Images, index, "picture");
    else if (list == "music")
        RemoveAt(project->Music, index, "music file");
    else
        RemoveAt(project->Movies, index, "movie");
    project->Save();
    return kOk;
}

const HostCommandRegistrar command({"remove", "PROJECT images|music|movies INDEX",
                                    "Remove one entry, counted from 0, from a project's list.",
                                    "The entries after it move up by one.", Remove});
} // namespace

} // namespace host
