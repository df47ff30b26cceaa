// somnex set: change settings of a project, keeping its lists.
#include "host/ProjectAccess.h"

namespace host {

namespace {
int Set(const Args& args) {
    ParsedArgs a = ParseArgs(args, {}, {});
    if (a.Positional.size() < 2)
        return Fail("set needs a PROJECT and at least one RECORD.FIELD=VALUE", kUsage);
    std::unique_ptr<HostProject> project = HostProject::Open(a.Positional[0]);
    // Every assignment is checked before anything is written.
    for (size_t i = 1; i < a.Positional.size(); ++i) SetField(*project, a.Positional[i]);
    project->Save();
    return kOk;
}

const HostCommandRegistrar
    command({"set", "PROJECT RECORD.FIELD=VALUE...",
             "Change settings of a project; the picture, music and movie lists stay.",
             "RECORD and FIELD are the names 'somnex show --json' prints, for example\n"
             "  somnex set sea.ini ImageSetting.Interval=8 BuildSetting.ImageWidth=1024\n"
             "Booleans take 1, 0, true or false; numbers are whole decimal numbers.\n"
             "Of FileInfo only EditorName and EditorVersion can be changed. When any\n"
             "assignment is wrong nothing is changed.",
             Set});
} // namespace

} // namespace host
