#pragma once
// Files and folders as the engine needs them. Failures are Boolean results: callers decide which
// error to raise.
#include <string>

namespace plat {

bool FileExists(const std::string& path);      // a file that is not a folder
bool DirectoryExists(const std::string& path); // a folder
bool CreateDir(const std::string& path);       // one level; false when it exists or cannot be made
// Copies src to dst; with failIfExists an existing dst is left alone and the result is false.
bool CopyFile(const std::string& src, const std::string& dst, bool failIfExists);
bool DeleteFile(const std::string& path);
bool RemoveDir(const std::string& path); // an empty folder
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& path);
// Absolute, with "." and ".." resolved lexically; symbolic links are kept.
std::string ExpandFileName(const std::string& path);
// This platform has no 8.3 names: the short form of a path is the path itself.
std::string ShortPathName(const std::string& path);

} // namespace plat
