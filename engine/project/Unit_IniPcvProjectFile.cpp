#include "engine/project/Unit_IniPcvProjectFile.h"

#include "platform/path/Path.h"
#include "shared/ini/FontText.h"
#include "shared/ini/IniText.h"
#include "somnex/EngineError.h"

namespace somnex {
namespace {

const char* SectionOf(TListKind List) {
    return List == TListKind::Images ? "Images" : "Music";
}

std::string ImageKey(int32_t Index) {
    return "Image" + std::to_string(Index);
}

[[noreturn]] void OutOfBounds(size_t Index) {
    throw EngineError("List index out of bounds (" + std::to_string(Index) + ")");
}

uint8_t LowByte(const std::string& Text) {
    return uint8_t(StrToInt(Text) & 0xFF);
}

int32_t InRange(int32_t Value, int32_t Low, int32_t High) {
    return Value < Low || Value > High ? 0 : Value;
}

} // namespace

std::string TIniPCVProjectFile::Separator() const {
    return FileInfo.Version < "1.4" ? "|" : "\x15";
}

int32_t TIniPCVProjectFile::GetListCount(TListKind List) const {
    return Ini().ReadInteger(SectionOf(List), "Count", 0);
}

void TIniPCVProjectFile::SetListCount(TListKind List, int32_t N) {
    Ini().WriteInteger(SectionOf(List), "Count", N);
}

void TIniPCVProjectFile::ReadImage(int32_t Index, TImageRec& Rec) const {
    std::vector<std::string> f = SplitToList(Ini().ReadString("Images", ImageKey(Index), ""), Separator());
    if (FileInfo.Version < "2.0") return ReadOlderImage(f, Rec);
    if (f.size() < 18) OutOfBounds(f.size());
    const std::string cwd = plat::GetCurrentFolder();
    Rec.FileName = ExpandPath(f[0], cwd);
    Rec.Caption = BrToLineBreaks(f[1]);
    Rec.CaptionFont = f[2];
    Rec.CaptionAlign = StrToInt(f[3]);
    Rec.CaptionPos = StrToInt(f[4]);
    Rec.OverlayMode = StrToInt(f[5]);
    Rec.OverlayFile = ExpandPath(f[6], cwd);
    Rec.Transparent = LowByte(f[7]) != 0;
    Rec.MaskFile = ExpandPath(f[8], cwd);
    Rec.Opacity = LowByte(f[9]);
    Rec.LogoPos = StrToInt(f[10]);
    Rec.LogoFile = ExpandPath(f[11], cwd);
    Rec.LogoAlpha = LowByte(f[12]);
    Rec.LogoTransform = StrToInt(f[13]);
    Rec.Interval = StrToInt(f[14]);
    Rec.TransformID = StrToInt(f[15]);
    Rec.EffectStep = StrToInt(f[16]);
    Rec.EffectDelay = StrToInt(f[17]);
}

void TIniPCVProjectFile::ReadOlderImage(const std::vector<std::string>& f, TImageRec& Rec) const {
    const size_t n = f.size();
    if (n < 9) OutOfBounds(n);
    Rec.Caption = BrToLineBreaks(f[0]);
    Rec.FileName = ExpandPath(f[1]);
    TFontInfo font;
    font.Name = f[2];
    font.Size = StrToInt(f[3]);
    font.Color = StrToInt(f[4]);
    font.Bold = f[5] != "0";
    font.Italic = f[6] != "0";
    font.Underline = f[7] != "0";
    font.StrikeOut = f[8] != "0";
    Rec.CaptionFont = FontToText(font, true);
    Rec.Transparent = n >= 12 && LowByte(f[9]) != 0;
    Rec.MaskFile = n >= 12 ? ExpandPath(f[10]) : std::string();
    Rec.Opacity = n >= 12 ? LowByte(f[11]) : uint8_t(100);
    Rec.OverlayMode = n >= 14 ? StrToInt(f[12]) : 0;
    Rec.OverlayFile = n >= 14 ? ExpandPath(f[13]) : std::string();
    Rec.CaptionAlign = n >= 15 ? InRange(StrToInt(f[14]), 0, 2) : 0;
    Rec.LogoPos = n > 16 ? InRange(StrToInt(f[15]), 0, 9) : 0;
    Rec.LogoFile = n > 16 ? ExpandPath(f[16]) : std::string();
    Rec.LogoAlpha = n == 18 ? LowByte(f[17]) : uint8_t(0);
    Rec.CaptionPos = -1;
    Rec.TransformID = -1;
    // Older lines predate these fields: no logo transform, the project's effect and interval.
    Rec.LogoTransform = -1;
    Rec.EffectStep = Effect.EffectStep;
    Rec.EffectDelay = Effect.EffectDelay;
    Rec.Interval = 0;
}

void TIniPCVProjectFile::WriteImage(int32_t Index, const TImageRec& Rec) {
    const std::string sep = Separator();
    std::string line;
    line.reserve(256);
    auto add = [&](const std::string& field) {
        line += field;
        line += sep;
    };
    auto num = [&](int32_t value) { add(std::to_string(value)); };
    add(MakeRelativePath(Rec.FileName));
    add(LineBreaksToBr(Rec.Caption));
    add(Rec.CaptionFont);
    num(Rec.CaptionAlign);
    num(Rec.CaptionPos);
    num(Rec.OverlayMode);
    add(MakeRelativePath(Rec.OverlayFile));
    add(Rec.Transparent ? "1" : "0");
    add(MakeRelativePath(Rec.MaskFile));
    num(Rec.Opacity);
    num(Rec.LogoPos);
    add(MakeRelativePath(Rec.LogoFile));
    num(Rec.LogoAlpha);
    num(Rec.LogoTransform);
    num(Rec.Interval);
    num(Rec.TransformID);
    num(Rec.EffectStep);
    num(Rec.EffectDelay);
    Ini().WriteString("Images", ImageKey(Index), line);
}

std::string TIniPCVProjectFile::ReadMusic(int32_t Index) const {
    return ReadPath("Music", "Music" + std::to_string(Index));
}

void TIniPCVProjectFile::WriteMusic(int32_t Index, const std::string& Path) {
    WritePath("Music", "Music" + std::to_string(Index), Path);
}

void TIniPCVProjectFile::ClearLists() {
    TIniFileEx& ini = Ini();
    if (ini.SectionExists("Images")) ini.EraseSection("Images");
    if (ini.SectionExists("Music")) ini.EraseSection("Music");
}

void TIniPCVProjectFile::ReadSettings() {
    TIniScrProject::ReadSettings();
    TIniFileEx& ini = Ini();
    TSplashScreen& s = SplashScreen;
    s.UseSplashScreen = ini.ReadBool("SplashScreen", "UseSplashScreen", false);
    s.SplashScreen = ReadPath("SplashScreen", "SplashScreen");
    s.SplashTransformID = ini.ReadInteger("SplashScreen", "SplashTransformID", 118);
    s.SplashScreenInterval = ini.ReadInteger("SplashScreen", "SplashScreenInterval", 2);
    s.SplashScreenSound = ReadPath("SplashScreen", "SplashScreenSound");

    TImageSetting& i = ImageSetting;
    i.OrderMode = ini.ReadInteger("ImageSetting", "OrderMode", 0);
    i.IntervalMode = ini.ReadInteger("ImageSetting", "IntervalMode", 0);
    i.Interval = ini.ReadInteger("ImageSetting", "Interval", 5);
    i.SizeMode = ini.ReadInteger("ImageSetting", "SizeMode", 2);
    i.CaptionPos = ini.ReadInteger("ImageSetting", "CaptionPos", 3);
    i.ImagePos = ini.ReadInteger("ImageSetting", "ImagePos", 0);
    i.ClearOldImage = ini.ReadBool("ImageSetting", "ClearOldImage", false);

    TMusicSetting& m = MusicSetting;
    m.MuteSound = ini.ReadBool("MusicSetting", "MuteSound", false);
    m.PlayMode = ini.ReadInteger("MusicSetting", "PlayMode", 0);
    m.OrderMode = ini.ReadInteger("MusicSetting", "OrderMode", 0);
    m.IsLoop = ini.ReadBool("MusicSetting", "IsLoop", true);
    m.Pause = ini.ReadInteger("MusicSetting", "Pause", 5);

    TScreenSaverBackground& b = Background;
    b.BackgroundMode = ini.ReadInteger("BackgroundSetting", "BackgroundMode", 2);
    b.BackgroundColor = ini.ReadInteger("BackgroundSetting", "BackgroundColor", 0);
    b.GradientDirection = ini.ReadInteger("BackgroundSetting", "GradientDirection", 2);
    b.GradientColor_01 = ini.ReadInteger("BackgroundSetting", "GradientColor_01", 0);
    b.GradientColor_02 = ini.ReadInteger("BackgroundSetting", "GradientColor_02", 16744576);
    b.ImageWallpaperMode = ini.ReadInteger("BackgroundSetting", "ImageWallpaperMode", 0);
    b.ImageFile = ReadPath("BackgroundSetting", "ImageFile");

    TScreensaverEffect& e = Effect;
    e.EffectMode = ini.ReadInteger("EffectSetting", "EffectMode", 1);
    e.CustomEffect = ini.ReadString("EffectSetting", "CustomEffect", "");
    e.OrderMode = ini.ReadInteger("EffectSetting", "OrderMode", 1);
    e.EffectStep = ini.ReadInteger("EffectSetting", "EffectStep", 4);
    e.EffectDelay = ini.ReadInteger("EffectSetting", "EffectDelay", 40);

    TBuildSetting& d = BuildSetting;
    d.ImageWidth = ini.ReadInteger("BuildSetting", "ImageWidth", 800);
    d.ImageHeight = ini.ReadInteger("BuildSetting", "ImageHeight", 600);
    d.ImageQuality = ini.ReadInteger("BuildSetting", "ImageQuality", 80);
    d.Compress = ini.ReadBool("BuildSetting", "Compress", true);
}

void TIniPCVProjectFile::WriteSettings() {
    TIniScrProject::WriteSettings();
    TIniFileEx& ini = Ini();
    const TSplashScreen& s = SplashScreen;
    ini.WriteBool("SplashScreen", "UseSplashScreen", s.UseSplashScreen);
    WritePath("SplashScreen", "SplashScreen", s.SplashScreen);
    ini.WriteInteger("SplashScreen", "SplashTransformID", s.SplashTransformID);
    ini.WriteInteger("SplashScreen", "SplashScreenInterval", s.SplashScreenInterval);
    WritePath("SplashScreen", "SplashScreenSound", s.SplashScreenSound);

    const TImageSetting& i = ImageSetting;
    ini.WriteInteger("ImageSetting", "OrderMode", i.OrderMode);
    ini.WriteInteger("ImageSetting", "IntervalMode", i.IntervalMode);
    ini.WriteInteger("ImageSetting", "Interval", i.Interval);
    ini.WriteInteger("ImageSetting", "SizeMode", i.SizeMode);
    ini.WriteInteger("ImageSetting", "CaptionPos", i.CaptionPos);
    ini.WriteInteger("ImageSetting", "ImagePos", i.ImagePos);
    ini.WriteBool("ImageSetting", "ClearOldImage", i.ClearOldImage);

    const TMusicSetting& m = MusicSetting;
    ini.WriteBool("MusicSetting", "MuteSound", m.MuteSound);
    ini.WriteInteger("MusicSetting", "PlayMode", m.PlayMode);
    ini.WriteInteger("MusicSetting", "OrderMode", m.OrderMode);
    ini.WriteBool("MusicSetting", "IsLoop", m.IsLoop);
    ini.WriteInteger("MusicSetting", "Pause", m.Pause);

    const TScreenSaverBackground& b = Background;
    ini.WriteInteger("BackgroundSetting", "BackgroundMode", b.BackgroundMode);
    ini.WriteInteger("BackgroundSetting", "BackgroundColor", b.BackgroundColor);
    ini.WriteInteger("BackgroundSetting", "GradientDirection", b.GradientDirection);
    ini.WriteInteger("BackgroundSetting", "GradientColor_01", b.GradientColor_01);
    ini.WriteInteger("BackgroundSetting", "GradientColor_02", b.GradientColor_02);
    ini.WriteInteger("BackgroundSetting", "ImageWallpaperMode", b.ImageWallpaperMode);
    WritePath("BackgroundSetting", "ImageFile", b.ImageFile);

    const TScreensaverEffect& e = Effect;
    ini.WriteInteger("EffectSetting", "EffectMode", e.EffectMode);
    ini.WriteString("EffectSetting", "CustomEffect", e.CustomEffect);
    ini.WriteInteger("EffectSetting", "OrderMode", e.OrderMode);
    ini.WriteInteger("EffectSetting", "EffectStep", e.EffectStep);
    ini.WriteInteger("EffectSetting", "EffectDelay", e.EffectDelay);

    const TBuildSetting& d = BuildSetting;
    ini.WriteInteger("BuildSetting", "ImageWidth", d.ImageWidth);
    ini.WriteInteger("BuildSetting", "ImageHeight", d.ImageHeight);
    ini.WriteInteger("BuildSetting", "ImageQuality", d.ImageQuality);
    ini.WriteBool("BuildSetting", "Compress", d.Compress);
}

bool TIniPCVProjectFile::IsProjectFile(const std::string& Name) {
    TIniFileEx ini(Name);
    if (ini.ReadString("FileInfo", "Version", "1.0") < "2.0") return true;
    return ini.ReadBool("FileInfo", "IsScrProject", false);
}

} // namespace somnex
