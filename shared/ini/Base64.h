#pragma once
// The base64 values of INI files (read-me and news texts that may hold line breaks).
#include <string>
#include <string_view>

namespace somnex {

/// RFC 4648 base64 with "=" padding and no line breaks.
std::string Base64Encode(std::string_view data);
/// Appends "=" until the length is a multiple of four.
std::string Base64Pad(std::string_view text);
/// Lenient decoding: unknown characters count as 63; bits of a padded last group that no byte uses
/// are ignored. A length that is not a multiple of four raises "Base64: Incorrect string format".
std::string Base64Decode(std::string_view text);

} // namespace somnex
