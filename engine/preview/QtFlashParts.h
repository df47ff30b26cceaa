#pragma once
// The real components of the Flash form: Qt timers and movie controls on Qt Multimedia.
#include "engine/preview/QtPreviewWindow.h"
#include "engine/preview/form_CustomVcvPreview.h"

namespace somnex {

TVcvPreviewParts SystemFlashParts(TPreviewErrorReport Report);

} // namespace somnex
