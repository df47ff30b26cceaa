#include "platform/ui/MessageBoxLogic.h"

#include <algorithm>

namespace plat {

std::vector<int> ButtonsOf(uint32_t flags) {
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    default:
        return {IDOK};
    }
}

int DefaultButton(uint32_t flags) {
    std::vector<int> buttons = ButtonsOf(flags);
    size_t index = (flags & MB_DEFMASK) >> 8;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

std::optional<int> DismissAnswer(uint32_t flags) {
    std::vector<int> buttons = ButtonsOf(flags);
    if (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end()) return IDCANCEL;
    if (buttons.size() == 1) return buttons.front();
    return std::nullopt;
}

MessageIcon IconOf(uint32_t flags) {
    switch (flags & MB_ICONMASK) {
    case MB_ICONERROR:
        return MessageIcon::Error;
    case MB_ICONQUESTION:
        return MessageIcon::Question;
    case MB_ICONWARNING:
        return MessageIcon::Warning;
    case MB_ICONINFORMATION:
        return MessageIcon::Information;
    default:
        return MessageIcon::None;
    }
}

const char* ButtonName(int id) {
    switch (id) {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    case IDABORT:
        return "Abort";
    case IDRETRY:
        return "Retry";
    case IDIGNORE:
        return "Ignore";
    case IDYES:
        return "Yes";
    case IDNO:
        return "No";
    default:
        return "?";
    }
}

UiMode ChooseUiMode(const char* setting, bool hasDisplay, bool scriptedHandler) {
    if (scriptedHandler) return UiMode::Scripted;
    std::string_view s = setting ? setting : "";
    if (s == "desktop") return UiMode::Desktop;
    if (s == "headless") return UiMode::Headless;
    return hasDisplay ? UiMode::Desktop : UiMode::Headless;
}

std::optional<AnswerPolicy> ParseAnswerPolicy(std::string_view text) {
    if (text.empty() || text == "default") return AnswerPolicy::Default;
    if (text == "yes") return AnswerPolicy::Yes;
    if (text == "no") return AnswerPolicy::No;
    if (text == "ok") return AnswerPolicy::Ok;
    if (text == "cancel") return AnswerPolicy::Cancel;
    return std::nullopt;
}

int PolicyAnswer(AnswerPolicy policy, uint32_t flags) {
    int wanted;
    switch (policy) {
    case AnswerPolicy::Yes:
        wanted = IDYES;
        break;
    case AnswerPolicy::No:
        wanted = IDNO;
        break;
    case AnswerPolicy::Ok:
        wanted = IDOK;
        break;
    case AnswerPolicy::Cancel:
        wanted = IDCANCEL;
        break;
    default:
        return DefaultButton(flags);
    }
    std::vector<int> buttons = ButtonsOf(flags);
    return std::find(buttons.begin(), buttons.end(), wanted) != buttons.end() ? wanted : DefaultButton(flags);
}

} // namespace plat
