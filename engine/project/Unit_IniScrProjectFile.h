#pragma once
// TIniScrProject: a project kept in an INI file, with the sections both products share
// (FileInfo, Basic, ControlSetting, InterfaceSetting, InternetBanner, PlayerLogoSetting).
#include "engine/project/Unit_ScrProjectFile.h"
#include "shared/ini/IniFileEx.h"

#include <memory>

namespace somnex {

struct TControlSetting {
    bool ShowMouseCursor = false;
    bool AllowMouseEvent = false;
    bool UseSetting = false;
    bool RestoreMouse = false;
    bool RestoreNormalKey = false;
    bool RestoreCustom = false;
    bool AutoAdjust = false;
    int32_t CustomKey = 0;
    int32_t MouseSensitvity = 0;
};

struct TScreenSaverInterface {
    std::string Icon;
    bool UsePreview = false;
    bool ShowAuthorName = false;
    bool ShowScrName = false;
    int32_t PreviewType = 0;
    std::string PreviewMediaFile;
};

struct TInternetBanner {
    bool UseInternetBanner = false;
    std::string BannerImage;
    std::string BannerTip;
    std::string BannerURL;
};

struct TPlayerLogo {
    bool Customize = false;
    std::string LogoPic_Nor;
    std::string LogoPic_In;
    std::string LogoPic_Clk;
    bool EnableTran = false;
    int32_t OnClickMode = 0;
    std::string LogoHint;
    std::string LogoComments;
};

class TIniScrProject : public TScrProjectFile {
public:
    ~TIniScrProject() override = default;

    /// On the working copy after OpenProject, on the project file after NewProject, else null.
    std::unique_ptr<TIniFileEx> IniFile;
    TControlSetting ControlSetting;
    TScreenSaverInterface InterfaceSetting;
    TInternetBanner InternetBanner;
    TPlayerLogo PlayerLogo;

    bool OpenWorkingFile() override;
    void SetDefaults() override;
    void ReadFileInfo() override;
    void WriteFileInfo() override;
    void ReadBasic() override;
    void WriteBasic() override;
    void ReadSettings() override;
    void WriteSettings() override;
    /// Writes straight into FileName; no working copy, Opened stays false. Always true.
    bool NewProject(const std::string& FileName) override;
    bool CloseProject() override;
    /// FileInfo's IsScrProject of that file.
    bool IsProjectFile(const std::string& FileName) override;

protected:
    void ReleaseWorkingFile() override { IniFile.reset(); }
    /// The open INI file, or the error a write to a closed project raises.
    TIniFileEx& Ini() const;
    /// Path kind: relative when written, expanded when read.
    std::string ReadPath(std::string_view Section, std::string_view Key) const;
    void WritePath(std::string_view Section, std::string_view Key, const std::string& Path);
};

} // namespace somnex
