// somnex slide: one picture entry of a slideshow project, prepared as the build prepares it.
#include "engine/imaging/SlideRecipes.h"
#include "host/HostCommand.h"
#include "host/PngOut.h"
#include "shared/ini/IniFileEx.h"

#include <filesystem>

namespace host::pictures {

namespace {
namespace fs = std::filesystem;

// The engine accepts any file without a version as an old slideshow project, which would turn a
// wrong path into "the project has no picture 0". A project of ours always has its FileInfo, and
// a movie project has a movie list instead of a picture list.
bool LooksLikeSlideshowProject(const std::string& path) {
    somnex::TIniPCVProjectFile probe;
    if (!probe.IsProjectFile(path)) return false;
    const somnex::TIniFileEx ini(path);
    return ini.SectionExists("FileInfo") && !(ini.SectionExists("Flashs") && !ini.SectionExists("Images"));
}

int Slide(const Args& args) {
    const ParsedArgs a = ParseArgs(args, {"-o", "--size"});
    if (a.Positional.size() != 2) throw UsageError("slide needs PROJECT and INDEX");
    const std::string* outArg = a.Find("-o");
    if (!outArg) throw UsageError("slide needs -o OUT.png");
    const int index = ParseInt(a.Positional[1], 0, 0x7FFFFFFF, "INDEX");
    PictureSize size;
    if (const std::string* s = a.Find("--size")) size = ParseSize(*s);

    // Opening a project makes its folder the current one; relative paths must be resolved first.
    std::error_code ec;
    const fs::path project = fs::absolute(a.Positional[0], ec);
    const fs::path out = fs::absolute(*outArg, ec);
    if (!fs::is_regular_file(project, ec)) return Fail("no such project file: " + a.Positional[0]);
    if (!LooksLikeSlideshowProject(project.string()))
        return Fail(a.Positional[0] + " is not a slideshow project");
    const plat::Bitmap slide = somnex::PrepareProjectSlide(project.string(), index, size.Width, size.Height);
    WritePng(slide, out.string());
    return kOk;
}

const HostCommandRegistrar command(
    {"slide", "PROJECT INDEX -o OUT.png [--size WxH]",
     "Prepare one picture entry of a slideshow project exactly as the build does and write it as PNG.",
     "INDEX        the picture entry, counted from 0\n"
     "--size WxH   slide size (default: the project's build image size)",
     [](const Args& args) { return RunReportingUsage(args, Slide); }});
} // namespace

} // namespace host::pictures
