#include "engine/compiler/Unit_PcvCompiler.h"

#include "engine/compiler/form_PcvBuildScr.h"
#include "platform/ui/MessageBox.h"

namespace somnex {

bool RunPcvBuild(const std::vector<std::string>& Params, int32_t Value, const TErrorBox& ErrorBox) {
    TPcvBuild build(ErrorBox);
    build.BuildKind = Value;
    build.PlayerFile = Params.at(0);
    build.OutputFile = Params.at(1);
    build.ProjectFile = Params.at(2);
    build.WorkFolder = Params.at(3);
    build.ParamsFileName = Params.at(4);
    build.ImagesFileName = Params.at(5);
    build.MusicFileName = Params.at(6);
    if (!plat::EnsureApplication()) return RunBuildWithoutDialog(build);
    TFrmPcvBuildScr dialog(build);
    return dialog.ShowModal();
}

} // namespace somnex
