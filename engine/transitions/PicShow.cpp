#include "engine/transitions/PicShow.h"

#include "engine/core/MulDiv.h"
#include "engine/transitions/BitmapView.h"
#include "engine/transitions/RowOps.h"

#include <chrono>

namespace somnex {

namespace {

class MachineClock final : public IPicShowClock {
public:
    uint32_t TickCount() override {
        using namespace std::chrono;
        return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

// Sets a flag for the lifetime of a scope, clearing it however the scope ends.
struct FlagScope {
    bool& Flag;
    explicit FlagScope(bool& f) : Flag(f) { Flag = true; }
    ~FlagScope() { Flag = false; }
};

} // namespace

IPicShowClock& SystemClock() {
    static MachineClock clock;
    return clock;
}

int32_t NextProgress(int32_t progress, int32_t step, bool reverse) {
    if (reverse) return progress > step ? progress - step : 0;
    return progress < 100 - step ? progress + step : 100;
}

plat::Rect FittedRect(const plat::Rect& S, const plat::Rect& B) {
    if (S.Width() <= 0 || S.Height() <= 0) return B;
    int w, h;
    if (double(B.Height()) / S.Height() > double(B.Width()) / S.Width()) {
        w = B.Width();
        h = MulDiv(S.Height(), B.Width(), S.Width());
    } else {
        h = B.Height();
        w = MulDiv(S.Width(), B.Height(), S.Height());
    }
    const int left = B.Left + (B.Width() - w) / 2, top = B.Top + (B.Height() - h) / 2;
    return {left, top, left + w, top + h};
}

struct TCustomPicShow::Worker {
    std::atomic<bool> Started{false};
    std::atomic<bool> Terminated{false};
    std::thread Thread;
};

TCustomPicShow::TCustomPicShow(IPicShowWindow& window, IPicShowClock& clock)
    : window_(window), clock_(clock) {}

TCustomPicShow::~TCustomPicShow() {
    Shutdown();
}

void TCustomPicShow::Shutdown() {
    if (destroying_) return;
    destroying_ = true;
    StopTransition();
    // A worker that ended on its own may still wait for its end message to be handled.
    if (worker_) HandleEnd();
}

// ---- properties ----

void TCustomPicShow::SetPicture(const plat::Bitmap& picture) {
    picture_ = picture;
    if (destroying_) return;
    if (autoSize_ && !picture_.Empty()) window_.SetClientSize(picture_.Width(), picture_.Height());
    DoChange();
}

void TCustomPicShow::SetBgPicture(const plat::Bitmap& picture) {
    bgPicture_ = picture;
    if (bgMode_ != TBackgroundMode::bmNone && CanInvalidate())
        window_.Invalidate({0, 0, window_.ClientWidth(), window_.ClientHeight()});
}

void TCustomPicShow::SetBgMode(TBackgroundMode mode) {
    if (mode == bgMode_) return;
    bgMode_ = mode;
    if (!bgPicture_.Empty() && CanInvalidate())
        window_.Invalidate({0, 0, window_.ClientWidth(), window_.ClientHeight()});
}

void TCustomPicShow::SetAutoSize(bool on) {
    if (on == autoSize_) return;
    autoSize_ = on;
    if (on && !picture_.Empty()) window_.SetClientSize(picture_.Width(), picture_.Height());
}

void TCustomPicShow::SetCenter(bool on) {
    if (on == center_) return;
    center_ = on;
    if (!picture_.Empty()) ProducePictureRect();
    InvalidateShown();
}

void TCustomPicShow::SetStretch(bool on) {
    if (on == stretch_) return;
    stretch_ = on;
    SyncLayout();
    InvalidateShown();
}

void TCustomPicShow::SetStretchFine(bool on) {
    if (on == stretchFine_) return;
    stretchFine_ = on;
    SyncLayout();
    InvalidateShown();
}

void TCustomPicShow::InvalidateShown() {
    if (!DisplayEmpty() && CanInvalidate())
        window_.Invalidate({0, 0, window_.ClientWidth(), window_.ClientHeight()});
}

void TCustomPicShow::SetStep(uint32_t step) {
    step_ = uint16_t(step == 0 ? 1 : step > 100 ? 100 : step);
}

void TCustomPicShow::SetStyle(int32_t style) {
    if (style < 0 || style > EffectCount || style == style_) return;
    // Every display here is already 32 bits per pixel (the device format), so the pixel-reading
    // styles need no conversion when chosen during a transition.
    style_ = style;
}

std::string TCustomPicShow::StyleName() const {
    return std::string(EffectName(style_));
}

void TCustomPicShow::SetStyleName(const std::string& name) {
    int32_t style = StyleByName(name);
    if (style >= 0) SetStyle(style);
}

void TCustomPicShow::SetManual(bool on) {
    if (on == manual_) return;
    manual_ = on;
    EndWorker();
    if (!inTransition_)
        progress_ = reverse_ ? 100 : 0;
    else if (!manual_)
        StartFrames();
}

// ---- events ----

void TCustomPicShow::DoChange() {
    if (OnChange) OnChange(*this);
}
void TCustomPicShow::DoProgress() {
    if (OnProgress) OnProgress(*this);
}
void TCustomPicShow::DoCustomDraw(plat::Bitmap& picture, plat::Bitmap& screen) {
    if (OnCustomDraw) OnCustomDraw(*this, picture, screen);
}
void TCustomPicShow::DoBeforeNewFrame(plat::Bitmap& picture, plat::Bitmap& screen) {
    if (OnBeforeNewFrame) OnBeforeNewFrame(*this, picture, screen);
}
void TCustomPicShow::DoAfterNewFrame(plat::Bitmap& picture, plat::Bitmap& screen) {
    if (OnAfterNewFrame) OnAfterNewFrame(*this, picture, screen);
}
void TCustomPicShow::DoComplete() {
    if (OnComplete) OnComplete(*this);
}
void TCustomPicShow::DoStart(plat::Bitmap& picture, plat::Bitmap& screen) {
    if (OnStart) OnStart(*this, picture, screen);
}
void TCustomPicShow::DoStop() {
    if (OnStop) OnStop(*this);
}

// ---- transition ----

void TCustomPicShow::ProducePictureRect() {
    picRect_ = {0, 0, picW_, picH_};
    if (center_) {
        const int left = (window_.ClientWidth() - picW_) / 2, top = (window_.ClientHeight() - picH_) / 2;
        picRect_ = {left, top, left + picW_, top + picH_};
    }
    SyncLayout();
}

void TCustomPicShow::StartTransition() {
    if (picture_.Empty() || inTransition_) return;
    inTransition_ = true;
    try {
        picW_ = picture_.Width();
        picH_ = picture_.Height();
        {
            std::lock_guard lock(displayLock_);
            display_.SetSize(picW_, picH_);
            display_.SetPixelFormat(plat::PixelFormat::Pf32);
        }
        ProducePictureRect();
        const plat::Rect client{0, 0, window_.ClientWidth(), window_.ClientHeight()};
        plat::Rect source = picRect_;
        if (stretch_) source = stretchFine_ ? FittedRect(picRect_, client) : client;

        oldScreen_ = std::make_unique<plat::Bitmap>(picW_, picH_, plat::PixelFormat::Pf32);
        oldScreen_->Fill(color_);
        if (offscreen_.Width() != client.Width() || offscreen_.Height() != client.Height())
            offscreen_ = plat::Bitmap(client.Width(), client.Height(), plat::PixelFormat::Pf32);
        plat::Canvas offscreen(offscreen_);
        if (!backgroundDrawn_ || !overDraw_) PaintBackground(offscreen, client);
        plat::Canvas(*oldScreen_).CopyRect({0, 0, picW_, picH_}, offscreen_, source);

        // Display and image share one 32-bit format, so every frame copies rows as they are.
        image_ = std::make_unique<plat::Bitmap>(picture_);
        image_->SetPixelFormat(plat::PixelFormat::Pf32);

        progress_ = reverse_ ? 100 : 0;
        DoStart(*image_, *oldScreen_);
        if (!manual_ && !stopping_) StartFrames();
    } catch (...) {
        image_.reset();
        oldScreen_.reset();
        inTransition_ = false;
        throw;
    }
}

void TCustomPicShow::StartFrames() {
    if (!threaded_) {
        RunUnthreaded();
        return;
    }
    worker_ = std::make_unique<Worker>();
    Worker& w = *worker_;
    // Thread priorities other than normal need privileges on this platform; the worker runs at
    // the process's priority whatever ThreadPriority says.
    w.Thread = std::thread([this, &w] { WorkerRun(w); });
}

void TCustomPicShow::WorkerRun(Worker& w) {
    w.Started = true;
    while (!w.Terminated) {
        const uint32_t t0 = clock_.TickCount();
        WorkerStep(w);
        if (w.Terminated) break;
        const int64_t wait = int64_t(delay_) - int64_t(uint32_t(clock_.TickCount() - t0));
        if (wait >= 0) clock_.Sleep(uint32_t(wait));
    }
    {
        std::lock_guard lock(postLock_);
        ++postedEnds_;
    }
    window_.PostEnd();
}

void TCustomPicShow::WorkerStep(Worker& w) {
    frameShown_.Wait();
    if (w.Terminated) return;
    frameShown_.Reset();
    const int32_t next = NextProgress(progress_, step_, reverse_);
    SetProgress(next);
    if (AtEnd(next, reverse_)) w.Terminated = true;
}

void TCustomPicShow::RunUnthreaded() {
    bool done = false;
    do {
        const uint32_t t0 = clock_.TickCount();
        const int32_t next = NextProgress(progress_, step_, reverse_);
        SetProgress(next);
        if (AtEnd(next, reverse_)) {
            done = !manual_;
        } else {
            while (uint32_t(clock_.TickCount() - t0) <= delay_ && !manual_ && !stopping_ && inTransition_)
                window_.ProcessMessages();
        }
    } while (!done && !manual_ && !stopping_ && inTransition_);
    if (stopping_ || !manual_) Finish();
}

void TCustomPicShow::DispatchPosted() {
    for (;;) {
        {
            std::lock_guard lock(postLock_);
            if (postedEnds_ == 0) return;
            --postedEnds_;
        }
        HandleEnd();
    }
}

void TCustomPicShow::HandleEnd() {
    if (!worker_) return;
    if (worker_->Thread.joinable()) worker_->Thread.join();
    worker_.reset();
    if (stopping_ || !manual_) Finish();
}

bool TCustomPicShow::EndWorker() {
    if (!worker_) return false;
    worker_->Terminated = true;
    frameShown_.Set();
    worker_->Thread.join();
    if (worker_->Started) DispatchPosted();
    if (worker_) HandleEnd();
    return true;
}

void TCustomPicShow::Finish() {
    if (!inTransition_) return; // a nested stop may have finished already
    inTransition_ = false;
    {
        std::lock_guard lock(cs_);
        image_.reset();
        oldScreen_.reset();
    }
    if (destroying_) return;
    if (!stopping_) DoComplete();
    DoStop();
}

void TCustomPicShow::StopTransition() {
    if (!inTransition_ || stopping_) return;
    FlagScope stopping(stopping_);
    if (manual_ || !EndWorker()) Finish();
}

void TCustomPicShow::SetProgress(int32_t value) {
    if (value > 100) value = 100;
    if (value < 0) value = 0;
    if (!inTransition_ || value == progress_) return;
    {
        std::lock_guard lock(cs_);
        if (!image_) return;
        progress_ = value;
        RenderFrame();
    }
    if (paintPending_ && window_.IsControlThread())
        window_.PaintNow();
    else if (!paintPending_)
        frameShown_.Set();
    DoProgress();
}

void TCustomPicShow::RenderFrame() {
    TRect update{0, 0, picW_, picH_};
    {
        std::lock_guard lock(displayLock_);
        const PixelView display = ViewOf(display_), image = ViewOf(*image_);
        CopyPixels(display, ViewOf(*oldScreen_));
        DoBeforeNewFrame(*image_, display_);
        const int32_t p = progress_, style = style_;
        if (p == 100)
            CopyPixels(display, image);
        else if (p != 0 && style >= 1)
            TransitionEffects[size_t(style - 1)].Proc(display, image, update, step_, p);
        else if (p != 0)
            DoCustomDraw(*image_, display_);
    }
    InvalidatePictureRect(update);
    std::lock_guard lock(displayLock_);
    DoAfterNewFrame(*image_, display_);
}

void TCustomPicShow::SyncLayout() {
    std::lock_guard lock(displayLock_);
    layout_ = {
        picRect_, {0, 0, window_.ClientWidth(), window_.ClientHeight()}, center_, stretch_, stretchFine_};
}

void TCustomPicShow::InvalidatePictureRect(const TRect& r) {
    Layout l;
    {
        std::lock_guard lock(displayLock_);
        l = layout_;
    }
    plat::Rect target;
    if (l.Stretch) {
        const plat::Rect to = l.StretchFine ? FittedRect(l.PicRect, l.Client) : l.Client;
        const int pw = l.PicRect.Width(), ph = l.PicRect.Height();
        target = {to.Left + MulDiv(r.Left, to.Width(), pw), to.Top + MulDiv(r.Top, to.Height(), ph),
                  to.Left + MulDiv(r.Right, to.Width(), pw), to.Top + MulDiv(r.Bottom, to.Height(), ph)};
    } else {
        target = ToRect(r);
        if (l.Center) target = target.Offset(l.PicRect.Left, l.PicRect.Top);
        target = target.Intersect(l.PicRect);
    }
    if (target.IsEmpty()) return;
    if (window_.Invalidate(target)) paintPending_ = true;
}

void TCustomPicShow::ClearScreen() {
    if (inTransition_) return;
    {
        std::lock_guard lock(displayLock_);
        if (display_.Empty()) return;
        display_ = plat::Bitmap();
    }
    window_.Invalidate({0, 0, window_.ClientWidth(), window_.ClientHeight()});
}

// ---- painting ----

void TCustomPicShow::PaintBackground(plat::Canvas& canvas, const plat::Rect& r) {
    canvas.FillRect(r, color_);
    if (bgPicture_.Empty()) return;
    const int gw = bgPicture_.Width(), gh = bgPicture_.Height();
    switch (bgMode_) {
    case TBackgroundMode::bmTiled:
        for (int i = 0; i <= r.Height() / gh; ++i)
            for (int j = 0; j <= r.Width() / gw; ++j)
                canvas.Draw(r.Left + gw * j, r.Top + gh * i, bgPicture_);
        break;
    case TBackgroundMode::bmStretched:
        canvas.StretchDraw(r, bgPicture_);
        break;
    case TBackgroundMode::bmCentered:
        canvas.Draw((r.Width() - gw) / 2, (r.Height() - gh) / 2, bgPicture_);
        break;
    case TBackgroundMode::bmNone:
        break;
    }
}

void TCustomPicShow::Paint() {
    if (painting_) return;
    struct Done {
        TCustomPicShow& S;
        ~Done() {
            S.frameShown_.Set();
            S.painting_ = false;
        }
    } done{*this};
    painting_ = true;
    paintPending_ = false;
    const plat::Rect client{0, 0, window_.ClientWidth(), window_.ClientHeight()};
    if (offscreen_.Width() != client.Width() || offscreen_.Height() != client.Height())
        offscreen_ = plat::Bitmap(client.Width(), client.Height(), plat::PixelFormat::Pf32);
    plat::Canvas canvas(offscreen_);
    PaintBackground(canvas, client);
    {
        std::lock_guard lock(displayLock_);
        if (!display_.Empty()) {
            if (!stretch_)
                canvas.Draw(picRect_.Left, picRect_.Top, display_);
            else
                canvas.StretchDraw(stretchFine_ ? FittedRect(picRect_, client) : client, display_);
        }
    }
    backgroundDrawn_ = true;
}

void TCustomPicShow::Resized() {
    const int w = window_.ClientWidth(), h = window_.ClientHeight();
    if (offscreen_.Width() != w || offscreen_.Height() != h) {
        plat::Bitmap resized(w, h, plat::PixelFormat::Pf32);
        CopyPixels(ViewOf(resized), ViewOf(offscreen_)); // keeps the old screen for OverDraw
        offscreen_ = std::move(resized);
    }
    if (!picture_.Empty())
        ProducePictureRect();
    else
        SyncLayout();
    if (!DisplayEmpty() && CanInvalidate()) window_.Invalidate({0, 0, w, h});
}

plat::Bitmap TCustomPicShow::DisplaySnapshot() const {
    std::lock_guard lock(displayLock_);
    return display_;
}

bool TCustomPicShow::DisplayEmpty() const {
    std::lock_guard lock(displayLock_);
    return display_.Empty();
}

} // namespace somnex
