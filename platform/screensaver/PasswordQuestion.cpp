#include "platform/screensaver/PasswordQuestion.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace plat {

namespace {
std::mutex handlerMutex;
PasswordHandler& Handler() {
    static PasswordHandler handler;
    return handler;
}

bool HasDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

bool HeadlessQuestion(const PasswordQuestion& question) {
    std::fprintf(stderr, "[%s] %s (no one can type a password here) -> Cancel\n", question.caption.c_str(),
                 question.prompt.c_str());
    std::fflush(stderr);
    return false;
}
} // namespace

void SetPasswordHandler(PasswordHandler handler) {
    std::lock_guard lock(handlerMutex);
    Handler() = std::move(handler);
}

UiMode PasswordUiMode() {
    bool scripted;
    {
        std::lock_guard lock(handlerMutex);
        scripted = static_cast<bool>(Handler());
    }
    return ChooseUiMode(std::getenv("SOMNEX_UI"), HasDisplay(), scripted);
}

bool AskPassword(const PasswordQuestion& question, SecretText& typed) {
    typed.Clear();
    bool ok = false;
    switch (PasswordUiMode()) {
    case UiMode::Scripted: {
        PasswordHandler handler;
        {
            std::lock_guard lock(handlerMutex);
            handler = Handler();
        }
        ok = handler(question, typed);
        break;
    }
    case UiMode::Desktop:
        ok = AskPasswordWithDialog(question, typed);
        break;
    default:
        ok = HeadlessQuestion(question);
        break;
    }
    if (!ok) typed.Clear();
    return ok;
}

} // namespace plat
