#pragma once
// The four project classes until the project objects arrive: each answers its interfaces, and
// every project operation fails with the abstract-operation error.
#include "engine/com/Unit_Somnex.h"

namespace somnex {

template <class Itf>
class TIScrProjectOf : public plat::ComImpl<Itf> {
public:
    void SetTag(const char16_t*) override { AbstractError(); }
    BSTR GetFileName() override { AbstractError(); }
    BSTR GetBackupFileName() override { AbstractError(); }
    void GetFileInfo(TFileInfo*) override { AbstractError(); }
    void GetScrInfo(TScrInfo*) override { AbstractError(); }
    bool IsOpened() override { AbstractError(); }
    void SetScrInfo(const TScrInfo*) override { AbstractError(); }
    void SetEditorInfo(const char16_t*, const char16_t*) override { AbstractError(); }
    void NewProject(const char16_t*) override { AbstractError(); }
    bool OpenProject(const char16_t*) override { AbstractError(); }
    bool WriteProject() override { AbstractError(); }
    void SaveProject(const char16_t*) override { AbstractError(); }
    bool CloseProject() override { AbstractError(); }
    bool IsProjectFile(const char16_t*) override { AbstractError(); }

protected:
    bool Answers(const IID& iid) const override {
        return plat::AnswersOneOf(iid, {IID_IUnknown, IID_IScrProject});
    }
};

template <class Itf>
class TIIniScrProjectOf : public TIScrProjectOf<Itf> {
public:
    void GetControlSetting(TControlSetting*) override { AbstractError(); }
    void GetInterfaceSetting(TScreenSaverInterface*) override { AbstractError(); }
    void GetInternetBanner(TInternetBanner*) override { AbstractError(); }
    void GetPlayerLogo(TPlayerLogo*) override { AbstractError(); }
    void SetControlSetting(const TControlSetting*) override { AbstractError(); }
    void SetInterfaceSetting(const TScreenSaverInterface*) override { AbstractError(); }
    void SetInternetBanner(const TInternetBanner*) override { AbstractError(); }
    void SetPlayerLogo(const TPlayerLogo*) override { AbstractError(); }

protected:
    bool Answers(const IID& iid) const override {
        return TIScrProjectOf<Itf>::Answers(iid) || iid == IID_IIniScrProject;
    }
};

class TIScrProject final : public TIScrProjectOf<IScrProject> {};

class TIIniScrProject final : public TIIniScrProjectOf<IIniScrProject> {};

class TIIniPCVScrProject final : public TIIniScrProjectOf<IIniPCVScrProject> {
protected:
    bool Answers(const IID& iid) const override {
        return TIIniScrProjectOf::Answers(iid) || iid == IID_IIniPCVScrProject;
    }
};

class TIIniVCVScrProject final : public TIIniScrProjectOf<IIniVCVScrProject> {
protected:
    bool Answers(const IID& iid) const override {
        return TIIniScrProjectOf::Answers(iid) || iid == IID_IIniVCVScrProject;
    }
};

} // namespace somnex
