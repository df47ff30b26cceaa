#include "platform/com/Guid.h"

#include "somnex/EngineError.h"

#include <cstdio>

namespace plat {

std::string GuidToString(const GUID& g) {
    char buf[39];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2,
                  g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                  g.Data4[7]);
    return buf;
}

namespace {
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads `digits` hex digits at `pos`; false when any is not a hex digit.
bool ReadHex(std::string_view t, size_t pos, int digits, uint64_t& out) {
    out = 0;
    for (int i = 0; i < digits; ++i) {
        int v = HexValue(t[pos + i]);
        if (v < 0) return false;
        out = out << 4 | static_cast<uint64_t>(v);
    }
    return true;
}
} // namespace

std::optional<GUID> TryParseGuid(std::string_view t) {
    if (t.size() != 38 || t[0] != '{' || t[37] != '}' || t[9] != '-' || t[14] != '-' || t[19] != '-' ||
        t[24] != '-')
        return std::nullopt;
    GUID g{};
    uint64_t v;
    if (!ReadHex(t, 1, 8, v)) return std::nullopt;
    g.Data1 = static_cast<uint32_t>(v);
    if (!ReadHex(t, 10, 4, v)) return std::nullopt;
    g.Data2 = static_cast<uint16_t>(v);
    if (!ReadHex(t, 15, 4, v)) return std::nullopt;
    g.Data3 = static_cast<uint16_t>(v);
    static constexpr size_t kData4At[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!ReadHex(t, kData4At[i], 2, v)) return std::nullopt;
        g.Data4[i] = static_cast<uint8_t>(v);
    }
    return g;
}

GUID ParseGuid(std::string_view text) {
    if (auto g = TryParseGuid(text)) return *g;
    throw somnex::EngineError("'" + std::string(text) + "' is not a valid GUID value");
}

} // namespace plat
