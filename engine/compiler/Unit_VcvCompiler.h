#pragma once
// The Flash compiler's build: the dialog, given the checked parameter list, run modally.
#include "engine/compiler/BuildProgress.h"

#include <cstdint>
#include <string>
#include <vector>

namespace somnex {

// Params: player, output, project, work folder, parameter and Flash library file names.
// True when the package was completed without cancel or error; errors go to ErrorBox.
bool RunVcvBuild(const std::vector<std::string>& Params, int32_t Value, const TErrorBox& ErrorBox);

} // namespace somnex
