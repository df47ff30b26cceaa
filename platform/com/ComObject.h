#pragma once
// The reference-counted object base of a COM server, and the module-wide counts that decide
// whether the server may be unloaded. Each shared library links its own copy (hidden symbols), so
// the counts are per module.
#include <atomic>
#include <cstdint>
#include <initializer_list>

#include "somnex/Com.h"

namespace plat {

class ModuleCounts {
public:
    static int32_t LiveObjects();
    static int32_t Locks();
    static void Lock();
    static void Unlock();
    // True when nothing keeps the module loaded.
    static bool CanUnload() { return LiveObjects() == 0 && Locks() == 0; }

private:
    friend class ComObject;
    static std::atomic<int32_t>& Objects();
    static std::atomic<int32_t>& LockCount();
};

// Counts itself among the module's live objects from construction to destruction. The count of
// references starts at one, for the creator.
class ComObject {
public:
    ComObject();
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    virtual ~ComObject();

    // Runs once after construction, before the object is handed out.
    virtual void Initialize() {}

protected:
    uint32_t AddRefObject() { return ++refs_; }
    uint32_t ReleaseObject() {
        uint32_t left = --refs_;
        if (left == 0) delete this;
        return left;
    }

private:
    std::atomic<uint32_t> refs_{1};
};

// True when iid is one of the listed IIDs.
inline bool AnswersOneOf(const IID& iid, std::initializer_list<IID> iids) {
    for (const IID& i : iids)
        if (i == iid) return true;
    return false;
}

// Joins one interface chain to the object base: the interface comes first, so a pointer to the
// object is a pointer to the interface and every interface of the chain shares it.
template <class Itf>
class ComImpl : public Itf, public ComObject {
public:
    HRESULT QueryInterface(const GUID& iid, void** object) override {
        if (!object) return E_POINTER;
        if (!Answers(iid)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<Itf*>(this);
        AddRefObject();
        return S_OK;
    }
    uint32_t AddRef() override { return AddRefObject(); }
    uint32_t Release() override { return ReleaseObject(); }

protected:
    virtual bool Answers(const IID& iid) const = 0;
};

} // namespace plat
