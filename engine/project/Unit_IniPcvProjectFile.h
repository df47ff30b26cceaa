#pragma once
// TIniPCVProjectFile: the slideshow project, with its six settings sections and the picture and
// music lists, which are never held in memory: each list access reads or writes one INI value.
#include "engine/project/Unit_IniScrProjectFile.h"

namespace somnex {

struct TSplashScreen {
    bool UseSplashScreen = false;
    std::string SplashScreen;
    int32_t SplashTransformID = 0;
    int32_t SplashScreenInterval = 0;
    std::string SplashScreenSound;
};

struct TImageSetting {
    int32_t IntervalMode = 0;
    int32_t Interval = 0;
    int32_t SizeMode = 0;
    int32_t CaptionPos = 0;
    int32_t OrderMode = 0;
    int32_t ImagePos = 0;
    bool ClearOldImage = false;
};

struct TMusicSetting {
    bool MuteSound = false;
    int32_t PlayMode = 0;
    int32_t OrderMode = 0;
    bool IsLoop = false;
    int32_t Pause = 0;
};

struct TScreenSaverBackground {
    int32_t BackgroundMode = 0;
    int32_t BackgroundColor = 0;
    int32_t GradientDirection = 0;
    int32_t GradientColor_01 = 0;
    int32_t GradientColor_02 = 0;
    int32_t ImageWallpaperMode = 0;
    std::string ImageFile;
};

struct TScreensaverEffect {
    int32_t EffectMode = 0;
    std::string CustomEffect;
    int32_t OrderMode = 0;
    int32_t EffectStep = 0;
    int32_t EffectDelay = 0;
};

struct TBuildSetting {
    int32_t ImageWidth = 0;
    int32_t ImageHeight = 0;
    int32_t ImageQuality = 0;
    bool Compress = false;
};

/// One picture of the slideshow; paths are full paths, caption lines end with CR LF.
struct TImageRec {
    std::string FileName;
    std::string Caption;
    std::string CaptionFont;
    int32_t CaptionAlign = 0;
    int32_t CaptionPos = 0;
    int32_t OverlayMode = 0;
    std::string OverlayFile;
    bool Transparent = false;
    std::string MaskFile;
    uint8_t Opacity = 0;
    int32_t LogoPos = 0;
    std::string LogoFile;
    uint8_t LogoAlpha = 0;
    int32_t LogoTransform = 0;
    int32_t TransformID = 0;
    int32_t EffectStep = 0;
    int32_t EffectDelay = 0;
    int32_t Interval = 0;
};

enum class TListKind { Images, Music };

class TIniPCVProjectFile : public TIniScrProject {
public:
    TSplashScreen SplashScreen;
    TImageSetting ImageSetting;
    TMusicSetting MusicSetting;
    TScreenSaverBackground Background;
    TScreensaverEffect Effect;
    TBuildSetting BuildSetting;

    int32_t GetListCount(TListKind List) const;
    void SetListCount(TListKind List, int32_t N);
    /// Reads any of the three line generations; raises "List index out of bounds (%d)" for a short
    /// or missing line and "'%s' is not a valid integer value" for a bad number.
    void ReadImage(int32_t Index, TImageRec& Rec) const;
    /// Writes the newest line generation.
    void WriteImage(int32_t Index, const TImageRec& Rec);
    std::string ReadMusic(int32_t Index) const;
    void WriteMusic(int32_t Index, const std::string& Path);

    void ClearLists() override;
    void ReadSettings() override;
    void WriteSettings() override;
    /// Files older than version 2.0 count without the IsScrProject key.
    bool IsProjectFile(const std::string& FileName) override;

    /// "|" for versions below 1.4, else the character 21.
    std::string Separator() const;

private:
    void ReadOlderImage(const std::vector<std::string>& Fields, TImageRec& Rec) const;
};

} // namespace somnex
