#pragma once
// Slide preparation: one picture becomes a finished slide of a fixed size (background, fitted
// picture with mask and opacity, logo, overlay, caption). Set up, Execute once, AssignResultTo.
#include "engine/imaging/PictureLoader.h"
#include "platform/raster/Bitmap.h"

#include <cstdint>
#include <string>

namespace somnex {

class TBaseImgProc {
public:
    TBaseImgProc() = default;
    virtual ~TBaseImgProc() = default;
    TBaseImgProc(const TBaseImgProc&) = delete;
    TBaseImgProc& operator=(const TBaseImgProc&) = delete;

    virtual void DrawBackground();
    virtual void ClearEffects() = 0;
    virtual bool Execute() = 0;

    void SetCanvas(int32_t width, int32_t height);
    void SetPictureLayout(int32_t picturePos, int32_t sizeMode);
    void LoadPicture(const std::string& path);
    void SetBackgroundColor(int32_t color);
    void SetWallpaper(int32_t wallpaperMode, const std::string& path);
    void SetGradient(uint8_t direction, int32_t color1, int32_t color2);
    void AssignResultTo(plat::Bitmap& picture) const { picture.Assign(Slide); }

    int32_t CanvasWidth = 0;
    int32_t CanvasHeight = 0;
    int32_t BackgroundMode = 0; // 0 colour, 1 wallpaper, 2 gradient
    int32_t BackgroundColor = 0;
    uint8_t GradientDirection = 0;
    int32_t GradientColor1 = 0;
    int32_t GradientColor2 = 0;
    std::string WallpaperFile;
    int32_t WallpaperMode = 0; // 0 stretched, 1 centred, 2 tiled
    int32_t PicturePos = 0;    // 0 centred, 1 random
    int32_t SizeMode = 0;      // 0 fit, 1 stretch, other: own size
    plat::Bitmap Slide;
    plat::Bitmap Picture;
    // LoadPicture only names the file; it is read when the slide is built, so a file that
    // cannot be read makes Execute fail and the picture can be decoded at the size it needs.
    std::string PictureFile;

    // Reads every picture file; tests and tools may replace it.
    PictureLoader Loader = LoadPictureFile;

protected:
    plat::Bitmap Load(const std::string& path, const PictureSizeHint& hint = {}) const;
    void ReadPicture();
};

class TScrImgProc1 : public TBaseImgProc {
public:
    void ClearEffects() override;
    // False when any step failed; the slide then holds what the steps before it drew.
    bool Execute() override;

    void SetMask(const std::string& maskFile, uint8_t opacity);
    void SetOverlay(int32_t mode, const std::string& path);
    void SetLogo(int32_t transform, int32_t position, uint8_t opacity, const std::string& path);
    void SetCaption(const std::string& text, const std::string& font, int32_t position, int32_t format);

    bool Masked = false;
    std::string MaskFile;
    uint8_t PictureOpacity = 0;
    bool HasLogo = false;
    int32_t LogoTransform = 0;
    int32_t LogoPosition = 0;
    std::string LogoFile;
    uint8_t LogoOpacity = 0;
    std::string CaptionText;
    std::string CaptionFont;
    int32_t CaptionFormat = 0;
    int32_t CaptionPosition = 0;
    int32_t OverlayMode = 0; // 0 none, 1 over the picture, 2 over the slide
    std::string OverlayFile;
    plat::Rect PictureRect;

private:
    void DrawPicture();
    void BlendPicture();
    void DrawLogo();
    void DrawOverlay();
    void DrawCaption();
};

} // namespace somnex
