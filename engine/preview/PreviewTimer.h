#pragma once
// The toolkit timer the player forms use, as the logic sees it: it fires every Interval
// milliseconds while enabled; changing the interval of a running timer starts its count again;
// an interval of 0 never fires.
#include <cstdint>
#include <functional>
#include <memory>

namespace somnex {

class IPreviewTimer {
public:
    virtual ~IPreviewTimer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool On) = 0;
    virtual uint32_t Interval() const = 0;
    virtual void SetInterval(uint32_t Milliseconds) = 0;
};

// Makes a disabled timer with interval 1000 that calls OnTimer.
using TTimerFactory = std::function<std::unique_ptr<IPreviewTimer>(std::function<void()> OnTimer)>;

// Seconds from a project as a timer interval. No wait (0 or less) is the shortest one: a timer
// of interval 0 would never fire and the show would stop there for good.
inline uint32_t SecondsToInterval(int64_t Seconds) {
    return Seconds <= 0 ? 1u : uint32_t(Seconds > 4294967 ? 4294967000u : Seconds * 1000);
}

} // namespace somnex
