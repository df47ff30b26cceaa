#include "notifier/WhatsNewCom.h"

#include "notifier/Unit_WhatsNewComm.h"
#include "notifier/Unit_WhatsNewCommFun.h"
#include "notifier/UpdateSchedule.h"
#include "platform/ui/MessageBox.h"

#include <cstdlib>
#include <exception>

namespace heraldex {

namespace {
std::string Text(const char* s) {
    return s ? std::string(s) : std::string();
}

// The error guard of the operations: the message in an "Error" box, and a normal return.
template <class F>
bool Guarded(F&& work) {
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        plat::ShowMessageBox("Error", e.what(), plat::MB_OK | plat::MB_ICONERROR);
    } catch (...) {
        plat::ShowMessageBox("Error", "Unknown error", plat::MB_OK | plat::MB_ICONERROR);
    }
    return false;
}
} // namespace

std::string WindowsDirectory() {
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string base;
    if (data && *data) {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : ".") + "/.local/share";
    }
    return base + "/brindlewood";
}

void InitComponent(TNotifierComponent& C, TCheckEnvironment Env) {
    C.State = TNotifierState{};
    C.Env = std::move(Env);
    try {
        ReadBaseParam(C.State.BaseParam, C.Env.Store);
    } catch (const std::exception&) {
        // A damaged "PreviousDate" group must not stop the library: a fresh profile's values.
        C.State.BaseParam = TBaseParam{};
    }
    C.State.BaseParam.HasNews = C.State.BaseParam.HasUpdate = false;
    C.State.NewsFileName = WindowsDirectory() + "/whatsnew.new";
}

TNotifierComponent& Component() {
    static TNotifierComponent c;
    [[maybe_unused]] static const bool made = (InitComponent(c, {}), true);
    return c;
}

bool TWhatNewCOM::Answers(const IID& iid) const {
    return plat::AnswersOneOf(iid, {IID_IUnknown, IID_IWhatNewCOM});
}

void TWhatNewCOM::SetModal(bool Value) {
    c_.State.Modal = Value;
}

bool TWhatNewCOM::GetModal() {
    return c_.State.Modal;
}

void TWhatNewCOM::ShowOptions(const char* ProductName) {
    std::string product = Text(ProductName);
    Guarded([&] { ShowOptionsDialog(product, c_.Env); });
}

bool TWhatNewCOM::IsTimeToCheck(const char* ProductName) {
    // No error may reach the host; the schedule already reads bad settings as a fresh profile's.
    try {
        return heraldex::IsTimeToCheck(Text(ProductName), c_.Env);
    } catch (const std::exception&) {
        return false;
    }
}

void TWhatNewCOM::ShowNews(const char* ProductName) {
    std::string product = Text(ProductName);
    Guarded([&] {
        c_.State.CurrentProduct = product;
        ShowNewsWindow(c_.State, c_.Env);
    });
}

bool TWhatNewCOM::CheckUpdate(const char* ProductName, const char* Version, const char* URL) {
    std::string product = Text(ProductName), version = Text(Version), url = Text(URL);
    bool result = false;
    if (!Guarded([&] {
            c_.State.CheckURL = url;
            c_.State.CurrentProduct = product;
            c_.State.InstalledVersion = version;
            result = CheckWhatsNew(url, c_.State, c_.Env);
        }))
        return false;
    return result;
}

void TWhatNewCOM::CheckUpdateAndShowNews(const char* ProductName, const char* Version, const char* URL) {
    std::string product = Text(ProductName), version = Text(Version), url = Text(URL);
    Guarded([&] {
        c_.State.CheckURL = url;
        c_.State.CurrentProduct = product;
        c_.State.InstalledVersion = version;
        CheckWhatsNew(url, c_.State, c_.Env);
        ShowNewsWindow(c_.State, c_.Env);
    });
}

} // namespace heraldex
