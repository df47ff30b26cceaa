#pragma once
// TFrmPcvBuildScr: the progress dialog of a slideshow build.
#include "engine/compiler/PcvBuild.h"
#include "engine/compiler/form_CustomBuildScr.h"

namespace somnex {

class TFrmPcvBuildScr : public TFrmCumtomBuildScr {
public:
    explicit TFrmPcvBuildScr(TPcvBuild& Build);

    TPcvBuild& Pcv;
};

} // namespace somnex
