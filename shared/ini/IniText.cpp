#include "shared/ini/IniText.h"

#include "somnex/EngineError.h"

namespace somnex {
namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool StartsWithText(std::string_view text, size_t at, std::string_view what) {
    if (what.empty() || text.size() - at < what.size()) return false;
    for (size_t i = 0; i < what.size(); ++i)
        if (Lower(text[at + i]) != Lower(what[i])) return false;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

bool TryStrToInt(std::string_view text, int32_t& value) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i < text.size() && text[i] == '$') {
        if (++i == text.size()) return false;
        uint64_t v = 0;
        for (; i < text.size(); ++i) {
            int d = HexDigit(text[i]);
            if (d < 0) return false;
            v = v * 16 + uint64_t(d);
            if (v > 0xFFFFFFFFu) return false;
        }
        uint32_t bits = uint32_t(v);
        if (negative) bits = 0u - bits;
        value = int32_t(bits);
        return true;
    }
    if (i == text.size()) return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
        if (v > int64_t(INT32_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT32_MAX) return false;
    value = int32_t(v);
    return true;
}

int32_t StrToInt(std::string_view text) {
    int32_t v;
    if (!TryStrToInt(text, v)) throw EngineError("'" + std::string(text) + "' is not a valid integer value");
    return v;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && (a.empty() || StartsWithText(a, 0, b));
}

std::vector<std::string> SplitToList(std::string_view text, std::string_view separator) {
    std::vector<std::string> items;
    items.reserve(20); // picture lines, the longest lists split here, have 18 fields
    const char first = separator.empty() ? '\0' : Lower(separator[0]);
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        size_t skip = 0;
        const char c = text[i];
        if (c == '\r' || c == '\n')
            skip = (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        else if (Lower(c) == first && StartsWithText(text, i, separator))
            skip = separator.size();
        if (!skip) {
            ++i;
            continue;
        }
        items.emplace_back(text.substr(start, i - start));
        i += skip;
        start = i;
    }
    if (start < text.size()) items.emplace_back(text.substr(start));
    return items;
}

std::string LineBreaksToBr(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "<br>";
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string BrToLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        if (StartsWithText(text, i, "<br>")) {
            out += "\r\n";
            i += 4;
        } else {
            out += text[i++];
        }
    }
    return out;
}

} // namespace somnex
