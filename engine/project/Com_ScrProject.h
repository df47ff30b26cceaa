#pragma once
// TIScrProject: the project object that has no project file behind it. It answers IScrProject,
// and every operation fails with the abstract-operation error; the INI classes replace them all.
#include "engine/com/Unit_Somnex.h"
#include "platform/com/ComObject.h"
#include "somnex/ScrProject.h"

namespace somnex {

template <class Itf>
class TIScrProjectOf : public plat::ComImpl<Itf> {
public:
    void SetTag(const char16_t*) override { AbstractError(); }
    BSTR GetFileName() override { AbstractError(); }
    BSTR GetBackupFileName() override { AbstractError(); }
    void GetFileInfo(::TFileInfo*) override { AbstractError(); }
    void GetScrInfo(::TScrInfo*) override { AbstractError(); }
    bool IsOpened() override { AbstractError(); }
    void SetScrInfo(const ::TScrInfo*) override { AbstractError(); }
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

class TIScrProject final : public TIScrProjectOf<IScrProject> {};

} // namespace somnex
