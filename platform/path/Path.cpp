#include "platform/path/Path.h"

#include <cerrno>
#include <unistd.h>
#include <vector>

namespace plat {
namespace {

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool SamePart(std::string_view a, std::string_view b, PathFlavour flavour) {
    return flavour == PathFlavour::Windows ? SameText(a, b) : a == b;
}

std::vector<std::string_view> SplitParts(std::string_view s, PathFlavour flavour) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || IsPathDelimiter(s[i], flavour)) {
            if (i > start) parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

// True when rest already reads as Normalize would write it: one leading delimiter, the
// flavour's own delimiter throughout, no empty, "." or ".." steps. Most paths are; they skip
// the rebuild.
bool AlreadyNormal(std::string_view rest, PathFlavour flavour) {
    const char delim = PathDelimiter(flavour);
    if (rest.empty() || rest[0] != delim) return false;
    size_t start = 1;
    for (size_t i = 1; i <= rest.size(); ++i) {
        if (i < rest.size() && !IsPathDelimiter(rest[i], flavour)) continue;
        if (i < rest.size() && rest[i] != delim) return false;
        std::string_view part = rest.substr(start, i - start);
        if ((part.empty() && i < rest.size()) || part == "." || part == "..") return false;
        start = i + 1;
    }
    return true;
}

// Drops "." steps and resolves ".." steps; ".." never climbs above the root.
std::string Normalize(std::string_view root, std::string_view rest, PathFlavour flavour) {
    if (AlreadyNormal(rest, flavour)) return std::string(root).append(rest);
    const auto parts = SplitParts(rest, flavour);
    std::vector<std::string_view> out;
    out.reserve(parts.size());
    for (auto part : parts) {
        if (part == ".") continue;
        if (part == "..") {
            if (!out.empty()) out.pop_back();
            continue;
        }
        out.push_back(part);
    }
    const char delim = PathDelimiter(flavour);
    std::string result(root);
    result += delim;
    for (size_t i = 0; i < out.size(); ++i) {
        if (i) result += delim;
        result += out[i];
    }
    bool folder = !rest.empty() && IsPathDelimiter(rest.back(), flavour);
    if (!parts.empty() && (parts.back() == "." || parts.back() == "..")) folder = true;
    if (folder && !out.empty()) result += delim;
    return result;
}

} // namespace

char PathDelimiter(PathFlavour flavour) {
    return flavour == PathFlavour::Windows ? '\\' : '/';
}

bool IsPathDelimiter(char c, PathFlavour flavour) {
    return c == '/' || (flavour == PathFlavour::Windows && c == '\\');
}

std::string ExtractFileDrive(std::string_view path, PathFlavour flavour) {
    if (flavour == PathFlavour::Posix) return {};
    if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
    if (path.size() >= 2 && IsPathDelimiter(path[0], flavour) && IsPathDelimiter(path[1], flavour)) {
        int delims = 0;
        size_t i = 2;
        for (; i < path.size(); ++i) {
            if (IsPathDelimiter(path[i], flavour) && ++delims == 2) break;
        }
        return std::string(path.substr(0, i));
    }
    return {};
}

std::string ExtractFilePath(std::string_view path, PathFlavour flavour) {
    for (size_t i = path.size(); i-- > 0;) {
        if (IsPathDelimiter(path[i], flavour) || (flavour == PathFlavour::Windows && path[i] == ':'))
            return std::string(path.substr(0, i + 1));
    }
    return {};
}

std::string ExtractFileName(std::string_view path, PathFlavour flavour) {
    return std::string(path.substr(ExtractFilePath(path, flavour).size()));
}

std::string IncludeTrailingPathDelimiter(std::string_view path, PathFlavour flavour) {
    std::string result(path);
    if (result.empty() || !IsPathDelimiter(result.back(), flavour)) result += PathDelimiter(flavour);
    return result;
}

std::string ExcludeTrailingPathDelimiter(std::string_view path, PathFlavour flavour) {
    std::string result(path);
    if (!result.empty() && IsPathDelimiter(result.back(), flavour)) result.pop_back();
    return result;
}

bool IsAbsolutePath(std::string_view path, PathFlavour flavour) {
    if (path.empty()) return false;
    if (flavour == PathFlavour::Posix) return path[0] == '/';
    if (path.size() >= 2 && IsPathDelimiter(path[0], flavour) && IsPathDelimiter(path[1], flavour))
        return true;
    return path.size() >= 3 && path[1] == ':' && IsPathDelimiter(path[2], flavour);
}

bool SameDrive(std::string_view a, std::string_view b, PathFlavour flavour) {
    return SameText(ExtractFileDrive(a, flavour), ExtractFileDrive(b, flavour));
}

std::string ExpandFileName(std::string_view path, std::string_view currentDir, PathFlavour flavour) {
    if (path.empty()) return {};
    if (flavour == PathFlavour::Posix) {
        if (path[0] == '/') return Normalize("", path, flavour);
        std::string combined = IncludeTrailingPathDelimiter(currentDir, flavour);
        for (char c : path) combined += c == '\\' ? '/' : c;
        return Normalize("", combined, flavour);
    }
    std::string drive = ExtractFileDrive(path, flavour);
    std::string_view rest = path.substr(drive.size());
    if (drive.size() > 2 || (!drive.empty() && !rest.empty() && IsPathDelimiter(rest[0], flavour)))
        return Normalize(drive, rest, flavour);
    std::string curDrive = ExtractFileDrive(currentDir, flavour);
    if (!drive.empty()) {
        // "X:name" is relative to the current folder only when that is on drive X.
        if (!SameText(drive, curDrive)) return Normalize(drive, rest, flavour);
        std::string combined = IncludeTrailingPathDelimiter(currentDir.substr(curDrive.size()), flavour);
        return Normalize(curDrive, combined + std::string(rest), flavour);
    }
    if (IsPathDelimiter(path[0], flavour)) return Normalize(curDrive, path, flavour);
    std::string combined = IncludeTrailingPathDelimiter(currentDir.substr(curDrive.size()), flavour);
    return Normalize(curDrive, combined + std::string(path), flavour);
}

std::string ExpandFileName(std::string_view path) {
    return ExpandFileName(path, GetCurrentFolder());
}

std::string MakeRelativePath(std::string_view path, std::string_view baseDir, PathFlavour flavour) {
    if (flavour == PathFlavour::Posix &&
        (!IsAbsolutePath(path, flavour) || !IsAbsolutePath(baseDir, flavour)))
        return std::string(path);
    std::string pathDrive = ExtractFileDrive(path, flavour);
    std::string baseDrive = ExtractFileDrive(baseDir, flavour);
    if (path.empty() || !SameText(pathDrive, baseDrive)) return std::string(path);

    auto baseParts = SplitParts(baseDir.substr(baseDrive.size()), flavour);
    std::string folder = ExtractFilePath(path, flavour);
    auto pathParts = SplitParts(std::string_view(folder).substr(pathDrive.size()), flavour);
    size_t common = 0;
    while (common < baseParts.size() && common < pathParts.size() &&
           SamePart(baseParts[common], pathParts[common], flavour))
        ++common;

    const char delim = PathDelimiter(flavour);
    std::string result;
    for (size_t i = common; i < baseParts.size(); ++i) result += std::string("..") + delim;
    for (size_t i = common; i < pathParts.size(); ++i) {
        result += pathParts[i];
        result += delim;
    }
    result += ExtractFileName(path, flavour);
    return result;
}

std::string GetCurrentFolder() {
    char local[1024];
    if (getcwd(local, sizeof local)) return IncludeTrailingPathDelimiter(local);
    if (errno != ERANGE) return "/";
    std::string buf(2 * sizeof local, '\0');
    for (;;) {
        if (getcwd(buf.data(), buf.size())) {
            buf.resize(std::char_traits<char>::length(buf.c_str()));
            return IncludeTrailingPathDelimiter(buf);
        }
        if (errno != ERANGE) return "/";
        buf.resize(buf.size() * 2);
    }
}

bool SetCurrentFolder(const std::string& folder) {
    return !folder.empty() && chdir(folder.c_str()) == 0;
}

} // namespace plat
