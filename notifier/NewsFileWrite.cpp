#include "notifier/NewsFileWrite.h"

#include "somnex/EngineError.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>

namespace heraldex {

std::string ReLine(std::string_view Body) {
    std::string out;
    out.reserve(Body.size() + Body.size() / 16 + 2);
    size_t start = 0;
    while (start < Body.size()) {
        size_t end = Body.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            out.append(Body.substr(start)).append("\r\n");
            break;
        }
        out.append(Body.substr(start, end - start)).append("\r\n");
        start = end + (Body[end] == '\r' && end + 1 < Body.size() && Body[end + 1] == '\n' ? 2 : 1);
    }
    return out;
}

namespace {

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(size_t(n));
    }
    return true;
}

} // namespace

void WriteNewsFile(const std::string& Path, std::string_view Body) {
    static std::atomic<unsigned> counter{0};
    std::string temp = Path + ".~" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    std::string text = ReLine(Body);
    // The per-user data folder that holds the news file may not exist yet on a fresh profile.
    std::error_code ec;
    std::filesystem::path parent = std::filesystem::path(Path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    bool ok = fd >= 0 && WriteAll(fd, text);
    if (fd >= 0) ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), Path.c_str()) == 0;
    if (!ok) {
        if (fd >= 0) unlink(temp.c_str());
        throw somnex::EngineError("Cannot write the news file '" + Path + "'");
    }
}

} // namespace heraldex
