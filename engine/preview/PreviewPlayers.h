#pragma once
// The two player forms: the slideshow (form_PcvEnginePreview.h) and the Flash player
// (form_VcvEnginePreview.h).
#include "engine/preview/PreviewPlayer.h"
#include "engine/preview/form_PcvEnginePreview.h"
#include "engine/preview/form_VcvEnginePreview.h"
