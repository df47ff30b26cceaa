#pragma once
// What a preview object does once its parameter list has named an existing project: the player
// form's whole life, from creation to release.
#include "engine/preview/PreviewPlayers.h"

#include <functional>
#include <memory>

namespace somnex {

enum class TPreviewKind { Slideshow, Flash };

using TPlayerFactory = std::function<std::unique_ptr<TPreviewPlayer>(TPreviewKind Kind)>;

// Creates the player, registers a slideshow with the multi-display manager, loads the project
// and runs the form; true once the form has closed. Errors propagate (the caller shows them).
bool RunPreview(TPreviewKind Kind, const std::string& ProjectFile, bool DeleteAfterPreview, int32_t RunMode,
                const TPlayerFactory& MakePlayer);

} // namespace somnex
