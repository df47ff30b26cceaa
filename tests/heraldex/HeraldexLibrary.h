#pragma once
// The notifier library loaded as a host loads it, with its own registry and data folder: the
// library reads both when it loads, so they are set first. Each test runs in its own process.
#include "heraldex/Heraldex.h"
#include "platform/com/InprocServer.h"
#include "tests/ini/TempFolder.h"

#include <cstdlib>
#include <string>

namespace heraldex::test {

struct LoadedLibrary {
    somnex::test::TempFolder Dir;
    std::string Registry = Dir / "registry.db";
    std::string Data = Dir / "data";
    plat::InprocServer Server;
    LoadedLibrary() {
        setenv("SOMNEX_REGISTRY", Registry.c_str(), 1);
        setenv("XDG_DATA_HOME", Data.c_str(), 1);
        Server = plat::LoadInprocServer(HERALDEX_LIBRARY_PATH);
    }
};

inline LoadedLibrary& Library() {
    static LoadedLibrary library;
    return library;
}

// An object made through the library's own factory, as CoCreateInstance would.
inline IWhatNewCOM* NewObject() {
    IClassFactory* factory = nullptr;
    if (FAILED(Library().Server.GetClassObject(CLSID_WhatNewCOM, IID_IClassFactory,
                                               reinterpret_cast<void**>(&factory))))
        return nullptr;
    IWhatNewCOM* object = nullptr;
    factory->CreateInstance(nullptr, IID_IWhatNewCOM, reinterpret_cast<void**>(&object));
    factory->Release();
    return object;
}

} // namespace heraldex::test
