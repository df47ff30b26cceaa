#include "notifier/ChkWhatsNew.h"

#include "notifier/NewsFileWrite.h"
#include "platform/ui/MessageBox.h"
#include "somnex/EngineError.h"

#include <charconv>
#include <exception>

namespace heraldex {

bool ParseInteger(const std::string& Text, int& Value) {
    const char* end = Text.data() + Text.size();
    auto [ptr, ec] = std::from_chars(Text.data(), end, Value);
    return !Text.empty() && ec == std::errc() && ptr == end;
}

TChkWhatsNew::TChkWhatsNew() : NMHTTP1(*this) {
    tip_ = "Connect to Internet ...";
}

void TChkWhatsNew::Attach(TChkWhatsNewView& View) {
    view_ = &View;
    NMHTTP1.ProcessMessages = [this] { view_->ProcessMessages(); };
}

TChkWhatsNewView& TChkWhatsNew::View() {
    if (!view_) throw somnex::EngineError("The progress window is missing");
    return *view_;
}

void TChkWhatsNew::ConfigureClient() {
    int port = 0;
    NMHTTP1.Port = ParseInteger(ProxyParam.Port, port) && port > 0 && port <= 65535 ? port : 80;
    NMHTTP1.Proxy.clear();
    NMHTTP1.UserId.clear();
    NMHTTP1.Password.clear();
    if (!ProxyParam.Enable) return;
    int proxyPort = 0;
    if (!ParseInteger(ProxyParam.ProxyPort, proxyPort))
        throw somnex::EngineError("'" + ProxyParam.ProxyPort + "' is not a valid integer value");
    if (proxyPort <= 0 || proxyPort > 65535)
        throw somnex::EngineError("'" + ProxyParam.ProxyPort + "' is not a valid port number");
    NMHTTP1.Proxy = ProxyParam.ProxyServer;
    NMHTTP1.ProxyPort = proxyPort;
    if (ProxyParam.UsePwd) {
        NMHTTP1.UserId = ProxyParam.ProxyUserID;
        NMHTTP1.Password = ProxyParam.ProxyPassword;
    }
}

void TChkWhatsNew::FormShow() {
    SetTip("Connect to Internet ...");
    View().StartAnimation();
}

void TChkWhatsNew::Animate1Start() {
    // The animation may restart; the download runs once per window.
    if (started_) return;
    started_ = true;
    try {
        NMHTTP1.Get(URL);
    } catch (const std::exception& e) {
        Status = "Error";
        View().SetBusyCursor(false);
        SetTip(e.what());
        View().StartTimer(kCloseDelay);
    }
    if (closePending_) {
        // A close asked for during the transfer wins over the error text's delay.
        closePending_ = false;
        View().StopTimer();
        View().CloseWindow();
    }
}

void TChkWhatsNew::Timer1Timer() {
    View().StopTimer();
    Close();
}

bool TChkWhatsNew::CloseQuery() {
    if (!NMHTTP1.Busy()) return true;
    closePending_ = true;
    return false;
}

void TChkWhatsNew::OnConnect() {
    View().SetBusyCursor(true);
    SetTip("Connect...");
}

void TChkWhatsNew::OnConnectionFailed() {
    View().StopAnimation();
    Status = "Error";
    View().SetBusyCursor(false);
    SetTip("Connect is failed.");
    plat::ShowMessageBox("Error",
                         "Connect Internet is failed!\rYou need connect Internet to gain the latest news.",
                         plat::MB_OK | plat::MB_ICONWARNING);
    Close();
}

void TChkWhatsNew::OnFailure(plat::HttpRequestKind) {
    View().StopAnimation();
    Status = "Error";
    View().SetBusyCursor(false);
    SetTip("Operation is failure");
    plat::ShowMessageBox("Error", "Operation is failure! Please try again.",
                         plat::MB_OK | plat::MB_ICONWARNING);
    Close();
}

void TChkWhatsNew::OnSuccess(plat::HttpRequestKind Kind) {
    Status = "OK";
    View().SetBusyCursor(false);
    SetTip("Complete.");
    // A write that fails raises out of Get, which turns the "OK" into "Error".
    if (Kind == plat::HttpRequestKind::Get) WriteNewsFile(NewsFile, NMHTTP1.Body());
    Close();
}

void TChkWhatsNew::SetTip(const std::string& Text) {
    tip_ = Text;
    View().SetTip(Text);
}

void TChkWhatsNew::Close() {
    if (NMHTTP1.Busy())
        closePending_ = true;
    else
        View().CloseWindow();
}

namespace {

class TNoWindow : public TChkWhatsNewView {
public:
    explicit TNoWindow(TChkWhatsNew& Check) : check_(Check) {}
    void SetTip(const std::string&) override {}
    void SetBusyCursor(bool) override {}
    void StartAnimation() override { check_.Animate1Start(); }
    void StopAnimation() override {}
    void StartTimer(int) override { timer_ = true; }
    void StopTimer() override { timer_ = false; }
    void CloseWindow() override { closed_ = true; }
    void ProcessMessages() override {}

    void Run() {
        check_.FormShow();
        while (!closed_ && timer_) check_.Timer1Timer();
    }

private:
    TChkWhatsNew& check_;
    bool timer_ = false;
    bool closed_ = false;
};

} // namespace

void RunCheckWithoutWindow(TChkWhatsNew& Check) {
    TNoWindow window(Check);
    Check.Attach(window);
    window.Run();
}

} // namespace heraldex
