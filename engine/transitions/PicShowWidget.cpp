#include "engine/transitions/PicShowWidget.h"

#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QThread>

namespace somnex {

TPicShow::TPicShow(QWidget* parent, IPicShowClock& clock) : QWidget(parent), TCustomPicShow(*this, clock) {
    // Every pixel is ours: no erasing before paints, no parent showing through.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(100, 100);
    const QColor window = palette().color(QPalette::Window);
    SetColor(plat::MakeColor(uint8_t(window.red()), uint8_t(window.green()), uint8_t(window.blue())));
}

TPicShow::~TPicShow() {
    Shutdown();
}

void TPicShow::paintEvent(QPaintEvent*) {
    Paint();
    const plat::Bitmap& buffer = OffscreenBuffer();
    if (buffer.Empty()) return;
    const QImage view(buffer.Bits(), buffer.Width(), buffer.Height(), buffer.Stride(), QImage::Format_RGB32);
    QPainter(this).drawImage(0, 0, view);
}

void TPicShow::resizeEvent(QResizeEvent*) {
    Resized();
}

void TPicShow::showEvent(QShowEvent*) {
    visible_ = true;
}

void TPicShow::hideEvent(QHideEvent*) {
    visible_ = false;
}

void TPicShow::enterEvent(QEnterEvent*) {
    if (OnMouseEnter) OnMouseEnter(*this);
}

void TPicShow::leaveEvent(QEvent*) {
    if (OnMouseLeave) OnMouseLeave(*this);
}

void TPicShow::SetClientSize(int width, int height) {
    resize(width, height);
}

bool TPicShow::Invalidate(const plat::Rect& r) {
    if (!visible_) return false;
    const QRect rect(r.Left, r.Top, r.Width(), r.Height());
    if (IsControlThread())
        update(rect);
    else
        QMetaObject::invokeMethod(
            this, [this, rect] { update(rect); }, Qt::QueuedConnection);
    return true;
}

void TPicShow::PaintNow() {
    repaint();
}

void TPicShow::PostEnd() {
    // Queued on this widget: dropped if the widget is gone by then.
    QMetaObject::invokeMethod(
        this, [this] { DispatchPosted(); }, Qt::QueuedConnection);
}

void TPicShow::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

bool TPicShow::IsControlThread() const {
    return QThread::currentThread() == thread();
}

} // namespace somnex
