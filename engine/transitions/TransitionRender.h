#pragma once
// Rendering without a window, for the reference host and the tests: single frames, all frames of
// one transition, and a contact sheet of the whole catalogue.
#include "platform/raster/Bitmap.h"

#include <functional>

namespace somnex {

// Effect `style` (1..150) at `progress` (0..100) from picture `from` to picture `to`, as the player
// draws that frame: the frame has the size of `to`, `from` is stretched to it when it differs.
// Throws EngineError for a style outside 1..150 or an empty picture.
plat::Bitmap RenderTransitionFrame(int style, int progress, const plat::Bitmap& from, const plat::Bitmap& to,
                                   int step = 4);

// Every frame of one transition at `step` (taken as the player takes it: 0 is 1, above 100 is
// 100), in the player's order, handed to `frame` with its progress value.
void ForEachTransitionFrame(int style, const plat::Bitmap& from, const plat::Bitmap& to, int step,
                            bool reverse,
                            const std::function<void(int progress, const plat::Bitmap& frame)>& frame);

// Every effect at `progress` in a grid of `columns`, each cell the size of `to`, labelled with its
// number and name underneath.
plat::Bitmap EffectsContactSheet(const plat::Bitmap& from, const plat::Bitmap& to, int progress,
                                 int columns = 10);

} // namespace somnex
