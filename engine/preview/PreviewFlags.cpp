#include "engine/preview/PreviewFlags.h"

namespace somnex {

TPreviewFlags& ThePreviewFlags() {
    static TPreviewFlags flags;
    return flags;
}

} // namespace somnex
