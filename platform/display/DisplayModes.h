#pragma once
// The display's modes: what is current, what the display offers and switching between them.
// Colour depth is never part of a mode.
#include <cstdint>
#include <optional>

namespace plat {

struct DisplayMode {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t RefreshRate = 0; // hertz
    bool operator==(const DisplayMode&) const = default;
};

class DisplayModes {
public:
    virtual ~DisplayModes() = default;
    // The primary display's mode now; all zero when nothing can tell.
    virtual DisplayMode Current() = 0;
    // The mode with this number, counting from 0; nullopt past the last one.
    virtual std::optional<DisplayMode> Mode(int32_t number) = 0;
    // Switches the primary display; true when the display now runs in the mode.
    virtual bool Set(const DisplayMode& mode) = 0;
};

// The process's display: XRandR on an X11 display in desktop mode, otherwise one that offers no
// modes (so every change is refused) and reports the toolkit's screen as current.
DisplayModes& SystemDisplayModes();

} // namespace plat
