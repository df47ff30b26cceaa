#pragma once
// Internal: text rendering needs a QGuiApplication. A host that has none gets one, offscreen when
// there is no display.
namespace plat {
void EnsureGuiApplication();
}
