#pragma once
// Small text helpers of the INI layer: integer texts, list values and "<br>" line breaks.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace somnex {

/// Decimal with optional sign, or "$" hexadecimal (up to 32 bits, wrapping to negative); false
/// for anything else, including overflow and trailing characters.
bool TryStrToInt(std::string_view text, int32_t& value);
/// TryStrToInt or the error "'%s' is not a valid integer value".
int32_t StrToInt(std::string_view text);

/// Letter case ignored (ASCII).
bool SameText(std::string_view a, std::string_view b);

/// Each Separator (letter case ignored) and each line break ends an item; a separator at the very
/// end adds no empty item.
std::vector<std::string> SplitToList(std::string_view text, std::string_view separator);

/// CR LF pairs to "<br>"; lone CR or LF stay.
std::string LineBreaksToBr(std::string_view text);
/// "<br>" in any letter case to CR LF.
std::string BrToLineBreaks(std::string_view text);

} // namespace somnex
