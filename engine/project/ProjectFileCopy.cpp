#include "engine/project/ProjectFileCopy.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace somnex {
namespace {

std::atomic<unsigned> gCounter{0};

// Moves temp onto target only when target does not exist, in one step.
bool RenameNoReplace(const std::string& temp, const std::string& target) {
    if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag: a hard link refuses an existing name just as well.
    return link(temp.c_str(), target.c_str()) == 0;
}

} // namespace

bool CopyProjectFile(const std::string& source, const std::string& target, bool overwrite) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(source, ec)) return false;
    if (!overwrite && fs::exists(fs::symlink_status(target, ec))) return false;
    fs::path t(target);
    fs::path temp = t.parent_path() / ("." + t.filename().string() + ".~cp" + std::to_string(getpid()) + "-" +
                                       std::to_string(gCounter.fetch_add(1)));
    bool ok = fs::copy_file(source, temp, fs::copy_options::none, ec) && !ec;
    if (ok) ok = overwrite ? std::rename(temp.c_str(), target.c_str()) == 0 : RenameNoReplace(temp, target);
    fs::remove(temp, ec);
    return ok;
}

} // namespace somnex
