#include "engine/preview/QtPreviewWindow.h"

#include "platform/screensaver/ScreenSaver.h"
#include "platform/ui/MessageBox.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <exception>

namespace somnex {

QtPreviewWindow::QtPreviewWindow(IPreviewEvents& Events, TPreviewErrorReport Report)
    : QWidget(nullptr, Qt::FramelessWindowHint), events_(Events), report_(std::move(Report)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

template <class Handler>
void QtPreviewWindow::Guarded(Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        if (report_) report_(e.what());
    }
}

void QtPreviewWindow::BringToForeground() {
    // Windowless platforms have no stacking order and only complain when asked.
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal") return;
    raise();
    activateWindow();
}

void QtPreviewWindow::ShowArrowCursor() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    ++arrowCursors_;
}

void QtPreviewWindow::HideCursorOverForm() {
    if (arrowCursors_ == 0) return;
    QGuiApplication::restoreOverrideCursor();
    --arrowCursors_;
}

void QtPreviewWindow::ShowModal() {
    closed_ = false;
    activated_ = false;
    setWindowModality(Qt::ApplicationModal);
    // Without a window manager nobody enlarges a full-screen window; it covers the screen itself.
    if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) setGeometry(s->geometry());
    showFullScreen();
    // Some platforms (offscreen) never activate a window; the start-up hangs on activation.
    QTimer::singleShot(0, this, [this] {
        if (!activated_)
            Guarded([this] {
                activated_ = true;
                events_.FormActivate();
            });
    });
    if (int ms = PreviewAutoCloseMilliseconds(); ms > 0)
        QTimer::singleShot(ms, this, [this] {
            close();
            // Headless, nobody can ever answer a password question that kept the form open.
            if (!closed_ && plat::CurrentUiMode() != plat::UiMode::Desktop) CloseRegardless();
        });
    if (!closed_) loop_.exec();
    hide();
}

void QtPreviewWindow::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!e->spontaneous()) Guarded([this] { events_.FormShow(); });
}

void QtPreviewWindow::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() != QEvent::ActivationChange) return;
    // Each time the form becomes active, once: the start-up fallback may have counted this one.
    if (!isActiveWindow()) {
        activated_ = false;
    } else if (!activated_ && !closed_) {
        Guarded([this] {
            activated_ = true;
            events_.FormActivate();
        });
    }
}

void QtPreviewWindow::closeEvent(QCloseEvent* e) {
    if (closed_) return e->accept();
    bool allowed = true;
    Guarded([&] { allowed = events_.FormCloseQuery(); });
    if (!allowed) return e->ignore();
    CloseRegardless();
    e->accept();
}

void QtPreviewWindow::CloseRegardless() {
    Guarded([this] { events_.FormClose(); });
    closed_ = true;
    loop_.quit();
}

void QtPreviewWindow::keyReleaseEvent(QKeyEvent* e) {
    if (e->isAutoRepeat()) return;
    Guarded([&] { events_.FormKeyUp(VirtualKeyOf(e->key())); });
}

void QtPreviewWindow::mouseMoveEvent(QMouseEvent* e) {
    const QPointF at = e->globalPosition();
    Guarded([&] { events_.MouseMove(int32_t(at.x()), int32_t(at.y())); });
}

void QtPreviewWindow::mouseDoubleClickEvent(QMouseEvent*) {
    Guarded([this] { events_.DoubleClick(); });
}

int32_t VirtualKeyOf(int QtKey) {
    switch (QtKey) {
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Print:
        return VK_SNAPSHOT;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    default:
        break;
    }
    if ((QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z) || (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9))
        return QtKey;
    if (QtKey >= Qt::Key_F1 && QtKey <= Qt::Key_F24) return 112 + (QtKey - Qt::Key_F1);
    return 0xFF; // any other key still counts as a key release
}

namespace {

class QtPreviewServices final : public IPreviewServices {
public:
    // A counter as the system keeps it: the cursor shows while it is at least zero, so requests
    // may come in any order and still balance.
    void HideCursor() override { Apply(--counter_); }
    void ShowCursor() override { Apply(++counter_); }
    void SetScreenSaverRunning(bool Running) override { plat::SetScreenSaverRunning(Running); }
    bool ClipboardHasBitmap() override {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        return data && data->hasImage();
    }
    void EmptyClipboard() override { QGuiApplication::clipboard()->clear(); }
    std::unique_ptr<plat::ScreenSavePasswordLibrary> LoadPasswordLibrary() override {
        return plat::LoadScreenSavePasswordLibrary();
    }
    uint32_t ClockSeed() override {
        return uint32_t(std::chrono::steady_clock::now().time_since_epoch().count());
    }

private:
    void Apply(int counter) {
        if (counter < 0 && !blank_) QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
        if (counter >= 0 && blank_) QGuiApplication::restoreOverrideCursor();
        blank_ = counter < 0;
    }

    int counter_ = 0;
    bool blank_ = false;
};

} // namespace

IPreviewServices& SystemPreviewServices() {
    static QtPreviewServices services;
    return services;
}

int PreviewAutoCloseMilliseconds() {
    if (const char* text = std::getenv("SOMNEX_PREVIEW_SECONDS"); text && *text) {
        double seconds = std::atof(text);
        return seconds > 0 ? int(seconds * 1000) : 0;
    }
    return plat::CurrentUiMode() == plat::UiMode::Desktop ? 0 : 3000;
}

} // namespace somnex
