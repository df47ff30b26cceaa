#pragma once
// The Qt Multimedia backend every player here uses: GStreamer, the one that plays to a null sink
// when there is no sound server. Call before the first QMediaPlayer is made.
#include <QByteArray>
#include <QtGlobal>

namespace plat {

inline void UseMediaBackend() {
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

} // namespace plat
