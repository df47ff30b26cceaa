#include "engine/project/Unit_IniPcvProjectFile.h"
#include "platform/path/Path.h"
#include "shared/ini/IniText.h"
#include "somnex/EngineError.h"
#include "tests/ini/TempFolder.h"

#include <gtest/gtest.h>

using namespace somnex;
using somnex::test::ReadFile;
using somnex::test::TempFolder;
using somnex::test::WriteFile;

namespace {

TImageRec FullImage(const TempFolder& dir) {
    return TImageRec{dir / "pics/sea.jpg",
                     "Line one\r\nLine two\r\nLine three",
                     "\"Arial\", 12, [Bold], [clRed]",
                     2,
                     5,
                     1,
                     dir / "over.png",
                     true,
                     "/mnt/masks/m.png",
                     200,
                     7,
                     dir / "logo.png",
                     128,
                     3,
                     11,
                     42,
                     6,
                     30};
}

// Newest lines are written here with "/" standing for the separator character 21.
std::string Newest(std::string text) {
    for (char& c : text)
        if (c == '/') c = '\x15';
    return text;
}

void ExpectSame(const TImageRec& a, const TImageRec& b) {
    EXPECT_EQ(a.FileName, b.FileName);
    EXPECT_EQ(a.Caption, b.Caption);
    EXPECT_EQ(a.CaptionFont, b.CaptionFont);
    EXPECT_EQ(a.CaptionAlign, b.CaptionAlign);
    EXPECT_EQ(a.CaptionPos, b.CaptionPos);
    EXPECT_EQ(a.OverlayMode, b.OverlayMode);
    EXPECT_EQ(a.OverlayFile, b.OverlayFile);
    EXPECT_EQ(a.Transparent, b.Transparent);
    EXPECT_EQ(a.MaskFile, b.MaskFile);
    EXPECT_EQ(a.Opacity, b.Opacity);
    EXPECT_EQ(a.LogoPos, b.LogoPos);
    EXPECT_EQ(a.LogoFile, b.LogoFile);
    EXPECT_EQ(a.LogoAlpha, b.LogoAlpha);
    EXPECT_EQ(a.LogoTransform, b.LogoTransform);
    EXPECT_EQ(a.TransformID, b.TransformID);
    EXPECT_EQ(a.EffectStep, b.EffectStep);
    EXPECT_EQ(a.EffectDelay, b.EffectDelay);
    EXPECT_EQ(a.Interval, b.Interval);
}

class PcvTest : public testing::Test {
protected:
    TempFolder dir;
    std::string file = dir / "Show.ini";
    TIniPCVProjectFile p;

    // A project of the given version whose Images section holds the given lines.
    void Open(const std::string& version, const std::vector<std::string>& lines) {
        std::string text = "[FileInfo]\r\nIsScrProject=1\r\nVersion=" + version + "\r\n[Images]\r\n";
        for (size_t i = 0; i < lines.size(); ++i)
            text += "Image" + std::to_string(i) + "=" + lines[i] + "\r\n";
        WriteFile(file, text);
        ASSERT_TRUE(p.OpenProject(file));
    }
    void TearDown() override { p.CloseProject(); }
};

TEST_F(PcvTest, PictureEntryRoundTrip) {
    p.NewProject(file);
    p.WriteProject();
    const TImageRec rec = FullImage(dir);
    p.WriteImage(0, rec);
    p.SetListCount(TListKind::Images, 1);
    const std::string text = ReadFile(file);
    EXPECT_NE(text.find("Image0=pics/sea.jpg\x15Line one<br>Line two<br>Line three\x15"), std::string::npos);
    // Interval, last in the record, is field 14 of the line.
    EXPECT_NE(text.find("\x15"
                        "3\x15"
                        "30\x15"
                        "11\x15"
                        "42\x15"
                        "6\x15\r\n"),
              std::string::npos);
    p.CloseProject();

    ASSERT_TRUE(p.OpenProject(file));
    EXPECT_EQ(p.GetListCount(TListKind::Images), 1);
    TImageRec back;
    p.ReadImage(0, back);
    ExpectSame(back, rec);
}

TEST_F(PcvTest, SettingsRoundTrip) {
    p.NewProject(file);
    p.SplashScreen = {true, dir / "splash.jpg", 7, 3, dir / "s.wav"};
    p.ImageSetting = {1, 9, 3, 4, 2, 5, true};
    p.MusicSetting = {true, 1, 1, false, 2};
    p.Background = {1, 0x123456, 3, 0x0000FF, 0x00FF00, 2, dir / "wall.jpg"};
    p.Effect = {2, "1,5,9", 0, 8, 20};
    p.BuildSetting = {1024, 768, 90, false};
    p.WriteProject();
    p.CloseProject();
    TIniPCVProjectFile q;
    ASSERT_TRUE(q.OpenProject(file));
    EXPECT_EQ(q.SplashScreen.SplashScreenSound, dir / "s.wav");
    EXPECT_EQ(q.SplashScreen.SplashTransformID, 7);
    EXPECT_EQ(q.ImageSetting.Interval, 9);
    EXPECT_EQ(q.ImageSetting.OrderMode, 2);
    EXPECT_TRUE(q.ImageSetting.ClearOldImage);
    EXPECT_EQ(q.MusicSetting.OrderMode, 1);
    EXPECT_FALSE(q.MusicSetting.IsLoop);
    EXPECT_EQ(q.Background.GradientColor_01, 0x0000FF);
    EXPECT_EQ(q.Background.ImageFile, dir / "wall.jpg");
    EXPECT_EQ(q.Effect.CustomEffect, "1,5,9");
    EXPECT_EQ(q.Effect.OrderMode, 0);
    EXPECT_EQ(q.BuildSetting.ImageHeight, 768);
    EXPECT_FALSE(q.BuildSetting.Compress);
    q.CloseProject();
}

TEST_F(PcvTest, WriteProjectClearsTheLists) {
    p.NewProject(file);
    p.WriteImage(0, FullImage(dir));
    p.SetListCount(TListKind::Images, 1);
    p.WriteMusic(0, dir / "song.mp3");
    p.SetListCount(TListKind::Music, 1);
    p.WriteProject();
    EXPECT_EQ(p.GetListCount(TListKind::Images), 0);
    EXPECT_EQ(ReadFile(file).find("[Images]"), std::string::npos);
    EXPECT_EQ(ReadFile(file).find("[Music]"), std::string::npos);
    p.WriteMusic(0, dir / "tunes/song.mp3");
    p.WriteMusic(1, "/srv/other.ogg");
    p.SetListCount(TListKind::Music, 2);
    EXPECT_NE(
        ReadFile(file).find("[Music]\r\nMusic0=tunes/song.mp3\r\nMusic1=../../srv/other.ogg\r\nCount=2\r\n"),
        std::string::npos);
    EXPECT_EQ(p.ReadMusic(0), dir / "tunes/song.mp3");
    EXPECT_EQ(p.ReadMusic(1), "/srv/other.ogg");
}

struct SeparatorCase {
    const char* version;
    const char* separator;
};

class PcvSeparatorTest : public PcvTest, public testing::WithParamInterface<SeparatorCase> {};

TEST_P(PcvSeparatorTest, WrittenAndReadAtTheVersionsSeparator) {
    Open(GetParam().version, {});
    EXPECT_EQ(p.Separator(), GetParam().separator);
    TImageRec rec = FullImage(dir);
    p.WriteImage(3, rec);
    std::string line = p.IniFile->ReadString("Images", "Image3", "");
    EXPECT_EQ(SplitToList(line, GetParam().separator).size(), 18u);
    EXPECT_EQ(line.substr(line.size() - 1), GetParam().separator);
}

INSTANTIATE_TEST_SUITE_P(Versions, PcvSeparatorTest,
                         testing::Values(SeparatorCase{"1.0", "|"}, SeparatorCase{"1.3", "|"},
                                         SeparatorCase{"1.4", "\x15"}, SeparatorCase{"1.9", "\x15"},
                                         SeparatorCase{"2.0", "\x15"}, SeparatorCase{"10.0", "\x15"}));

TEST_F(PcvTest, OldestLineOfNineFields) {
    Open("1.3", {"Hello<br>World|pics/a.jpg|Times New Roman|14|255|1|0|0|1"});
    TImageRec r;
    p.ReadImage(0, r);
    EXPECT_EQ(r.Caption, "Hello\r\nWorld");
    EXPECT_EQ(r.FileName, dir / "pics/a.jpg");
    EXPECT_EQ(r.CaptionFont, "\"Times New Roman\", 14, [Bold|Strikeout], [clRed]");
    EXPECT_EQ(r.Opacity, 100);
    EXPECT_FALSE(r.Transparent);
    EXPECT_EQ(r.OverlayMode, 0);
    EXPECT_EQ(r.OverlayFile, "");
    EXPECT_EQ(r.CaptionAlign, 0);
    EXPECT_EQ(r.LogoPos, 0);
    EXPECT_EQ(r.LogoFile, "");
    EXPECT_EQ(r.CaptionPos, -1);
    EXPECT_EQ(r.TransformID, -1);
    EXPECT_EQ(r.Interval, 0);
}

TEST_F(PcvTest, OlderLineOfEighteenFields) {
    const std::string s = "\x15";
    std::string line;
    for (const char* f : {"Cap", "a.jpg", "Arial", "10", "0", "0", "1", "0", "0", "257", "m.png", "300", "2",
                          "o.png", "5", "12", "l.png", "77"})
        line += f + s;
    line.pop_back(); // older lines carry no closing separator
    Open("1.5", {line});
    TImageRec r;
    p.ReadImage(0, r);
    EXPECT_TRUE(r.Transparent); // low byte of 257
    EXPECT_EQ(r.MaskFile, dir / "m.png");
    EXPECT_EQ(r.Opacity, 300 & 0xFF);
    EXPECT_EQ(r.OverlayMode, 2);
    EXPECT_EQ(r.OverlayFile, dir / "o.png");
    EXPECT_EQ(r.CaptionAlign, 0); // 5 is out of range
    EXPECT_EQ(r.LogoPos, 0);      // so is 12
    EXPECT_EQ(r.LogoFile, dir / "l.png");
    EXPECT_EQ(r.LogoAlpha, 77);
    EXPECT_EQ(r.CaptionFont, "\"Arial\", 10, [Italic], [clBlack]");
}

struct BadLineCase {
    const char* version;
    const char* line;
    const char* error;
};

class PcvBadLineTest : public PcvTest, public testing::WithParamInterface<BadLineCase> {};

TEST_P(PcvBadLineTest, RaisesItsError) {
    Open(GetParam().version, {Newest(GetParam().line)});
    TImageRec r;
    try {
        p.ReadImage(0, r);
        ADD_FAILURE() << "no error";
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), GetParam().error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PcvBadLineTest,
    testing::Values(BadLineCase{"2.0", "", "List index out of bounds (0)"},
                    BadLineCase{"2.0", "a.jpg/cap/", "List index out of bounds (2)"},
                    BadLineCase{"2.0", "a/c/f/x/0/0//0//9/0//0/0/0/0/0/0/",
                                "'x' is not a valid integer value"},
                    BadLineCase{"1.3", "cap|a.jpg|Arial|10|0|0|0|0", "List index out of bounds (8)"},
                    BadLineCase{"1.3", "cap|a.jpg|Arial|ten|0|0|0|0|0", "'ten' is not a valid integer value"},
                    BadLineCase{"2.0", "a/c/f/0/0/0//0//99999999999/0//0/0/0/0/0/0/",
                                "'99999999999' is not a valid integer value"}));

TEST_F(PcvTest, OverlongLineIsCut) {
    std::string longCaption(3000, 'c');
    p.NewProject(file);
    TImageRec rec = FullImage(dir);
    rec.Caption = longCaption;
    p.WriteImage(0, rec);
    TImageRec back;
    EXPECT_THROW(p.ReadImage(0, back), EngineError); // the fields after 2047 characters are lost
}

TEST_F(PcvTest, WindowsHostsBackslashPathsRead) {
    Open("2.0", {Newest("..\\Pics\\gull.jpg///0/0/0//0//255/0//0/0/0/-1/0/0/")});
    TImageRec r;
    p.ReadImage(0, r);
    EXPECT_EQ(r.FileName,
              std::filesystem::path(dir.Dir()).parent_path().parent_path().string() + "/Pics/gull.jpg");
}

TEST_F(PcvTest, OlderFilesCountAsProjects) {
    WriteFile(file, "[FileInfo]\r\nVersion=1.2\r\n");
    EXPECT_TRUE(p.IsProjectFile(file));
    WriteFile(file, "[FileInfo]\r\nVersion=2.0\r\n");
    EXPECT_FALSE(p.IsProjectFile(file));
    WriteFile(file, "[FileInfo]\r\nVersion=2.0\r\nIsScrProject=1\r\n");
    EXPECT_TRUE(p.IsProjectFile(file));
}

} // namespace
