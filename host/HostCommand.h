#pragma once
// The reference host's commands. Each command is one Cmd_*.cpp file that registers itself with a
// static HostCommandRegistrar; main dispatches by name.
#include <string>
#include <vector>

namespace host {

using Args = std::vector<std::string>;

struct HostCommand {
    const char* Name;
    const char* Usage;   // after "somnex NAME"
    const char* Summary; // one line
    const char* Help;    // the rest of --help
    int (*Run)(const Args& args);
};

const std::vector<HostCommand>& Commands();

struct HostCommandRegistrar {
    explicit HostCommandRegistrar(const HostCommand& command);
};

// Exit codes.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

// Prints "somnex: text" on stderr; returns code.
int Fail(const std::string& text, int code = kFailed);
// An argument no option claimed: the command's one positional argument, or a usage error. Returns
// kOk when taken, else the printed error's code.
int TakeOnePositional(const std::string& arg, std::string& positional);
// The folder of the running executable, with a trailing separator.
std::string ExecutableFolder();

} // namespace host
