#include "engine/project/Unit_IniScrProjectFile.h"

#include "somnex/EngineError.h"

namespace somnex {
namespace {

constexpr char kCurrentVersion[] = "2.0";

} // namespace

TIniFileEx& TIniScrProject::Ini() const {
    if (!IniFile) throw EngineError("Unable to write to " + FileName);
    return *IniFile;
}

std::string TIniScrProject::ReadPath(std::string_view Section, std::string_view Key) const {
    return ExpandPath(Ini().ReadString(Section, Key, ""));
}

void TIniScrProject::WritePath(std::string_view Section, std::string_view Key, const std::string& Path) {
    Ini().WriteString(Section, Key, MakeRelativePath(Path));
}

bool TIniScrProject::OpenWorkingFile() {
    try {
        IniFile = std::make_unique<TIniFileEx>(BackupFileName);
        return true;
    } catch (...) {
        return false;
    }
}

void TIniScrProject::SetDefaults() {
    FileInfo = {true, "Unknow", "1.0", kCurrentVersion};
    ScrInfo.Name = "Untitled";
    ScrInfo.Copyright = "Copyright (C) Your Company. All rights reserved.";
    ScrInfo.Author = "Your Name";
    ScrInfo.AuthorPhoto.clear();
    ScrInfo.Web = "http://www.example.com/";
    ScrInfo.Email = "support@example.com";
    ScrInfo.Readme.clear();
}

void TIniScrProject::ReadFileInfo() {
    TIniFileEx& ini = Ini();
    FileInfo.IsScrProject = true;
    FileInfo.Version = ini.ReadString("FileInfo", "Version", kCurrentVersion);
    FileInfo.EditorName = ini.ReadString("FileInfo", "EditorName", "Unknow");
    FileInfo.EditorVersion = ini.ReadString("FileInfo", "EditorVersion", "1.0");
}

void TIniScrProject::WriteFileInfo() {
    TIniFileEx& ini = Ini();
    ini.WriteBool("FileInfo", "IsScrProject", true);
    ini.WriteString("FileInfo", "Version", kCurrentVersion);
    ini.WriteString("FileInfo", "EditorName", FileInfo.EditorName);
    ini.WriteString("FileInfo", "EditorVersion", FileInfo.EditorVersion);
}

void TIniScrProject::ReadBasic() {
    TIniFileEx& ini = Ini();
    ScrInfo.Name = ini.ReadString("Basic", "Name", "Untitled");
    ScrInfo.Copyright = ini.ReadString("Basic", "Copyright", "");
    ScrInfo.Author = ini.ReadString("Basic", "Author", "");
    ScrInfo.AuthorPhoto = ReadPath("Basic", "AuthorPhoto");
    ScrInfo.Web = ini.ReadString("Basic", "Web", "");
    ScrInfo.Email = ini.ReadString("Basic", "Email", "");
    ScrInfo.Readme = ini.ReadBase64String("Basic", "Readme", "");
}

void TIniScrProject::WriteBasic() {
    TIniFileEx& ini = Ini();
    ini.WriteString("Basic", "Name", ScrInfo.Name);
    ini.WriteString("Basic", "Copyright", ScrInfo.Copyright);
    ini.WriteString("Basic", "Author", ScrInfo.Author);
    WritePath("Basic", "AuthorPhoto", ScrInfo.AuthorPhoto);
    ini.WriteString("Basic", "Web", ScrInfo.Web);
    ini.WriteString("Basic", "Email", ScrInfo.Email);
    ini.WriteBase64String("Basic", "Readme", ScrInfo.Readme);
}

void TIniScrProject::ReadSettings() {
    TIniFileEx& ini = Ini();
    TControlSetting& c = ControlSetting;
    c.ShowMouseCursor = ini.ReadBool("ControlSetting", "ShowMouseCursor", false);
    c.AllowMouseEvent = ini.ReadBool("ControlSetting", "AllowMouseEvent", false);
    c.UseSetting = ini.ReadBool("ControlSetting", "UseSetting", true);
    c.AutoAdjust = ini.ReadBool("ControlSetting", "AutoAdjust", false);
    c.RestoreMouse = ini.ReadBool("ControlSetting", "RestoreMouse", true);
    c.RestoreNormalKey = ini.ReadBool("ControlSetting", "RestoreNormalKey", true);
    c.RestoreCustom = ini.ReadBool("ControlSetting", "RestoreCustom", false);
    c.CustomKey = ini.ReadInteger("ControlSetting", "CustomKey", 0);
    c.MouseSensitvity = ini.ReadInteger("ControlSetting", "MouseSensitvity", 40);

    TScreenSaverInterface& i = InterfaceSetting;
    i.Icon = ini.ReadString("InterfaceSetting", "Icon", "");
    i.UsePreview = ini.ReadBool("InterfaceSetting", "UsePreview", false);
    i.PreviewType = ini.ReadInteger("InterfaceSetting", "PreviewType", 0);
    i.PreviewMediaFile = ReadPath("InterfaceSetting", "PreviewMediaFile");
    i.ShowAuthorName = ini.ReadBool("InterfaceSetting", "ShowAuthorName", false);
    i.ShowScrName = ini.ReadBool("InterfaceSetting", "ShowScrName", false);

    TInternetBanner& b = InternetBanner;
    b.UseInternetBanner = ini.ReadBool("InternetBanner", "UseInternetBanner", false);
    b.BannerImage = ReadPath("InternetBanner", "BannerImage");
    b.BannerTip = ini.ReadString("InternetBanner", "BannerTip", "");
    b.BannerURL = ini.ReadString("InternetBanner", "BannerURL", "");

    TPlayerLogo& l = PlayerLogo;
    l.Customize = ini.ReadBool("PlayerLogoSetting", "Customize", false);
    l.LogoPic_Nor = ReadPath("PlayerLogoSetting", "LogoPic_Nor");
    l.LogoPic_In = ReadPath("PlayerLogoSetting", "LogoPic_In");
    l.LogoPic_Clk = ReadPath("PlayerLogoSetting", "LogoPic_Clk");
    l.EnableTran = ini.ReadBool("PlayerLogoSetting", "EnableTran", false);
    l.OnClickMode = ini.ReadInteger("PlayerLogoSetting", "OnClickMode", -1);
    l.LogoHint = ini.ReadString("PlayerLogoSetting", "LogoHint", "");
    l.LogoComments = ini.ReadString("PlayerLogoSetting", "LogoComments", "");
}

void TIniScrProject::WriteSettings() {
    TIniFileEx& ini = Ini();
    const TControlSetting& c = ControlSetting;
    ini.WriteBool("ControlSetting", "ShowMouseCursor", c.ShowMouseCursor);
    ini.WriteBool("ControlSetting", "AllowMouseEvent", c.AllowMouseEvent);
    ini.WriteBool("ControlSetting", "UseSetting", c.UseSetting);
    ini.WriteBool("ControlSetting", "AutoAdjust", c.AutoAdjust);
    ini.WriteBool("ControlSetting", "RestoreMouse", c.RestoreMouse);
    ini.WriteBool("ControlSetting", "RestoreNormalKey", c.RestoreNormalKey);
    ini.WriteBool("ControlSetting", "RestoreCustom", c.RestoreCustom);
    ini.WriteInteger("ControlSetting", "CustomKey", c.CustomKey);
    ini.WriteInteger("ControlSetting", "MouseSensitvity", c.MouseSensitvity);

    const TScreenSaverInterface& i = InterfaceSetting;
    ini.WriteString("InterfaceSetting", "Icon", i.Icon);
    ini.WriteBool("InterfaceSetting", "UsePreview", i.UsePreview);
    ini.WriteInteger("InterfaceSetting", "PreviewType", i.PreviewType);
    WritePath("InterfaceSetting", "PreviewMediaFile", i.PreviewMediaFile);
    ini.WriteBool("InterfaceSetting", "ShowAuthorName", i.ShowAuthorName);
    ini.WriteBool("InterfaceSetting", "ShowScrName", i.ShowScrName);

    const TInternetBanner& b = InternetBanner;
    if (b.UseInternetBanner) {
        ini.WriteBool("InternetBanner", "UseInternetBanner", true);
        WritePath("InternetBanner", "BannerImage", b.BannerImage);
        ini.WriteString("InternetBanner", "BannerTip", b.BannerTip);
        ini.WriteString("InternetBanner", "BannerURL", b.BannerURL);
    } else {
        ini.EraseSection("InternetBanner");
    }

    const TPlayerLogo& l = PlayerLogo;
    if (l.Customize) {
        ini.WriteBool("PlayerLogoSetting", "Customize", true);
        WritePath("PlayerLogoSetting", "LogoPic_Nor", l.LogoPic_Nor);
        WritePath("PlayerLogoSetting", "LogoPic_In", l.LogoPic_In);
        WritePath("PlayerLogoSetting", "LogoPic_Clk", l.LogoPic_Clk);
        ini.WriteBool("PlayerLogoSetting", "EnableTran", l.EnableTran);
        ini.WriteInteger("PlayerLogoSetting", "OnClickMode", l.OnClickMode);
        ini.WriteString("PlayerLogoSetting", "LogoHint", l.LogoHint);
        ini.WriteString("PlayerLogoSetting", "LogoComments", l.LogoComments);
    } else {
        ini.EraseSection("PlayerLogoSetting");
    }
}

bool TIniScrProject::NewProject(const std::string& Name) {
    if (Opened || !BackupFileName.empty()) CloseProject();
    SetDefaults();
    SetFileName(Name);
    IniFile = std::make_unique<TIniFileEx>(FileName);
    return true;
}

bool TIniScrProject::CloseProject() {
    IniFile.reset();
    return TScrProjectFile::CloseProject();
}

bool TIniScrProject::IsProjectFile(const std::string& Name) {
    return TIniFileEx(Name).ReadBool("FileInfo", "IsScrProject", false);
}

} // namespace somnex
