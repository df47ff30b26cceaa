#pragma once
// The download progress window's behaviour, apart from its widgets: it fetches URL into
// NewsFile, shows how far it got and ends with Status "OK" or "Error". The window forwards
// its events here and does what the view calls ask.
#include "notifier/NotifierRecords.h"
#include "platform/net/HttpClient.h"

#include <string>

namespace heraldex {

class TChkWhatsNewView {
public:
    virtual void SetTip(const std::string& Text) = 0; // Lab_Tip
    virtual void SetBusyCursor(bool Busy) = 0;
    // Starts Animate1; once it runs, the window calls Animate1Start.
    virtual void StartAnimation() = 0;
    virtual void StopAnimation() = 0;
    // Timer1; when it fires the window calls Timer1Timer.
    virtual void StartTimer(int Milliseconds) = 0;
    virtual void StopTimer() = 0;
    virtual void CloseWindow() = 0;
    // Handles pending window events while the transfer waits.
    virtual void ProcessMessages() = 0;

protected:
    ~TChkWhatsNewView() = default;
};

class TChkWhatsNew : private plat::HttpClientEvents {
public:
    static constexpr int kCloseDelay = 2000; // how long an error text stays up

    TChkWhatsNew();
    // The window that shows this check; set before FormShow.
    void Attach(TChkWhatsNewView& View);

    std::string NewsFile;
    std::string URL;
    std::string Status; // "", "OK" or "Error"
    TProxyParam ProxyParam;
    plat::HttpClient NMHTTP1;

    // The client's port and proxy from ProxyParam. Raises EngineError for a proxy port that is
    // not a number, which ends the whole check before the window shows.
    void ConfigureClient();

    void FormShow();
    void Animate1Start();
    void Timer1Timer();
    // Whether the window may close now; during the transfer the request is kept and carried out
    // when the transfer has ended.
    bool CloseQuery();

    const std::string& Tip() const { return tip_; }

private:
    void OnConnect() override;
    void OnConnectionFailed() override;
    void OnSuccess(plat::HttpRequestKind Kind) override;
    void OnFailure(plat::HttpRequestKind Kind) override;

    void SetTip(const std::string& Text);
    void Close();
    TChkWhatsNewView& View();

    TChkWhatsNewView* view_ = nullptr;
    std::string tip_;
    bool started_ = false;
    bool closePending_ = false;
};

// Decimal text as an integer; false for anything else (blanks, signs included).
bool ParseInteger(const std::string& Text, int& Value);

// For a host without a widget application: the same check with no window; the error text's
// delay is skipped.
void RunCheckWithoutWindow(TChkWhatsNew& Check);

} // namespace heraldex
