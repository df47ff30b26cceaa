#include "platform/movie/QtMovieControl.h"

#include "platform/media/MediaBackend.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QVideoFrame>
#include <QVideoSink>
#include <QWheelEvent>
#include <QWidget>

namespace plat {

namespace {

class QtMovieControl;

// The control's window. It may outlive its control by a moment: a control released from inside
// one of the window's own events leaves the window to be deleted once that event is done.
class MovieWidget final : public QWidget {
public:
    explicit MovieWidget(QWidget* parent) : QWidget(parent) {
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
        player.setAudioOutput(&audio);
        player.setVideoSink(&sink);
        // Through owner, never a captured control: the player still reports while it goes away.
        connect(&player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
            if (owner) OwnerStatusChanged(status);
        });
        // The signal's frame is not touched: while stopping, the backend hands over one it is
        // about to free. The sink's own copy is read when painting, on this thread.
        connect(&sink, &QVideoSink::videoFrameChanged, this, [this] { update(); });
    }

    QtMovieControl* owner = nullptr;
    // The player goes first, before the outputs it writes to.
    QAudioOutput audio;
    QVideoSink sink;
    QMediaPlayer player;
    int32_t scaleMode = 0;
    QColor background = Qt::black;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), background);
        const QVideoFrame frame = sink.videoFrame();
        const QImage image = frame.isValid() ? frame.toImage() : QImage();
        if (image.isNull()) return;
        QSize size = image.size();
        if (scaleMode == 2)
            size = this->size();
        else
            size.scale(this->size(), scaleMode == 1 ? Qt::KeepAspectRatioByExpanding : Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), size);
        target.moveCenter(rect().center());
        p.drawImage(target, image);
    }
    void mouseMoveEvent(QMouseEvent* e) override { Filter(MovieInput::MouseMove, e); }
    void mousePressEvent(QMouseEvent* e) override {
        Filter(Of(e->button(), MovieInput::LeftDown, MovieInput::MiddleDown, MovieInput::RightDown), e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        Filter(Of(e->button(), MovieInput::LeftUp, MovieInput::MiddleUp, MovieInput::RightUp), e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        Filter(Of(e->button(), MovieInput::LeftDoubleClick, MovieInput::MiddleDoubleClick,
                  MovieInput::RightDoubleClick),
               e);
    }
    void wheelEvent(QWheelEvent* e) override {
        const QPointF at = e->globalPosition();
        Pass(MovieInput::Wheel, int32_t(at.x()), int32_t(at.y()));
        e->accept();
    }

private:
    static MovieInput Of(Qt::MouseButton b, MovieInput left, MovieInput middle, MovieInput right) {
        if (b == Qt::LeftButton) return left;
        if (b == Qt::MiddleButton) return middle;
        if (b == Qt::RightButton) return right;
        return MovieInput::Other;
    }
    void Filter(MovieInput input, QMouseEvent* e) {
        const QPointF at = e->globalPosition();
        Pass(input, int32_t(at.x()), int32_t(at.y()));
        // Swallowed or played, the input ends here: the form behind never sees it twice.
        e->accept();
    }
    void Pass(MovieInput input, int32_t x, int32_t y);
    void OwnerStatusChanged(QMediaPlayer::MediaStatus status);
};

class QtMovieControl final : public MovieControl {
public:
    explicit QtMovieControl(QWidget* parent) : widget_(new MovieWidget(parent)) { widget_->owner = this; }
    void StatusChanged(QMediaPlayer::MediaStatus status) {
        if (reported_ || (status != QMediaPlayer::LoadedMedia && status != QMediaPlayer::BufferedMedia))
            return;
        reported_ = true;
        if (auto report = OnReadyStateChange) report(kMovieLoaded);
    }
    ~QtMovieControl() override {
        if (!widget_) return;
        widget_->owner = nullptr;
        widget_->player.stop();
        widget_->hide();
        widget_->deleteLater();
    }

    void SetMenu(bool) override {} // the widget has no menu of its own
    void SetBackgroundColor(int32_t color) override {
        if (widget_)
            widget_->background = color < 0 ? QColor(Qt::black)
                                            : QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    }
    void SetScaleMode(int32_t mode) override {
        if (widget_) widget_->scaleMode = mode;
    }
    void SetQuality(int32_t) override {} // frames are drawn as decoded
    void SetLoop(bool on) override {
        if (widget_) widget_->player.setLoops(on ? QMediaPlayer::Infinite : QMediaPlayer::Once);
    }
    void LoadMovie(int32_t, const std::string& file) override {
        if (!widget_) return;
        reported_ = false;
        widget_->player.setSource(QUrl::fromLocalFile(QString::fromLocal8Bit(file)));
        widget_->player.play();
    }
    void Play() override {
        if (widget_) widget_->player.play();
    }
    void StopPlay() override {
        if (widget_) widget_->player.stop();
    }
    // A file the backend refused stays "playing" to the player; it is not playing to anyone watching.
    bool IsPlaying() override {
        if (!widget_) return false;
        const QMediaPlayer& p = widget_->player;
        return p.playbackState() == QMediaPlayer::PlayingState && p.error() == QMediaPlayer::NoError &&
               p.mediaStatus() != QMediaPlayer::InvalidMedia && p.mediaStatus() != QMediaPlayer::EndOfMedia;
    }
    void PlaceOnForm() override {
        if (!widget_) return;
        if (QWidget* parent = widget_->parentWidget()) widget_->setGeometry(parent->rect());
        widget_->show();
        widget_->lower();
        widget_->setFocus();
    }

private:
    QPointer<MovieWidget> widget_;
    bool reported_ = false;
};

void MovieWidget::Pass(MovieInput input, int32_t x, int32_t y) {
    if (!owner) return;
    // A copy: the filter may release the control, and with it the original.
    auto filter = owner->InputFilter;
    if (filter) filter(input, x, y);
}

void MovieWidget::OwnerStatusChanged(QMediaPlayer::MediaStatus status) {
    owner->StatusChanged(status);
}

} // namespace

MovieControlFactory QtMovieControls() {
    return [](void* parent) -> std::unique_ptr<MovieControl> {
        UseMediaBackend();
        return std::make_unique<QtMovieControl>(static_cast<QWidget*>(parent));
    };
}

} // namespace plat
