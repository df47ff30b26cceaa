// What the parameter database holds after a build wrote it, and what reading it back restores.
#include "engine/compiler/Unit_ScrFileObj.h"
#include "engine/decoders/JpegCodec.h"
#include "platform/raster/BitmapFile.h"
#include "somnex/EngineError.h"
#include "tests/compiler/TempDir.h"

#include <gtest/gtest.h>

namespace {

using namespace somnex;
namespace fs = std::filesystem;

struct Row {
    std::string section, key, value;
};

// Every record in the order it was written.
std::vector<Row> rows(TTinyDBParams& store) {
    std::vector<Row> out;
    TTinyTable& t = store.Table();
    t.SetFiltered(false);
    for (t.First(); !t.Eof(); t.Next())
        out.push_back({t.FieldByName("Section").AsString(), t.FieldByName("Key").AsString(),
                       t.FieldByName("Value").AsString()});
    return out;
}

std::vector<std::string> keys(const std::vector<Row>& rs) {
    std::vector<std::string> out;
    for (const Row& r : rs) out.push_back(r.section + "/" + r.key);
    return out;
}

const Row* find(const std::vector<Row>& rs, const std::string& section, const std::string& key) {
    for (const Row& r : rs)
        if (r.section == section && r.key == key) return &r;
    return nullptr;
}

plat::Size jpegSize(const std::string& bytes) {
    plat::Bitmap b =
        DecodeJpegScaled(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), "jpeg", 0, 0);
    return {b.Width(), b.Height()};
}

// The quantisation tables: they depend on the quality alone.
std::string quantTables(const std::string& jpeg) {
    std::string out;
    for (size_t at = 2; at + 4 <= jpeg.size();) {
        if (uint8_t(jpeg[at]) != 0xFF) break;
        uint8_t marker = uint8_t(jpeg[at + 1]);
        size_t len = size_t(uint8_t(jpeg[at + 2])) << 8 | uint8_t(jpeg[at + 3]);
        if (marker == 0xDB) out += jpeg.substr(at + 4, len - 2);
        if (marker == 0xDA) break;
        at += 2 + len;
    }
    return out;
}

std::string jpegAtQuality(int quality) {
    plat::Bitmap b(16, 16);
    std::vector<uint8_t> bytes = EncodeJpeg(b, quality);
    return std::string(bytes.begin(), bytes.end());
}

class ParamsFileTest : public ::testing::Test {
protected:
    std::string picture(const std::string& name, int w, int h) {
        plat::Bitmap b(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                b.SetPixel(x, y, plat::Color(((x * 7) & 0xFF) | ((y * 3) & 0xFF) << 8));
        plat::SaveBitmapFile(b, dir.file(name));
        return dir.file(name);
    }
    std::string file(const std::string& name, const std::string& bytes) {
        writeAll(dir.file(name), bytes);
        return dir.file(name);
    }
    std::vector<Row> save(TScrBaseParamsFile& p) {
        p.CreateParamsFile(dir.file("params.dat"));
        EXPECT_TRUE(p.SaveCommon());
        return rows(p.Store);
    }

    TempDir dir;
};

TEST_F(ParamsFileTest, SlideshowWithEverythingOnWritesEveryRowInOrder) {
    TScrPcvParamsFile p;
    p.JpegQuality = 85;
    p.ScrInfo.AuthorPhoto = picture("me.bmp", 100, 80);
    p.InterfaceSetting = {"", true, true, false, 0, picture("preview.bmp", 300, 300)};
    p.InternetBanner = {true, picture("banner.bmp", 700, 100), "tip", "http://x"};
    p.PlayerLogo = {true, file("nor.png", "N"), file("in.png", "I"), file("clk.png", "C"), true, 2, "h", "c"};
    p.SplashScreen = {true, picture("Splash.bmp", 40, 30), 7, 9, file("chime.wav", "RIFFwav")};
    p.Background.BackgroundMode = 1;
    p.Background.ImageFile = picture("wall.bmp", 33, 22);

    std::vector<Row> rs = save(p);
    EXPECT_EQ(keys(rs), (std::vector<std::string>{"CONTROL/RESTBYKEY",
                                                  "CONTROL/RESTBYMOUSE",
                                                  "CONTROL/MOUSESENSITVITY",
                                                  "CONTROL/AUTOADJUST",
                                                  "VERSION/CANMODIFYPARAMS",
                                                  "VERSION/EDITOR",
                                                  "VERSION/VERSION",
                                                  "BASIC/NAME",
                                                  "BASIC/AUTHOR",
                                                  "BASIC/COPYRIGHT",
                                                  "BASIC/WEBSITE",
                                                  "BASIC/EMAIL",
                                                  "BASIC/README",
                                                  "BASIC/AUTHORPHOTO",
                                                  "CONTROL/USESETTING",
                                                  "CONTROL/SHOWMOUSECURSOR",
                                                  "CONTROL/ALLOWMOUSEEVENT",
                                                  "INTERFACE/SHOWAUTHORNAME",
                                                  "INTERFACE/SHOWSCRNAME",
                                                  "INTERFACE/PREVIEWTYPE",
                                                  "INTERFACE/PREVIEWMEDIAFILE",
                                                  "INTERNETBANNER/BANNERTIP",
                                                  "INTERNETBANNER/BANNERURL",
                                                  "INTERNETBANNER/BANNER",
                                                  "PLAYERLOGO/CUSTOMIZE",
                                                  "PLAYERLOGO/ENABLETRAN",
                                                  "PLAYERLOGO/ONCLICKMODE",
                                                  "PLAYERLOGO/LOGOHINT",
                                                  "PLAYERLOGO/LOGOCOMMENTS",
                                                  "PLAYERLOGO/LOGOPIC_NOR",
                                                  "PLAYERLOGO/LOGOPIC_IN",
                                                  "PLAYERLOGO/LOGOPIC_CLK",
                                                  "IMAGES/COUNT",
                                                  "IMAGES/INTERVALMODE",
                                                  "IMAGES/INTERVAL",
                                                  "IMAGES/ORDERMODE",
                                                  "IMAGES/CLEAROLDIMAGE",
                                                  "MUSIC/COUNT",
                                                  "MUSIC/MUTESOUND",
                                                  "MUSIC/PLAYMODE",
                                                  "MUSIC/ORDERMODE",
                                                  "MUSIC/PAUSE",
                                                  "MUSIC/ISLOOP",
                                                  "EFFECT/EFFECTMODE",
                                                  "EFFECT/CUSTOMEFFECT",
                                                  "EFFECT/ORDERMODE",
                                                  "EFFECT/EFFECTSTEP",
                                                  "EFFECT/EFFECTDELAY",
                                                  "IMAGES/WIDTH",
                                                  "IMAGES/HEIGHT",
                                                  "SPLASHSCREEN/INTERVAL",
                                                  "SPLASHSCREEN/TRANSFORMID",
                                                  "SPLASHSCREEN/SPLASHSOUNDFILENAME",
                                                  "SPLASHSCREEN/CHIME.WAV",
                                                  "SPLASHSCREEN/SPLASHFILE",
                                                  "BACKGROUND/BACKGROUNDMODE",
                                                  "BACKGROUND/BACKGROUNDCOLOR",
                                                  "BACKGROUND/IMAGEWALLPAPER",
                                                  "BACKGROUND/WALLPAPERMODE"}));
    EXPECT_EQ(find(rs, "SPLASHSCREEN", "SPLASHSOUNDFILENAME")->value, "chime.wav");
    EXPECT_EQ(find(rs, "SPLASHSCREEN", "CHIME.WAV")->value, "RIFFwav");
    EXPECT_EQ(find(rs, "PLAYERLOGO", "LOGOPIC_CLK")->value, "C");
    EXPECT_EQ(find(rs, "SPLASHSCREEN", "INTERVAL")->value, "9");
    EXPECT_EQ(jpegSize(find(rs, "INTERFACE", "PREVIEWMEDIAFILE")->value), (plat::Size{152, 122}));
    EXPECT_EQ(jpegSize(find(rs, "INTERNETBANNER", "BANNER")->value), (plat::Size{350, 50}));
    EXPECT_EQ(jpegSize(find(rs, "SPLASHSCREEN", "SPLASHFILE")->value), (plat::Size{40, 30}));
    EXPECT_EQ(jpegSize(find(rs, "BACKGROUND", "IMAGEWALLPAPER")->value), (plat::Size{33, 22}));
    EXPECT_EQ(quantTables(find(rs, "BASIC", "AUTHORPHOTO")->value), quantTables(jpegAtQuality(85)));
}

TEST_F(ParamsFileTest, MutedMusicStillWritesItsSectionWithCountZero) {
    TScrPcvParamsFile p;
    p.MusicSetting.MuteSound = true;
    std::vector<Row> rs = save(p);
    EXPECT_EQ(find(rs, "MUSIC", "COUNT")->value, "0");
    EXPECT_EQ(find(rs, "MUSIC", "MUTESOUND")->value, "1");
    EXPECT_EQ(find(rs, "SPLASHSCREEN", "INTERVAL"), nullptr);
    EXPECT_EQ(find(rs, "BACKGROUND", "GRADIENTDIRECTION"), nullptr);
}

TEST_F(ParamsFileTest, GradientBackgroundWritesItsThreeKeys) {
    TScrPcvParamsFile p;
    p.Background = {2, 0x123456, 3, 0xFF, 0xFF00, 0, ""};
    std::vector<Row> rs = save(p);
    EXPECT_EQ(find(rs, "BACKGROUND", "GRADIENTCOLOR_02")->value, std::to_string(0xFF00));
    EXPECT_EQ(find(rs, "BACKGROUND", "IMAGEWALLPAPER"), nullptr);
}

TEST_F(ParamsFileTest, MissingWallpaperStopsTheBuild) {
    TScrPcvParamsFile p;
    p.Background.BackgroundMode = 1;
    p.Background.ImageFile = dir.file("none.bmp");
    p.CreateParamsFile(dir.file("params.dat"));
    EXPECT_THROW(p.SaveCommon(), EngineError);
}

struct QualityCase {
    int32_t given, used;
};

class JpegQualityCorrection : public ParamsFileTest, public ::testing::WithParamInterface<QualityCase> {};

TEST_P(JpegQualityCorrection, OutsideEightyToNinetyFiveBecomesNinety) {
    TScrVcvParamsFile p;
    p.JpegQuality = GetParam().given;
    p.ScrInfo.AuthorPhoto = picture("me.bmp", 50, 50);
    std::vector<Row> rs = save(p);
    EXPECT_EQ(p.JpegQuality, GetParam().used);
    EXPECT_EQ(quantTables(find(rs, "BASIC", "AUTHORPHOTO")->value),
              quantTables(jpegAtQuality(GetParam().used)));
}

INSTANTIATE_TEST_SUITE_P(Qualities, JpegQualityCorrection,
                         ::testing::Values(QualityCase{75, 90}, QualityCase{85, 85}, QualityCase{0, 90},
                                           QualityCase{80, 80}, QualityCase{95, 95}, QualityCase{96, 90}));

struct PhotoCase {
    int w, h;
    bool supersampled;
};

class AuthorPhotoSize : public ParamsFileTest, public ::testing::WithParamInterface<PhotoCase> {};

TEST_P(AuthorPhotoSize, FillsOneSixtyByOneTwentyAndSupersamplesOnlyWhenLargerBothWays) {
    // Alternating one-pixel columns: supersampling averages them to grey, a stretch keeps pure
    // black or white.
    plat::Bitmap b(GetParam().w, GetParam().h);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, x % 2 ? 0xFFFFFF : 0);
    plat::SaveBitmapFile(b, dir.file("me.bmp"));
    TScrBaseParamsFile p;
    p.JpegQuality = 95;
    std::vector<uint8_t> jpeg;
    ASSERT_TRUE(p.PictureToJpeg(dir.file("me.bmp"), pkAuthorPhoto, jpeg));
    plat::Bitmap out = DecodeJpegScaled(jpeg.data(), jpeg.size(), "photo", 0, 0);
    ASSERT_EQ(out.Width(), 160);
    ASSERT_EQ(out.Height(), 120);
    int grey = 0;
    for (int x = 20; x < 140; ++x) {
        int g = int((out.Pixel(x, 60) >> 8) & 0xFF);
        grey += g > 64 && g < 192;
    }
    if (GetParam().supersampled)
        EXPECT_GT(grey, 100);
    else
        EXPECT_LT(grey, 60);
}

INSTANTIATE_TEST_SUITE_P(Sizes, AuthorPhotoSize,
                         ::testing::Values(PhotoCase{100, 80, false}, PhotoCase{1600, 1200, true},
                                           PhotoCase{1600, 100, false}));

TEST_F(ParamsFileTest, PreviewTypeTwoWritesTheFlagsButNoMedia) {
    TScrVcvParamsFile p;
    p.InterfaceSetting = {"", true, true, true, 2, file("movie.swf", "FWS")};
    std::vector<Row> rs = save(p);
    EXPECT_EQ(find(rs, "INTERFACE", "PREVIEWTYPE")->value, "2");
    EXPECT_NE(find(rs, "INTERFACE", "SHOWSCRNAME"), nullptr);
    EXPECT_EQ(find(rs, "INTERFACE", "PREVIEWMEDIAFILE"), nullptr);
}

TEST_F(ParamsFileTest, PreviewTypeOneStoresTheFileUnchanged) {
    TScrVcvParamsFile p;
    p.InterfaceSetting = {"", true, false, false, 1, file("movie.swf", "FWS\x01\x02")};
    EXPECT_EQ(find(save(p), "INTERFACE", "PREVIEWMEDIAFILE")->value, "FWS\x01\x02");
}

TEST_F(ParamsFileTest, SectionsWhoseFileIsMissingAreLeftOut) {
    TScrVcvParamsFile p;
    p.InterfaceSetting = {"", true, true, true, 0, dir.file("none.bmp")};
    p.InternetBanner = {true, dir.file("none.bmp"), "tip", "url"};
    // The other two logo pictures exist, but without the normal one there is no logo.
    p.PlayerLogo = {true, dir.file("none.png"), file("in.png", "I"), file("clk.png", "C"), true, 1, "h", "c"};
    p.ScrInfo.AuthorPhoto = dir.file("none.bmp");
    std::vector<Row> rs = save(p);
    for (const Row& r : rs) {
        EXPECT_NE(r.section, "INTERFACE");
        EXPECT_NE(r.section, "INTERNETBANNER");
        EXPECT_NE(r.section, "PLAYERLOGO");
        EXPECT_NE(r.key, "AUTHORPHOTO");
    }
    EXPECT_EQ(keys(rs).back(), "FLASHS/DEFBGCOLOR");
}

TEST_F(ParamsFileTest, DatabaseIsCreatedWithThePasswordAndComment) {
    TScrVcvParamsFile p;
    p.CreateParamsFile(dir.file("params.dat"));
    p.CloseParamsFile(false);
    TTinyDatabase db;
    db.SetFileName(dir.file("params.dat"));
    db.SetPassword("TORVALQUINE");
    EXPECT_EQ(db.Comment(), "Brindlewood DBParamsFile");
    db.Disconnect();

    TScrVcvParamsFile again;
    again.OpenParamsFile(dir.file("params.dat"));
    EXPECT_TRUE(again.Store.IsOpen());
    TScrVcvParamsFile missing;
    missing.OpenParamsFile(dir.file("other.dat"));
    EXPECT_FALSE(missing.Store.IsOpen());
    EXPECT_FALSE(fs::exists(dir.file("other.dat")));
}

TEST_F(ParamsFileTest, LoadVariantOfAnEmptyDatabaseGivesTheDefaults) {
    TScrPcvParamsFile p;
    p.CreateParamsFile(dir.file("params.dat"));
    p.TempFolder = dir.folder();
    p.SplashScreen.SplashScreen = picture("mine.bmp", 2, 2);
    p.LoadVariant(p.Store);
    EXPECT_EQ(p.Width, 800);
    EXPECT_EQ(p.Height, 600);
    EXPECT_EQ(p.ImageSetting.Interval, 2);
    EXPECT_TRUE(p.MusicSetting.MuteSound);
    EXPECT_TRUE(p.MusicSetting.IsLoop);
    EXPECT_EQ(p.MusicSetting.Pause, 5);
    EXPECT_EQ(p.Effect.EffectMode, 1);
    EXPECT_EQ(p.Effect.OrderMode, 1);
    EXPECT_EQ(p.Effect.EffectStep, 4);
    EXPECT_EQ(p.Effect.EffectDelay, 40);
    EXPECT_FALSE(p.SplashScreen.UseSplashScreen);
    EXPECT_EQ(p.SplashScreen.SplashScreenInterval, 5);
    EXPECT_EQ(p.SplashScreen.SplashTransformID, -1);
    // A picture that LoadVariant did not write is never taken for a temporary.
    p.CloseParamsFile(true);
    EXPECT_TRUE(fs::exists(dir.file("mine.bmp")));

    TScrVcvParamsFile v;
    v.CreateParamsFile(dir.file("flash.dat"));
    v.LoadVariant(v.Store);
    EXPECT_EQ(v.FlashSetting.Quality, 1);
    EXPECT_EQ(v.FlashSetting.DefBackgroundColor, "000000");
}

TEST_F(ParamsFileTest, LoadVariantRestoresTheFilesAsTemporariesAndCloseDeletesThem) {
    fs::create_directories(dir.path / "tmp");
    {
        TScrPcvParamsFile p;
        p.SplashScreen = {true, picture("Splash.bmp", 8, 8), 3, 6, file("chime.wav", "RIFF")};
        p.Background = {1, 0, 0, 0, 0, 2, picture("wall.bmp", 8, 8)};
        save(p);
        p.CloseParamsFile(false);
    }
    TScrPcvParamsFile p;
    p.TempFolder = dir.folder() + "tmp/";
    p.OpenParamsFile(dir.file("params.dat"));
    p.LoadVariant(p.Store);
    EXPECT_TRUE(p.SplashScreen.UseSplashScreen);
    EXPECT_EQ(p.SplashScreen.SplashScreen, p.TempFolder + "Splash.jpg");
    EXPECT_EQ(p.SplashScreen.SplashScreenSound, p.TempFolder + "chime.wav");
    EXPECT_EQ(p.SplashScreen.SplashTransformID, 3);
    EXPECT_EQ(p.Background.ImageFile, p.TempFolder + "ScrBg.jpg");
    EXPECT_EQ(p.Background.ImageWallpaperMode, 2);
    EXPECT_EQ(p.TempFiles[3], p.Background.ImageFile);
    EXPECT_EQ(p.TempFiles[4], p.SplashScreen.SplashScreen);
    EXPECT_EQ(p.TempFiles[5], p.SplashScreen.SplashScreenSound);
    EXPECT_EQ(readAll(p.SplashScreen.SplashScreenSound), "RIFF");
    EXPECT_EQ(jpegSize(readAll(p.SplashScreen.SplashScreen)), (plat::Size{8, 8}));
    p.CloseParamsFile(true);
    EXPECT_TRUE(fs::is_empty(dir.path / "tmp"));
}

TEST_F(ParamsFileTest, GradientDefaultsWhenOnlyTheModeIsStored) {
    TScrPcvParamsFile p;
    p.CreateParamsFile(dir.file("params.dat"));
    p.Store.WriteInteger("Background", "BackgroundMode", 2);
    p.LoadVariant(p.Store);
    EXPECT_EQ(p.Background.GradientDirection, 2);
    EXPECT_EQ(p.Background.GradientColor_02, 0xFF8080);
}

TEST_F(ParamsFileTest, SplashSoundNameThatWouldLeaveTheTempFolderIsRefused) {
    fs::create_directories(dir.path / "tmp");
    TScrPcvParamsFile p;
    p.TempFolder = dir.folder() + "tmp/";
    p.CreateParamsFile(dir.file("params.dat"));
    p.Store.WriteString("SplashScreen", "SplashSoundFilename", "../evil.wav");
    p.Store.WriteStream("SplashScreen", "../evil.wav", {'x'});
    EXPECT_THROW(p.LoadVariant(p.Store), EngineError);
    EXPECT_FALSE(fs::exists(dir.file("evil.wav")));
}

} // namespace
