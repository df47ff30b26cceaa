#pragma once
// GUIDs in the COM layout and their registry text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#include <optional>
#include <string>
#include <string_view>

#include "somnex/Com.h"

namespace plat {

// Upper-case hex digits in braces, the form the registry holds.
std::string GuidToString(const GUID& g);
// Accepts the braced form only (either letter case); nullopt for anything else.
std::optional<GUID> TryParseGuid(std::string_view text);
// As TryParseGuid, but raises EngineError naming the text.
GUID ParseGuid(std::string_view text);

} // namespace plat
