#include "notifier/form_ChkWhatsNew.h"

#include "platform/ui/MessageBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace heraldex {

TCheckAnimation::TCheckAnimation(QWidget* Parent) : QWidget(Parent), frames_(new QTimer(this)) {
    frames_->setInterval(60);
    connect(frames_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % 56;
        update();
    });
}

void TCheckAnimation::Play() {
    frames_->start();
}

void TCheckAnimation::Stop() {
    frames_->stop();
}

void TCheckAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF globe = QRectF(rect()).adjusted(4, 5, -4, -5);
    p.setPen(QPen(QColor(30, 60, 140), 1.5));
    p.setBrush(QColor(120, 170, 230));
    p.drawEllipse(globe);
    p.drawLine(QPointF(globe.left(), globe.center().y()), QPointF(globe.right(), globe.center().y()));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(globe.adjusted(globe.width() * 0.3, 0, -globe.width() * 0.3, 0));
    p.setPen(QPen(QColor(250, 200, 40), 3));
    p.drawArc(globe.adjusted(-2, -2, 2, 2), -frame_ * 360 * 16 / 56, 60 * 16);
}

Tfrm_ChkWhatsNew::Tfrm_ChkWhatsNew(TChkWhatsNew& Check)
    : QDialog(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), check_(Check) {
    setWindowTitle("Detect new version...");
    setModal(true);
    setFixedSize(168, 34);
    Animate1 = new TCheckAnimation(this);
    Animate1->setGeometry(2, 0, 32, 34);
    Lab_Tip = new QLabel(QString::fromStdString(Check.Tip()), this);
    Lab_Tip->setGeometry(39, 4, 122, 25);
    QFont font("Arial");
    font.setPixelSize(10);
    Lab_Tip->setFont(font);
    Timer1 = new QTimer(this);
    Timer1->setSingleShot(false);
    Timer1->setInterval(TChkWhatsNew::kCloseDelay);
    connect(Timer1, &QTimer::timeout, this, [this] { check_.Timer1Timer(); });
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
    Check.Attach(*this);
}

Tfrm_ChkWhatsNew::~Tfrm_ChkWhatsNew() {
    SetBusyCursor(false);
}

void Tfrm_ChkWhatsNew::SetTip(const std::string& Text) {
    Lab_Tip->setText(QString::fromStdString(Text));
}

void Tfrm_ChkWhatsNew::SetBusyCursor(bool Busy) {
    if (Busy == busyCursor_) return;
    busyCursor_ = Busy;
    if (Busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void Tfrm_ChkWhatsNew::StartAnimation() {
    Animate1->Play();
    // The start notification comes from the event loop, so the window is on screen first.
    QTimer::singleShot(0, this, [this] { check_.Animate1Start(); });
}

void Tfrm_ChkWhatsNew::StopAnimation() {
    Animate1->Stop();
}

void Tfrm_ChkWhatsNew::StartTimer(int Milliseconds) {
    Timer1->start(Milliseconds);
}

void Tfrm_ChkWhatsNew::StopTimer() {
    Timer1->stop();
}

void Tfrm_ChkWhatsNew::CloseWindow() {
    done(QDialog::Accepted);
}

void Tfrm_ChkWhatsNew::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void Tfrm_ChkWhatsNew::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (shown_) return;
    shown_ = true;
    QTimer::singleShot(0, this, [this] { check_.FormShow(); });
}

void Tfrm_ChkWhatsNew::closeEvent(QCloseEvent* Event) {
    if (!check_.CloseQuery()) {
        Event->ignore();
        return;
    }
    QDialog::closeEvent(Event);
}

void Tfrm_ChkWhatsNew::reject() {
    if (check_.CloseQuery()) QDialog::reject();
}

void ShowChkWhatsNew(TChkWhatsNew& Check) {
    if (!plat::EnsureApplication()) {
        RunCheckWithoutWindow(Check);
        return;
    }
    Tfrm_ChkWhatsNew form(Check);
    form.exec();
}

} // namespace heraldex
