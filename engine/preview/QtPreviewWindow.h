#pragma once
// The Qt form behind a preview: black, borderless, full screen; forwards its events to the
// form's logic and reports an error raised in a handler without ending the preview.
#include "engine/preview/PreviewWindow.h"

#include <QEventLoop>
#include <QWidget>
#include <functional>
#include <string>

namespace somnex {

using TPreviewErrorReport = std::function<void(const std::string& Message)>;

class QtPreviewWindow final : public QWidget, public IPreviewWindow {
public:
    QtPreviewWindow(IPreviewEvents& Events, TPreviewErrorReport Report);

    void MoveTo(int32_t Left, int32_t Top) override { move(Left, Top); }
    void SetStayOnTop(bool OnTop) override { setWindowFlag(Qt::WindowStaysOnTopHint, OnTop); }
    void SetCaption(const std::string& Caption) override { setWindowTitle(QString::fromLocal8Bit(Caption)); }
    void SetWidth(int32_t Width) override { resize(Width, height()); }
    void BringToForeground() override;
    void ShowArrowCursor() override;
    void HideCursorOverForm() override;
    void ShowModal() override;
    void RequestClose() override { close(); }
    void* Handle() override { return static_cast<QWidget*>(this); }

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    template <class Handler>
    void Guarded(Handler&& handler);
    // The form's close without its close query; ends the modal loop.
    void CloseRegardless();

    IPreviewEvents& events_;
    TPreviewErrorReport report_;
    QEventLoop loop_;
    bool activated_ = false;
    bool closed_ = false;
    int arrowCursors_ = 0;
};

// The virtual key code of a Qt key (letters and digits as their upper-case character).
int32_t VirtualKeyOf(int QtKey);

// The system services a preview uses, on Qt and the platform layers.
IPreviewServices& SystemPreviewServices();

// How long a preview runs before it asks itself to close: SOMNEX_PREVIEW_SECONDS, else, when no
// one can give input (headless), a few seconds; 0 means until an exit input.
int PreviewAutoCloseMilliseconds();

} // namespace somnex
