#include "engine/preview/QtFlashParts.h"

#include "engine/preview/QtSlideshowParts.h"
#include "platform/movie/QtMovieControl.h"

namespace somnex {

TVcvPreviewParts SystemFlashParts(TPreviewErrorReport Report) {
    return TVcvPreviewParts{plat::QtMovieControls(), QtTimerFactory(std::move(Report))};
}

} // namespace somnex
