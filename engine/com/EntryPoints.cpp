// The four entry points of the in-process server, the only symbols the library exports.
#include "engine/com/ComClasses.h"
#include "engine/com/Registration.h"
#include "platform/com/ServerRegistration.h"

#define SOMNEX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
// The class registry is filled while the library loads, before any entry point can run.
[[maybe_unused]] const bool registryFilled = (somnex::ClassRegistry(), true);

std::string OwnPath() {
    return plat::ModulePathOf(reinterpret_cast<void*>(&OwnPath));
}
} // namespace

SOMNEX_EXPORT HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    const somnex::TComClassEntry* entry = somnex::FindClass(clsid);
    if (!entry) return CLASS_E_CLASSNOTAVAILABLE;
    return entry->Factory->QueryInterface(iid, object);
}

SOMNEX_EXPORT HRESULT DllCanUnloadNow() {
    return plat::ModuleCounts::CanUnload() ? S_OK : S_FALSE;
}

SOMNEX_EXPORT HRESULT DllRegisterServer() {
    try {
        std::string path = OwnPath();
        if (path.empty()) return E_FAIL;
        somnex::RegisterServer(path);
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

SOMNEX_EXPORT HRESULT DllUnregisterServer() {
    try {
        somnex::UnregisterServer();
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}
