#include "engine/compiler/form_VcvBuildScr.h"

namespace somnex {

TFrmVcvBuildScr::TFrmVcvBuildScr(TVcvBuild& Build) : TFrmCumtomBuildScr(Build), Vcv(Build) {
    setWindowTitle(QStringLiteral("Build Screensaver ..."));
}

} // namespace somnex
