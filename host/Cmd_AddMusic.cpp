// somnex add-music: music files appended to a slideshow project.
#include "host/ProjectAccess.h"

#include <stdexcept>

namespace host {

namespace {
int AddMusic(const Args& args) {
    ParsedArgs a = ParseArgs(args, {}, {});
    if (a.Positional.size() < 2) return Fail("add-music needs a PROJECT and at least one FILE", kUsage);
    std::vector<std::string> files;
    for (size_t i = 1; i < a.Positional.size(); ++i) files.push_back(ExistingFile(a.Positional[i]));
    std::unique_ptr<HostProject> project = HostProject::Open(a.Positional[0]);
    if (project->Kind() != ProjectKind::Slideshow)
        throw std::invalid_argument("'" + a.Positional[0] + "' is a Flash project; it has no music list");
    project->Music.insert(project->Music.end(), files.begin(), files.end());
    project->Save();
    return kOk;
}

const HostCommandRegistrar command({"add-music", "PROJECT FILE...",
                                    "Append music files to a slideshow project.", "", AddMusic});
} // namespace

} // namespace host
