#pragma once
// GUIDs in the COM layout and their registry text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;

inline bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

namespace plat {

// Upper-case hex digits in braces, the form the registry holds.
std::string GuidToString(const GUID& g);
// Accepts the braced form only (either letter case); nullopt for anything else.
std::optional<GUID> TryParseGuid(std::string_view text);
// As TryParseGuid, but raises EngineError naming the text.
GUID ParseGuid(std::string_view text);

} // namespace plat
