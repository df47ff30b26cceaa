#pragma once
// A fresh folder per test, removed afterwards; folder() ends with a separator as the engine expects.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        static std::atomic<int> counter{0};
        std::random_device rd;
        path =
            std::filesystem::temp_directory_path() / ("somnex-compiler-" + std::to_string(::getpid()) + "-" +
                                                      std::to_string(counter++) + "-" + std::to_string(rd()));
        std::filesystem::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
    std::string folder() const { return path.string() + "/"; }
};

inline std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every entry of a folder, recursively, as paths relative to it.
inline std::vector<std::string> listTree(const std::filesystem::path& dir) {
    std::vector<std::string> out;
    for (auto& e : std::filesystem::recursive_directory_iterator(dir))
        out.push_back(std::filesystem::relative(e.path(), dir).string());
    std::sort(out.begin(), out.end());
    return out;
}
