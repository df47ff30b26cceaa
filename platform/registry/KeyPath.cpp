#include "platform/registry/KeyPath.h"

namespace plat {

std::string NormalizeKeyPath(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
        out += c;
    }
    if (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

std::string ResolveKeyPath(std::string_view base, std::string_view path) {
    if (!path.empty() && path.front() == '\\') return NormalizeKeyPath(path);
    std::string joined(base);
    joined += '\\';
    joined += path;
    return NormalizeKeyPath(joined);
}

std::vector<std::string> KeyPathAncestry(std::string_view normalized) {
    std::vector<std::string> out;
    for (size_t i = 0; i <= normalized.size(); ++i)
        if (i == normalized.size() || normalized[i] == '\\') out.emplace_back(normalized.substr(0, i));
    if (normalized.empty()) out.clear();
    return out;
}

} // namespace plat
