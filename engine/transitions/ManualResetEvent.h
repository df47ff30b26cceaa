#pragma once
// A manual-reset event: stays set until reset, releasing every waiter meanwhile.
#include <condition_variable>
#include <mutex>

namespace somnex {

class ManualResetEvent {
public:
    explicit ManualResetEvent(bool initiallySet) : set_(initiallySet) {}

    void Set() {
        {
            std::lock_guard lock(m_);
            set_ = true;
        }
        cv_.notify_all();
    }
    void Reset() {
        std::lock_guard lock(m_);
        set_ = false;
    }
    void Wait() {
        std::unique_lock lock(m_);
        cv_.wait(lock, [this] { return set_; });
    }
    bool IsSet() {
        std::lock_guard lock(m_);
        return set_;
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool set_;
};

} // namespace somnex
