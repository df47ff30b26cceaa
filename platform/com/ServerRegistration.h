#pragma once
// Registration of an in-process server under HKEY_CLASSES_ROOT: its type library stand-in (which
// names the server and describes no types) and, for each class, the CLSID, InprocServer32 and
// ProgID keys. Both libraries register this way; each passes its own library and classes.
#include <cstdint>
#include <string>
#include <vector>

#include "somnex/Com.h"

namespace plat {

struct ServerTypeLibrary {
    GUID LibID;
    std::string Name; // the first part of every ProgID
    std::string HelpString;
    uint16_t MajorVersion;
    uint16_t MinorVersion;
    uint32_t Lcid;

    // "2.0", the version key under HKCR\TypeLib\{libid}.
    std::string VersionKey() const;
};

struct ServerClass {
    std::string ClassName;
    CLSID ClassID;
    std::string Description;
    std::string ThreadingModel; // "Apartment", ...
};

// Library name, a full stop and the class name.
std::string ProgIDOf(const ServerTypeLibrary& lib, const ServerClass& cls);

// Writes HKCR\TypeLib\{libid}\VERSION (help string), its locale subkey "LCID\linux64" (the library
// path), "FLAGS" and "HELPDIR". Raises EngineError on a refused write.
void RegisterTypeLib(const ServerTypeLibrary& lib, const std::string& libraryPath);
// Removes the version key, and the library's key when no other version is left.
void UnRegisterTypeLib(const ServerTypeLibrary& lib);

// The type library, then every class. Raises EngineError at the first refused write; keys written
// before it stay.
void RegisterServerClasses(const ServerTypeLibrary& lib, const std::vector<ServerClass>& classes,
                           const std::string& libraryPath);
void UnregisterServerClasses(const ServerTypeLibrary& lib, const std::vector<ServerClass>& classes);

// The full path of the shared library that holds address, or empty.
std::string ModulePathOf(const void* address);

} // namespace plat
