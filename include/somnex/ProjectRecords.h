#pragma once
// The records the project interfaces exchange, laid out as on the wire: fields in their fixed
// order with natural alignment, wide texts as BSTRs, Booleans as one byte. Storage a host passes
// for a result may be zero-initialised; whatever BSTRs it holds are freed when it is refilled.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "somnex/Bstr.h"

struct TFileInfo {
    bool IsScrProject;
    BSTR EditorName;
    BSTR EditorVersion;
    BSTR Version;
};

struct TScrInfo {
    BSTR Name;
    BSTR Copyright;
    BSTR Author;
    BSTR AuthorPhoto;
    BSTR Web;
    BSTR Email;
    BSTR Readme;
};

struct TControlSetting {
    bool ShowMouseCursor;
    bool AllowMouseEvent;
    bool UseSetting;
    bool RestoreMouse;
    bool RestoreNormalKey;
    bool RestoreCustom;
    bool AutoAdjust;
    int32_t CustomKey;
    int32_t MouseSensitvity;
};

struct TScreenSaverInterface {
    BSTR Icon;
    bool UsePreview;
    bool ShowAuthorName;
    bool ShowScrName;
    int32_t PreviewType;
    BSTR PreviewMediaFile;
};

struct TInternetBanner {
    bool UseInternetBanner;
    BSTR BannerImage;
    BSTR BannerTip;
    BSTR BannerURL;
};

struct TPlayerLogo {
    bool Customize;
    BSTR LogoPic_Nor;
    BSTR LogoPic_In;
    BSTR LogoPic_Clk;
    bool EnableTran;
    int32_t OnClickMode;
    BSTR LogoHint;
    BSTR LogoComments;
};

struct TSplashScreen {
    bool UseSplashScreen;
    BSTR SplashScreen;
    int32_t SplashTransformID;
    int32_t SplashScreenInterval;
    BSTR SplashScreenSound;
};

struct TImageSetting {
    int32_t IntervalMode;
    int32_t Interval;
    int32_t SizeMode;
    int32_t CaptionPos;
    int32_t OrderMode;
    int32_t ImagePos;
    bool ClearOldImage;
};

struct TMusicSetting {
    bool MuteSound;
    int32_t PlayMode;
    int32_t OrderMode;
    bool IsLoop;
    int32_t Pause;
};

struct TScreenSaverBackground {
    int32_t BackgroundMode;
    int32_t BackgroundColor;
    int32_t GradientDirection;
    int32_t GradientColor_01;
    int32_t GradientColor_02;
    int32_t ImageWallpaperMode;
    BSTR ImageFile;
};

struct TScreensaverEffect {
    int32_t EffectMode;
    BSTR CustomEffect;
    int32_t OrderMode;
    int32_t EffectStep;
    int32_t EffectDelay;
};

struct TBuildSetting {
    int32_t ImageWidth;
    int32_t ImageHeight;
    int32_t ImageQuality;
    bool Compress;
};

// One picture of a slideshow: full paths; caption lines separated by CR LF.
struct TImageRec {
    BSTR FileName;
    BSTR Caption;
    BSTR CaptionFont;
    int32_t CaptionAlign;
    int32_t CaptionPos;
    int32_t OverlayMode;
    BSTR OverlayFile;
    bool Transparent;
    BSTR MaskFile;
    uint8_t Opacity;
    int32_t LogoPos;
    BSTR LogoFile;
    uint8_t LogoAlpha;
    int32_t LogoTransform;
    int32_t TransformID;
    int32_t EffectStep;
    int32_t EffectDelay;
    int32_t Interval;
};

struct TScreenSaverFlash {
    int32_t ScaleMode;
    int32_t Quality;
    int32_t OrderMode;
    BSTR DefBackgroundColor;
};

struct TFlashRec {
    BSTR Name;
    BSTR FileName;
};

// A returned array is one malloc'd block of Count BSTRs; the caller frees each and the block.
struct TStrArray {
    int32_t Count;
    BSTR* Items;
};

// The layout is the contract with hosts built elsewhere; catch an accidental reorder here.
static_assert(offsetof(TControlSetting, CustomKey) == 8 && sizeof(TControlSetting) == 16);
static_assert(offsetof(TScreenSaverInterface, PreviewType) == 12 && sizeof(TScreenSaverInterface) == 24);
static_assert(offsetof(TImageRec, Transparent) == 48 && offsetof(TImageRec, Opacity) == 64 &&
              offsetof(TImageRec, LogoAlpha) == 80 && sizeof(TImageRec) == 104);
static_assert(sizeof(TMusicSetting) == 20 && sizeof(TBuildSetting) == 16);

// The fields of every record by name, in order, for code that handles records generically
// (printing, editing by name, conversion): SOMNEX_FIELDS_TRecord(F) expands F(Field) per field.
#define SOMNEX_FIELDS_TFileInfo(F) F(IsScrProject) F(EditorName) F(EditorVersion) F(Version)
#define SOMNEX_FIELDS_TScrInfo(F) F(Name) F(Copyright) F(Author) F(AuthorPhoto) F(Web) F(Email) F(Readme)
#define SOMNEX_FIELDS_TControlSetting(F)                                                                     \
    F(ShowMouseCursor)                                                                                       \
    F(AllowMouseEvent)                                                                                       \
    F(UseSetting)                                                                                            \
    F(RestoreMouse) F(RestoreNormalKey) F(RestoreCustom) F(AutoAdjust) F(CustomKey) F(MouseSensitvity)
#define SOMNEX_FIELDS_TScreenSaverInterface(F)                                                               \
    F(Icon) F(UsePreview) F(ShowAuthorName) F(ShowScrName) F(PreviewType) F(PreviewMediaFile)
#define SOMNEX_FIELDS_TInternetBanner(F) F(UseInternetBanner) F(BannerImage) F(BannerTip) F(BannerURL)
#define SOMNEX_FIELDS_TPlayerLogo(F)                                                                         \
    F(Customize)                                                                                             \
    F(LogoPic_Nor) F(LogoPic_In) F(LogoPic_Clk) F(EnableTran) F(OnClickMode) F(LogoHint) F(LogoComments)
#define SOMNEX_FIELDS_TSplashScreen(F)                                                                       \
    F(UseSplashScreen) F(SplashScreen) F(SplashTransformID) F(SplashScreenInterval) F(SplashScreenSound)
#define SOMNEX_FIELDS_TImageSetting(F)                                                                       \
    F(IntervalMode) F(Interval) F(SizeMode) F(CaptionPos) F(OrderMode) F(ImagePos) F(ClearOldImage)
#define SOMNEX_FIELDS_TMusicSetting(F) F(MuteSound) F(PlayMode) F(OrderMode) F(IsLoop) F(Pause)
#define SOMNEX_FIELDS_TScreenSaverBackground(F)                                                              \
    F(BackgroundMode)                                                                                        \
    F(BackgroundColor)                                                                                       \
    F(GradientDirection) F(GradientColor_01) F(GradientColor_02) F(ImageWallpaperMode) F(ImageFile)
#define SOMNEX_FIELDS_TScreensaverEffect(F)                                                                  \
    F(EffectMode) F(CustomEffect) F(OrderMode) F(EffectStep) F(EffectDelay)
#define SOMNEX_FIELDS_TBuildSetting(F) F(ImageWidth) F(ImageHeight) F(ImageQuality) F(Compress)
#define SOMNEX_FIELDS_TImageRec(F)                                                                           \
    F(FileName)                                                                                              \
    F(Caption)                                                                                               \
    F(CaptionFont)                                                                                           \
    F(CaptionAlign) F(CaptionPos) F(OverlayMode) F(OverlayFile) F(Transparent) F(MaskFile) F(Opacity)        \
        F(LogoPos) F(LogoFile) F(LogoAlpha) F(LogoTransform) F(TransformID) F(EffectStep) F(EffectDelay)     \
            F(Interval)
#define SOMNEX_FIELDS_TScreenSaverFlash(F) F(ScaleMode) F(Quality) F(OrderMode) F(DefBackgroundColor)
#define SOMNEX_FIELDS_TFlashRec(F) F(Name) F(FileName)

#define SOMNEX_RECORDS(R)                                                                                    \
    R(TFileInfo)                                                                                             \
    R(TScrInfo)                                                                                              \
    R(TControlSetting)                                                                                       \
    R(TScreenSaverInterface) R(TInternetBanner) R(TPlayerLogo) R(TSplashScreen) R(TImageSetting)             \
        R(TMusicSetting) R(TScreenSaverBackground) R(TScreensaverEffect) R(TBuildSetting) R(TImageRec)       \
            R(TScreenSaverFlash) R(TFlashRec)

namespace somnex {

// Calls visit(name, field) for every field of a record, in order.
#define SOMNEX_VISIT_FIELD(f) visit(#f, r.f);
#define SOMNEX_DEFINE_VISIT(R)                                                                               \
    template <class Visit>                                                                                   \
    void ForEachField(::R& r, Visit&& visit) {                                                               \
        SOMNEX_FIELDS_##R(SOMNEX_VISIT_FIELD)                                                                \
    }                                                                                                        \
    template <class Visit>                                                                                   \
    void ForEachField(const ::R& r, Visit&& visit) {                                                         \
        SOMNEX_FIELDS_##R(SOMNEX_VISIT_FIELD)                                                                \
    }
SOMNEX_RECORDS(SOMNEX_DEFINE_VISIT)
#undef SOMNEX_DEFINE_VISIT
#undef SOMNEX_VISIT_FIELD

namespace detail {
inline void FreeField(BSTR& text) {
    SysFreeString(text);
    text = nullptr;
}
template <class T>
void FreeField(T&) {}
} // namespace detail

// Frees the BSTRs a record holds and leaves them null, so the storage can be reused or dropped.
template <class R>
void FreeRecord(R& r) {
    ForEachField(r, [](const char*, auto& field) { detail::FreeField(field); });
}
inline void FreeRecord(TStrArray& r) {
    for (int32_t i = 0; r.Items && i < r.Count; ++i) SysFreeString(r.Items[i]);
    std::free(r.Items);
    r.Items = nullptr;
    r.Count = 0;
}

// Owns one record for a host: zero-initialised, freed on destruction; Out() hands the storage to
// a getter.
template <class R>
class Record {
public:
    Record() = default;
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;
    Record(Record&& other) noexcept : value_(other.value_) { other.value_ = R{}; }
    Record& operator=(Record&& other) noexcept {
        if (this != &other) {
            FreeRecord(value_);
            value_ = other.value_;
            other.value_ = R{};
        }
        return *this;
    }
    ~Record() { FreeRecord(value_); }

    R* Out() { return &value_; }
    R& operator*() { return value_; }
    R* operator->() { return &value_; }
    const R& operator*() const { return value_; }
    const R* operator->() const { return &value_; }

private:
    R value_{};
};

} // namespace somnex
