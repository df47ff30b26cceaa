#include "engine/preview/QtSlideshowParts.h"

#include "engine/transitions/PicShowWidget.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>

namespace somnex {

namespace {

class QtPreviewTimer final : public IPreviewTimer {
public:
    QtPreviewTimer(std::function<void()> OnTimer, TPreviewErrorReport Report) {
        timer_.setInterval(1000);
        QObject::connect(&timer_, &QTimer::timeout,
                         [handler = std::move(OnTimer), report = std::move(Report)] {
                             try {
                                 handler();
                             } catch (const std::exception& e) {
                                 if (report) report(e.what());
                             }
                         });
    }
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool On) override {
        if (On == enabled_) return;
        enabled_ = On;
        Update();
    }
    uint32_t Interval() const override { return interval_; }
    void SetInterval(uint32_t Milliseconds) override {
        if (Milliseconds == interval_) return;
        interval_ = Milliseconds;
        Update();
    }

private:
    // As the toolkit's timer: a new interval or a new start counts from now; 0 never fires.
    void Update() {
        timer_.stop();
        if (enabled_ && interval_ > 0) timer_.start(int(std::min<uint32_t>(interval_, INT32_MAX)));
    }

    QTimer timer_;
    bool enabled_ = false;
    uint32_t interval_ = 1000;
};

class QtPicShowScreen final : public IPicShowScreen {
public:
    QtPicShowScreen(QWidget* form, TPreviewErrorReport report) : form_(form), show_(new TPicShow(form)) {
        // Fills the form, centred, at its own size; the form sees the mouse through it.
        auto* layout = new QVBoxLayout(form);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(show_);
        show_->SetCenter(true);
        show_->SetAutoSize(false);
        show_->setMouseTracking(true);
        // The end arrives as a posted message, outside any of the form's guarded events: an
        // error in the next picture's set-up is reported here and the preview plays on.
        show_->OnComplete = [this, report = std::move(report)](TCustomPicShow&) {
            try {
                if (OnComplete) OnComplete();
            } catch (const std::exception& e) {
                if (report) report(e.what());
            }
        };
    }
    ~QtPicShowScreen() override { delete show_; }

    void SetPicture(const plat::Bitmap& Picture) override { show_->SetPicture(Picture); }
    void SetBgPicture(const plat::Bitmap& Picture) override { show_->SetBgPicture(Picture); }
    void SetBgMode(TBackgroundMode Mode) override { show_->SetBgMode(Mode); }
    void SetColor(plat::Color Color) override {
        show_->SetColor(Color);
        show_->update();
    }
    void SetStyle(int32_t Style) override { show_->SetStyle(Style); }
    void SetStep(uint32_t Step) override { show_->SetStep(Step); }
    void SetDelay(uint16_t Delay) override { show_->SetDelay(Delay); }
    bool InTransition() const override { return show_->InTransition(); }
    void StartTransition() override { show_->StartTransition(); }
    void ClearScreen() override { show_->ClearScreen(); }
    void Repaint() override { show_->repaint(); }
    int32_t ScreenWidth() const override { return ScreenSize().width(); }
    int32_t ScreenHeight() const override { return ScreenSize().height(); }

    TPicShow& Widget() { return *show_; }

private:
    QSize ScreenSize() const {
        const QScreen* screen = form_->screen() ? form_->screen() : QGuiApplication::primaryScreen();
        return screen ? screen->size() : QSize(800, 600);
    }

    QWidget* form_;
    TPicShow* show_;
};

} // namespace

TTimerFactory QtTimerFactory(TPreviewErrorReport Report) {
    return [Report](std::function<void()> OnTimer) -> std::unique_ptr<IPreviewTimer> {
        return std::make_unique<QtPreviewTimer>(std::move(OnTimer), Report);
    };
}

TPcvPreviewParts SystemSlideshowParts(TPreviewErrorReport Report) {
    TPcvPreviewParts parts;
    parts.MakeTimer = QtTimerFactory(Report);
    parts.MakeMediaPlayer = [] { return plat::CreateSystemMediaPlayer(); };
    parts.MakeScreen = [Report](IPreviewWindow& form) -> std::unique_ptr<IPicShowScreen> {
        return std::make_unique<QtPicShowScreen>(static_cast<QWidget*>(form.Handle()), Report);
    };
    return parts;
}

} // namespace somnex
