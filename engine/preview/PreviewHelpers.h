#pragma once
// The library-wide mouse measure and multi-display manager that every preview shares. Both are
// made on first use (the library touches them while it loads) and go with the library.
#include "engine/preview/MousePointMeasure.h"
#include "engine/preview/MultiDisplayManager.h"

namespace somnex {

TMousePointMeasure& TheMouseMeasure();
TPCVMultiDisplayManager& TheMultiDisplayManager();

} // namespace somnex
