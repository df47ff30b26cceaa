#pragma once
// The real components of the slideshow form: Qt timers, the system's media player and a
// TPicShow that fills the form.
#include "engine/preview/QtPreviewWindow.h"
#include "engine/preview/form_CustomPcvPreview.h"

namespace somnex {

// Errors raised by a timer's handler go to Report; the preview goes on.
TTimerFactory QtTimerFactory(TPreviewErrorReport Report);
TPcvPreviewParts SystemSlideshowParts(TPreviewErrorReport Report);

} // namespace somnex
