#include "notifier/ParamsDialog.h"

#include "notifier/NotifierDate.h"
#include "notifier/Unit_WhatsNewCommFun.h"

namespace heraldex {

const char* const kUpdateTypeNames[kUpdateTypeCount] = {"Every Startup", "Every Week", "Every Month",
                                                        "Manually"};

namespace {
TEditColor ColorFor(bool enabled) {
    return enabled ? TEditColor::Window : TEditColor::ButtonFace;
}
} // namespace

TParamsDialog::TParamsDialog(std::filesystem::path Store) : store_(std::move(Store)) {}

void TParamsDialog::FormShow() {
    Controls.Page = 0;
    FillControls();
    UpdateProxyPart();
    UpdatePasswordPart();
}

void TParamsDialog::Chk_UsePServerClick() {
    UpdateProxyPart();
    UpdatePasswordPart();
}

void TParamsDialog::Chk_UsePPwdClick() {
    UpdatePasswordPart();
}

void TParamsDialog::SBtn_GetFromIEClick() {
    TProxyParam fresh;
    fresh.Port.clear();
    ReadIEProxyParam(fresh, store_);
    ProxyParam = fresh;
    ProxyParam.Port = "80";
    ProxyParam.UsePwd = false;
    FillControls();
    UpdateProxyPart();
    UpdatePasswordPart();
}

void TParamsDialog::BtnOKClick() {
    ReadControls();
    SaveProxyParam(ProxyParam, store_);
    SaveUpdateParam(ProductName, UpdateParam, store_);
}

void TParamsDialog::FillControls() {
    TParamsControls& c = Controls;
    c.Lab_LastUpdateTime = FormatDate(UpdateParam.LastUpdateDate);
    // A stored code outside the list shows nothing selected.
    c.cmb_UpdateType = UpdateParam.UpdateType >= 0 && UpdateParam.UpdateType < kUpdateTypeCount
                           ? UpdateParam.UpdateType
                           : -1;
    c.Chk_ShowCfgDialog = UpdateParam.ShowCfgDialog;
    c.edt_httpPort = ProxyParam.Port;
    c.Chk_UsePServer = ProxyParam.Enable;
    c.Edt_PServer = ProxyParam.ProxyServer;
    c.Edt_PPort = ProxyParam.ProxyPort;
    c.Chk_UsePPwd = ProxyParam.UsePwd;
    c.Edt_PUser = ProxyParam.ProxyUserID;
    c.Edt_PPwd = ProxyParam.ProxyPassword;
}

void TParamsDialog::ReadControls() {
    const TParamsControls& c = Controls;
    UpdateParam.UpdateType = c.cmb_UpdateType;
    UpdateParam.ShowCfgDialog = c.Chk_ShowCfgDialog;
    ProxyParam.Port = c.edt_httpPort;
    ProxyParam.Enable = c.Chk_UsePServer;
    ProxyParam.ProxyServer = c.Edt_PServer;
    ProxyParam.ProxyPort = c.Edt_PPort;
    ProxyParam.UsePwd = c.Chk_UsePPwd;
    ProxyParam.ProxyUserID = c.Edt_PUser;
    ProxyParam.ProxyPassword = c.Edt_PPwd;
}

void TParamsDialog::UpdateProxyPart() {
    TParamsControls& c = Controls;
    bool on = c.Chk_UsePServer;
    c.Edt_PServerEnabled = c.Edt_PPortEnabled = c.Chk_UsePPwdEnabled = on;
    c.Edt_PUserEnabled = c.Edt_PPwdEnabled = on;
    c.Edt_PServerColor = c.Edt_PPortColor = ColorFor(on);
}

void TParamsDialog::UpdatePasswordPart() {
    TParamsControls& c = Controls;
    bool on = c.Chk_UsePPwd && c.Chk_UsePServer;
    c.Edt_PUserEnabled = c.Edt_PPwdEnabled = on;
    c.Edt_PUserColor = c.Edt_PPwdColor = ColorFor(on);
}

} // namespace heraldex
