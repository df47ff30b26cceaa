#pragma once
// The host side of the COM runtime: finds a class's server library in the registry, loads it and
// creates objects through its DllGetClassObject. Loaded libraries stay loaded for the process.
#include <string>

#include "somnex/Com.h"

namespace plat {

// The entry points of one loaded server library.
struct InprocServer {
    void* handle = nullptr;
    DllGetClassObjectFn GetClassObject = nullptr;
    DllCanUnloadNowFn CanUnloadNow = nullptr;
    DllRegisterServerFn RegisterServer = nullptr;
    DllUnregisterServerFn UnregisterServer = nullptr;
};

// Loads the library at path (or finds it already loaded). Raises EngineError when the file does
// not load or is not a COM server ("... does not export DllGetClassObject").
InprocServer LoadInprocServer(const std::string& path);

// The registered server path of a class (default value of HKCR\CLSID\{clsid}\InprocServer32);
// raises EngineError when the class is not registered.
std::string FindInprocServerPath(const CLSID& clsid);

// Looks the class up under HKCR\CLSID, loads its server and creates an object queried for iid.
// Raises EngineError with the reason; a failing HRESULT from the server is named in the text.
void* CreateComObject(const CLSID& clsid, const IID& iid);

// The platform's call: REGDB_E_CLASSNOTREG for an unregistered class, CO_E_DLLNOTFOUND for a
// library that does not load, CO_E_ERRORINDLL for one without the entry point, otherwise the
// server's own result. Text of the last failure on this thread: LastCreateError().
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, uint32_t context, const IID& iid,
                         void** object);
const std::string& LastCreateError();

} // namespace plat
