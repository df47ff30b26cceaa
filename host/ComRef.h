#pragma once
// An owned reference to a COM-style interface, released when it goes.

namespace host {

template <class T>
class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T* p) : p_(p) {}
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
    ComRef& operator=(ComRef&& o) noexcept {
        if (this != &o) {
            if (p_) p_->Release();
            p_ = o.p_;
            o.p_ = nullptr;
        }
        return *this;
    }
    ~ComRef() {
        if (p_) p_->Release();
    }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

} // namespace host
