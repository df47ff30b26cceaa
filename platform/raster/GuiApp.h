#pragma once
// Text rendering, dialogs and message boxes need a Qt application object. A host that has none
// gets one (with widgets), offscreen when there is no display. One place makes it, so the raster
// code and the dialogs never end up with two kinds of application.
namespace plat {
void EnsureGuiApplication();
}
