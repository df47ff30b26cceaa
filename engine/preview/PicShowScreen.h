#pragma once
// What the slideshow form needs of its transition player. The Qt form hands it a TPicShow that
// fills the form; tests hand it a recording fake.
#include "engine/transitions/PicShow.h"
#include "platform/raster/Bitmap.h"

#include <cstdint>
#include <functional>

namespace somnex {

class IPicShowScreen {
public:
    virtual ~IPicShowScreen() = default;
    virtual void SetPicture(const plat::Bitmap& Picture) = 0;
    // An empty bitmap removes the background picture.
    virtual void SetBgPicture(const plat::Bitmap& Picture) = 0;
    virtual void SetBgMode(TBackgroundMode Mode) = 0;
    virtual void SetColor(plat::Color Color) = 0;
    virtual void SetStyle(int32_t Style) = 0;
    virtual void SetStep(uint32_t Step) = 0;
    virtual void SetDelay(uint16_t Delay) = 0;
    virtual bool InTransition() const = 0;
    virtual void StartTransition() = 0;
    virtual void ClearScreen() = 0;
    // Paints at once.
    virtual void Repaint() = 0;
    // The size of the screen the show plays on.
    virtual int32_t ScreenWidth() const = 0;
    virtual int32_t ScreenHeight() const = 0;

    // The end of each transition, on the form's thread.
    std::function<void()> OnComplete;
};

} // namespace somnex
