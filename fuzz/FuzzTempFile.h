#pragma once
// One private temp folder per fuzz run, removed at exit, for harnesses that must go through a file.
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fuzzing {

// Removed when the program ends, however many inputs it ran.
struct OwnedFolder {
    std::filesystem::path path;
    OwnedFolder()
        : path(std::filesystem::temp_directory_path() / ("somnex-fuzz-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~OwnedFolder() {
        std::error_code ec;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ec);
        std::filesystem::remove_all(path, ec);
    }
};

inline const std::filesystem::path& TempFolder() {
    static const OwnedFolder folder;
    return folder.path;
}

inline std::string WriteTempFile(const std::string& name, const char* data, size_t size) {
    std::string path = (TempFolder() / name).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(data, std::streamsize(size));
    return path;
}

} // namespace fuzzing
