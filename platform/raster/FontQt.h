#pragma once
// Internal: the Qt font for a FontSpec.
#include "platform/raster/Font.h"

#include <QFont>

namespace plat {
QFont QtFontOf(const FontSpec& font);
}
