#pragma once
// TWhatNewCOM, the notifier's one class: a stateless handle on the component-wide state, which
// is made when the library loads and shared by every object of the process.
#include "heraldex/Heraldex.h"
#include "notifier/NotifierState.h"
#include "platform/com/ComObject.h"

namespace heraldex {

struct TNotifierComponent {
    TNotifierState State;
    TCheckEnvironment Env;
};

// The component of this library, made on first use (at load for the shared library): Modal true,
// BaseParam from the registry, NewsFileName in the Windows directory stand-in.
TNotifierComponent& Component();
// A fresh component for Env, as the library's load makes one.
void InitComponent(TNotifierComponent& C, TCheckEnvironment Env);

// The Windows directory stand-in: $XDG_DATA_HOME/brindlewood (else ~/.local/share/brindlewood).
std::string WindowsDirectory();

class TWhatNewCOM final : public plat::ComImpl<IWhatNewCOM> {
public:
    explicit TWhatNewCOM(TNotifierComponent& C = Component()) : c_(C) {}

    void SetModal(bool Value) override;
    bool GetModal() override;
    void ShowOptions(const char* ProductName) override;
    bool IsTimeToCheck(const char* ProductName) override;
    void ShowNews(const char* ProductName) override;
    bool CheckUpdate(const char* ProductName, const char* Version, const char* URL) override;
    void CheckUpdateAndShowNews(const char* ProductName, const char* Version, const char* URL) override;

protected:
    bool Answers(const IID& iid) const override;

private:
    TNotifierComponent& c_;
};

} // namespace heraldex
