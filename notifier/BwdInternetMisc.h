#pragma once
// Opening links, files and "mailto:" addresses with the system shell.
#include <string>

namespace heraldex {

// Mode 0 and 1: "Open", shown, in the target's folder; 2 and 5: "Open", shown; 3: "open", normal
// window; 4: "open" of "mailto:" + Target; above 5 (or below 0): nothing, -1. Returns the shell's
// result (above 32 on success).
int ShellOpen(int Mode, const std::string& Target, void* Parent = nullptr);

} // namespace heraldex
