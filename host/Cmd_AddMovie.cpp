// somnex add-movie: movies appended to a Flash project.
#include "host/ProjectAccess.h"

#include <filesystem>
#include <stdexcept>

namespace host {

namespace {
int AddMovie(const Args& args) {
    ParsedArgs a = ParseArgs(args, {"--name"}, {"--attach"});
    if (a.Positional.size() < 2) return Fail("add-movie needs a PROJECT and at least one FILE", kUsage);
    std::vector<std::string> files;
    for (size_t i = 1; i < a.Positional.size(); ++i) files.push_back(ExistingFile(a.Positional[i]));
    std::vector<std::string> attachments;
    if (const std::vector<std::string>* attach = a.Find("--attach"))
        for (const std::string& f : *attach) attachments.push_back(ExistingFile(f));

    std::unique_ptr<HostProject> project = HostProject::Open(a.Positional[0]);
    if (project->Kind() != ProjectKind::Flash)
        throw std::invalid_argument("'" + a.Positional[0] + "' is a slideshow project; use add-picture");
    for (const std::string& file : files) {
        std::string name =
            a.Single("--name") ? *a.Single("--name") : std::filesystem::path(file).stem().string();
        Movie movie;
        movie.Flash->Name = SysAllocString(Wide(name).c_str());
        movie.Flash->FileName = SysAllocString(Wide(file).c_str());
        movie.Attachments = attachments;
        project->Movies.push_back(std::move(movie));
    }
    project->Save();
    return kOk;
}

const HostCommandRegistrar command(
    {"add-movie", "PROJECT FILE... [--name TEXT] [--attach FILE...]", "Append movies to a Flash project.",
     "--name labels the movies (default: each file's name without extension);\n"
     "--attach lists files that go with every added movie.",
     AddMovie});
} // namespace

} // namespace host
