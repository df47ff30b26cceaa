#include "notifier/Unit_WhatsNewComm.h"

#include "notifier/BwdInternetMisc.h"
#include "notifier/ChkWhatsNew.h"
#include "notifier/EvaluateNewsFile.h"
#include "notifier/HeadlessNewsView.h"
#include "notifier/ParamsDialog.h"
#include "notifier/Unit_WhatsNewCommFun.h"
#include "notifier/form_ChkWhatsNew.h"
#include "notifier/form_News.h"
#include "notifier/form_Param.h"
#include "platform/com/ComObject.h"
#include "platform/ui/MessageBox.h"

#include <cmath>

namespace heraldex {

namespace {

bool IsOk(const std::string& status) {
    return status.size() == 2 && (status[0] == 'O' || status[0] == 'o') &&
           (status[1] == 'K' || status[1] == 'k');
}

} // namespace

bool CheckWhatsNew(const std::string& URL, TNotifierState& State, const TCheckEnvironment& Env) {
    {
        TChkWhatsNew check;
        ReadProxyParam(check.ProxyParam, Env.Store);
        check.NewsFile = State.NewsFileName;
        check.URL = URL;
        check.ConfigureClient();
        if (Env.ShowProgress)
            Env.ShowProgress(check);
        else
            ShowChkWhatsNew(check);
        if (IsOk(check.Status)) SaveLastUpdateDate(State.CurrentProduct, std::floor(Env.Now()), Env.Store);
    }
    // Also after a failed download: the copy an earlier check left, or none, is evaluated.
    bool result = EvaluateNewsFile(State.NewsFileName, State.BaseParam, State.CurrentProduct,
                                   State.InstalledVersion, Env.Now);
    if (result) SaveBaseParam(State.BaseParam, Env.Store);
    return result;
}

namespace {

TNewsActions ActionsFor(TNotifierState& State, const TCheckEnvironment& Env) {
    TNewsActions a;
    a.ShowOptions = [Env](const std::string& product) { ShowOptionsDialog(product, Env); };
    a.CheckWhatsNew = [&State, Env](const std::string& url) { return CheckWhatsNew(url, State, Env); };
    a.ShellOpen = [](int mode, const std::string& target) { return ShellOpen(mode, target); };
    return a;
}

// While a modeless window is open the library must stay loaded.
class TModelessNewsForm : public Tfrm_News {
public:
    TModelessNewsForm(std::unique_ptr<TNewsWindow> Window, TNotifierState& State)
        : Tfrm_News(std::move(Window), State) {
        plat::ModuleCounts::Lock();
    }
    ~TModelessNewsForm() override { plat::ModuleCounts::Unlock(); }
};

} // namespace

void ShowNewsWindow(TNotifierState& State, const TCheckEnvironment& Env) {
    if (!State.Modal && State.OpenNewsWindow) {
        State.OpenNewsWindow->BringForward();
        return;
    }
    auto window = std::make_unique<TNewsWindow>(State, ActionsFor(State, Env), Env.Store, Env.Now);
    window->NewsFile = State.NewsFileName;
    if (Env.ShowNewsModal) {
        Env.ShowNewsModal(*window);
        return;
    }
    if (plat::CurrentUiMode() == plat::UiMode::Headless || !plat::EnsureApplication()) {
        THeadlessNewsView view;
        window->Attach(view);
        window->FormCreate();
        window->FormShow();
        return;
    }
    if (State.Modal) {
        Tfrm_News form(*window, State);
        State.OpenNewsWindow = &form;
        struct Forget {
            TNotifierState& s;
            ~Forget() { s.OpenNewsWindow = nullptr; }
        } forget{State};
        form.exec();
        if (form.Error) std::rethrow_exception(form.Error);
        return;
    }
    auto* form = new TModelessNewsForm(std::move(window), State);
    form->setAttribute(Qt::WA_DeleteOnClose);
    State.OpenNewsWindow = form;
    form->show();
    if (form->Error) {
        std::exception_ptr error = form->Error;
        delete form;
        std::rethrow_exception(error);
    }
}

void ShowOptionsDialog(const std::string& ProductName, const TCheckEnvironment& Env) {
    TParamsDialog dialog(Env.Store);
    dialog.ProductName = ProductName;
    ReadProxyParam(dialog.ProxyParam, Env.Store);
    ReadUpdateParam(ProductName, dialog.UpdateParam, Env.Store);
    if (Env.ShowParams)
        Env.ShowParams(dialog);
    else
        ShowParamsForm(dialog);
}

} // namespace heraldex
