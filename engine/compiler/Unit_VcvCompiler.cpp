#include "engine/compiler/Unit_VcvCompiler.h"

#include "engine/compiler/form_VcvBuildScr.h"
#include "platform/ui/MessageBox.h"

namespace somnex {

bool RunVcvBuild(const std::vector<std::string>& Params, int32_t Value, const TErrorBox& ErrorBox) {
    TVcvBuild build(ErrorBox);
    build.BuildKind = Value;
    build.PlayerFile = Params.at(0);
    build.OutputFile = Params.at(1);
    build.ProjectFile = Params.at(2);
    build.WorkFolder = Params.at(3);
    build.ParamsFileName = Params.at(4);
    build.FlashFileName = Params.at(5);
    if (!plat::EnsureApplication()) return RunBuildWithoutDialog(build);
    TFrmVcvBuildScr dialog(build);
    return dialog.ShowModal();
}

} // namespace somnex
