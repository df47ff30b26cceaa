#pragma once
// The store tests' temporary folder, plus a listing of what a test left in it.
#include "tests/store/TempDir.h"

#include <algorithm>
#include <vector>

// Every entry of a folder, recursively, as paths relative to it.
inline std::vector<std::string> listTree(const std::filesystem::path& dir) {
    std::vector<std::string> out;
    for (auto& e : std::filesystem::recursive_directory_iterator(dir))
        out.push_back(std::filesystem::relative(e.path(), dir).string());
    std::sort(out.begin(), out.end());
    return out;
}
