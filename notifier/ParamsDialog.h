#pragma once
// The connection settings dialog's behaviour, apart from its widgets. The controls' state is a
// plain record: the form copies its widgets into Controls before it forwards an event and copies
// Controls back afterwards.
#include "notifier/NotifierRecords.h"
#include "platform/registry/Registry.h"

#include <filesystem>
#include <string>

namespace heraldex {

enum class TEditColor { Window, ButtonFace };

struct TParamsControls {
    int Page = 0; // 0 "&Update", 1 "&Proxy"
    std::string Lab_LastUpdateTime;
    int cmb_UpdateType = -1; // selected index, -1 for none
    bool Chk_ShowCfgDialog = false;
    std::string edt_httpPort;
    bool Chk_UsePServer = false;
    std::string Edt_PServer;
    std::string Edt_PPort;
    bool Chk_UsePPwd = false;
    std::string Edt_PUser;
    std::string Edt_PPwd;

    bool Edt_PServerEnabled = true, Edt_PPortEnabled = true, Chk_UsePPwdEnabled = true;
    bool Edt_PUserEnabled = true, Edt_PPwdEnabled = true;
    TEditColor Edt_PServerColor = TEditColor::Window, Edt_PPortColor = TEditColor::Window;
    TEditColor Edt_PUserColor = TEditColor::Window, Edt_PPwdColor = TEditColor::Window;
};

inline constexpr int kUpdateTypeCount = 4; // "Every Startup" ... "Manually"
extern const char* const kUpdateTypeNames[kUpdateTypeCount];

class TParamsDialog {
public:
    explicit TParamsDialog(std::filesystem::path Store = plat::Registry::DefaultStorePath());

    std::string ProductName;
    TProxyParam ProxyParam;
    TUpdateParam UpdateParam;
    TParamsControls Controls;

    void FormShow();
    void Chk_UsePServerClick();
    void Chk_UsePPwdClick();
    // Takes the proxy from the browser's settings; nothing is saved yet.
    void SBtn_GetFromIEClick();
    // Saves both records. Registry errors propagate.
    void BtnOKClick();

    void FillControls();
    void ReadControls();
    void UpdateProxyPart();
    void UpdatePasswordPart();

private:
    std::filesystem::path store_;
};

} // namespace heraldex
