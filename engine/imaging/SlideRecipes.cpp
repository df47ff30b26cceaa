#include "engine/imaging/SlideRecipes.h"

#include "platform/fs/FileSystem.h"
#include "somnex/EngineError.h"

namespace somnex {

namespace {

void SetCommonParts(TScrImgProc1& proc, const TImageRec& entry, const TIniPCVProjectFile& project) {
    proc.SetPictureLayout(project.ImageSetting.ImagePos, project.ImageSetting.SizeMode);
    proc.SetCaption(entry.Caption, entry.CaptionFont,
                    entry.CaptionPos == -1 ? project.ImageSetting.CaptionPos : entry.CaptionPos,
                    entry.CaptionAlign);
}

void SetBackground(TScrImgProc1& proc, const TIniPCVProjectFile& project, bool wallpaperMustExist) {
    const TScreenSaverBackground& bg = project.Background;
    proc.SetBackgroundColor(bg.BackgroundColor);
    if (bg.BackgroundMode == 1) {
        if (!wallpaperMustExist || plat::FileExists(bg.ImageFile))
            proc.SetWallpaper(bg.ImageWallpaperMode, bg.ImageFile);
    } else if (bg.BackgroundMode == 2) {
        proc.SetGradient(uint8_t(bg.GradientDirection), bg.GradientColor_01, bg.GradientColor_02);
    }
}

void SetLogo(TScrImgProc1& proc, const TImageRec& entry) {
    if (entry.LogoPos > 0 && plat::FileExists(entry.LogoFile))
        proc.SetLogo(entry.LogoTransform, entry.LogoPos, entry.LogoAlpha, entry.LogoFile);
}

bool Run(TScrImgProc1& proc, plat::Bitmap& slide) {
    slide = plat::Bitmap();
    if (!proc.Execute()) return false;
    proc.AssignResultTo(slide);
    return true;
}

} // namespace

void SetUpBuildSlide(TScrImgProc1& proc, const TImageRec& entry, const TIniPCVProjectFile& project) {
    proc.SetCanvas(project.BuildSetting.ImageWidth, project.BuildSetting.ImageHeight);
    if (plat::FileExists(entry.FileName)) proc.LoadPicture(entry.FileName);
    SetCommonParts(proc, entry, project);
    SetBackground(proc, project, true);
    if (entry.Transparent)
        proc.SetMask(plat::FileExists(entry.MaskFile) ? entry.MaskFile : "", entry.Opacity);
    if (entry.OverlayMode > 0 && plat::FileExists(entry.OverlayFile))
        proc.SetOverlay(entry.OverlayMode, entry.OverlayFile);
    SetLogo(proc, entry);
}

void SetUpPreviewSlide(TScrImgProc1& proc, const TImageRec& entry, const TIniPCVProjectFile& project,
                       int32_t screenWidth, int32_t screenHeight) {
    proc.SetCanvas(screenWidth, screenHeight);
    proc.LoadPicture(entry.FileName);
    SetCommonParts(proc, entry, project);
    SetBackground(proc, project, false);
    proc.SetMask(entry.Transparent && plat::FileExists(entry.MaskFile) ? entry.MaskFile : "", entry.Opacity);
    proc.SetOverlay(plat::FileExists(entry.OverlayFile) ? entry.OverlayMode : 0, entry.OverlayFile);
    SetLogo(proc, entry);
}

bool PrepareBuildSlide(const TImageRec& entry, const TIniPCVProjectFile& project, plat::Bitmap& slide,
                       const PictureLoader& loader) {
    TScrImgProc1 proc;
    proc.Loader = loader;
    SetUpBuildSlide(proc, entry, project);
    return Run(proc, slide);
}

bool PreparePreviewSlide(const TImageRec& entry, const TIniPCVProjectFile& project, int32_t screenWidth,
                         int32_t screenHeight, plat::Bitmap& slide, const PictureLoader& loader) {
    slide = plat::Bitmap();
    if (!plat::FileExists(entry.FileName)) return false;
    TScrImgProc1 proc;
    proc.Loader = loader;
    SetUpPreviewSlide(proc, entry, project, screenWidth, screenHeight);
    return Run(proc, slide);
}

plat::Bitmap PrepareProjectSlide(const std::string& projectPath, int32_t index, int32_t width,
                                 int32_t height) {
    TIniPCVProjectFile project;
    if (!project.OpenProject(projectPath)) throw EngineError("Cannot open the project " + projectPath);
    struct Closer {
        TIniPCVProjectFile& p;
        ~Closer() { p.CloseProject(); }
    } closer{project};
    const int32_t count = project.GetListCount(TListKind::Images);
    if (index < 0 || index >= count)
        throw EngineError("The project has no picture " + std::to_string(index) + " (it has " +
                          std::to_string(count) + ")");
    TImageRec entry;
    project.ReadImage(index, entry);
    if (width > 0 && height > 0) {
        project.BuildSetting.ImageWidth = width;
        project.BuildSetting.ImageHeight = height;
    }
    plat::Bitmap slide;
    if (!PrepareBuildSlide(entry, project, slide))
        throw EngineError("Picture " + std::to_string(index) + " could not be prepared");
    return slide;
}

} // namespace somnex
