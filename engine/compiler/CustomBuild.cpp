#include "engine/compiler/CustomBuild.h"

#include "engine/compiler/PackageFile.h"
#include "platform/fs/FileSystem.h"
#include "somnex/EngineError.h"

#include <cstdio>

namespace somnex {

namespace {
// What SQLite may leave beside a database it had open.
constexpr const char* kSideFiles[] = {"-journal", "-wal", "-shm"};

void DeleteIfExists(const std::string& path) {
    if (!path.empty() && plat::FileExists(path)) plat::DeleteFile(path);
}

// A relative path must not follow the project's folder, which opening the project makes current.
std::string Absolute(const std::string& path, const std::string& current) {
    if (path.empty() || path.front() == '/') return path;
    return current + (current.ends_with('/') ? "" : "/") + path;
}
} // namespace

std::string CountText(const char* Format, int32_t Count) {
    char text[64];
    std::snprintf(text, sizeof text, Format, Count);
    return text;
}

TCustomBuild::TCustomBuild(TErrorBox ErrorBox) : errorBox_(std::move(ErrorBox)) {}

TCustomBuild::~TCustomBuild() = default;

void TCustomBuild::Progress(int Bar, int Position, const std::string& Text) const {
    view_->SetProgress(Bar, Position, Text);
}

bool TCustomBuild::CancelPending() {
    if (view_->ProcessMessages()) Cancelled = true;
    return Cancelled;
}

void TCustomBuild::MakePathsAbsolute() {
    std::string current = plat::GetCurrentDir();
    // The work folder is a prefix, not a folder: its trailing separator (or its absence) stays.
    WorkFolder = Absolute(WorkFolder, current);
    PlayerFile = Absolute(PlayerFile, current);
    OutputFile = Absolute(OutputFile, current);
    ProjectFile = Absolute(ProjectFile, current);
}

bool TCustomBuild::Run(TBuildProgress& Watcher) {
    view_ = &Watcher;
    running_ = true;
    Success = false;
    View().SetBusy(true);
    try {
        MakePathsAbsolute();
        LoadProject(ProjectFile);
        BuildAll();
        Package();
    } catch (const std::exception& e) {
        Success = false;
        View().SetBusy(false);
        running_ = false;
        if (errorBox_) errorBox_(e.what());
        return false;
    }
    running_ = false;
    return Success;
}

void TCustomBuild::Package() {
    TPackageFile package;
    if (BuildKind != 2) package.PackageFileList.push_back(PlayerFile);
    for (const std::string& f : DataFiles()) package.PackageFileList.push_back(f);
    package.PackageFileName = OutputFile;
    // A usage error would otherwise end the build quietly with no package and no message.
    package.OnError = [](TBasePackageFile&, const std::string& text) { throw EngineError(text); };
    package.OnBeginPackage = [this](TBasePackageFile& p) {
        View().SetMaximum(kCurrentBar, p.PackageFileCount());
        Progress(kTotalBar, 5, "Compile screensaver ...");
        Progress(kCurrentBar, 0, "Start compile screensaver ...");
    };
    package.OnPackageFile = [this](TBasePackageFile&, int32_t id, const std::string& name) {
        Progress(kCurrentBar, id, name);
    };
    package.OnCompletePackage = [this](TBasePackageFile&) {
        Progress(kTotalBar, 6, "Build screensaver is complete.");
        Progress(kCurrentBar, 0, "...");
        Success = !Cancelled;
        View().SetBusy(false);
    };
    package.Execute();
}

std::vector<std::string> TCustomBuild::WorkFiles() const {
    return {WorkFolder + ParamsFileName, WorkFolder + kSplashFileName};
}

void TCustomBuild::Close() {
    // Databases are closed before their files go: a store closing a deleted file could make a
    // journal beside it again.
    for (const std::string& f : WorkFiles()) {
        if (f == WorkFolder) continue; // an empty file name names no work file
        DeleteIfExists(f);
        for (const char* side : kSideFiles) DeleteIfExists(f + side);
    }
}

void TCustomBuild::FillEditorInfo(const TScrProjectFile& Project) {
    EditorInfo.CanModifyParams = false;
    EditorInfo.Editor = Project.FileInfo.EditorName;
    EditorInfo.Version = Project.FileInfo.EditorVersion;
}

void TCustomBuild::FillCommon(TScrBaseParamsFile& Params, const TIniScrProject& Project,
                              const TEditorVersion& Editor) {
    Params.EditorInfo = Editor;
    Params.ScrInfo = Project.ScrInfo;
    Params.ControlSetting = Project.ControlSetting;
    Params.InterfaceSetting = Project.InterfaceSetting;
    Params.InternetBanner = Project.InternetBanner;
    Params.PlayerLogo = Project.PlayerLogo;
}

} // namespace somnex
