#include "notifier/Unit_WhatsNewComm.h"

#include "notifier/ChkWhatsNew.h"
#include "notifier/EvaluateNewsFile.h"
#include "notifier/Unit_WhatsNewCommFun.h"
#include "notifier/form_ChkWhatsNew.h"

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

} // namespace heraldex
