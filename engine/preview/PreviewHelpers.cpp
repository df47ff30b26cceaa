#include "engine/preview/PreviewHelpers.h"

namespace somnex {

TMousePointMeasure& TheMouseMeasure() {
    static TMousePointMeasure measure = [] {
        TMousePointMeasure m;
        m.NoteCursorPos();
        return m;
    }();
    return measure;
}

TPCVMultiDisplayManager& TheMultiDisplayManager() {
    static TPCVMultiDisplayManager manager;
    return manager;
}

} // namespace somnex
