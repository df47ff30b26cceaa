#include "engine/compiler/form_PcvBuildScr.h"

namespace somnex {

TFrmPcvBuildScr::TFrmPcvBuildScr(TPcvBuild& Build) : TFrmCumtomBuildScr(Build), Pcv(Build) {
    setWindowTitle(QStringLiteral("Build Screensaver ..."));
}

} // namespace somnex
