#pragma once
// The primary output of an X11 display, driven through XRandR 1.2 or later.
#include <memory>
#include <vector>

#include "platform/display/Cursor.h"
#include "platform/display/DisplayModes.h"

struct _XDisplay;

namespace plat {

class XRandrDisplay final : public DisplayModes, public CursorSource {
public:
    // Null when no X server answers or it lacks XRandR 1.2.
    static std::unique_ptr<XRandrDisplay> Open();
    ~XRandrDisplay() override;
    XRandrDisplay(const XRandrDisplay&) = delete;
    XRandrDisplay& operator=(const XRandrDisplay&) = delete;

    DisplayMode Current() override;
    std::optional<DisplayMode> Mode(int32_t number) override;
    bool Set(const DisplayMode& mode) override;
    ScreenPoint Pos() override;

private:
    explicit XRandrDisplay(_XDisplay* dpy) : dpy_(dpy) {}
    std::vector<DisplayMode> ListModes();

    _XDisplay* dpy_;
    // Mode numbers stay stable through one enumeration: the list is read again at number 0.
    std::vector<DisplayMode> modes_;
};

} // namespace plat
