#pragma once
// The type library stand-in: it names the server and is registered with its classes, but
// describes no types.
#include <cstdint>
#include <string>

#include "somnex/Com.h"

namespace somnex {

struct TTypeLibrary {
    GUID LibID;
    std::string Name;
    std::string HelpString;
    uint16_t MajorVersion;
    uint16_t MinorVersion;
    uint32_t Lcid;

    // "2.0", the version key under HKCR\TypeLib\{libid}.
    std::string VersionKey() const;
};

const TTypeLibrary& TheTypeLibrary();

// Writes HKCR\TypeLib\{libid}\2.0 (help string), its locale subkey "409\linux64" (the library
// path), "FLAGS" and "HELPDIR". Raises EngineError on a refused write.
void RegisterTypeLib(const std::string& libraryPath);
// Removes the version key, and the library's key when no other version is left.
void UnRegisterTypeLib();

} // namespace somnex
