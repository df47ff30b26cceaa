#pragma once
// Path helpers for two flavours: the Windows one, so paths written by Windows hosts (C:\Shows\Sea\,
// \\server\share) can be handled verbatim, and the POSIX one the runtime uses.
#include <string>
#include <string_view>

namespace plat {

enum class PathFlavour { Windows, Posix };

/// The flavour of the paths this process uses.
inline constexpr PathFlavour kRuntimeFlavour = PathFlavour::Posix;

/// The delimiter written by a flavour: '\' or '/'.
char PathDelimiter(PathFlavour flavour = kRuntimeFlavour);
/// Windows accepts both slashes; POSIX only '/'.
bool IsPathDelimiter(char c, PathFlavour flavour = kRuntimeFlavour);

/// "C:" or "\\server\share" (Windows); always empty for POSIX.
std::string ExtractFileDrive(std::string_view path, PathFlavour flavour = kRuntimeFlavour);
/// Everything up to and including the last delimiter (or a drive's colon).
std::string ExtractFilePath(std::string_view path, PathFlavour flavour = kRuntimeFlavour);
/// Everything after the last delimiter (or a drive's colon).
std::string ExtractFileName(std::string_view path, PathFlavour flavour = kRuntimeFlavour);
std::string IncludeTrailingPathDelimiter(std::string_view path, PathFlavour flavour = kRuntimeFlavour);
std::string ExcludeTrailingPathDelimiter(std::string_view path, PathFlavour flavour = kRuntimeFlavour);
/// True for a path that does not depend on the current folder.
bool IsAbsolutePath(std::string_view path, PathFlavour flavour = kRuntimeFlavour);
/// True when both paths are on the same drive, compared without letter case.
bool SameDrive(std::string_view a, std::string_view b, PathFlavour flavour = kRuntimeFlavour);

/// Makes path absolute against currentDir and resolves "." and ".." steps. For POSIX a relative
/// path written with '\' (by a Windows host) is accepted. An empty path stays empty.
std::string ExpandFileName(std::string_view path, std::string_view currentDir,
                           PathFlavour flavour = kRuntimeFlavour);
/// ExpandFileName against the process's current folder.
std::string ExpandFileName(std::string_view path);

/// Path relative to baseDir ("..\Pics\gull.jpg"); unchanged when on another drive or empty.
/// Windows compares folder names without letter case, POSIX exactly (its file names are case-sensitive).
std::string MakeRelativePath(std::string_view path, std::string_view baseDir,
                             PathFlavour flavour = kRuntimeFlavour);

/// The process's current folder, with a trailing delimiter.
std::string GetCurrentFolder();
/// Makes folder current; false (errno set) when it cannot.
bool SetCurrentFolder(const std::string& folder);

} // namespace plat
