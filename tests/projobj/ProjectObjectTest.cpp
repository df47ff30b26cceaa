// The project objects driven through the loaded library, as a host drives them.
#include <functional>

#include "tests/projobj/ProjectFixture.h"

namespace {

using projtest::N;
using projtest::ReadFile;
using projtest::Take;
using projtest::W;
using somnex::Record;

// Fails with the field's name when two records differ anywhere.
template <class R>
void ExpectSameRecord(const R& want, const R& got) {
    std::vector<std::string> wantFields, gotFields;
    auto collect = [](std::vector<std::string>& out) {
        return [&out](const char* name, const auto& field) {
            std::ostringstream s;
            s << name << "=";
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, BSTR>)
                s << '"' << N(field) << '"';
            else
                s << static_cast<int64_t>(field);
            out.push_back(s.str());
        };
    };
    somnex::ForEachField(want, collect(wantFields));
    somnex::ForEachField(got, collect(gotFields));
    EXPECT_EQ(wantFields, gotFields);
}

BSTR B(const std::string& text) {
    return plat::AnsiToBstr(text);
}

struct ClassCase {
    const char* name;
    CLSID clsid;
    bool opensOldSlideshow; // a version 1.2 file without IsScrProject
};

class ProjectObject : public projtest::ProjectFixture, public ::testing::WithParamInterface<ClassCase> {
protected:
    void SetUp() override {
        ProjectFixture::SetUp();
        project = Create<IIniScrProject>(GetParam().clsid, IID_IIniScrProject);
        ASSERT_NE(project, nullptr);
    }
    void TearDown() override {
        if (project) project->Release();
        ProjectFixture::TearDown();
    }
    // A project with its default sections, closed again.
    std::string MakeProject(const std::string& name) {
        std::string path = dir + name;
        project->NewProject(W(path).c_str());
        EXPECT_TRUE(project->WriteProject());
        EXPECT_TRUE(project->CloseProject());
        return path;
    }

    IIniScrProject* project = nullptr;
};

TEST_P(ProjectObject, FreshObjectHasNoNamesAndRefusesToWrite) {
    EXPECT_EQ(Take(project->GetFileName()), "");
    EXPECT_EQ(Take(project->GetBackupFileName()), "");
    EXPECT_FALSE(project->IsOpened());
    try {
        project->WriteProject();
        FAIL() << "WriteProject wrote without a project";
    } catch (const somnex::EngineError& e) {
        EXPECT_STREQ(e.what(), "No project has been made or opened");
    }
    EXPECT_EQ(Listing(), "");
}

TEST_P(ProjectObject, NamesAndStatesFollowNewOpenAndRelease) {
    std::string path = dir + "Sea.ini";
    project->NewProject(W(path).c_str());
    EXPECT_FALSE(project->IsOpened());
    EXPECT_EQ(Take(project->GetFileName()), path);
    EXPECT_EQ(Take(project->GetBackupFileName()), "");
    EXPECT_TRUE(project->WriteProject());
    EXPECT_TRUE(project->CloseProject());
    EXPECT_TRUE(project->IsProjectFile(W(path).c_str()));
    const std::string before = ReadFile(path);

    ASSERT_TRUE(project->OpenProject(W(path).c_str()));
    EXPECT_TRUE(project->IsOpened());
    EXPECT_EQ(Take(project->GetFileName()), path);
    EXPECT_EQ(Take(project->GetBackupFileName()), path + ".~pp");
    EXPECT_EQ(Listing(), "Sea.ini Sea.ini.~pp ");
    EXPECT_TRUE(project->WriteProject()); // into the working copy only

    // Releasing without CloseProject discards the working copy and its changes.
    project->Release();
    project = nullptr;
    EXPECT_EQ(Listing(), "Sea.ini ");
    EXPECT_EQ(ReadFile(path), before);
}

TEST_P(ProjectObject, SettersChangeMemoryNotTheFile) {
    std::string path = MakeProject("Sea.ini");
    const std::string before = ReadFile(path);
    ASSERT_TRUE(project->OpenProject(W(path).c_str()));

    Record<TScrInfo> info;
    info->Name = B("Harbour at dusk");
    info->Author = B("Ines");
    info->Readme = B("First line\r\nSecond line");
    project->SetScrInfo(info.Out());
    Record<TControlSetting> control;
    control->AutoAdjust = true;
    control->MouseSensitvity = 7;
    project->SetControlSetting(control.Out());
    project->SetTag(u"host tag");

    Record<TScrInfo> got;
    project->GetScrInfo(got.Out());
    ExpectSameRecord(*info, *got);
    Record<TControlSetting> gotControl;
    project->GetControlSetting(gotControl.Out());
    ExpectSameRecord(*control, *gotControl);
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(ReadFile(path + ".~pp"), before);

    EXPECT_TRUE(project->CloseProject());
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_EQ(Listing(), "Sea.ini ");
}

TEST_P(ProjectObject, ResultStorageIsRefilledAndItsTextsFreed) {
    std::string path = MakeProject("Sea.ini");
    ASSERT_TRUE(project->OpenProject(W(path).c_str()));
    // Storage that already holds texts: the leak checker sees any that are not freed.
    Record<TScrInfo> info;
    info->Name = B("stale");
    info->Web = B("stale too");
    project->GetScrInfo(info.Out());
    project->GetScrInfo(info.Out());
    EXPECT_EQ(N(info->Name), "Untitled");
    Record<TFileInfo> file;
    project->GetFileInfo(file.Out());
    project->GetFileInfo(file.Out());
    EXPECT_TRUE(file->IsScrProject);
    EXPECT_EQ(N(file->Version), "2.0");
    Record<TPlayerLogo> logo;
    logo->LogoHint = B("stale");
    project->GetPlayerLogo(logo.Out());
    EXPECT_EQ(logo->OnClickMode, -1);
    EXPECT_EQ(N(logo->LogoHint), "");
}

TEST_P(ProjectObject, NullRecordArgumentsRaiseInsteadOfCrashing) {
    EXPECT_THROW(project->GetScrInfo(nullptr), somnex::EngineError);
    EXPECT_THROW(project->SetPlayerLogo(nullptr), somnex::EngineError);
}

TEST_P(ProjectObject, IsProjectFileFollowsTheClassOfTheObject) {
    std::string old = dir + "old.ini";
    std::ofstream(old) << "[FileInfo]\r\nVersion=1.2\r\n";
    EXPECT_EQ(project->IsProjectFile(W(old).c_str()), GetParam().opensOldSlideshow);
}

TEST_P(ProjectObject, RefusedWritesReachTheHostAsEngineErrors) {
    std::string path = MakeProject("Sea.ini");
    ASSERT_TRUE(project->OpenProject(W(path).c_str()));
    // The working copy turned into a folder: every write to it is refused.
    std::filesystem::remove(path + ".~pp");
    std::filesystem::create_directory(path + ".~pp");
    EXPECT_THROW(project->WriteProject(), somnex::EngineError);
    std::filesystem::remove(path + ".~pp");
}

INSTANTIATE_TEST_SUITE_P(Classes, ProjectObject,
                         ::testing::Values(ClassCase{"IniScrProject", CLSID_IIniScrProject, false},
                                           ClassCase{"Slideshow", CLSID_IIniPCVScrProject, true},
                                           ClassCase{"Flash", CLSID_IIniVCVScrProject, false}),
                         [](const auto& info) { return std::string(info.param.name); });

class SlideshowObject : public projtest::ProjectFixture {
protected:
    void SetUp() override {
        ProjectFixture::SetUp();
        project = Create<IIniPCVScrProject>(CLSID_IIniPCVScrProject, IID_IIniPCVScrProject);
        ASSERT_NE(project, nullptr);
        path = dir + "Sea.ini";
        project->NewProject(W(path).c_str());
        ASSERT_TRUE(project->WriteProject());
    }
    void TearDown() override {
        if (project) project->Release();
        ProjectFixture::TearDown();
    }

    IIniPCVScrProject* project = nullptr;
    std::string path;
};

TEST_F(SlideshowObject, SetImageThenGetImageGivesEveryFieldBackWithFullPaths) {
    std::filesystem::create_directories(dir + "pics");
    Record<TImageRec> rec;
    rec->FileName = B(dir + "pics/gull.jpg");
    rec->Caption = B("Gulls\r\nover the\r\nharbour");
    rec->CaptionFont = B("Arial,12,255,1,0,0,0");
    rec->CaptionAlign = 2;
    rec->CaptionPos = 7;
    rec->OverlayMode = 1;
    rec->OverlayFile = B("/usr/share/overlay.png"); // outside the project folder: kept in full
    rec->Transparent = true;
    rec->MaskFile = B(dir + "mask.png");
    rec->Opacity = 200;
    rec->LogoPos = 9;
    rec->LogoFile = B(dir + "logo.png");
    rec->LogoAlpha = 17;
    rec->LogoTransform = 3;
    rec->TransformID = 42;
    rec->EffectStep = 6;
    rec->EffectDelay = 55;
    rec->Interval = 12;
    project->SetImage(0, rec.Out());
    project->SetImageCount(1);

    Record<TImageRec> got;
    project->GetImage(0, got.Out());
    ExpectSameRecord(*rec, *got);
    EXPECT_NE(ReadFile(path).find("Image0=pics/gull.jpg\x15"), std::string::npos) << ReadFile(path);
}

TEST_F(SlideshowObject, WriteProjectEmptiesTheListsUntilTheCountIsSet) {
    Record<TImageRec> rec;
    rec->FileName = B(dir + "a.jpg");
    project->SetImage(0, rec.Out());
    project->SetImageCount(1);
    project->SetMusic(0, W(dir + "tune.mp3").c_str());
    project->SetMusicCount(1);
    EXPECT_EQ(project->GetImageCount(), 1);

    ASSERT_TRUE(project->WriteProject());
    EXPECT_EQ(project->GetImageCount(), 0);
    EXPECT_EQ(project->GetMusicCount(), 0);
    project->SetImage(0, rec.Out());
    EXPECT_EQ(project->GetImageCount(), 0);
    project->SetImageCount(1);
    EXPECT_EQ(project->GetImageCount(), 1);
    project->SetMusic(0, W(dir + "tune.mp3").c_str());
    project->SetMusicCount(1);
    EXPECT_EQ(Take(project->GetMusic(0)), dir + "tune.mp3");
}

TEST_F(SlideshowObject, MissingPictureLineReachesTheHostAsListIndexError) {
    Record<TImageRec> got;
    try {
        project->GetImage(3, got.Out());
        FAIL() << "no error";
    } catch (const somnex::EngineError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("List index out of bounds (", 0), 0u) << e.what();
    }
    EXPECT_EQ(got->FileName, nullptr); // the caller's storage is left alone
}

TEST_F(SlideshowObject, SettingsRecordsGoThroughWriteProjectAndComeBackOnOpen) {
    Record<TImageSetting> image;
    image->Interval = 8;
    image->ClearOldImage = true;
    project->SetImageSetting(image.Out());
    Record<TScreenSaverBackground> background;
    background->GradientColor_02 = 0x123456;
    background->ImageFile = B(dir + "wall.png");
    project->SetBackground(background.Out());
    Record<TBuildSetting> build;
    build->ImageWidth = 1024;
    build->Compress = true;
    project->SetBuildSetting(build.Out());
    ASSERT_TRUE(project->WriteProject());
    ASSERT_TRUE(project->CloseProject());

    ASSERT_TRUE(project->OpenProject(W(path).c_str()));
    Record<TImageSetting> gotImage;
    project->GetImageSetting(gotImage.Out());
    ExpectSameRecord(*image, *gotImage);
    Record<TScreenSaverBackground> gotBackground;
    project->GetBackground(gotBackground.Out());
    ExpectSameRecord(*background, *gotBackground);
    Record<TBuildSetting> gotBuild;
    project->GetBuildSetting(gotBuild.Out());
    ExpectSameRecord(*build, *gotBuild);
}

TEST_F(SlideshowObject, ListOperationsAfterCloseRaiseAndWriteNothing) {
    ASSERT_TRUE(project->CloseProject());
    const std::string before = ReadFile(path);
    Record<TImageRec> rec;
    EXPECT_THROW(project->SetImage(0, rec.Out()), somnex::EngineError);
    EXPECT_THROW(project->SetMusic(0, u"x.mp3"), somnex::EngineError);
    EXPECT_THROW(project->SetImageCount(1), somnex::EngineError);
    EXPECT_THROW(project->GetMusicCount(), somnex::EngineError);
    EXPECT_EQ(ReadFile(path), before);
}

class FlashObject : public projtest::ProjectFixture {
protected:
    void SetUp() override {
        ProjectFixture::SetUp();
        project = Create<IIniVCVScrProject>(CLSID_IIniVCVScrProject, IID_IIniVCVScrProject);
        ASSERT_NE(project, nullptr);
        project->NewProject(W(dir + "Show.ini").c_str());
        ASSERT_TRUE(project->WriteProject());
    }
    void TearDown() override {
        if (project) project->Release();
        ProjectFixture::TearDown();
    }
    void SetMovie(int32_t index, const std::string& name, const std::string& file) {
        Record<TFlashRec> rec;
        rec->Name = B(name);
        rec->FileName = B(file);
        project->SetFlash(index, rec.Out());
    }

    IIniVCVScrProject* project = nullptr;
};

TEST_F(FlashObject, MovieWithoutAttachmentsGivesAnEmptyArray) {
    SetMovie(0, "Intro", dir + "intro.swf");
    project->SetFlashCount(1);
    Record<TStrArray> files;
    project->GetAttachments(0, files.Out());
    EXPECT_EQ(files->Count, 0);
    EXPECT_EQ(files->Items, nullptr);
    Record<TFlashRec> got;
    project->GetFlash(0, got.Out());
    EXPECT_EQ(N(got->Name), "Intro");
    EXPECT_EQ(N(got->FileName), dir + "intro.swf");
    EXPECT_EQ(project->GetFlashCount(), 1);
}

TEST_F(FlashObject, AttachmentsComeBackInOrderAndAnEmptyListStaysEmpty) {
    SetMovie(0, "Intro", dir + "intro.swf");
    std::u16string a = W(dir + "a.txt"), b = W("/srv/b.dat"), c = W(dir + "sub/c.png");
    BSTR items[] = {a.data(), b.data(), c.data()};
    TStrArray three{3, items};
    project->SetAttachments(0, &three);

    Record<TStrArray> files;
    project->GetAttachments(0, files.Out());
    ASSERT_EQ(files->Count, 3);
    EXPECT_EQ(N(files->Items[0]), dir + "a.txt");
    EXPECT_EQ(N(files->Items[1]), "/srv/b.dat");
    EXPECT_EQ(N(files->Items[2]), dir + "sub/c.png");

    TStrArray none{0, nullptr};
    project->SetAttachments(0, &none);
    project->GetAttachments(0, files.Out()); // frees the three it held
    EXPECT_EQ(files->Count, 0);
    EXPECT_EQ(files->Items, nullptr);
}

TEST_F(FlashObject, MalformedArgumentsAndMissingMoviesRaise) {
    TStrArray broken{2, nullptr};
    EXPECT_THROW(project->SetAttachments(0, &broken), somnex::EngineError);
    Record<TFlashRec> got;
    EXPECT_THROW(project->GetFlash(4, got.Out()), somnex::EngineError);
}

class PlainProjectObject : public projtest::ProjectFixture {};

TEST_F(PlainProjectObject, EveryOperationRaisesTheAbstractError) {
    auto* project = Create<IScrProject>(CLSID_ScrProject, IID_IScrProject);
    ASSERT_NE(project, nullptr);
    Record<TScrInfo> info;
    const std::vector<std::function<void()>> calls = {
        [&] { project->SetTag(u"t"); },
        [&] { SysFreeString(project->GetFileName()); },
        [&] { project->GetScrInfo(info.Out()); },
        [&] { project->IsOpened(); },
        [&] { project->NewProject(W(dir + "x.ini").c_str()); },
        [&] { project->WriteProject(); },
        [&] { project->CloseProject(); },
        [&] { project->IsProjectFile(u"x.ini"); },
    };
    for (size_t i = 0; i < calls.size(); ++i) {
        try {
            calls[i]();
            ADD_FAILURE() << "call " << i << " did not raise";
        } catch (const somnex::EngineError& e) {
            EXPECT_STREQ(e.what(), "Abstract Error") << "call " << i;
        }
    }
    EXPECT_EQ(Listing(), "");
    project->Release();
}

} // namespace
