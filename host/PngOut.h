#pragma once
// What the picture commands share: their option syntax, sizes, and PNG files that appear whole or
// not at all.
#include "host/HostCommand.h"
#include "platform/raster/Bitmap.h"

#include <initializer_list>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

namespace host::pictures {

// Bad command line; reported with the usage exit code.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct PictureSize {
    int Width = 0;
    int Height = 0;
};

struct ParsedArgs {
    std::vector<std::string> Positional;
    std::map<std::string, std::string> Values; // option name (with dashes) -> value

    const std::string* Find(const std::string& name) const;
};

// Every known option takes one value. Unknown options and a missing value raise UsageError.
ParsedArgs ParseArgs(const Args& args, std::initializer_list<const char*> known);

// "WxH", each side 1..16384; raises UsageError naming `option` otherwise.
PictureSize ParseSize(const std::string& text, const std::string& option = "--size");
// A decimal integer in [low, high]; raises UsageError naming `what` otherwise.
int ParseInt(const std::string& text, int low, int high, const std::string& what);

// Writes through a temporary file beside `path` renamed into place, so a failed write leaves
// neither a partial file nor the temporary. Raises std::runtime_error naming the file.
void WritePng(const plat::Bitmap& bitmap, const std::string& path);

// Runs a command body, turning UsageError into the usage exit code.
int RunReportingUsage(const Args& args, int (*body)(const Args&));

} // namespace host::pictures
