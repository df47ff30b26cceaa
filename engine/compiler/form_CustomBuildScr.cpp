#include "engine/compiler/form_CustomBuildScr.h"

#include "platform/ui/MessageBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <cmath>
#include <memory>

namespace somnex {

namespace {
constexpr int kAnimationSize = 72;
constexpr int kFrameMs = 80;
constexpr int kFrames = 24;

QLabel* MakeLabel(QWidget* parent, int x, int y, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->move(x, y);
    label->resize(parent->width() - x - 4, 16);
    return label;
}

QProgressBar* MakeBar(QWidget* parent, int x, int y, int maximum) {
    auto* bar = new QProgressBar(parent);
    bar->setGeometry(x, y, 221, 18);
    bar->setRange(0, maximum);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

// The terminal mirror only in headless mode: a person at a terminal has no dialog to look at.
std::unique_ptr<TTerminalProgress> TerminalIfHeadless() {
    if (plat::CurrentUiMode() != plat::UiMode::Headless) return nullptr;
    return std::make_unique<TTerminalProgress>();
}
} // namespace

// ---- Animation ----

TBuildAnimation::TBuildAnimation(QWidget* Parent) : QWidget(Parent), timer_(new QTimer(this)) {
    setFixedSize(kAnimationSize, kAnimationSize);
    timer_->setInterval(kFrameMs);
    QObject::connect(timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kFrames;
        update();
    });
}

void TBuildAnimation::Start(const std::function<void()>& OnStart) {
    timer_->start();
    if (OnStart) QTimer::singleShot(0, this, OnStart);
}

void TBuildAnimation::Stop() {
    timer_->stop();
}

bool TBuildAnimation::Active() const {
    return timer_->isActive();
}

void TBuildAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(192, 192, 192));
    // A film strip runs from left to right through the middle, one frame width per loop.
    const int stripTop = 22, stripHeight = 28, cell = 18;
    int shift = frame_ * cell / kFrames;
    p.fillRect(0, stripTop, width(), stripHeight, QColor(40, 40, 48));
    for (int x = -cell + shift; x < width(); x += cell) {
        p.fillRect(x + 3, stripTop + 2, 6, 3, QColor(220, 220, 220));
        p.fillRect(x + 3, stripTop + stripHeight - 5, 6, 3, QColor(220, 220, 220));
        QLinearGradient g(x, stripTop + 7, x + cell, stripTop + stripHeight - 7);
        g.setColorAt(0, QColor::fromHsv((x * 7 + 400) % 360, 140, 230));
        g.setColorAt(1, QColor::fromHsv((x * 7 + 460) % 360, 200, 150));
        p.fillRect(QRect(x + 1, stripTop + 7, cell - 3, stripHeight - 14), g);
    }
    // The lens above the strip turns as the frames pass.
    QPointF centre(width() / 2.0, 13);
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(QColor(90, 120, 170));
    p.drawEllipse(centre, 10, 10);
    double angle = frame_ * 2 * M_PI / kFrames;
    for (int k = 0; k < 3; ++k) {
        double a = angle + k * 2 * M_PI / 3;
        p.setBrush(QColor(230, 230, 240));
        p.drawEllipse(QPointF(centre.x() + 5 * std::cos(a), centre.y() + 5 * std::sin(a)), 2.5, 2.5);
    }
    // A finished slide drops into the box below.
    int drop = frame_ * 14 / kFrames;
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(250, 240, 200));
    p.drawRect(QRectF(width() / 2.0 - 7, stripTop + stripHeight + 1 + drop / 2.0, 14, 9));
    p.setBrush(QColor(150, 110, 60));
    p.drawRect(QRectF(width() / 2.0 - 14, height() - 11, 28, 9));
}

// ---- Dialog ----

TFrmCumtomBuildScr::TFrmCumtomBuildScr(TCustomBuild& TheBuild)
    : QDialog(nullptr,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Build(TheBuild) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    setWindowTitle(QStringLiteral("Creating screen saver..."));
    setFixedSize(322, 142);
    setModal(true);

    Panel1 = new QWidget(this);
    Panel1->setGeometry(8, 20, 72, 72);
    Panel1->setAutoFillBackground(true);
    QPalette grey = Panel1->palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    Panel1->setPalette(grey);
    Animate1 = new TBuildAnimation(Panel1);
    Animate1->move(0, 0);

    auto* panel2 = new QFrame(this);
    panel2->setGeometry(82, 7, 233, 94);
    panel2->setFrameShape(QFrame::Box);
    panel2->setLineWidth(1);
    Panel2 = panel2;
    Lab_TotalStep = MakeLabel(Panel2, 9, 3, "...");
    PgBar_TotalStep = MakeBar(Panel2, 8, 22, 4);
    Lab_CurStep = MakeLabel(Panel2, 9, 47, "...");
    PgBar_CurStep = MakeBar(Panel2, 8, 66, 100);

    auto* bevel = new QFrame(this);
    bevel->setGeometry(6, 103, 310, 6);
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Raised);
    Bevel1 = bevel;

    Lab_Rpt = new QLabel(QStringLiteral("Media: %d"), this);
    QFont bold = font;
    bold.setBold(true);
    Lab_Rpt->setFont(bold);
    Lab_Rpt->setGeometry(8, 110, 236, 24);

    Btn_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    Btn_Cancel->setGeometry(248, 112, 65, 24);
    Btn_Cancel->setAutoDefault(false);
    QObject::connect(Btn_Cancel, &QPushButton::clicked, this, [this] { Build.Cancel(); });

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TFrmCumtomBuildScr::~TFrmCumtomBuildScr() {
    SetBusy(false);
}

bool TFrmCumtomBuildScr::ShowModal() {
    exec();
    return Build.Success;
}

void TFrmCumtomBuildScr::SetMaximum(int Bar, int Maximum) {
    if (Bar == kTotalBar)
        PgBar_TotalStep->setMaximum(Maximum);
    else if (Bar == kCurrentBar)
        PgBar_CurStep->setMaximum(Maximum);
}

void TFrmCumtomBuildScr::SetProgress(int Bar, int Position, const std::string& Text) {
    QProgressBar* bar = Bar == kTotalBar ? PgBar_TotalStep : Bar == kCurrentBar ? PgBar_CurStep : nullptr;
    QLabel* label = Bar == kTotalBar ? Lab_TotalStep : Lab_CurStep;
    if (!bar) return;
    bar->setValue(Position);
    label->setText(QString::fromStdString(Text));
    bar->repaint();
    label->repaint();
}

void TFrmCumtomBuildScr::SetReport(const std::string& Text) {
    Lab_Rpt->setText(QString::fromStdString(Text));
}

void TFrmCumtomBuildScr::SetBusy(bool Busy) {
    if (Busy == busy_) return;
    busy_ = Busy;
    if (Busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

bool TFrmCumtomBuildScr::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return false; // Cancel reaches the build directly
}

void TFrmCumtomBuildScr::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    // Showing the dialog again while the animation runs must not start a second build.
    if (started_) return;
    started_ = true;
    Animate1->Start([this] { runBuild(); });
}

void TFrmCumtomBuildScr::runBuild() {
    std::unique_ptr<TTerminalProgress> terminal = TerminalIfHeadless();
    watchers_.Add(this);
    watchers_.Add(terminal.get());
    watchers_.Add(BuildProgressHook());
    Build.Run(watchers_);
    Animate1->Stop();
    SetBusy(false);
    watchers_ = TBuildProgressTee();
    terminal.reset();
    Build.Close();
    done(Build.Success ? QDialog::Accepted : QDialog::Rejected);
}

void TFrmCumtomBuildScr::closeEvent(QCloseEvent* Event) {
    if (Build.Running()) {
        Build.Cancel();
        Event->ignore();
        return;
    }
    QDialog::closeEvent(Event);
}

void TFrmCumtomBuildScr::reject() {
    if (Build.Running()) {
        Build.Cancel();
        return;
    }
    QDialog::reject();
}

bool RunBuildWithoutDialog(TCustomBuild& Build) {
    std::unique_ptr<TTerminalProgress> terminal = TerminalIfHeadless();
    TBuildProgressTee watchers;
    watchers.Add(terminal.get());
    watchers.Add(BuildProgressHook());
    Build.Run(watchers);
    terminal.reset();
    Build.Close();
    return Build.Success;
}

} // namespace somnex
