#pragma once
// The class factory of one server class. Factories live as long as the module's class registry,
// so they neither count as live objects nor delete themselves.
#include <functional>

#include "platform/com/ComObject.h"

namespace plat {

class ClassFactory final : public IClassFactory2 {
public:
    // Makes a new object with one reference, or throws.
    using Creator = std::function<IUnknown*()>;
    explicit ClassFactory(Creator create) : create_(std::move(create)) {}

    HRESULT QueryInterface(const GUID& iid, void** object) override;
    uint32_t AddRef() override { return 2; }
    uint32_t Release() override { return 1; }
    HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override;
    HRESULT LockServer(int32_t lock) override;
    // No licensing: every creation is allowed and there is no run-time key to hand out.
    HRESULT GetLicInfo(LICINFO* info) override;
    HRESULT RequestLicKey(uint32_t reserved, BSTR* key) override;
    HRESULT CreateInstanceLic(IUnknown* outer, IUnknown* reserved, const IID& iid, BSTR key,
                              void** object) override;

private:
    Creator create_;
};

} // namespace plat
