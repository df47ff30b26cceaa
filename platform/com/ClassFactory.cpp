#include "platform/com/ClassFactory.h"

#include <new>

namespace plat {

HRESULT ClassFactory::QueryInterface(const GUID& iid, void** object) {
    if (!object) return E_POINTER;
    if (!AnswersOneOf(iid, {IID_IUnknown, IID_IClassFactory, IID_IClassFactory2})) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory2*>(this);
    return S_OK;
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, const IID& iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* created;
    try {
        created = create_();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_FAIL;
    }
    HRESULT hr = created->QueryInterface(iid, object);
    created->Release(); // the creator's reference; the object dies here when iid is not answered
    return hr;
}

HRESULT ClassFactory::LockServer(int32_t lock) {
    if (lock)
        ModuleCounts::Lock();
    else
        ModuleCounts::Unlock();
    return S_OK;
}

HRESULT ClassFactory::GetLicInfo(LICINFO* info) {
    if (!info) return E_POINTER;
    info->cbLicInfo = sizeof(LICINFO);
    info->fRuntimeKeyAvail = 0;
    info->fLicVerified = 1;
    return S_OK;
}

HRESULT ClassFactory::RequestLicKey(uint32_t, BSTR* key) {
    if (!key) return E_POINTER;
    *key = nullptr;
    return CLASS_E_NOTLICENSED;
}

HRESULT ClassFactory::CreateInstanceLic(IUnknown* outer, IUnknown*, const IID& iid, BSTR, void** object) {
    return CreateInstance(outer, iid, object);
}

} // namespace plat
