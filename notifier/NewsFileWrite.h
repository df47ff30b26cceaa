#pragma once
// The downloaded body as the local news file.
#include <string>
#include <string_view>

namespace heraldex {

// The body's lines (split at CR LF, a lone LF or a lone CR), each ended by CR LF.
std::string ReLine(std::string_view Body);

// Replaces Path with the re-lined body through a temporary file in the same folder and one
// rename, so a failure leaves the earlier file whole and no temporary behind. Raises
// EngineError "Cannot write the news file '%s'" on failure.
void WriteNewsFile(const std::string& Path, std::string_view Body);

} // namespace heraldex
