#pragma once
// Registration of the engine's type library and classes under HKEY_CLASSES_ROOT.
#include <string>

namespace somnex {

// Raises EngineError at the first refused write; keys written before it stay.
void RegisterServer(const std::string& libraryPath);
void UnregisterServer();

} // namespace somnex
