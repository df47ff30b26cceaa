#pragma once
// 8-bit engine text <-> UTF-16 COM text. The 8-bit code set is UTF-8 (the locale code set of any
// current Linux), so valid text round-trips unchanged; malformed input becomes U+FFFD rather than
// being dropped silently.
#include <string>
#include <string_view>

#include "somnex/Bstr.h"

namespace plat {

std::u16string AnsiToWide(std::string_view text);
std::string WideToAnsi(std::u16string_view text);

// Null gives an empty text, as an empty BSTR does.
std::string BstrToAnsi(const char16_t* text);
// A new BSTR the caller frees; never null except when memory runs out.
BSTR AnsiToBstr(std::string_view text);

} // namespace plat
