#pragma once
// Internal: Qt views over a Bitmap's pixels, so QPainter draws straight into them.
#include "platform/raster/Bitmap.h"

#include <QColor>
#include <QImage>

namespace plat {

inline QImage QtViewOf(Bitmap& bmp) {
    return QImage(bmp.Bits(), bmp.Width(), bmp.Height(), bmp.Stride(),
                  bmp.Format() == PixelFormat::Pf24 ? QImage::Format_BGR888 : QImage::Format_RGB32);
}

inline QColor QtColorOf(Color c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace plat
