#pragma once
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

// A fresh folder per test, removed afterwards; paths end with a separator as the engine expects.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        static std::atomic<int> counter{0};
        std::random_device rd;
        path =
            std::filesystem::temp_directory_path() / ("somnex-test-" + std::to_string(::getpid()) + "-" +
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
