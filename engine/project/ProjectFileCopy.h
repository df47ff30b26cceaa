#pragma once
// Whole-file copies of project files and their working copies.
#include <string>

namespace somnex {

/// Copies source onto target through a temporary file in target's folder, so target is either
/// untouched or complete. Without overwrite an existing target makes it fail. Leaves no temporary file.
bool CopyProjectFile(const std::string& source, const std::string& target, bool overwrite);

} // namespace somnex
