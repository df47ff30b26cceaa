#include "platform/com/InprocServer.h"

#include "platform/com/Guid.h"
#include "platform/registry/Registry.h"
#include "somnex/EngineError.h"

#include <dlfcn.h>

#include <cstdio>

namespace plat {

namespace {
thread_local std::string lastError;

// An error that also carries the platform code CoCreateInstance reports for it.
struct CreateFailure : somnex::EngineError {
    CreateFailure(HRESULT code, const std::string& text) : EngineError(text), hr(code) {}
    HRESULT hr;
};

std::string HexCode(HRESULT hr) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<uint32_t>(hr));
    return buf;
}

template <class Fn>
Fn Symbol(void* handle, const char* name) {
    return reinterpret_cast<Fn>(dlsym(handle, name));
}
} // namespace

InprocServer LoadInprocServer(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        throw CreateFailure(CO_E_DLLNOTFOUND,
                            "Unable to load the library '" + path + "': " + (why ? why : "unknown reason"));
    }
    InprocServer s;
    s.handle = handle;
    s.GetClassObject = Symbol<DllGetClassObjectFn>(handle, "DllGetClassObject");
    s.CanUnloadNow = Symbol<DllCanUnloadNowFn>(handle, "DllCanUnloadNow");
    s.RegisterServer = Symbol<DllRegisterServerFn>(handle, "DllRegisterServer");
    s.UnregisterServer = Symbol<DllUnregisterServerFn>(handle, "DllUnregisterServer");
    if (!s.GetClassObject)
        throw CreateFailure(CO_E_ERRORINDLL, "The library '" + path + "' does not export DllGetClassObject");
    return s;
}

std::string FindInprocServerPath(const CLSID& clsid) {
    Registry reg(HKEY_CLASSES_ROOT);
    std::string key = "\\CLSID\\" + GuidToString(clsid) + "\\InprocServer32";
    std::string path;
    if (reg.OpenKeyReadOnly(key)) path = reg.ReadString("");
    if (path.empty())
        throw CreateFailure(REGDB_E_CLASSNOTREG, "The class " + GuidToString(clsid) + " is not registered");
    return path;
}

void* CreateComObject(const CLSID& clsid, const IID& iid) {
    InprocServer server = LoadInprocServer(FindInprocServerPath(clsid));
    IClassFactory* factory = nullptr;
    HRESULT hr = server.GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr) || !factory)
        throw CreateFailure(FAILED(hr) ? hr : E_FAIL, "The server of class " + GuidToString(clsid) +
                                                          " has no factory for it (" + HexCode(hr) + ")");
    void* object = nullptr;
    hr = factory->CreateInstance(nullptr, iid, &object);
    factory->Release();
    if (FAILED(hr) || !object)
        throw CreateFailure(FAILED(hr) ? hr : E_FAIL, "The class " + GuidToString(clsid) +
                                                          " could not create an object for interface " +
                                                          GuidToString(iid) + " (" + HexCode(hr) + ")");
    return object;
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, uint32_t, const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    lastError.clear();
    if (outer) {
        lastError = "Aggregation is not supported";
        return CLASS_E_NOAGGREGATION;
    }
    try {
        *object = CreateComObject(clsid, iid);
        return S_OK;
    } catch (const CreateFailure& e) {
        lastError = e.what();
        return e.hr;
    } catch (const std::exception& e) {
        lastError = e.what();
        return E_FAIL;
    }
}

const std::string& LastCreateError() {
    return lastError;
}

} // namespace plat
