#pragma once
// Registry key paths: components separated by backslashes, compared without regard to letter case.
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Removes leading, trailing and doubled separators: "\Software\\Maker\" -> "Software\Maker".
std::string NormalizeKeyPath(std::string_view path);
// Joins a relative path to a base; a path that starts with a separator is absolute.
std::string ResolveKeyPath(std::string_view base, std::string_view path);
// "A\B\C" -> {"A", "A\B", "A\B\C"}; empty for the root.
std::vector<std::string> KeyPathAncestry(std::string_view normalized);

} // namespace plat
