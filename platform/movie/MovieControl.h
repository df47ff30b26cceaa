#pragma once
// The movie player the Flash preview puts on its form, one per movie: load a file on layer 0,
// play, stop, ask whether it plays, loop, scale mode, quality, menu, and a report when the movie
// is completely loaded. Input meant for the movie passes a filter first.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace plat {

// The mouse input a movie could react to, as its window receives it.
enum class MovieInput {
    MouseMove,
    LeftDown,
    LeftUp,
    LeftDoubleClick,
    MiddleDown,
    MiddleUp,
    MiddleDoubleClick,
    Wheel,
    RightDown,
    RightUp,
    RightDoubleClick,
    Other
};

// The ready state reported once a movie is completely loaded.
inline constexpr int32_t kMovieLoaded = 4;

class MovieControl {
public:
    virtual ~MovieControl() = default;
    virtual void SetMenu(bool On) = 0;
    // -1: the movie's own background.
    virtual void SetBackgroundColor(int32_t Color) = 0;
    // 0 show all, 1 no border (fill, cropping), 2 exact fit; others as 0.
    virtual void SetScaleMode(int32_t Mode) = 0;
    virtual void SetQuality(int32_t Quality) = 0;
    virtual void SetLoop(bool On) = 0;
    // Loads and starts the movie; the ready state arrives through OnReadyStateChange.
    virtual void LoadMovie(int32_t Layer, const std::string& File) = 0;
    virtual void Play() = 0;
    virtual void StopPlay() = 0;
    virtual bool IsPlaying() = 0;
    // Fills the form, takes the keyboard focus and goes behind the form's other controls.
    virtual void PlaceOnForm() = 0;

    std::function<void(int32_t NewState)> OnReadyStateChange;
    // Sees every mouse input first (screen coordinates); true keeps it from the movie.
    std::function<bool(MovieInput Input, int32_t X, int32_t Y)> InputFilter;
};

// Makes a control on the given window (the form's handle).
using MovieControlFactory = std::function<std::unique_ptr<MovieControl>(void* Parent)>;

} // namespace plat
