#pragma once
// The slideshow form's components for tests: timers on a virtual clock, a transition player
// that records what it is asked to show and ends a transition when the test says so, and the
// in-memory media player on the same clock.
#include "engine/preview/form_CustomPcvPreview.h"
#include "platform/media/FakeMediaPlayer.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace somnex::test {

class VirtualTimers {
public:
    int64_t Now() const { return now_; }

    // Runs every timer that falls due up to Now() + ms, in time order (first made first on a tie).
    void Advance(int64_t ms) {
        const int64_t until = now_ + ms;
        for (;;) {
            Timer* next = nullptr;
            for (Timer* t : timers_)
                if (t->Armed() && t->due <= until && (!next || t->due < next->due)) next = t;
            if (!next) break;
            now_ = next->due;
            next->due = now_ + next->interval;
            next->onTimer();
        }
        now_ = until;
    }

    TTimerFactory Factory() {
        return [this](std::function<void()> onTimer) -> std::unique_ptr<IPreviewTimer> {
            return std::make_unique<Timer>(*this, std::move(onTimer));
        };
    }

private:
    struct Timer final : IPreviewTimer {
        Timer(VirtualTimers& c, std::function<void()> f) : clock(c), onTimer(std::move(f)) {
            clock.timers_.push_back(this);
        }
        ~Timer() override { std::erase(clock.timers_, this); }
        bool Enabled() const override { return enabled; }
        void SetEnabled(bool on) override {
            if (on == enabled) return;
            enabled = on;
            due = clock.now_ + interval;
        }
        uint32_t Interval() const override { return interval; }
        void SetInterval(uint32_t ms) override {
            if (ms == interval) return;
            interval = ms;
            due = clock.now_ + interval;
        }
        bool Armed() const { return enabled && interval > 0; }

        VirtualTimers& clock;
        std::function<void()> onTimer;
        bool enabled = false;
        uint32_t interval = 1000;
        int64_t due = 0;
    };

    int64_t now_ = 0;
    std::vector<Timer*> timers_;
};

// What the screen showed: one record per started transition.
struct Shown {
    int64_t at;       // virtual time of the start
    uint32_t picture; // colour of the picture's centre pixel (0xFFFFFFFF: no picture)
    int32_t style, step, delay;
    bool clearedBefore; // ClearScreen since the last transition
};

class FakeScreen final : public IPicShowScreen {
public:
    // Every transition takes TransitionMs of virtual time.
    static constexpr uint32_t TransitionMs = 200;

    FakeScreen(VirtualTimers& clock, int32_t w, int32_t h)
        : clock_(clock), w_(w), h_(h), end_(clock.Factory()([this] { Complete(); })) {
        end_->SetInterval(TransitionMs);
    }

    void SetPicture(const plat::Bitmap& p) override {
        picture_ = p.Empty() ? 0xFFFFFFFFu : p.Pixel(p.Width() / 2, p.Height() / 2);
        pictureSize = {p.Width(), p.Height()};
    }
    void SetBgPicture(const plat::Bitmap& p) override { bgPictureSet = !p.Empty(); }
    void SetBgMode(TBackgroundMode m) override { bgMode = m; }
    void SetColor(plat::Color c) override { color = c; }
    void SetStyle(int32_t s) override { style_ = s; }
    void SetStep(uint32_t s) override { step_ = int32_t(s); }
    void SetDelay(uint16_t d) override { delay_ = d; }
    bool InTransition() const override { return running; }
    void StartTransition() override {
        shown.push_back({clock_.Now(), picture_, style_, step_, delay_, cleared_});
        cleared_ = false;
        running = true;
        end_->SetEnabled(true);
    }
    void ClearScreen() override { cleared_ = true; }
    void Repaint() override {}
    int32_t ScreenWidth() const override { return w_; }
    int32_t ScreenHeight() const override { return h_; }

    // Ends the running transition as the player's end message would.
    void Complete() {
        end_->SetEnabled(false);
        running = false;
        if (OnComplete) OnComplete();
    }

    std::vector<Shown> shown;
    bool running = false;
    bool bgPictureSet = false;
    TBackgroundMode bgMode = TBackgroundMode::bmTiled;
    plat::Color color = 0;
    std::pair<int, int> pictureSize{0, 0};

private:
    VirtualTimers& clock_;
    int32_t w_, h_;
    uint32_t picture_ = 0xFFFFFFFFu;
    int32_t style_ = 51, step_ = 4, delay_ = 40;
    bool cleared_ = false;
    std::unique_ptr<IPreviewTimer> end_;
};

// The parts of one form; the screen and the player stay reachable through the pointers after
// the form took them.
struct SlideshowParts {
    VirtualTimers clock;
    FakeScreen* screen = nullptr;
    plat::FakeMediaPlayer* media = nullptr;
    std::map<std::string, int64_t> lengths; // given to the media player when it is made
    int32_t width = 160, height = 120;

    TPcvPreviewParts Parts() {
        TPcvPreviewParts parts;
        parts.MakeTimer = clock.Factory();
        parts.MakeMediaPlayer = [this] {
            auto m = std::make_unique<plat::FakeMediaPlayer>([this] { return clock.Now(); });
            m->Lengths = lengths;
            media = m.get();
            return m;
        };
        parts.MakeScreen = [this](IPreviewWindow&) {
            auto s = std::make_unique<FakeScreen>(clock, width, height);
            screen = s.get();
            return s;
        };
        return parts;
    }
};

} // namespace somnex::test
