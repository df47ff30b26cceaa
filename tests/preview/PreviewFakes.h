#pragma once
// A scripted window and system for the preview forms: the window runs its "modal loop" as the
// script, close requests pass the close query as a real window's would, and every cursor,
// clipboard and screen-saver request lands in counters the tests read after the form is gone.
#include "SlideshowFakes.h"
#include "engine/preview/PreviewDriver.h"
#include "engine/preview/form_VcvEnginePreview.h"
#include "platform/display/FakeDisplay.h"
#include "platform/screensaver/ScreenSaver.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace somnex::test {

enum class Clip { Empty, Text, Bitmap };
enum class PasswordLib { None, NoFunction, Right, Wrong };

struct Stage {
    // The window's side.
    std::vector<std::string> log;
    bool onTop = false;
    bool stayOnTopSet = false;
    std::string caption;
    int closeRequests = 0;
    int arrowCursors = 0;
    std::function<void()> script; // runs while the form is shown
    // The system's side.
    int cursorCounter = 0;
    int lowestCursorCounter = 0;
    bool screenSaverRunning = false;
    bool runningDuringScript = false;
    Clip clipboard = Clip::Empty;
    PasswordLib library = PasswordLib::None;
    int verifyCalls = 0;
    void* verifyWindow = nullptr;
    std::function<void()> duringPassword; // runs while the password question is open
    uint32_t clockSeed = 12345;           // what the clock gives the random generator
};

class FakeWindow final : public IPreviewWindow {
public:
    FakeWindow(IPreviewEvents& Events, Stage& S) : events_(Events), s_(S) {}
    void MoveTo(int32_t Left, int32_t Top) override {
        s_.log.push_back("move " + std::to_string(Left) + "," + std::to_string(Top));
    }
    void SetStayOnTop(bool OnTop) override {
        s_.onTop = OnTop;
        s_.stayOnTopSet = true;
    }
    void SetCaption(const std::string& Caption) override { s_.caption = Caption; }
    void SetWidth(int32_t Width) override { s_.log.push_back("width " + std::to_string(Width)); }
    void BringToForeground() override { s_.log.push_back("foreground"); }
    void ShowArrowCursor() override { ++s_.arrowCursors; }
    void HideCursorOverForm() override { --s_.arrowCursors; }
    void ShowModal() override {
        events_.FormShow();
        events_.FormActivate();
        s_.runningDuringScript = s_.screenSaverRunning;
        if (s_.script) s_.script();
    }
    void RequestClose() override {
        ++s_.closeRequests;
        if (closed_ || !events_.FormCloseQuery()) return;
        events_.FormClose();
        closed_ = true;
        s_.log.push_back("closed");
    }
    void* Handle() override { return this; }

private:
    IPreviewEvents& events_;
    Stage& s_;
    bool closed_ = false;
};

class FakePasswordLibrary final : public plat::ScreenSavePasswordLibrary {
public:
    explicit FakePasswordLibrary(Stage& S) : s_(S) {}
    bool HasVerifyFunction() const override { return s_.library != PasswordLib::NoFunction; }
    bool VerifyScreenSavePwd(void* window) override {
        ++s_.verifyCalls;
        s_.verifyWindow = window;
        if (s_.duringPassword) s_.duringPassword();
        return s_.library == PasswordLib::Right;
    }

private:
    Stage& s_;
};

class FakeServices final : public IPreviewServices {
public:
    explicit FakeServices(Stage& S) : s_(S) {}
    void HideCursor() override {
        --s_.cursorCounter;
        if (s_.cursorCounter < s_.lowestCursorCounter) s_.lowestCursorCounter = s_.cursorCounter;
    }
    void ShowCursor() override { ++s_.cursorCounter; }
    void SetScreenSaverRunning(bool Running) override { s_.screenSaverRunning = Running; }
    bool ClipboardHasBitmap() override { return s_.clipboard == Clip::Bitmap; }
    void EmptyClipboard() override { s_.clipboard = Clip::Empty; }
    std::unique_ptr<plat::ScreenSavePasswordLibrary> LoadPasswordLibrary() override {
        if (s_.library == PasswordLib::None) return nullptr;
        return std::make_unique<FakePasswordLibrary>(s_);
    }
    uint32_t ClockSeed() override { return s_.clockSeed; }

private:
    Stage& s_;
};

// A movie control that plays for as long as the test says; every command is logged.
struct MovieStage {
    std::vector<std::string> log;
    std::map<std::string, int64_t> lengths; // movies that load, with their length
    int live = 0;                           // controls that exist
    class FakeMovieControl* current = nullptr;
};

class FakeMovieControl final : public plat::MovieControl {
public:
    FakeMovieControl(MovieStage& S, VirtualTimers& Clock) : s_(S), clock_(Clock) {
        ++s_.live;
        s_.current = this;
    }
    ~FakeMovieControl() override {
        --s_.live;
        if (s_.current == this) s_.current = nullptr;
    }
    void SetMenu(bool On) override { menu = On; }
    void SetBackgroundColor(int32_t Color) override { background = Color; }
    void SetScaleMode(int32_t Mode) override { scaleMode = Mode; }
    void SetQuality(int32_t Q) override { quality = Q; }
    void SetLoop(bool On) override {
        loop = On;
        if (On) s_.log.push_back("loop");
    }
    void LoadMovie(int32_t Layer, const std::string& File) override {
        s_.log.push_back("load " + std::to_string(Layer) + " " + File.substr(File.rfind('/') + 1));
        file_ = File;
        startedAt_ = clock_.Now();
    }
    void Play() override {
        s_.log.push_back("play");
        startedAt_ = clock_.Now();
    }
    void StopPlay() override { startedAt_ = -1; }
    bool IsPlaying() override {
        auto it = s_.lengths.find(file_);
        if (startedAt_ < 0 || it == s_.lengths.end()) return false;
        return loop || clock_.Now() < startedAt_ + it->second;
    }
    void PlaceOnForm() override { placed = true; }
    // The backend finished loading: a movie it knows reports the loaded state.
    void FinishLoading() {
        if (s_.lengths.count(file_) && OnReadyStateChange) OnReadyStateChange(plat::kMovieLoaded);
    }
    // Input as the control's window receives it; true when it was kept from the movie.
    bool Input(plat::MovieInput In, int32_t X = 0, int32_t Y = 0) {
        auto filter = InputFilter;
        return filter && filter(In, X, Y);
    }

    bool menu = true, loop = false, placed = false;
    int32_t background = 0, scaleMode = -1, quality = -1;

private:
    MovieStage& s_;
    VirtualTimers& clock_;
    std::string file_;
    int64_t startedAt_ = -1;
};

// Players on the fakes; the slideshow's display has no modes, so no mode change is ever made.
struct FakeSystem {
    Stage stage;
    FakeServices services{stage};
    plat::FakeDisplay display;
    SlideshowParts slideshow;
    std::vector<std::string> boxes;
    MovieStage movies;
    // The Flash form's timers share the slideshow's clock.
    TVcvPreviewParts FlashParts() {
        return {[this](void*) -> std::unique_ptr<plat::MovieControl> {
                    return std::make_unique<FakeMovieControl>(movies, slideshow.clock);
                },
                slideshow.clock.Factory()};
    }
    TPreviewWindowFactory window = [this](IPreviewEvents& events) {
        return std::make_unique<FakeWindow>(events, stage);
    };

    TPlayerFactory Players() {
        return [this](TPreviewKind kind) -> std::unique_ptr<TPreviewPlayer> {
            if (kind == TPreviewKind::Flash)
                return std::make_unique<TFrmVcvEnginePreview>(services, window, FlashParts());
            TPreviewMessages messages{[this](const std::string& text, uint32_t) {
                                          boxes.push_back(text);
                                          return 7; // IDNO
                                      },
                                      [this](const std::string& text, uint32_t) { boxes.push_back(text); }};
            return std::make_unique<TFrmPcvEnginePreview>(services, window, std::move(messages),
                                                          slideshow.Parts(), display);
        };
    }
};

} // namespace somnex::test
