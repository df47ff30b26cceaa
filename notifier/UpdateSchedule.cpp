#include "notifier/UpdateSchedule.h"

#include "notifier/Unit_WhatsNewCommFun.h"
#include "platform/ui/MessageBox.h"

#include <cmath>
#include <exception>
#include <string>

namespace heraldex {

bool IsCheckDue(const TUpdateParam& Param, TDateTime Today) {
    double minimum;
    switch (Param.UpdateType) {
    case 0:
        return true;
    case 1:
        minimum = 7.0;
        break;
    case 2:
        minimum = 30.0;
        break;
    default:
        return false;
    }
    double days = Today - Param.LastUpdateDate;
    return !(days >= 0.0) || days >= minimum;
}

bool IsTimeToCheck(std::string_view ProductName, const TCheckEnvironment& Env) {
    TUpdateParam param;
    try {
        ReadUpdateParam(ProductName, param, Env.Store);
    } catch (const std::exception&) {
        param = TUpdateParam{};
    }
    if (!IsCheckDue(param, std::floor(Env.Now()))) return false;
    if (!param.ShowCfgDialog) return true;
    std::string text =
        std::string(ProductName) + " is about to check for updates to Brindlewood Web Services.";
    return plat::ShowMessageBox("Auto-Update", text, plat::MB_OKCANCEL | plat::MB_ICONQUESTION) == plat::IDOK;
}

} // namespace heraldex
