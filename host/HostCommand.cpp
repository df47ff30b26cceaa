#include "host/HostCommand.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace host {

namespace {
std::vector<HostCommand>& Table() {
    static std::vector<HostCommand> table;
    return table;
}
} // namespace

const std::vector<HostCommand>& Commands() {
    return Table();
}

HostCommandRegistrar::HostCommandRegistrar(const HostCommand& command) {
    auto& t = Table();
    t.push_back(command);
    std::sort(t.begin(), t.end(), [](const HostCommand& a, const HostCommand& b) {
        return std::string_view(a.Name) < std::string_view(b.Name);
    });
}

int Fail(const std::string& text, int code) {
    std::fprintf(stderr, "somnex: %s\n", text.c_str());
    return code;
}

int TakeOnePositional(const std::string& arg, std::string& positional) {
    if (!arg.empty() && arg[0] == '-') return Fail("unknown option '" + arg + "'", kUsage);
    if (!positional.empty()) return Fail("unexpected argument '" + arg + "'", kUsage);
    positional = arg;
    return kOk;
}

std::string ExecutableFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return exe.parent_path().string() + "/";
}

} // namespace host
