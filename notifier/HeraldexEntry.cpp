// The four entry points of the notifier's in-process server, the only symbols the library exports.
#include "heraldex/Heraldex.h"
#include "notifier/WhatsNewCom.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/ServerRegistration.h"

#define HERALDEX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

const plat::ServerTypeLibrary& TypeLibrary() {
    static const plat::ServerTypeLibrary lib{LIBID_Heraldex, "Heraldex", "Heraldex Library", 1, 0, 0};
    return lib;
}

const std::vector<plat::ServerClass>& Classes() {
    static const std::vector<plat::ServerClass> classes{
        {"WhatNewCOM", CLSID_WhatNewCOM, "Heraldex Control", "Apartment"}};
    return classes;
}

plat::ClassFactory& Factory() {
    static plat::ClassFactory factory([] { return static_cast<IUnknown*>(new heraldex::TWhatNewCOM); });
    return factory;
}

// The component and the factory are made while the library loads.
[[maybe_unused]] const bool loaded = (heraldex::Component(), Factory(), true);

std::string OwnPath() {
    return plat::ModulePathOf(reinterpret_cast<void*>(&OwnPath));
}

} // namespace

HERALDEX_EXPORT HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!(clsid == CLSID_WhatNewCOM)) return CLASS_E_CLASSNOTAVAILABLE;
    return Factory().QueryInterface(iid, object);
}

HERALDEX_EXPORT HRESULT DllCanUnloadNow() {
    return plat::ModuleCounts::CanUnload() ? S_OK : S_FALSE;
}

HERALDEX_EXPORT HRESULT DllRegisterServer() {
    try {
        std::string path = OwnPath();
        if (path.empty()) return E_FAIL;
        plat::RegisterServerClasses(TypeLibrary(), Classes(), path);
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

HERALDEX_EXPORT HRESULT DllUnregisterServer() {
    try {
        plat::UnregisterServerClasses(TypeLibrary(), Classes());
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}
