#pragma once
// Single-use wrappers around the raster operations: load a picture into Work, set the fields,
// Execute, copy Work out with AssignTo.
#include "engine/imaging/TextBlock.h"
#include "platform/raster/Bitmap.h"

#include <cstdint>
#include <string>

namespace somnex {

class TBaseImageProcess {
public:
    TBaseImageProcess() = default;
    virtual ~TBaseImageProcess() = default;
    virtual void Execute() { Executed = true; }

    // Work becomes a 24-bit copy of the picture.
    void LoadFrom(const plat::Bitmap& picture);
    void AssignTo(plat::Bitmap& picture) const { picture.Assign(Work); }

    plat::Bitmap Work;
    bool Executed = false;
};

class TImageAdjustSizeProcess : public TBaseImageProcess {
public:
    void Execute() override;

    int32_t Width = 0;
    int32_t Height = 0;
    uint8_t Mode = 0; // fit mode of FitRect
};

// Composites Logo onto Work at a grid position with an opacity, after one of the five transforms.
class TImageLogoProcess : public TBaseImageProcess {
public:
    void Execute() override;

    plat::Bitmap Logo;
    int32_t Position = 0;
    uint8_t Opacity = 0;
    int32_t Transform = -1; // 0..4; anything else leaves the logo as it is
};

class TImageDrawTextProcess : public TBaseImageProcess {
public:
    void Execute() override;

    TTextOption Option;
    std::string Text; // lines separated by line breaks
};

// Applies transform 0 Rotate180, 1 Rotate90CCW, 2 Rotate90CW, 3 MirrorHorizontal, 4 FlipVertical.
void ApplyLogoTransform(plat::Bitmap& logo, int32_t transform);

} // namespace somnex
