#pragma once
// What a message box shows and answers, apart from any toolkit: the platform's button codes and
// style bits, the default button, the UI mode and the headless answer policy.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace plat {

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

inline constexpr uint32_t MB_OK = 0x0;
inline constexpr uint32_t MB_OKCANCEL = 0x1;
inline constexpr uint32_t MB_ABORTRETRYIGNORE = 0x2;
inline constexpr uint32_t MB_YESNOCANCEL = 0x3;
inline constexpr uint32_t MB_YESNO = 0x4;
inline constexpr uint32_t MB_RETRYCANCEL = 0x5;
inline constexpr uint32_t MB_ICONERROR = 0x10;
inline constexpr uint32_t MB_ICONQUESTION = 0x20;
inline constexpr uint32_t MB_ICONWARNING = 0x30;
inline constexpr uint32_t MB_ICONINFORMATION = 0x40;
inline constexpr uint32_t MB_DEFBUTTON1 = 0x0;
inline constexpr uint32_t MB_DEFBUTTON2 = 0x100;
inline constexpr uint32_t MB_DEFBUTTON3 = 0x200;
inline constexpr uint32_t MB_APPLMODAL = 0x0;
inline constexpr uint32_t MB_TYPEMASK = 0xF;
inline constexpr uint32_t MB_ICONMASK = 0xF0;
inline constexpr uint32_t MB_DEFMASK = 0xF00;

enum class MessageIcon { None, Error, Question, Warning, Information };

// The buttons of the box, left to right; an unknown type shows OK.
std::vector<int> ButtonsOf(uint32_t flags);
// The pre-selected button: the one the DEFBUTTON bits name, the first when they name none.
int DefaultButton(uint32_t flags);
// What Escape answers: Cancel where the box has it, OK on a lone OK box; nullopt otherwise
// (a Yes/No question must be answered).
std::optional<int> DismissAnswer(uint32_t flags);
MessageIcon IconOf(uint32_t flags);
const char* ButtonName(int id);

enum class UiMode { Desktop, Headless, Scripted };
enum class AnswerPolicy { Default, Yes, No, Ok, Cancel };

// SOMNEX_UI: "desktop", "headless", anything else (or unset) chooses by the presence of a display.
// An installed scripted handler wins over both.
UiMode ChooseUiMode(const char* setting, bool hasDisplay, bool scriptedHandler);
// SOMNEX_ANSWER; nullopt for a value that is not one of the five.
std::optional<AnswerPolicy> ParseAnswerPolicy(std::string_view text);
// The button the policy presses on a box with these flags; a policy whose button the box lacks
// takes the default button, so a question is never answered with a code it cannot give.
int PolicyAnswer(AnswerPolicy policy, uint32_t flags);

} // namespace plat
