#pragma once
// TPicShow: the transition player as a Qt widget. It forwards paints, resizes and the worker's
// end message to TCustomPicShow and shows the off-screen buffer it composes; nothing else.
#include "engine/transitions/PicShow.h"

#include <QWidget>
#include <atomic>

namespace somnex {

class TPicShow : public QWidget, private IPicShowWindow, public TCustomPicShow {
public:
    explicit TPicShow(QWidget* parent = nullptr, IPicShowClock& clock = SystemClock());
    ~TPicShow() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int ClientWidth() const override { return width(); }
    int ClientHeight() const override { return height(); }
    void SetClientSize(int width, int height) override;
    bool Invalidate(const plat::Rect& r) override;
    void PaintNow() override;
    void PostEnd() override;
    void ProcessMessages() override;
    bool IsControlThread() const override;

    std::atomic<bool> visible_{false};
};

} // namespace somnex
