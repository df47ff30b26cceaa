#pragma once
// The transition player: shows one picture and changes to the next one through an animated
// effect. TCustomPicShow holds the whole behaviour and talks to its window only through
// IPicShowWindow and to time only through IPicShowClock, so it runs the same under a Qt widget
// (TPicShow) and under a test's virtual clock.
#include "engine/transitions/ManualResetEvent.h"
#include "engine/transitions/PSEffect.h"
#include "platform/raster/Bitmap.h"
#include "platform/raster/Canvas.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace somnex {

enum class TBackgroundMode { bmNone, bmTiled, bmStretched, bmCentered };
enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TCustomPicShow;
using TNotifyEvent = std::function<void(TCustomPicShow& Sender)>;
using TCustomDrawEvent =
    std::function<void(TCustomPicShow& Sender, plat::Bitmap& Picture, plat::Bitmap& Screen)>;

// The window the player lives in. Invalidate and PostEnd may be called from the worker thread;
// everything else is called on the control's thread.
class IPicShowWindow {
public:
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    // AutoSize: the client size follows the picture, where the layout lets it.
    virtual void SetClientSize(int width, int height) = 0;
    // Marks a client rectangle for repainting without erasing. False when no paint will follow
    // (a hidden window), so nobody waits for one.
    virtual bool Invalidate(const plat::Rect& r) = 0;
    // Paints what is invalid at once (the control's thread only).
    virtual void PaintNow() = 0;
    // Makes the control's thread call DispatchPosted soon (the worker's end message).
    virtual void PostEnd() = 0;
    // Handles pending window messages once (the unthreaded producer waits this way).
    virtual void ProcessMessages() = 0;
    virtual bool IsControlThread() const = 0;

protected:
    ~IPicShowWindow() = default;
};

class IPicShowClock {
public:
    virtual uint32_t TickCount() = 0; // milliseconds
    virtual void Sleep(uint32_t ms) = 0;

protected:
    ~IPicShowClock() = default;
};

// The machine's clock.
IPicShowClock& SystemClock();

// The progress after `progress`, and whether a progress value ends the run.
int32_t NextProgress(int32_t progress, int32_t step, bool reverse);
constexpr bool AtEnd(int32_t progress, bool reverse) {
    return reverse ? progress == 0 : progress == 100;
}

// The rectangle of S's proportions as large as fits in B, centred in B.
plat::Rect FittedRect(const plat::Rect& S, const plat::Rect& B);

class TCustomPicShow {
public:
    TCustomPicShow(IPicShowWindow& window, IPicShowClock& clock);
    virtual ~TCustomPicShow();
    TCustomPicShow(const TCustomPicShow&) = delete;
    TCustomPicShow& operator=(const TCustomPicShow&) = delete;

    // Properties.
    const plat::Bitmap& Picture() const { return picture_; }
    void SetPicture(const plat::Bitmap& picture);
    const plat::Bitmap& BgPicture() const { return bgPicture_; }
    void SetBgPicture(const plat::Bitmap& picture);
    TBackgroundMode BgMode() const { return bgMode_; }
    void SetBgMode(TBackgroundMode mode);
    plat::Color Color() const { return color_; }
    void SetColor(plat::Color c) { color_ = c; }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool Center() const { return center_; }
    void SetCenter(bool on);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    bool StretchFine() const { return stretchFine_; }
    void SetStretchFine(bool on);
    bool OverDraw() const { return overDraw_; }
    void SetOverDraw(bool on) { overDraw_ = on; }
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool on) { threaded_ = on; }
    TThreadPriority ThreadPriority() const { return priority_; }
    void SetThreadPriority(TThreadPriority p) { priority_ = p; }
    bool Manual() const { return manual_; }
    void SetManual(bool on);
    int32_t Style() const { return style_; }
    void SetStyle(int32_t style);
    std::string StyleName() const;
    void SetStyleName(const std::string& name);
    uint16_t Step() const { return step_; }
    void SetStep(uint32_t step);
    uint16_t Delay() const { return delay_; }
    void SetDelay(uint16_t ms) { delay_ = ms; }
    bool Reverse() const { return reverse_; }
    void SetReverse(bool on) { reverse_ = on; }

    uint8_t Progress() const { return uint8_t(progress_.load()); }
    void SetProgress(int32_t value);
    bool InTransition() const { return inTransition_; }

    // Events.
    TNotifyEvent OnChange, OnProgress, OnComplete, OnStop, OnMouseEnter, OnMouseLeave;
    TCustomDrawEvent OnStart, OnBeforeNewFrame, OnAfterNewFrame, OnCustomDraw;

    // Operations, in the order hosts of the original control know them.
    virtual void PaintBackground(plat::Canvas& canvas, const plat::Rect& r);
    virtual void DoChange();
    virtual void DoProgress();
    virtual void DoCustomDraw(plat::Bitmap& picture, plat::Bitmap& screen);
    virtual void DoBeforeNewFrame(plat::Bitmap& picture, plat::Bitmap& screen);
    virtual void DoAfterNewFrame(plat::Bitmap& picture, plat::Bitmap& screen);
    virtual void DoComplete();
    virtual void DoStart(plat::Bitmap& picture, plat::Bitmap& screen);
    virtual void DoStop();
    virtual void StartTransition();
    virtual void StopTransition();
    virtual void ClearScreen();

    // Window side: a paint (composes the off-screen buffer, which the window then shows), a
    // resize, and the posted end messages of the worker. Control's thread only.
    void Paint();
    const plat::Bitmap& OffscreenBuffer() const { return offscreen_; }
    void Resized();
    void DispatchPosted();

    // The frame on screen (picture-sized), read under the display lock.
    plat::Bitmap DisplaySnapshot() const;
    bool DisplayEmpty() const;
    plat::Rect PictureRect() const { return picRect_; }

protected:
    // Stops a running transition; derived destructors call it while the window still exists.
    void Shutdown();

private:
    struct Worker;

    void ProducePictureRect();
    void StartFrames();
    void RunUnthreaded();
    void WorkerRun(Worker& w);
    void WorkerStep(Worker& w);
    void HandleEnd();
    // Ends the worker if there is one; true when there was.
    bool EndWorker();
    void Finish();
    void RenderFrame();
    void InvalidatePictureRect(const TRect& r);
    bool CanInvalidate() const { return !painting_; }
    // Repaints the whole control when something is shown and no paint is under way.
    void InvalidateShown();
    // Copies what the worker needs of the layout, so it never reads the window or the UI-side
    // properties while they change.
    void SyncLayout();

    IPicShowWindow& window_;
    IPicShowClock& clock_;

    plat::Bitmap picture_, bgPicture_;
    TBackgroundMode bgMode_ = TBackgroundMode::bmTiled;
    plat::Color color_ = plat::ColorWhite;
    bool autoSize_ = true, center_ = false, stretch_ = false, stretchFine_ = false, overDraw_ = true;
    bool threaded_ = true;
    TThreadPriority priority_ = TThreadPriority::tpNormal;
    std::atomic<bool> manual_{false};
    std::atomic<int32_t> style_{51};
    std::atomic<uint16_t> step_{4}, delay_{40};
    std::atomic<bool> reverse_{false};
    std::atomic<int32_t> progress_{0};
    std::atomic<bool> inTransition_{false};

    // Frame state. The display is guarded by displayLock_ (the worker renders, the control
    // paints); image and old screen belong to the rendering side while a transition runs.
    mutable std::mutex displayLock_;
    plat::Bitmap display_;
    std::unique_ptr<plat::Bitmap> image_, oldScreen_;
    plat::Bitmap offscreen_;
    plat::Rect picRect_;
    int32_t picW_ = 0, picH_ = 0;
    struct Layout {
        plat::Rect PicRect, Client;
        bool Center = false, Stretch = false, StretchFine = false;
    } layout_; // guarded by displayLock_

    std::recursive_mutex cs_; // Progress and the rendering of a frame
    ManualResetEvent frameShown_{true};
    std::atomic<bool> paintPending_{false};

    std::unique_ptr<Worker> worker_;
    std::mutex postLock_;
    int postedEnds_ = 0;

    bool stopping_ = false, painting_ = false, backgroundDrawn_ = false, destroying_ = false;
};

} // namespace somnex
