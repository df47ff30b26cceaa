#include "engine/compiler/Unit_ScrFileObj.h"

#include "engine/compiler/PackageFile.h"
#include "engine/decoders/JpegCodec.h"
#include "engine/decoders/PictureLoader.h"
#include "engine/imaging/ImgOps.h"
#include "platform/fs/FileSystem.h"
#include "platform/raster/Canvas.h"
#include "somnex/EngineError.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace somnex {

namespace {

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EngineError("Cannot open file \"" + path + "\"");
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EngineError("Cannot read file \"" + path + "\"");
    return bytes;
}

void saveBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw EngineError("Cannot create file \"" + path + "\"");
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        plat::DeleteFile(path);
        throw EngineError("Cannot write file \"" + path + "\"");
    }
}

} // namespace

// ---- Base ----

TScrBaseParamsFile::~TScrBaseParamsFile() {
    try {
        if (Store.IsOpen()) TScrBaseParamsFile::CloseParamsFile(true);
    } catch (const std::exception&) {
        // Nothing sensible is left to do for a close that fails while the object goes away.
    }
}

void TScrBaseParamsFile::SaveVariant(TDBParams&) {}
void TScrBaseParamsFile::LoadVariant(TDBParams&) {}

void TScrBaseParamsFile::CloseParamsFile(bool DeleteTemps) {
    if (DeleteTemps)
        for (const std::string& f : TempFiles)
            if (!f.empty() && plat::FileExists(f)) plat::DeleteFile(f);
    Store.Close();
}

void TScrBaseParamsFile::CreateParamsFile(const std::string& FileName) {
    Store.ProcessValues = ProcessValues;
    Store.Password = kScrFilePassword;
    Store.Open(FileName);
}

void TScrBaseParamsFile::OpenParamsFile(const std::string& FileName) {
    if (!plat::FileExists(FileName) || Store.IsOpen()) return;
    Store.Password = kScrFilePassword;
    Store.Open(FileName);
}

bool TScrBaseParamsFile::PictureToJpeg(const std::string& FileName, int32_t Kind,
                                       std::vector<uint8_t>& Stream) {
    if (JpegQuality < 80 || JpegQuality > 95) JpegQuality = 90;
    if (Kind < pkWallpaper || Kind > pkBanner)
        throw EngineError("Unknown picture kind " + std::to_string(Kind) + " for \"" + FileName + "\"");
    plat::Bitmap picture = LoadPicture(FileName);
    picture.SetTransparent(false);
    if (Kind == pkSplash) {
        Stream = EncodeJpeg(picture, JpegQuality);
        return true;
    }
    static constexpr plat::Size kTargets[] = {{0, 0}, {160, 120}, {152, 122}, {0, 0}, {350, 50}};
    plat::Size size = Kind == pkWallpaper ? plat::Size{picture.Width(), picture.Height()} : kTargets[Kind];
    Stream.clear();
    plat::Bitmap target(size.Width, size.Height);
    if (Kind != pkWallpaper && size.Width < picture.Width() && size.Height < picture.Height()) {
        TAntiAlias antiAlias;
        ReduceAntiAliased(antiAlias, picture, target);
    } else {
        plat::Canvas(target).StretchDraw({0, 0, size.Width, size.Height}, picture);
    }
    Stream = EncodeJpeg(target, JpegQuality);
    return true;
}

bool TScrBaseParamsFile::SaveCommon() {
    const TControlSetting& c = ControlSetting;
    Store.WriteBool("Control", "RestByKey", c.RestoreNormalKey);
    Store.WriteBool("Control", "RestByMouse", c.RestoreMouse);
    Store.WriteInteger("Control", "MouseSensitvity", c.MouseSensitvity);
    Store.WriteBool("Control", "AutoAdjust", c.AutoAdjust);
    Store.WriteBool("Version", "CanModifyParams", EditorInfo.CanModifyParams);
    Store.WriteString("Version", "Editor", EditorInfo.Editor);
    Store.WriteString("Version", "Version", EditorInfo.Version);
    Store.WriteString("Basic", "Name", ScrInfo.Name);
    Store.WriteString("Basic", "Author", ScrInfo.Author);
    Store.WriteString("Basic", "Copyright", ScrInfo.Copyright);
    Store.WriteString("Basic", "Website", ScrInfo.Web);
    Store.WriteString("Basic", "Email", ScrInfo.Email);
    Store.WriteString("Basic", "Readme", ScrInfo.Readme);
    if (plat::FileExists(ScrInfo.AuthorPhoto)) {
        std::vector<uint8_t> jpeg;
        PictureToJpeg(ScrInfo.AuthorPhoto, pkAuthorPhoto, jpeg);
        Store.WriteStream("Basic", "AuthorPhoto", jpeg);
    }
    Store.WriteBool("Control", "UseSetting", c.UseSetting);
    Store.WriteBool("Control", "ShowMouseCursor", c.ShowMouseCursor);
    Store.WriteBool("Control", "AllowMouseEvent", c.AllowMouseEvent);

    const TScreenSaverInterface& i = InterfaceSetting;
    if (i.UsePreview && plat::FileExists(i.PreviewMediaFile)) {
        Store.WriteBool("Interface", "ShowAuthorName", i.ShowAuthorName);
        Store.WriteBool("Interface", "ShowScrName", i.ShowScrName);
        Store.WriteInteger("Interface", "PreviewType", i.PreviewType);
        if (i.PreviewType == 0) {
            std::vector<uint8_t> jpeg;
            PictureToJpeg(i.PreviewMediaFile, pkPreview, jpeg);
            Store.WriteStream("Interface", "PreviewMediaFile", jpeg);
        } else if (i.PreviewType == 1) {
            Store.WriteStream("Interface", "PreviewMediaFile", fileBytes(i.PreviewMediaFile));
        }
    }

    const TInternetBanner& b = InternetBanner;
    if (b.UseInternetBanner && plat::FileExists(b.BannerImage)) {
        Store.WriteString("InternetBanner", "BannerTip", b.BannerTip);
        Store.WriteString("InternetBanner", "BannerURL", b.BannerURL);
        std::vector<uint8_t> jpeg;
        PictureToJpeg(b.BannerImage, pkBanner, jpeg);
        Store.WriteStream("InternetBanner", "Banner", jpeg);
    }

    const TPlayerLogo& l = PlayerLogo;
    if (l.Customize && plat::FileExists(l.LogoPic_Nor)) {
        Store.WriteBool("PlayerLogo", "Customize", l.Customize);
        Store.WriteBool("PlayerLogo", "EnableTran", l.EnableTran);
        Store.WriteInteger("PlayerLogo", "OnClickMode", l.OnClickMode);
        Store.WriteString("PlayerLogo", "LogoHint", l.LogoHint);
        Store.WriteString("PlayerLogo", "LogoComments", l.LogoComments);
        Store.WriteStream("PlayerLogo", "LogoPic_Nor", fileBytes(l.LogoPic_Nor));
        if (plat::FileExists(l.LogoPic_In))
            Store.WriteStream("PlayerLogo", "LogoPic_In", fileBytes(l.LogoPic_In));
        if (plat::FileExists(l.LogoPic_Clk))
            Store.WriteStream("PlayerLogo", "LogoPic_Clk", fileBytes(l.LogoPic_Clk));
    }
    SaveVariant(Store);
    return true;
}

// ---- Slideshow ----

void TScrPcvParamsFile::SaveVariant(TDBParams& S) {
    S.WriteInteger("Images", "Count", ImageCount);
    S.WriteInteger("Images", "IntervalMode", ImageSetting.IntervalMode);
    S.WriteInteger("Images", "Interval", ImageSetting.Interval);
    S.WriteInteger("Images", "OrderMode", ImageSetting.OrderMode);
    S.WriteBool("Images", "ClearOldImage", ImageSetting.ClearOldImage);
    S.WriteInteger("Music", "Count", MusicCount);
    S.WriteBool("Music", "MuteSound", MusicSetting.MuteSound);
    S.WriteInteger("Music", "PlayMode", MusicSetting.PlayMode);
    S.WriteInteger("Music", "OrderMode", MusicSetting.OrderMode);
    S.WriteInteger("Music", "Pause", MusicSetting.Pause);
    S.WriteBool("Music", "IsLoop", MusicSetting.IsLoop);
    S.WriteInteger("Effect", "EffectMode", Effect.EffectMode);
    S.WriteString("Effect", "CustomEffect", Effect.CustomEffect);
    S.WriteInteger("Effect", "OrderMode", Effect.OrderMode);
    S.WriteInteger("Effect", "EffectStep", Effect.EffectStep);
    S.WriteInteger("Effect", "EffectDelay", Effect.EffectDelay);
    S.WriteInteger("Images", "Width", Width);
    S.WriteInteger("Images", "Height", Height);
    if (SplashScreen.UseSplashScreen) {
        S.WriteInteger("SplashScreen", "Interval", SplashScreen.SplashScreenInterval);
        S.WriteInteger("SplashScreen", "TransformID", SplashScreen.SplashTransformID);
        if (plat::FileExists(SplashScreen.SplashScreenSound)) {
            S.WriteString("SplashScreen", "SplashSoundFilename",
                          PackageNamePart(SplashScreen.SplashScreenSound));
            S.WriteFile("SplashScreen", SplashScreen.SplashScreenSound);
        }
        if (plat::FileExists(SplashScreen.SplashScreen)) {
            std::vector<uint8_t> jpeg;
            PictureToJpeg(SplashScreen.SplashScreen, pkSplash, jpeg);
            S.WriteStream("SplashScreen", "SplashFile", jpeg);
        }
    }
    S.WriteInteger("Background", "BackgroundMode", Background.BackgroundMode);
    S.WriteInteger("Background", "BackgroundColor", Background.BackgroundColor);
    if (Background.BackgroundMode == 1) {
        std::vector<uint8_t> jpeg;
        PictureToJpeg(Background.ImageFile, pkWallpaper, jpeg);
        S.WriteStream("Background", "ImageWallpaper", jpeg);
        S.WriteInteger("Background", "WallpaperMode", Background.ImageWallpaperMode);
    } else if (Background.BackgroundMode == 2) {
        S.WriteInteger("Background", "GradientDirection", Background.GradientDirection);
        S.WriteInteger("Background", "GradientColor_01", Background.GradientColor_01);
        S.WriteInteger("Background", "GradientColor_02", Background.GradientColor_02);
    }
}

void TScrPcvParamsFile::LoadVariant(TDBParams& S) {
    ImageCount = S.ReadInteger("Images", "Count", 0);
    ImageSetting.IntervalMode = S.ReadInteger("Images", "IntervalMode", 0);
    ImageSetting.Interval = S.ReadInteger("Images", "Interval", 2);
    ImageSetting.OrderMode = S.ReadInteger("Images", "OrderMode", 0);
    ImageSetting.ClearOldImage = S.ReadBool("Images", "ClearOldImage", false);
    Width = S.ReadInteger("Images", "Width", 800);
    Height = S.ReadInteger("Images", "Height", 600);
    MusicCount = S.ReadInteger("Music", "Count", 0);
    MusicSetting.MuteSound = S.ReadBool("Music", "MuteSound", true);
    MusicSetting.PlayMode = S.ReadInteger("Music", "PlayMode", 0);
    MusicSetting.OrderMode = S.ReadInteger("Music", "OrderMode", 0);
    MusicSetting.Pause = S.ReadInteger("Music", "Pause", 5);
    MusicSetting.IsLoop = S.ReadBool("Music", "IsLoop", true);
    Effect.EffectMode = S.ReadInteger("Effect", "EffectMode", 1);
    Effect.CustomEffect = S.ReadString("Effect", "CustomEffect", "");
    Effect.OrderMode = S.ReadInteger("Effect", "OrderMode", 1);
    Effect.EffectStep = S.ReadInteger("Effect", "EffectStep", 4);
    Effect.EffectDelay = S.ReadInteger("Effect", "EffectDelay", 40);

    // Only files written here are recorded as temporaries, so closing with deletion can never
    // remove a picture or sound that belongs to someone else.
    TempFiles[3].clear(), TempFiles[4].clear(), TempFiles[5].clear();
    std::vector<uint8_t> bytes;
    SplashScreen.UseSplashScreen = S.ReadStream("SplashScreen", "SplashFile", bytes);
    SplashScreen.SplashScreen.clear();
    if (SplashScreen.UseSplashScreen) {
        SplashScreen.SplashScreen = TempFolder + "Splash.jpg";
        saveBytes(SplashScreen.SplashScreen, bytes);
        TempFiles[4] = SplashScreen.SplashScreen;
    }
    SplashScreen.SplashScreenInterval = S.ReadInteger("SplashScreen", "Interval", 5);
    SplashScreen.SplashTransformID = S.ReadInteger("SplashScreen", "TransformID", -1);
    SplashScreen.SplashScreenSound.clear();
    std::string sound = S.ReadString("SplashScreen", "SplashSoundFilename", "");
    if (!sound.empty()) {
        // The name becomes a file in TempFolder: one from a hostile database must not leave it.
        if (std::string why = UnsafeMemberName(sound); !why.empty())
            throw EngineError("The splash sound file name '" + sound + "' is refused: " + why);
        S.ReadFile("SplashScreen", sound, SplashScreen.SplashScreenSound, TempFolder);
        TempFiles[5] = SplashScreen.SplashScreenSound;
    }

    Background.BackgroundMode = S.ReadInteger("Background", "BackgroundMode", 0);
    Background.BackgroundColor = S.ReadInteger("Background", "BackgroundColor", 0);
    Background.ImageFile.clear();
    if (Background.BackgroundMode == 1) {
        if (S.ReadStream("Background", "ImageWallpaper", bytes)) {
            Background.ImageFile = TempFolder + "ScrBg.jpg";
            saveBytes(Background.ImageFile, bytes);
            TempFiles[3] = Background.ImageFile;
        }
        Background.ImageWallpaperMode = S.ReadInteger("Background", "WallpaperMode", 0);
    } else if (Background.BackgroundMode == 2) {
        Background.GradientDirection = S.ReadInteger("Background", "GradientDirection", 2);
        Background.GradientColor_01 = S.ReadInteger("Background", "GradientColor_01", 0);
        Background.GradientColor_02 = S.ReadInteger("Background", "GradientColor_02", 0xFF8080);
    }
}

// ---- Flash ----

void TScrVcvParamsFile::SaveVariant(TDBParams& S) {
    S.WriteInteger("Flashs", "Count", FlashCount);
    S.WriteInteger("Flashs", "OrderMode", FlashSetting.OrderMode);
    S.WriteInteger("Flashs", "ScaleMode", FlashSetting.ScaleMode);
    S.WriteInteger("Flashs", "Quality", FlashSetting.Quality);
    S.WriteString("Flashs", "DefBgcolor", FlashSetting.DefBackgroundColor);
}

void TScrVcvParamsFile::LoadVariant(TDBParams& S) {
    FlashSetting.OrderMode = S.ReadInteger("Flashs", "OrderMode", 0);
    FlashSetting.ScaleMode = S.ReadInteger("Flashs", "ScaleMode", 0);
    FlashSetting.Quality = S.ReadInteger("Flashs", "Quality", 1);
    FlashSetting.DefBackgroundColor = S.ReadString("Flashs", "DefBgcolor", "000000");
    FlashCount = S.ReadInteger("Flashs", "Count", 0);
}

} // namespace somnex
