// somnex compile: build a project into a screensaver package, as a host does: fill the compiler's
// parameter list and call Compile, which runs the build in its progress dialog (in the terminal
// when there is no display).
#include "host/HostCommand.h"
#include "host/ProjectAccess.h"
#include "somnex/Somnex.h"

#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace host {

namespace {
namespace fs = std::filesystem;

// The file names of the work files; the player finds the members by these names.
constexpr const char* kParamsName = "Params.dat";
constexpr const char* kImagesName = "Images.dat";
constexpr const char* kMusicName = "Music.dat";
constexpr const char* kFlashName = "Flashs.dat";
constexpr const char* kStubName = "somnex_player_stub";

std::string AbsolutePath(const std::string& path) {
    return fs::absolute(path).lexically_normal().string();
}

// A fresh work folder the host removes again; the build deletes its own files in it.
class TempWorkFolder {
public:
    TempWorkFolder() {
        std::string pattern = (fs::temp_directory_path() / "somnex-work-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~TempWorkFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

int Compile(const Args& args) {
    std::string project, output, player, work;
    bool dataOnly = false;
    const char* answer = nullptr;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (a == "-o" || a == "--output") {
            if (!value(output)) return Fail(a + " needs a path", kUsage);
        } else if (a == "--player") {
            if (!value(player)) return Fail("--player needs a file", kUsage);
        } else if (a == "--work") {
            if (!value(work)) return Fail("--work needs a folder", kUsage);
        } else if (a == "--data-only") {
            dataOnly = true;
        } else if (a == "--yes" || a == "--no") {
            if (answer && answer != a.substr(2)) return Fail("--yes and --no exclude each other", kUsage);
            answer = a == "--yes" ? "yes" : "no";
        } else if (int rc = TakeOnePositional(a, project)) {
            return rc;
        }
    }
    if (project.empty()) return Fail("compile needs a PROJECT", kUsage);
    if (output.empty()) return Fail("compile needs -o OUTPUT", kUsage);
    // The questions about the output folder and an existing file take this answer.
    if (answer) ::setenv("SOMNEX_ANSWER", answer, 1);

    if (player.empty()) {
        player = ExecutableFolder() + kStubName;
        std::fprintf(stderr, "somnex: no --player given, packing the placeholder player %s\n",
                     player.c_str());
    }
    TempWorkFolder temp;
    if (work.empty()) {
        if (temp.Path().empty()) return Fail("cannot make a temporary work folder");
        work = temp.Path();
    }
    work = AbsolutePath(work);
    if (!work.ends_with('/')) work += '/';

    bool flash = KindOfProjectFile(project) == ProjectKind::Flash;
    std::vector<std::string> params = {AbsolutePath(player), AbsolutePath(output), AbsolutePath(project),
                                       work, kParamsName};
    if (flash) {
        params.push_back(kFlashName);
    } else {
        params.push_back(kImagesName);
        params.push_back(kMusicName);
    }
    std::vector<const char*> list;
    for (const std::string& p : params) list.push_back(p.c_str());

    auto* compiler = static_cast<IScrCompiler*>(
        CreateEngineObject(flash ? CLSID_VcvCompiler : CLSID_PcvCompiler, IID_IScrCompiler));
    bool done = false;
    try {
        compiler->SetParams(list.data(), static_cast<int32_t>(list.size()) - 1);
        done = compiler->Compile(dataOnly ? 2 : 0);
    } catch (...) {
        compiler->Release();
        throw;
    }
    compiler->Release();
    if (!done) return Fail("the screensaver was not completed");
    std::error_code ec;
    std::printf("compiled %s (%ju bytes)\n", params[1].c_str(),
                static_cast<uintmax_t>(fs::file_size(params[1], ec)));
    return kOk;
}

const HostCommandRegistrar command(
    {"compile", "PROJECT -o OUTPUT [--player FILE] [--work DIR] [--data-only] [--yes|--no]",
     "Build a slideshow or Flash project into a screensaver package.",
     "  -o OUTPUT      the package to write\n"
     "  --player FILE  the screensaver player packed first (default: the placeholder beside this program)\n"
     "  --work DIR     folder for the intermediate files (default: a temporary folder)\n"
     "  --data-only    leave the player out of the package\n"
     "  --yes, --no    answer the questions about a missing output folder and an existing file\n"
     "Exit status 0 exactly when the screensaver was completed.",
     Compile});
} // namespace

} // namespace host
