#pragma once
// A scripted window and system for the preview forms: the window runs its "modal loop" as the
// script, close requests pass the close query as a real window's would, and every cursor,
// clipboard and screen-saver request lands in counters the tests read after the form is gone.
#include "SlideshowFakes.h"
#include "engine/preview/PreviewDriver.h"
#include "platform/display/FakeDisplay.h"
#include "platform/screensaver/ScreenSaver.h"

#include <functional>
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

// Players on the fakes; the slideshow's display has no modes, so no mode change is ever made.
struct FakeSystem {
    Stage stage;
    FakeServices services{stage};
    plat::FakeDisplay display;
    SlideshowParts slideshow;
    std::vector<std::string> boxes;
    TPreviewWindowFactory window = [this](IPreviewEvents& events) {
        return std::make_unique<FakeWindow>(events, stage);
    };

    TPlayerFactory Players() {
        return [this](TPreviewKind kind) -> std::unique_ptr<TPreviewPlayer> {
            if (kind == TPreviewKind::Flash) return std::make_unique<TFrmVcvEnginePreview>(services, window);
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
