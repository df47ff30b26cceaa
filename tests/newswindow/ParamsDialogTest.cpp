// The connection settings dialog's behaviour: what it shows on a fresh profile, which edits are
// enabled, taking the browser's proxy, and what OK and Cancel leave in the registry.
#include "notifier/ParamsDialog.h"
#include "notifier/Unit_WhatsNewComm.h"
#include "notifier/Unit_WhatsNewCommFun.h"
#include "tests/ini/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using namespace heraldex;

class ParamsDialogTest : public ::testing::Test {
protected:
    // Opens the dialog as ShowOptions does; Act plays the user.
    void Open(const std::string& product, const std::function<void(TParamsDialog&)>& Act) {
        TCheckEnvironment env;
        env.Store = store;
        env.ShowParams = [&](TParamsDialog& d) {
            d.FormShow();
            Act(d);
        };
        ShowOptionsDialog(product, env);
    }
    std::vector<std::string> Values(std::string_view key) {
        plat::Registry reg(plat::HKEY_CURRENT_USER, store);
        if (!reg.OpenKeyReadOnly(key)) return {};
        auto names = reg.GetValueNames();
        std::sort(names.begin(), names.end());
        return names;
    }
    void SetBrowser(std::optional<int> enable, std::optional<std::string> server) {
        plat::Registry reg(plat::HKEY_USERS, store);
        reg.OpenKey(kBrowserKey, true);
        if (enable) reg.WriteInteger("ProxyEnable", *enable);
        if (server) reg.WriteString("ProxyServer", *server);
    }
    somnex::test::TempFolder dir;
    std::filesystem::path store = dir / "registry.db";
};

TEST_F(ParamsDialogTest, FreshProfileShowsTheDefaults) {
    TParamsControls c;
    Open("Pictavio", [&](TParamsDialog& d) { c = d.Controls; });
    EXPECT_EQ(c.Page, 0);
    EXPECT_EQ(c.Lab_LastUpdateTime, "2000-01-01");
    EXPECT_EQ(c.cmb_UpdateType, 2);
    EXPECT_STREQ(kUpdateTypeNames[c.cmb_UpdateType], "Every Month");
    EXPECT_TRUE(c.Chk_ShowCfgDialog);
    EXPECT_EQ(c.edt_httpPort, "80");
    EXPECT_FALSE(c.Chk_UsePServer);
    EXPECT_FALSE(c.Edt_PServerEnabled || c.Edt_PPortEnabled || c.Chk_UsePPwdEnabled || c.Edt_PUserEnabled ||
                 c.Edt_PPwdEnabled);
    EXPECT_EQ(c.Edt_PServerColor, TEditColor::ButtonFace);
    EXPECT_EQ(c.Edt_PPortColor, TEditColor::ButtonFace);
}

struct EnableCase {
    bool Server, Password;
    bool ServerEdits, PasswordEdits;
};

class ParamsEnabling : public ParamsDialogTest, public ::testing::WithParamInterface<EnableCase> {};

TEST_P(ParamsEnabling, FollowsBothBoxes) {
    const EnableCase& e = GetParam();
    TParamsDialog d(store);
    d.FormShow();
    d.Controls.Chk_UsePPwd = e.Password;
    d.Chk_UsePPwdClick();
    d.Controls.Chk_UsePServer = e.Server;
    d.Chk_UsePServerClick();
    const TParamsControls& c = d.Controls;
    EXPECT_EQ(c.Edt_PServerEnabled, e.ServerEdits);
    EXPECT_EQ(c.Edt_PPortEnabled, e.ServerEdits);
    EXPECT_EQ(c.Chk_UsePPwdEnabled, e.ServerEdits);
    EXPECT_EQ(c.Edt_PServerColor, e.ServerEdits ? TEditColor::Window : TEditColor::ButtonFace);
    EXPECT_EQ(c.Edt_PUserEnabled, e.PasswordEdits);
    EXPECT_EQ(c.Edt_PPwdEnabled, e.PasswordEdits);
    EXPECT_EQ(c.Edt_PPwdColor, e.PasswordEdits ? TEditColor::Window : TEditColor::ButtonFace);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParamsEnabling,
                         ::testing::Values(EnableCase{false, false, false, false},
                                           EnableCase{true, false, true, false},
                                           EnableCase{false, true, false, false},
                                           EnableCase{true, true, true, true}));

TEST_F(ParamsDialogTest, GainFromTheBrowserWithItsProxyOffDiscardsEdits) {
    SetBrowser(0, "cache.example.invalid:3128");
    TProxyParam stored;
    stored.Port = "8080";
    stored.Enable = stored.UsePwd = true;
    stored.ProxyServer = "old";
    stored.ProxyPort = "1";
    stored.ProxyUserID = "ann";
    stored.ProxyPassword = "secret";
    SaveProxyParam(stored, store);
    Open("Pictavio", [&](TParamsDialog& d) {
        d.Controls.cmb_UpdateType = 0; // an unsaved edit on the other page
        d.SBtn_GetFromIEClick();
        const TParamsControls& c = d.Controls;
        EXPECT_FALSE(c.Chk_UsePServer);
        EXPECT_EQ(c.Edt_PServer, "");
        EXPECT_EQ(c.Edt_PPort, "");
        EXPECT_EQ(c.Edt_PUser, "");
        EXPECT_EQ(c.Edt_PPwd, "");
        EXPECT_FALSE(c.Chk_UsePPwd);
        EXPECT_EQ(c.edt_httpPort, "80");
        EXPECT_EQ(c.cmb_UpdateType, 2);
        EXPECT_FALSE(c.Edt_PServerEnabled);
    });
    // Nothing saved without OK.
    TProxyParam after;
    ReadProxyParam(after, store);
    EXPECT_EQ(after.ProxyServer, "old");
}

TEST_F(ParamsDialogTest, GainFromTheBrowserSplitsItsProxy) {
    SetBrowser(1, "cache.example.invalid:3128");
    Open("Pictavio", [&](TParamsDialog& d) {
        d.SBtn_GetFromIEClick();
        EXPECT_TRUE(d.Controls.Chk_UsePServer);
        EXPECT_EQ(d.Controls.Edt_PServer, "cache.example.invalid");
        EXPECT_EQ(d.Controls.Edt_PPort, "3128");
        EXPECT_TRUE(d.Controls.Edt_PServerEnabled);
        EXPECT_FALSE(d.Controls.Edt_PUserEnabled);
    });
}

TEST_F(ParamsDialogTest, OkWritesAllTenValuesAsTyped) {
    TUpdateParam last;
    last.LastUpdateDate = 46000.25;
    SaveLastUpdateDate("Pictavio", last.LastUpdateDate, store);
    Open("Pictavio", [](TParamsDialog& d) {
        TParamsControls& c = d.Controls;
        c.cmb_UpdateType = 1;
        c.Chk_ShowCfgDialog = false;
        c.edt_httpPort = "web";
        c.Chk_UsePServer = true;
        c.Edt_PServer = "proxy.invalid";
        c.Edt_PPort = "x1";
        c.Chk_UsePPwd = true;
        c.Edt_PUser = "ann";
        c.Edt_PPwd = "p w";
        d.BtnOKClick();
    });
    EXPECT_EQ(Values(kProxyKey), (std::vector<std::string>{"Enable", "Port", "ProxyPassword", "ProxyPort",
                                                           "ProxyServer", "ProxyUserID", "UsePwd"}));
    TProxyParam p;
    ReadProxyParam(p, store);
    EXPECT_EQ(p.Port, "web");
    EXPECT_EQ(p.ProxyPort, "x1");
    EXPECT_EQ(p.ProxyPassword, "p w");
    TUpdateParam u;
    ReadUpdateParam("Pictavio", u, store);
    EXPECT_EQ(u.UpdateType, 1);
    EXPECT_FALSE(u.ShowCfgDialog);
    EXPECT_DOUBLE_EQ(u.LastUpdateDate, 46000.25);
}

TEST_F(ParamsDialogTest, CancelWritesNothing) {
    Open("Pictavio", [](TParamsDialog& d) {
        d.Controls.Chk_UsePServer = true;
        d.Controls.cmb_UpdateType = 0;
    });
    EXPECT_TRUE(Values(kProxyKey).empty());
    EXPECT_TRUE(Values(std::string(kUpdateKey) + "Pictavio\\").empty());
}

TEST_F(ParamsDialogTest, UnknownScheduleShowsNoSelectionAndOkStoresMinusOne) {
    TUpdateParam u;
    u.UpdateType = 7;
    SaveUpdateParam("Pictavio", u, store);
    Open("Pictavio", [](TParamsDialog& d) {
        EXPECT_EQ(d.Controls.cmb_UpdateType, -1);
        d.BtnOKClick();
    });
    ReadUpdateParam("Pictavio", u, store);
    EXPECT_EQ(u.UpdateType, -1);
}

TEST_F(ParamsDialogTest, EmptyProductEditsTheUpdateKeyItself) {
    Open("", [](TParamsDialog& d) {
        d.Controls.cmb_UpdateType = 3;
        d.BtnOKClick();
    });
    EXPECT_EQ(Values(kUpdateKey),
              (std::vector<std::string>{"LastUpdateDate", "ShowCfgDialog", "UpdateType"}));
}

} // namespace
