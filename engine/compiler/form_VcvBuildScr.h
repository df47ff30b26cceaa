#pragma once
// TFrmVcvBuildScr: the progress dialog of a Flash build.
#include "engine/compiler/VcvBuild.h"
#include "engine/compiler/form_CustomBuildScr.h"

namespace somnex {

class TFrmVcvBuildScr : public TFrmCumtomBuildScr {
public:
    explicit TFrmVcvBuildScr(TVcvBuild& Build);

    TVcvBuild& Vcv;
};

} // namespace somnex
