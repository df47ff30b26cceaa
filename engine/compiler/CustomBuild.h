#pragma once
// The part of a screensaver build both products share: the paths and flags the compile driver
// hands over, the run with its error handling, packing with its progress, and the clean-up of
// every work file. The dialog only shows what the build reports.
#include "engine/compiler/BuildProgress.h"
#include "engine/compiler/Unit_ScrFileObj.h"

#include <cstdint>
#include <string>
#include <vector>

namespace somnex {

inline constexpr const char* kSplashFileName = "Splash.bmp";

class TCustomBuild {
public:
    explicit TCustomBuild(TErrorBox ErrorBox);
    virtual ~TCustomBuild();
    TCustomBuild(const TCustomBuild&) = delete;
    TCustomBuild& operator=(const TCustomBuild&) = delete;

    virtual void LoadProject(const std::string& FileName) = 0;
    virtual void CreateDataFiles() = 0;
    virtual void SaveParameters() = 0;
    virtual void BuildAll() = 0;

    // The whole build, watched by View: project, databases, media, parameters, package. An error
    // is shown with the error box. Returns Success.
    bool Run(TBuildProgress& View);
    // Frees the databases and the project, then deletes every work file. Safe to repeat.
    virtual void Close();

    bool Running() const { return running_; }
    // The Cancel button: the media loops stop before their next file.
    void Cancel() { Cancelled = true; }

    int32_t BuildKind = 0; // 2 leaves the player out of the package
    TEditorVersion EditorInfo;
    bool Cancelled = false;
    bool Success = false;
    std::string WorkFolder, ParamsFileName, ProjectFile, PlayerFile, OutputFile;

protected:
    TBuildProgress& View() const { return *view_; }
    void Progress(int Bar, int Position, const std::string& Text) const;
    // Lets messages run; true when the build is to stop before its next media file.
    bool CancelPending();
    // The work files this build may have made, for the clean-up.
    virtual std::vector<std::string> WorkFiles() const;
    // The package members after the player.
    virtual std::vector<std::string> DataFiles() const = 0;
    void FillEditorInfo(const TScrProjectFile& Project);
    // Copies the settings both products share into the parameter file.
    static void FillCommon(TScrBaseParamsFile& Params, const TIniScrProject& Project,
                           const TEditorVersion& Editor);

private:
    void Package();
    void MakePathsAbsolute();

    TErrorBox errorBox_;
    TBuildProgress* view_ = nullptr;
    bool running_ = false;
};

// "Images: %d" style texts.
std::string CountText(const char* Format, int32_t Count);

} // namespace somnex
