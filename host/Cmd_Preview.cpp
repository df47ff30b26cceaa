// somnex preview: play a project full screen, as a host does: hand the preview object the project
// file and call Preview. Without a display the preview runs offscreen for a few seconds.
#include "host/HostCommand.h"
#include "host/ProjectAccess.h"
#include "somnex/Somnex.h"

#include <stdlib.h>

#include <filesystem>

namespace host {

namespace {
namespace fs = std::filesystem;

int Preview(const Args& args) {
    std::string project, seconds;
    int32_t mode = 0;
    bool remove = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--mode" || a == "--seconds") {
            if (i + 1 >= args.size()) return Fail(a + " needs a number", kUsage);
            const std::string& v = args[++i];
            char* end = nullptr;
            if (a == "--mode") {
                long m = std::strtol(v.c_str(), &end, 10);
                if (v.empty() || *end) return Fail("--mode needs a whole number", kUsage);
                mode = int32_t(m);
            } else {
                double s = std::strtod(v.c_str(), &end);
                if (v.empty() || *end || s < 0) return Fail("--seconds needs a number of seconds", kUsage);
                seconds = v;
            }
        } else if (a == "--delete") {
            remove = true;
        } else if (int rc = TakeOnePositional(a, project)) {
            return rc;
        }
    }
    if (project.empty()) return Fail("preview needs a PROJECT", kUsage);
    if (!seconds.empty()) ::setenv("SOMNEX_PREVIEW_SECONDS", seconds.c_str(), 1);
    std::error_code ec;
    const std::string file = fs::absolute(project, ec).lexically_normal().string();

    const bool flash = KindOfProjectFile(file) == ProjectKind::Flash;
    ComRef<IScrPreview> preview(static_cast<IScrPreview*>(
        CreateEngineObject(flash ? CLSID_VcvPreview : CLSID_PcvPreview, IID_IScrPreview)));
    const char* list[] = {file.c_str()};
    preview->SetParams(list, 0);
    const bool shown = preview->Preview(remove, mode);
    if (!shown) return Fail("the preview did not run");
    std::printf("preview of %s ended\n", file.c_str());
    return kOk;
}

const HostCommandRegistrar command(
    {"preview", "PROJECT [--mode N] [--delete] [--seconds S]",
     "Play a slideshow or Flash project full screen until an exit input.",
     "  --mode N      0 a preview (default), 1 as the screen saver (password on close), other: no media\n"
     "  --delete      delete the project file after the preview (mode 0 only)\n"
     "  --seconds S   end the preview after S seconds (without a display: 3 seconds unless given)\n"
     "Exit status 0 exactly when the preview was shown and has closed.",
     Preview});
} // namespace

} // namespace host
