#include "platform/fs/FileSystem.h"

#include <unistd.h>

#include <filesystem>

namespace plat {

namespace fs = std::filesystem;

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec) && !fs::is_directory(path, ec);
}

bool DirectoryExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

bool CreateDir(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::create_directory(path, ec);
}

bool CopyFile(const std::string& src, const std::string& dst, bool failIfExists) {
    std::error_code ec;
    if (!FileExists(src) || DirectoryExists(dst)) return false;
    auto options = failIfExists ? fs::copy_options::none : fs::copy_options::overwrite_existing;
    return fs::copy_file(src, dst, options, ec) && !ec;
}

bool DeleteFile(const std::string& path) {
    std::error_code ec;
    return FileExists(path) && fs::remove(path, ec);
}

bool RemoveDir(const std::string& path) {
    std::error_code ec;
    return DirectoryExists(path) && fs::remove(path, ec);
}

std::string GetCurrentDir() {
    std::error_code ec;
    return fs::current_path(ec).string();
}

bool SetCurrentDir(const std::string& path) {
    return !path.empty() && ::chdir(path.c_str()) == 0;
}

std::string ExpandFileName(const std::string& path) {
    if (path.empty()) return GetCurrentDir();
    std::error_code ec;
    fs::path full = fs::absolute(path, ec).lexically_normal();
    std::string s = full.string();
    // lexically_normal keeps a trailing separator for "dir/", which callers rely on for folders.
    return s;
}

std::string ShortPathName(const std::string& path) {
    return path;
}

} // namespace plat
