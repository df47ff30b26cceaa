#pragma once
// A display that exists only in memory: tests script its modes, cursor and failures, and headless
// runs use one with no modes.
#include <vector>

#include "platform/display/Cursor.h"
#include "platform/display/DisplayModes.h"

namespace plat {

class FakeDisplay final : public DisplayModes, public CursorSource {
public:
    FakeDisplay() = default;
    FakeDisplay(DisplayMode current, std::vector<DisplayMode> modes)
        : current_(current), modes_(std::move(modes)) {}

    DisplayMode Current() override { return current_; }
    std::optional<DisplayMode> Mode(int32_t number) override;
    // Refuses a mode it does not offer, and everything while FailSet is on.
    bool Set(const DisplayMode& mode) override;
    ScreenPoint Pos() override { return cursor_; }

    void SetCurrent(DisplayMode mode) { current_ = mode; }
    void SetModes(std::vector<DisplayMode> modes) { modes_ = std::move(modes); }
    void MoveCursor(ScreenPoint p) { cursor_ = p; }

    bool FailSet = false;
    // Every mode Set was asked for, in order, whether it succeeded or not.
    std::vector<DisplayMode> SetCalls;

private:
    DisplayMode current_;
    std::vector<DisplayMode> modes_;
    ScreenPoint cursor_;
};

} // namespace plat
