// somnex add-picture: pictures appended to a slideshow project.
#include "host/ProjectAccess.h"

#include <stdexcept>

namespace host {

namespace {
int AddPicture(const Args& args) {
    ParsedArgs a = ParseArgs(args, {"--caption", "--interval", "--effect"}, {});
    if (a.Positional.size() < 2) return Fail("add-picture needs a PROJECT and at least one FILE", kUsage);
    std::vector<std::string> files;
    for (size_t i = 1; i < a.Positional.size(); ++i) files.push_back(ExistingFile(a.Positional[i]));
    int32_t interval = a.Single("--interval") ? ParseInt(*a.Single("--interval"), "--interval") : 0;
    int32_t effect = a.Single("--effect") ? ParseInt(*a.Single("--effect"), "--effect") : -1;
    std::u16string caption = Wide(a.Single("--caption") ? CrLf(*a.Single("--caption")) : "");

    std::unique_ptr<HostProject> project = HostProject::Open(a.Positional[0]);
    if (project->Kind() != ProjectKind::Slideshow)
        throw std::invalid_argument("'" + a.Positional[0] + "' is a Flash project; use add-movie");
    for (const std::string& file : files) {
        somnex::Record<TImageRec> rec;
        rec->FileName = SysAllocString(Wide(file).c_str());
        rec->Caption = SysAllocString(caption.c_str());
        rec->CaptionFont = SysAllocString(u"");
        rec->OverlayFile = SysAllocString(u"");
        rec->MaskFile = SysAllocString(u"");
        rec->LogoFile = SysAllocString(u"");
        rec->CaptionPos = -1; // the project's caption position
        rec->Opacity = 255;
        rec->LogoAlpha = 255;
        rec->LogoTransform = -1; // logo drawn as it is
        rec->TransformID = effect;
        rec->EffectStep = project->Effect->EffectStep;
        rec->EffectDelay = project->Effect->EffectDelay;
        rec->Interval = interval;
        project->Images.push_back(std::move(rec));
    }
    project->Save();
    return kOk;
}

const HostCommandRegistrar
    command({"add-picture", "PROJECT FILE... [--caption TEXT] [--interval N] [--effect N]",
             "Append pictures to a slideshow project.",
             "--caption gives every added picture this caption (line breaks are kept),\n"
             "--interval the seconds it stays (0: the project's interval) and --effect\n"
             "its transition effect number (-1, the default: the project's effects).",
             AddPicture});
} // namespace

} // namespace host
