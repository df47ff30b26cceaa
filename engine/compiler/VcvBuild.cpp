#include "engine/compiler/VcvBuild.h"

#include "platform/fs/FileSystem.h"
#include "somnex/EngineError.h"

namespace somnex {

TVcvBuild::TVcvBuild(TErrorBox ErrorBox)
    : TCustomBuild(std::move(ErrorBox)), ParamsFile(std::make_unique<TScrVcvParamsFile>()),
      FlashLibrary(std::make_unique<TScrFlashFile>()) {}

TVcvBuild::~TVcvBuild() {
    try {
        TVcvBuild::Close();
    } catch (const std::exception&) {
        // Work files that cannot be removed while the build goes away have no one to report to.
    }
}

void TVcvBuild::LoadProject(const std::string& FileName) {
    Project = std::make_unique<TIniVCVProjectFile>();
    if (!Project->OpenProject(FileName)) throw EngineError("\"" + FileName + "\" is not a Flash project.");
    FillEditorInfo(*Project);
}

void TVcvBuild::CreateDataFiles() {
    const TScreenSaverInterface& ui = Project->InterfaceSetting;
    ParamsFile->ProcessValues = ui.UsePreview && ui.PreviewType == 0;
    ParamsFile->CreateParamsFile(WorkFolder + ParamsFileName);
    FlashLibrary->CreateLibrary(WorkFolder + FlashFileName);
    ParamsFile->OpenParamsFile(WorkFolder + ParamsFileName);
    FlashLibrary->OpenLibrary(WorkFolder + FlashFileName, "Flashs");
}

void TVcvBuild::BuildAll() {
    View().SetMaximum(kTotalBar, 6);
    View().SetReport(CountText("Flashs: %d", Project->GetFlashCount()));
    CreateDataFiles();
    Progress(kTotalBar, 1, "Create screensaver.");
    SaveParameters();
    ParamsFile->CloseParamsFile(false);
    SaveFlashs();
}

void TVcvBuild::SaveParameters() {
    Progress(kCurrentBar, 0, "Saving screensaver paramenters...");
    TScrVcvParamsFile& p = *ParamsFile;
    FillCommon(p, *Project, EditorInfo);
    p.FlashSetting = Project->FlashSetting;
    p.FlashCount = Project->GetFlashCount();
    p.SaveCommon();
}

void TVcvBuild::SaveFlashs() {
    int32_t count = Project->GetFlashCount();
    View().SetMaximum(kCurrentBar, count);
    Progress(kCurrentBar, 0, "Saving flash files...");
    for (int32_t i = 0; i < count; ++i) {
        TFlashRec movie = Project->ReadFlash(i);
        // A missing movie is skipped without a word, a progress step or a chance to cancel.
        if (!plat::FileExists(movie.FileName)) continue;
        if (CancelPending()) break;
        Progress(kCurrentBar, i, CountText("Compiling flash_%d...", i + 1));
        FlashLibrary->AddFlash(movie.FileName);
    }
    FlashLibrary->CloseLibrary();
}

std::vector<std::string> TVcvBuild::DataFiles() const {
    return {WorkFolder + ParamsFileName, WorkFolder + FlashFileName};
}

std::vector<std::string> TVcvBuild::WorkFiles() const {
    std::vector<std::string> files = TCustomBuild::WorkFiles();
    files.push_back(WorkFolder + FlashFileName);
    return files;
}

void TVcvBuild::Close() {
    ParamsFile.reset();
    FlashLibrary.reset();
    if (Project) {
        if (Project->Opened) Project->CloseProject();
        Project.reset();
    }
    TCustomBuild::Close();
}

} // namespace somnex
