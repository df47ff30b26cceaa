#pragma once
// The INI project objects: thin shells that convert wide texts and records at the interface and
// forward every call to the project file object they own.
#include <memory>
#include <string>
#include <vector>

#include "engine/project/Com_ScrProject.h"
#include "engine/project/Unit_IniPcvProjectFile.h"
#include "engine/project/Unit_IniVcvProjectFile.h"

namespace somnex {

// Conversions between the interface records and the project file records. ToCom builds the whole
// result first and only then frees what the caller's storage held, so a failure leaves it as it
// was; a null record pointer raises instead of crashing.
#define SOMNEX_DECLARE_CONVERT(R)                                                                            \
    void ToCom(const R& From, ::R* To);                                                                      \
    void FromCom(const ::R* From, R& To);
SOMNEX_RECORDS(SOMNEX_DECLARE_CONVERT)
#undef SOMNEX_DECLARE_CONVERT
void ToCom(const std::vector<std::string>& From, TStrArray* To);
void FromCom(const TStrArray* From, std::vector<std::string>& To);

BSTR ToBstr(const std::string& Text);
// Null gives an empty text.
std::string FromWide(const char16_t* Text);

// The INI file of a project made or opened; raises for an object in neither state, so nothing is
// written to a file nobody chose.
void RequireProject(const TIniScrProject& Project);

template <class Itf, class File>
class TIIniScrProjectOf : public TIScrProjectOf<Itf> {
public:
    ~TIIniScrProjectOf() override {
        // A release without CloseProject discards the unsaved changes with the working copy.
        try {
            if (Project) Project->CloseProject();
        } catch (...) {
        }
    }

    void Initialize() override { Project = std::make_unique<File>(); }

    void SetTag(const char16_t* Text) override { P().Tag = FromWide(Text); }
    BSTR GetFileName() override { return ToBstr(P().FileName); }
    BSTR GetBackupFileName() override { return ToBstr(P().BackupFileName); }
    void GetFileInfo(::TFileInfo* Result) override { ToCom(P().FileInfo, Result); }
    void GetScrInfo(::TScrInfo* Result) override { ToCom(P().ScrInfo, Result); }
    bool IsOpened() override { return P().Opened; }
    void SetScrInfo(const ::TScrInfo* Info) override { FromCom(Info, P().ScrInfo); }
    void SetEditorInfo(const char16_t* EditorName, const char16_t* EditorVersion) override {
        P().SetEditorInfo(0, FromWide(EditorName));
        P().SetEditorInfo(1, FromWide(EditorVersion));
    }
    void NewProject(const char16_t* FileName) override { P().NewProject(FromWide(FileName)); }
    bool OpenProject(const char16_t* FileName) override { return P().OpenProject(FromWide(FileName)); }
    bool WriteProject() override {
        RequireProject(P());
        return P().WriteProject();
    }
    void SaveProject(const char16_t* FileName) override { P().SaveProject(FromWide(FileName)); }
    bool CloseProject() override { return P().CloseProject(); }
    bool IsProjectFile(const char16_t* FileName) override { return P().IsProjectFile(FromWide(FileName)); }

    void GetControlSetting(::TControlSetting* Result) override { ToCom(P().ControlSetting, Result); }
    void GetInterfaceSetting(::TScreenSaverInterface* Result) override {
        ToCom(P().InterfaceSetting, Result);
    }
    void GetInternetBanner(::TInternetBanner* Result) override { ToCom(P().InternetBanner, Result); }
    void GetPlayerLogo(::TPlayerLogo* Result) override { ToCom(P().PlayerLogo, Result); }
    void SetControlSetting(const ::TControlSetting* Setting) override {
        FromCom(Setting, P().ControlSetting);
    }
    void SetInterfaceSetting(const ::TScreenSaverInterface* Setting) override {
        FromCom(Setting, P().InterfaceSetting);
    }
    void SetInternetBanner(const ::TInternetBanner* Banner) override { FromCom(Banner, P().InternetBanner); }
    void SetPlayerLogo(const ::TPlayerLogo* Logo) override { FromCom(Logo, P().PlayerLogo); }

protected:
    bool Answers(const IID& iid) const override {
        return TIScrProjectOf<Itf>::Answers(iid) || iid == IID_IIniScrProject;
    }
    File& P() {
        if (!Project) throw EngineError("The project object has not been initialised");
        return *Project;
    }
    // The file object with a project made or opened, for the list operations.
    File& Listed() {
        RequireProject(P());
        return *Project;
    }

    std::unique_ptr<File> Project;
};

class TIIniScrProject final : public TIIniScrProjectOf<IIniScrProject, TIniScrProject> {};

class TIIniPCVScrProject final : public TIIniScrProjectOf<IIniPCVScrProject, TIniPCVProjectFile> {
public:
    void GetImage(int32_t Index, ::TImageRec* Result) override {
        TImageRec rec;
        Listed().ReadImage(Index, rec);
        ToCom(rec, Result);
    }
    BSTR GetMusic(int32_t Index) override { return ToBstr(Listed().ReadMusic(Index)); }
    void SetImage(int32_t Index, const ::TImageRec* Image) override {
        TImageRec rec;
        FromCom(Image, rec);
        Listed().WriteImage(Index, rec);
    }
    void SetMusic(int32_t Index, const char16_t* FileName) override {
        Listed().WriteMusic(Index, FromWide(FileName));
    }
    void GetImageSetting(::TImageSetting* Result) override { ToCom(P().ImageSetting, Result); }
    void GetMusicSetting(::TMusicSetting* Result) override { ToCom(P().MusicSetting, Result); }
    void GetBackground(::TScreenSaverBackground* Result) override { ToCom(P().Background, Result); }
    void GetEffect(::TScreensaverEffect* Result) override { ToCom(P().Effect, Result); }
    void GetSplashScreen(::TSplashScreen* Result) override { ToCom(P().SplashScreen, Result); }
    void GetBuildSetting(::TBuildSetting* Result) override { ToCom(P().BuildSetting, Result); }
    int32_t GetImageCount() override { return Listed().GetListCount(TListKind::Images); }
    int32_t GetMusicCount() override { return Listed().GetListCount(TListKind::Music); }
    void SetImageSetting(const ::TImageSetting* Setting) override { FromCom(Setting, P().ImageSetting); }
    void SetMusicSetting(const ::TMusicSetting* Setting) override { FromCom(Setting, P().MusicSetting); }
    void SetBackground(const ::TScreenSaverBackground* Background) override {
        FromCom(Background, P().Background);
    }
    void SetEffect(const ::TScreensaverEffect* Effect) override { FromCom(Effect, P().Effect); }
    void SetSplashScreen(const ::TSplashScreen* Splash) override { FromCom(Splash, P().SplashScreen); }
    void SetBuildSetting(const ::TBuildSetting* Setting) override { FromCom(Setting, P().BuildSetting); }
    void SetImageCount(int32_t Count) override { Listed().SetListCount(TListKind::Images, Count); }
    void SetMusicCount(int32_t Count) override { Listed().SetListCount(TListKind::Music, Count); }

protected:
    bool Answers(const IID& iid) const override {
        return TIIniScrProjectOf::Answers(iid) || iid == IID_IIniPCVScrProject;
    }
};

class TIIniVCVScrProject final : public TIIniScrProjectOf<IIniVCVScrProject, TIniVCVProjectFile> {
public:
    void GetFlashSetting(::TScreenSaverFlash* Result) override { ToCom(P().FlashSetting, Result); }
    int32_t GetFlashCount() override { return Listed().GetFlashCount(); }
    void GetFlash(int32_t Index, ::TFlashRec* Result) override { ToCom(Listed().ReadFlash(Index), Result); }
    void GetAttachments(int32_t Index, TStrArray* Result) override {
        ToCom(Listed().ReadAttachments(Index), Result);
    }
    void SetFlashSetting(const ::TScreenSaverFlash* Setting) override { FromCom(Setting, P().FlashSetting); }
    void SetFlashCount(int32_t Count) override { Listed().SetFlashCount(Count); }
    void SetFlash(int32_t Index, const ::TFlashRec* Flash) override {
        TFlashRec rec;
        FromCom(Flash, rec);
        Listed().WriteFlash(Index, rec);
    }
    void SetAttachments(int32_t Index, const TStrArray* Files) override {
        std::vector<std::string> list;
        FromCom(Files, list);
        Listed().WriteAttachments(Index, list);
    }

protected:
    bool Answers(const IID& iid) const override {
        return TIIniScrProjectOf::Answers(iid) || iid == IID_IIniVCVScrProject;
    }
};

} // namespace somnex
