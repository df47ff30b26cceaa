#pragma once
// A fresh folder per test under the system's temp folder, removed afterwards, with small file
// helpers. The current folder is put back too, since opening a project changes it.
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace somnex::test {

class TempFolder {
public:
    TempFolder() : oldCwd_(std::filesystem::current_path()) {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("somnex-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::current_path(oldCwd_, ec);
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    /// Full path of a name inside the folder; "" gives the folder with a trailing "/".
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    std::string Dir() const { return path_.string() + "/"; }

    /// Every name in the folder, sorted, hidden files included.
    std::string Listing() const {
        std::string names;
        std::vector<std::string> all;
        for (const auto& e : std::filesystem::directory_iterator(path_)) all.push_back(e.path().filename());
        std::sort(all.begin(), all.end());
        for (const auto& n : all) names += n + ";";
        return names;
    }

private:
    std::filesystem::path oldCwd_;
    std::filesystem::path path_;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace somnex::test
