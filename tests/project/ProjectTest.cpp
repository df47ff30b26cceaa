#include "engine/project/Unit_IniPcvProjectFile.h"
#include "engine/project/Unit_IniVcvProjectFile.h"
#include "platform/path/Path.h"
#include "shared/ini/IniText.h"
#include "somnex/EngineError.h"
#include "tests/ini/TempFolder.h"
#include "tests/ini/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace somnex;
using somnex::test::ReadFile;
using somnex::test::TempFolder;
using somnex::test::WriteFile;

namespace {

class ProjectTest : public testing::Test {
protected:
    TempFolder dir;
    std::string file = dir / "Sea.ini";

    // A saved project with every common section in use.
    void MakeProject() {
        TIniPCVProjectFile p;
        p.NewProject(file);
        p.ScrInfo.AuthorPhoto = dir / "me.jpg";
        p.ScrInfo.Readme = "First line\r\nSecond line";
        p.PlayerLogo.Customize = true;
        p.PlayerLogo.OnClickMode = 2;
        p.PlayerLogo.LogoPic_Nor = "/elsewhere/logo.png";
        p.InternetBanner.UseInternetBanner = true;
        p.InternetBanner.BannerURL = "http://example.com/";
        p.WriteProject();
        p.CloseProject();
    }
};

TEST_F(ProjectTest, NewProjectWritesStraightIntoItsFile) {
    TIniScrProject p;
    p.NewProject(file);
    EXPECT_FALSE(p.Opened);
    EXPECT_TRUE(p.BackupFileName.empty());
    EXPECT_EQ(p.ProjectDir, dir.Dir());
    EXPECT_EQ(plat::GetCurrentFolder(), dir.Dir());
    EXPECT_EQ(p.ScrInfo.Name, "Untitled");
    EXPECT_FALSE(std::filesystem::exists(file)); // nothing until the host writes
    p.WriteProject();
    EXPECT_EQ(ReadFile(file).rfind("[FileInfo]\r\nIsScrProject=1\r\nVersion=2.0\r\nEditorName=Unknow\r\n", 0),
              0u);
    EXPECT_FALSE(p.SaveProject("")); // no working copy to copy
    EXPECT_TRUE(p.CloseProject());
    EXPECT_EQ(dir.Listing(), "Sea.ini;");
}

TEST_F(ProjectTest, CommonSectionsRoundTrip) {
    MakeProject();
    TIniPCVProjectFile p;
    ASSERT_TRUE(p.OpenProject(file));
    EXPECT_TRUE(p.Opened);
    EXPECT_EQ(p.BackupFileName, file + ".~pp");
    EXPECT_TRUE(p.FileInfo.IsScrProject);
    EXPECT_EQ(p.FileInfo.Version, "2.0");
    EXPECT_EQ(p.ScrInfo.Author, "Your Name");
    EXPECT_EQ(p.ScrInfo.AuthorPhoto, dir / "me.jpg");
    EXPECT_EQ(p.ScrInfo.Readme, "First line\r\nSecond line");
    EXPECT_EQ(p.PlayerLogo.OnClickMode, 2);
    EXPECT_EQ(p.PlayerLogo.LogoPic_Nor, "/elsewhere/logo.png");
    EXPECT_EQ(p.InternetBanner.BannerURL, "http://example.com/");
    p.CloseProject();
    const std::string text = ReadFile(file);
    EXPECT_NE(text.find("AuthorPhoto=me.jpg\r\n"), std::string::npos); // stored relative
    EXPECT_NE(text.find("LogoPic_Nor=../../elsewhere/logo.png"), std::string::npos);
}

TEST_F(ProjectTest, DefaultsOfAnEmptyProject) {
    WriteFile(file, "[FileInfo]\r\nIsScrProject=1\r\n");
    TIniPCVProjectFile p;
    ASSERT_TRUE(p.OpenProject(file));
    EXPECT_EQ(p.FileInfo.EditorName, "Unknow");
    EXPECT_EQ(p.ScrInfo.Name, "Untitled");
    EXPECT_TRUE(p.ControlSetting.UseSetting && p.ControlSetting.RestoreMouse &&
                p.ControlSetting.RestoreNormalKey);
    EXPECT_EQ(p.ControlSetting.MouseSensitvity, 40);
    EXPECT_EQ(p.PlayerLogo.OnClickMode, -1);
    EXPECT_EQ(p.SplashScreen.SplashTransformID, 118);
    EXPECT_EQ(p.Background.GradientColor_02, 16744576);
    EXPECT_EQ(p.BuildSetting.ImageWidth, 800);
    EXPECT_TRUE(p.BuildSetting.Compress);
    EXPECT_EQ(p.Effect.EffectDelay, 40);
    p.CloseProject();
}

TEST_F(ProjectTest, WorkingCopyLeavesTheProjectUntouched) {
    MakeProject();
    const std::string original = ReadFile(file);
    {
        TIniPCVProjectFile p;
        ASSERT_TRUE(p.OpenProject(file));
        p.CloseProject();
    }
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_EQ(dir.Listing(), "Sea.ini;");
    {
        TIniPCVProjectFile p;
        ASSERT_TRUE(p.OpenProject(file));
        p.ScrInfo.Name = "Changed";
        p.WriteProject();
        TImageRec rec;
        rec.FileName = dir / "a.jpg";
        p.WriteImage(0, rec);
        p.SetListCount(TListKind::Images, 1);
        EXPECT_NE(ReadFile(p.BackupFileName), original);
        p.CloseProject();
    }
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_EQ(dir.Listing(), "Sea.ini;");
}

TEST_F(ProjectTest, SaveProjectNeverOverwrites) {
    MakeProject();
    const std::string original = ReadFile(file);
    TIniPCVProjectFile p;
    ASSERT_TRUE(p.OpenProject(file));
    p.ScrInfo.Name = "Saved";
    p.WriteProject();
    EXPECT_FALSE(p.SaveProject("")); // the project file exists
    EXPECT_EQ(ReadFile(file), original);
    const std::string copy = dir / "Copy.ini";
    EXPECT_TRUE(p.SaveProject(copy));
    EXPECT_EQ(p.FileName, copy);
    EXPECT_EQ(p.BackupFileName, file + ".~pp"); // until closed
    EXPECT_FALSE(p.SaveProject(copy));
    p.CloseProject();
    EXPECT_EQ(dir.Listing(), "Copy.ini;Sea.ini;");
    TIniPCVProjectFile q;
    ASSERT_TRUE(q.OpenProject(copy));
    EXPECT_EQ(q.ScrInfo.Name, "Saved");
    q.CloseProject();
}

TEST_F(ProjectTest, DisabledSectionsAreErased) {
    MakeProject();
    TIniPCVProjectFile p;
    ASSERT_TRUE(p.OpenProject(file));
    EXPECT_NE(ReadFile(p.BackupFileName).find("[PlayerLogoSetting]"), std::string::npos);
    p.PlayerLogo.Customize = false;
    p.InternetBanner.UseInternetBanner = false;
    p.WriteProject();
    const std::string text = ReadFile(p.BackupFileName);
    EXPECT_EQ(text.find("[PlayerLogoSetting]"), std::string::npos);
    EXPECT_EQ(text.find("[InternetBanner]"), std::string::npos);
    p.ReadSettings();
    EXPECT_EQ(p.PlayerLogo.OnClickMode, -1);
    p.CloseProject();
}

TEST_F(ProjectTest, OpenRefusals) {
    WriteFile(file, "[FileInfo]\r\nVersion=2.0\r\n");
    TIniScrProject common;
    EXPECT_FALSE(common.OpenProject(file));
    EXPECT_FALSE(common.OpenProject(dir / "missing.ini"));
    TIniPCVProjectFile slideshow;
    EXPECT_FALSE(slideshow.OpenProject(file));             // version 2.0 needs IsScrProject
    EXPECT_FALSE(slideshow.OpenProject(dir / "gone.ini")); // counts as old, but cannot be copied
    EXPECT_FALSE(slideshow.Opened);
    EXPECT_EQ(dir.Listing(), "Sea.ini;");
    WriteFile(file, "[FileInfo]\r\nVersion=1.2\r\n");
    EXPECT_TRUE(slideshow.OpenProject(file));
    // Opening another project first lets go of this one's working copy.
    MakeProject();
    const std::string other = dir / "Other.ini";
    std::filesystem::copy_file(file, other);
    EXPECT_TRUE(slideshow.OpenProject(other));
    EXPECT_EQ(dir.Listing(), "Other.ini;Other.ini.~pp;Sea.ini;");
    slideshow.CloseProject();
}

TEST_F(ProjectTest, ReadOnlyFolderRaisesAndLosesNothing) {
    somnex::test::Unprivileged unprivileged(dir.Dir());
    ASSERT_TRUE(unprivileged.Ok());
    MakeProject();
    const std::string original = ReadFile(file);
    TIniPCVProjectFile p;
    ASSERT_TRUE(p.OpenProject(file));
    std::filesystem::permissions(dir.Dir(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    p.ScrInfo.Name = "Other name that must not land";
    try {
        p.WriteProject();
        ADD_FAILURE() << "no error";
    } catch (const EngineError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + file + ".~pp");
    }
    EXPECT_FALSE(p.SaveProject(dir / "New.ini"));
    std::filesystem::permissions(dir.Dir(), std::filesystem::perms::owner_all);
    p.CloseProject();
    EXPECT_EQ(ReadFile(file), original);
    EXPECT_EQ(dir.Listing(), "Sea.ini;");
}

TEST_F(ProjectTest, EditorInfo) {
    TIniScrProject p;
    p.SetEditorInfo(0, "Pictavio");
    p.SetEditorInfo(1, "3.1");
    p.SetEditorInfo(2, "ignored");
    EXPECT_EQ(p.FileInfo.EditorName, "Pictavio");
    EXPECT_EQ(p.FileInfo.EditorVersion, "3.1");
}

TEST_F(ProjectTest, FlashListRoundTrip) {
    std::filesystem::create_directories(dir / "sub");
    {
        TIniVCVProjectFile p;
        p.NewProject(file);
        p.FlashSetting.Quality = 2;
        p.FlashSetting.DefBackgroundColor = "FF00FF";
        p.WriteProject();
        p.WriteFlash(0, {"Waves", dir / "waves.swf"});
        p.WriteFlash(1, {"", "/other/place/x.swf"});
        p.WriteAttachments(0, {dir / "a.txt", dir / "sub/b.mp3", "/other/c.dat"});
        p.WriteAttachments(1, {});
        p.SetFlashCount(2);
        p.WriteProject(); // keeps the movie list
        p.CloseProject();
    }
    const std::string text = ReadFile(file);
    EXPECT_NE(text.find("Flash0=Waves\x15waves.swf\r\n"), std::string::npos);
    EXPECT_NE(text.find("Flash1=\x15../../other/place/x.swf\r\n"), std::string::npos);
    EXPECT_NE(text.find("Attach0=a.txt\x15sub/b.mp3\x15"), std::string::npos);

    TIniVCVProjectFile p;
    ASSERT_TRUE(p.OpenProject(file));
    EXPECT_EQ(p.FlashSetting.Quality, 2);
    EXPECT_EQ(p.FlashSetting.DefBackgroundColor, "FF00FF");
    EXPECT_EQ(p.GetFlashCount(), 2);
    TFlashRec f = p.ReadFlash(0);
    EXPECT_EQ(f.Name, "Waves");
    EXPECT_EQ(f.FileName, dir / "waves.swf");
    EXPECT_EQ(p.ReadFlash(1).Name, "");
    EXPECT_EQ(p.ReadFlash(1).FileName, "/other/place/x.swf");
    EXPECT_EQ(p.ReadAttachments(0),
              (std::vector<std::string>{dir / "a.txt", dir / "sub/b.mp3", "/other/c.dat"}));
    EXPECT_TRUE(p.ReadAttachments(1).empty());
    EXPECT_TRUE(p.ReadAttachments(7).empty());
    try {
        p.ReadFlash(5);
        ADD_FAILURE();
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (0)");
    }
    p.CloseProject();
}

TEST_F(ProjectTest, FlashDefaults) {
    WriteFile(file, "[FileInfo]\r\nIsScrProject=1\r\n[Flashs]\r\nFlash0=only a name\r\n");
    TIniVCVProjectFile p;
    ASSERT_TRUE(p.OpenProject(file));
    EXPECT_EQ(p.FlashSetting.Quality, 1);
    EXPECT_EQ(p.FlashSetting.DefBackgroundColor, "000000");
    EXPECT_THROW(p.ReadFlash(0), EngineError);
    p.CloseProject();
}

} // namespace
