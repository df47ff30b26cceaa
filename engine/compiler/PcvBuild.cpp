#include "engine/compiler/PcvBuild.h"

#include "engine/decoders/JpegCodec.h"
#include "engine/imaging/ImageProcess.h"
#include "engine/imaging/SlideRecipes.h"
#include "platform/fs/FileSystem.h"
#include "platform/raster/BitmapFile.h"
#include "somnex/EngineError.h"

namespace somnex {

namespace {
std::string Numbered(const char* format, int32_t n) {
    return CountText(format, n);
}
} // namespace

TPcvBuild::TPcvBuild(TErrorBox ErrorBox)
    : TCustomBuild(std::move(ErrorBox)), ParamsFile(std::make_unique<TScrPcvParamsFile>()),
      ImageLibrary(std::make_unique<TScrImageFile>()), MusicLibrary(std::make_unique<TScrMusicFile>()) {}

TPcvBuild::~TPcvBuild() {
    try {
        TPcvBuild::Close();
    } catch (const std::exception&) {
        // Work files that cannot be removed while the build goes away have no one to report to.
    }
}

void TPcvBuild::LoadProject(const std::string& FileName) {
    Project = std::make_unique<TIniPCVProjectFile>();
    if (!Project->OpenProject(FileName))
        throw EngineError("\"" + FileName + "\" is not a slideshow project.");
    FillEditorInfo(*Project);
}

void TPcvBuild::CreateDataFiles() {
    MusicLibrary->ProcessMusic = Project->BuildSetting.Compress;
    ParamsFile->CreateParamsFile(WorkFolder + ParamsFileName);
    ImageLibrary->CreateLibrary(WorkFolder + ImagesFileName);
    MusicLibrary->CreateLibrary(WorkFolder + MusicFileName);
    ParamsFile->OpenParamsFile(WorkFolder + ParamsFileName);
    ImageLibrary->OpenLibrary(WorkFolder + ImagesFileName, "Images");
    MusicLibrary->OpenLibrary(WorkFolder + MusicFileName, "Music");
}

void TPcvBuild::BuildAll() {
    int32_t images = Project->GetListCount(TListKind::Images);
    int32_t music = Project->GetListCount(TListKind::Music);
    View().SetMaximum(kTotalBar, 6);
    View().SetReport(CountText("Images: %d", images) + " ; " + CountText("Music: %d", music));
    Progress(kTotalBar, 1, "Create screensaver.");
    CreateDataFiles();
    Progress(kTotalBar, 2, "Create screensaver images...");
    SavePictures();
    if (!Project->MusicSetting.MuteSound) {
        Progress(kTotalBar, 3, "Saving screensaver music...");
        SaveMusic();
    }
    Progress(kTotalBar, 4, "Saving screensaver paramenters...");
    SaveParameters();
    Progress(kCurrentBar, 0, "...");
    ParamsFile->CloseParamsFile(false);
    ImageLibrary->CloseLibrary();
    MusicLibrary->CloseLibrary();
}

void TPcvBuild::SavePictures() {
    int32_t count = Project->GetListCount(TListKind::Images);
    // The quality is the project's number taken as one byte; libjpeg applies its own limits.
    int quality = static_cast<uint8_t>(Project->BuildSetting.ImageQuality);
    View().SetMaximum(kCurrentBar, count);
    for (int32_t i = 0; i < count; ++i) {
        if (CancelPending()) break;
        TImageRec entry;
        Project->ReadImage(i, entry);
        std::vector<uint8_t> jpeg;
        {
            // Freed right after encoding: only one slide is held at a time.
            plat::Bitmap slide;
            PrepareBuildSlide(entry, *Project, slide); // a failed slide stays empty: no picture data
            Progress(kCurrentBar, i, Numbered("Compress image_%d...", i + 1));
            jpeg = EncodeJpeg(slide, quality);
        }
        Progress(kCurrentBar, i + 1, Numbered("Saving image_%d...", i + 1));
        ImageLibrary->AddImage(jpeg, entry.Interval, entry.TransformID, entry.EffectStep, entry.EffectDelay);
        if (View().ProcessMessages()) Cancelled = true;
    }
}

void TPcvBuild::SaveMusic() {
    int32_t count = Project->GetListCount(TListKind::Music);
    View().SetMaximum(kCurrentBar, count);
    Progress(kCurrentBar, 0, "Saving screensaver music...");
    for (int32_t i = 0; i < count; ++i) {
        if (CancelPending()) break;
        std::string path = Project->ReadMusic(i);
        Progress(kCurrentBar, i + 1, "Saving Music: " + path);
        if (plat::FileExists(path)) MusicLibrary->AddMusic(path);
        if (View().ProcessMessages()) Cancelled = true;
    }
}

void TPcvBuild::SaveParameters() {
    const TBuildSetting& build = Project->BuildSetting;
    std::string splash;
    const TSplashScreen& projectSplash = Project->SplashScreen;
    if (projectSplash.UseSplashScreen && plat::FileExists(projectSplash.SplashScreen)) {
        TImageAdjustSizeProcess fit;
        fit.LoadFrom(LoadPictureFile(projectSplash.SplashScreen));
        fit.Width = build.ImageWidth;
        fit.Height = build.ImageHeight;
        fit.Mode = 4;
        fit.Execute();
        splash = WorkFolder + kSplashFileName;
        plat::SaveBitmapFile(fit.Work, splash);
    }
    Progress(kCurrentBar, 0, "Saving screensaver paramenters...");

    TScrPcvParamsFile& p = *ParamsFile;
    FillCommon(p, *Project, EditorInfo);
    p.JpegQuality = build.ImageQuality;
    p.ImageSetting = Project->ImageSetting;
    p.MusicSetting = Project->MusicSetting;
    p.Background = Project->Background;
    p.Effect = Project->Effect;
    p.SplashScreen = projectSplash;
    p.SplashScreen.SplashScreen = splash;
    p.Width = build.ImageWidth;
    p.Height = build.ImageHeight;
    p.ImageCount = Project->GetListCount(TListKind::Images);
    p.MusicCount = Project->MusicSetting.MuteSound ? 0 : Project->GetListCount(TListKind::Music);
    p.SaveCommon();
}

std::vector<std::string> TPcvBuild::DataFiles() const {
    return {WorkFolder + ParamsFileName, WorkFolder + ImagesFileName, WorkFolder + MusicFileName};
}

std::vector<std::string> TPcvBuild::WorkFiles() const {
    std::vector<std::string> files = TCustomBuild::WorkFiles();
    files.push_back(WorkFolder + ImagesFileName);
    files.push_back(WorkFolder + MusicFileName);
    return files;
}

void TPcvBuild::Close() {
    ParamsFile.reset();
    ImageLibrary.reset();
    MusicLibrary.reset();
    if (Project) {
        if (Project->Opened) Project->CloseProject();
        Project.reset();
    }
    TCustomBuild::Close();
}

} // namespace somnex
