#pragma once
// Whether a long text of the news file is rich text.
#include <string_view>

namespace heraldex {

// True when the first seven characters are "{\rtf1\".
inline bool IsRtfText(std::string_view Text) {
    return Text.substr(0, 7) == "{\\rtf1\\";
}

} // namespace heraldex
