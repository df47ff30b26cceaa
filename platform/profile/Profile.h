#pragma once
// Private profile (INI) files: the semantics of the platform's GetPrivateProfileString and
// WritePrivateProfileString. Names compare without letter case; every write reaches the file at
// once and atomically (the old content or the new, never a mix); parsed files are cached and
// revalidated against the file on every call, so other writers are seen at once.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

/// The value of key in section, cut to bufferSize - 1 characters; def (cut alike) when missing
/// or when the file cannot be read.
std::string GetProfileString(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view def, size_t bufferSize = 2048);
/// Key names of a section, as many as fit a buffer of bufferSize characters (each name and the
/// list end with a terminator; a name that does not fit is cut).
std::vector<std::string> GetProfileKeys(const std::string& path, std::string_view section,
                                        size_t bufferSize = 16384);
/// Section names in file order.
std::vector<std::string> GetProfileSections(const std::string& path);

/// Writes key=value, creating file, section and key as needed; false when the file cannot be
/// written (or section/key names that would break the line structure).
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);
/// Removes one key; its section header stays. True also when there was nothing to remove.
bool DeleteProfileKey(const std::string& path, std::string_view section, std::string_view key);
/// Removes a section's header and every line up to the next header.
bool EraseProfileSection(const std::string& path, std::string_view section);

/// Forgets every cached file (the next call rereads from disk).
void FlushProfileCache();

} // namespace plat
