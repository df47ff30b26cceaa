#pragma once
// The movie control on Qt Multimedia: the movie plays in a child widget of the form. A file the
// backend cannot play never reports itself loaded.
#include "platform/movie/MovieControl.h"

namespace plat {

// Makes controls whose widgets are children of the QWidget passed as Parent.
MovieControlFactory QtMovieControls();

} // namespace plat
