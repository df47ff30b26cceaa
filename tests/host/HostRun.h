#pragma once
// Runs the real `somnex` binary as a person would, with a private registry, and captures what it
// printed and how it exited.
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace hosttest {

struct HostRun {
    int status;
    std::string out, err;
};

// `dir` holds the registry and the captured stderr; `args` and `env` (further VAR=value settings)
// are shell text, quoted by the caller.
inline HostRun RunHost(const std::string& host, const std::filesystem::path& dir, const std::string& args,
                       const std::string& env = "") {
    const std::string errFile = (dir / "stderr").string();
    const std::string cmd = "SOMNEX_REGISTRY='" + (dir / "registry.db").string() + "' " + env + " '" + host +
                            "' " + args + " 2>'" + errFile + "'";
    HostRun r{};
    FILE* pipe = ::popen(cmd.c_str(), "r");
    if (!pipe) return {-1, "", "popen failed"};
    std::array<char, 4096> buf;
    size_t n;
    while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) r.out.append(buf.data(), n);
    const int status = ::pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errFile, std::ios::binary);
    r.err.assign(std::istreambuf_iterator<char>(err), {});
    std::error_code ec;
    std::filesystem::remove(errFile, ec);
    return r;
}

} // namespace hosttest
