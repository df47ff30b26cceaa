// The download window's behaviour against a loopback server (driven through a fake window, then
// once through the real one), and whole checks with the settings store and the local copy.
#include "notifier/ChkWhatsNew.h"
#include "notifier/Unit_WhatsNewComm.h"
#include "notifier/Unit_WhatsNewCommFun.h"
#include "notifier/form_ChkWhatsNew.h"
#include "somnex/EngineError.h"
#include "tests/ini/TempFolder.h"
#include "tests/notifiercheck/BoxRecorder.h"
#include "tests/notifiercheck/TinyHttpServer.h"

#include <QLabel>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>

namespace {

using namespace heraldex;
using heraldex::test::Answer;
using heraldex::test::Box;
using heraldex::test::BoxRecorder;
using heraldex::test::CannedAnswer;
using heraldex::test::TinyHttpServer;
using somnex::test::ReadFile;
using somnex::test::WriteFile;

const uint32_t kWarning = plat::MB_OK | plat::MB_ICONWARNING;
const Box kConnectBox{
    "Error", "Connect Internet is failed!\rYou need connect Internet to gain the latest news.", kWarning};
const Box kFailureBox{"Error", "Operation is failure! Please try again.", kWarning};

// Stands in for the window: records what it is asked to show, fires its timer at once (the
// interval is recorded) and can ask to close while the transfer runs.
class FakeWindow : public TChkWhatsNewView {
public:
    explicit FakeWindow(TChkWhatsNew& Check) : check_(Check) { Check.Attach(*this); }

    void SetTip(const std::string& Text) override { Tips.push_back(Text); }
    void SetBusyCursor(bool Busy) override {
        WasBusy = WasBusy || Busy;
        this->Busy = Busy;
    }
    void StartAnimation() override { check_.Animate1Start(); }
    void StopAnimation() override {}
    void StartTimer(int Milliseconds) override {
        TimerMs = Milliseconds;
        TimerRunning = true;
    }
    void StopTimer() override { TimerRunning = false; }
    void CloseWindow() override { ++Closes; }
    void ProcessMessages() override {
        if (CloseWhileBusy && !askedToClose_) {
            askedToClose_ = true;
            CloseRefused = !check_.CloseQuery();
        }
    }

    void Run() {
        check_.FormShow();
        if (Closes == 0 && TimerRunning) check_.Timer1Timer();
    }

    std::vector<std::string> Tips;
    bool Busy = false;
    bool WasBusy = false;
    int TimerMs = 0;
    bool TimerRunning = false;
    int Closes = 0;
    bool CloseWhileBusy = false;
    bool CloseRefused = false;

private:
    TChkWhatsNew& check_;
    bool askedToClose_ = false;
};

enum class Where { Server, ClosedPort, Https };

struct DownloadCase {
    const char* Name;
    Where Target;
    std::vector<CannedAnswer> Answers;
    std::string Status;
    std::vector<std::string> Tips; // after "Connect to Internet ..."
    std::vector<Box> Boxes;
    int TimerMs;
    bool Written;
};

std::ostream& operator<<(std::ostream& os, const DownloadCase& c) {
    return os << c.Name;
}

const std::string kBody = "[Info]\nUpdateDate=2026-12-01\nNewsCount=0\n";

class Download : public ::testing::TestWithParam<DownloadCase> {};

TEST_P(Download, EndsWithTheStatusTextsAndBoxesOfItsOutcome) {
    const DownloadCase& c = GetParam();
    somnex::test::TempFolder dir;
    std::unique_ptr<TinyHttpServer> server;
    TChkWhatsNew check;
    check.NewsFile = dir / "whatsnew.new";
    WriteFile(check.NewsFile, "earlier copy");
    switch (c.Target) {
    case Where::Server:
        server = std::make_unique<TinyHttpServer>(c.Answers);
        check.URL = server->Url("/whatsnew.ini");
        break;
    case Where::ClosedPort:
        check.URL = "http://127.0.0.1:" + std::to_string(TinyHttpServer::ClosedPort()) + "/whatsnew.ini";
        break;
    case Where::Https:
        check.URL = "https://127.0.0.1/whatsnew.ini";
        break;
    }
    check.ConfigureClient();
    check.NMHTTP1.MaxBodySize = 1000;
    check.NMHTTP1.TimeOut = 200;
    BoxRecorder boxes;
    FakeWindow window(check);
    window.Run();

    std::vector<std::string> tips = {"Connect to Internet ..."};
    tips.insert(tips.end(), c.Tips.begin(), c.Tips.end());
    EXPECT_EQ(window.Tips, tips);
    EXPECT_EQ(check.Tip(), tips.back());
    EXPECT_EQ(check.Status, c.Status);
    EXPECT_EQ(boxes.Boxes, c.Boxes);
    EXPECT_EQ(window.TimerMs, c.TimerMs);
    EXPECT_FALSE(window.TimerRunning);
    EXPECT_EQ(window.Closes, 1);
    EXPECT_FALSE(window.Busy) << "the cursor must be back to normal";
    EXPECT_EQ(ReadFile(check.NewsFile),
              c.Written ? "[Info]\r\nUpdateDate=2026-12-01\r\nNewsCount=0\r\n" : "earlier copy");
    EXPECT_EQ(dir.Listing(), "whatsnew.new;");
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, Download,
    ::testing::Values(
        DownloadCase{
            "Ok", Where::Server, {Answer(200, kBody)}, "OK", {"Connect...", "Complete."}, {}, 0, true},
        DownloadCase{"NotFound",
                     Where::Server,
                     {Answer(404, "<h1>gone</h1>")},
                     "Error",
                     {"Connect...", "Operation is failure"},
                     {kFailureBox},
                     0,
                     false},
        DownloadCase{"Refused",
                     Where::ClosedPort,
                     {},
                     "Error",
                     {"Connect is failed.", "Connection Failed"},
                     {kConnectBox},
                     2000,
                     false},
        DownloadCase{"TooLarge",
                     Where::Server,
                     {{"HTTP/1.0 200 OK\r\n\r\n" + std::string(5000, 'x')}},
                     "Error",
                     {"Connect...", plat::kBodyTooLarge},
                     {},
                     2000,
                     false},
        DownloadCase{"SlowServer",
                     Where::Server,
                     {{"HTTP/1.0 200 OK\r\n\r\n[Info]", true}},
                     "Error",
                     {"Connect...", "Socket capture aborted"},
                     {},
                     2000,
                     false},
        DownloadCase{
            "Https", Where::Https, {}, "Error", {"HTTP Secure Socket is not supported"}, {}, 2000, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Download, AFailedWriteTurnsOkIntoError) {
    somnex::test::TempFolder dir;
    TinyHttpServer server({Answer(200, kBody)});
    TChkWhatsNew check;
    check.NewsFile = dir / "whatsnew.new";
    std::filesystem::create_directory(check.NewsFile);
    check.URL = server.Url("/");
    BoxRecorder boxes;
    FakeWindow window(check);
    window.Run();
    EXPECT_EQ(check.Status, "Error");
    EXPECT_EQ(check.Tip(), "Cannot write the news file '" + check.NewsFile + "'");
    EXPECT_EQ(window.TimerMs, 2000);
    EXPECT_EQ(window.Closes, 1);
    EXPECT_TRUE(boxes.Boxes.empty());
    EXPECT_EQ(dir.Listing(), "whatsnew.new;");
}

TEST(Download, ClosingDuringTheTransferWaitsForItsEnd) {
    somnex::test::TempFolder dir;
    TinyHttpServer server({{"HTTP/1.0 200 OK\r\n\r\n" + kBody}});
    TChkWhatsNew check;
    check.NewsFile = dir / "whatsnew.new";
    check.URL = server.Url("/");
    FakeWindow window(check);
    window.CloseWhileBusy = true;
    window.Run();
    EXPECT_TRUE(window.CloseRefused);
    EXPECT_EQ(window.Closes, 1);
    EXPECT_EQ(check.Status, "OK");
    EXPECT_TRUE(window.WasBusy);
    EXPECT_TRUE(check.CloseQuery()) << "once the transfer has ended the window may close";
}

struct ProxyCase {
    const char* Name;
    TProxyParam Param;
    int Port;
    std::string Proxy;
    int ProxyPort;
    std::string UserId;
    std::string Error;
};

std::ostream& operator<<(std::ostream& os, const ProxyCase& c) {
    return os << c.Name;
}

class ClientSettings : public ::testing::TestWithParam<ProxyCase> {};

TEST_P(ClientSettings, ComeFromTheProxySettings) {
    const ProxyCase& c = GetParam();
    TChkWhatsNew check;
    check.ProxyParam = c.Param;
    if (!c.Error.empty()) {
        try {
            check.ConfigureClient();
            ADD_FAILURE() << "accepted";
        } catch (const somnex::EngineError& e) {
            EXPECT_EQ(std::string(e.what()), c.Error);
        }
        return;
    }
    check.ConfigureClient();
    EXPECT_EQ(check.NMHTTP1.Port, c.Port);
    EXPECT_EQ(check.NMHTTP1.Proxy, c.Proxy);
    if (!c.Proxy.empty()) {
        EXPECT_EQ(check.NMHTTP1.ProxyPort, c.ProxyPort);
    }
    EXPECT_EQ(check.NMHTTP1.UserId, c.UserId);
}

TProxyParam Proxy(std::string port, bool enable, bool usePwd, std::string server, std::string proxyPort) {
    TProxyParam p;
    p.Port = std::move(port);
    p.Enable = enable;
    p.UsePwd = usePwd;
    p.ProxyServer = std::move(server);
    p.ProxyPort = std::move(proxyPort);
    p.ProxyUserID = "bob";
    p.ProxyPassword = "pw";
    return p;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClientSettings,
    ::testing::Values(ProxyCase{"Direct", Proxy("8080", false, true, "proxy", "3128"), 8080, "", 0, "", ""},
                      ProxyCase{"PortNotANumber", Proxy("eighty", false, false, "", ""), 80, "", 0, "", ""},
                      ProxyCase{"PortOutOfRange", Proxy("70000", false, false, "", ""), 80, "", 0, "", ""},
                      ProxyCase{"ProxyNoPassword", Proxy("80", true, false, "proxy", "3128"), 80, "proxy",
                                3128, "", ""},
                      ProxyCase{"ProxyWithPassword", Proxy("80", true, true, "proxy", "3128"), 80, "proxy",
                                3128, "bob", ""},
                      ProxyCase{"ProxyPortNotANumber", Proxy("80", true, false, "proxy", "31x"), 0, "", 0, "",
                                "'31x' is not a valid integer value"},
                      ProxyCase{"ProxyPortEmpty", Proxy("80", true, false, "proxy", ""), 0, "", 0, "",
                                "'' is not a valid integer value"}),
    [](const auto& info) { return std::string(info.param.Name); });

// Whole checks: settings store, progress window (fake), local copy and evaluation.
class Check : public ::testing::Test {
protected:
    Check() {
        state.NewsFileName = dir / "data/whatsnew.new";
        state.CurrentProduct = "ABC";
        state.InstalledVersion = "1.0";
        env.Now = [] { return EncodeDate(2026, 12, 10) + 0.5; };
        env.Store = dir / "registry.db";
        env.ShowProgress = [](TChkWhatsNew& c) {
            FakeWindow window(c);
            window.Run();
        };
    }

    TUpdateParam Schedule() {
        TUpdateParam p;
        ReadUpdateParam("ABC", p, env.Store);
        return p;
    }
    TBaseParam Saved() {
        TBaseParam b;
        ReadBaseParam(b, env.Store);
        return b;
    }

    somnex::test::TempFolder dir;
    TNotifierState state;
    TCheckEnvironment env;
};

const std::string kNews =
    "[Info]\nUpdateDate=2026-12-01\nProduceCount=1\n[Produce1]\nName=ABC\nVersion=1.0\n";

TEST_F(Check, ADownloadWithNewsRecordsTheCheckAndTheNewsDate) {
    TinyHttpServer server({Answer(200, kNews)});
    BoxRecorder boxes;
    EXPECT_TRUE(CheckWhatsNew(server.Url("/whatsnew.ini"), state, env));
    EXPECT_TRUE(boxes.Boxes.empty());
    EXPECT_EQ(Schedule().LastUpdateDate, EncodeDate(2026, 12, 10));
    EXPECT_EQ(Saved().PreviousDate, "2026-12-01");
    EXPECT_TRUE(state.BaseParam.HasNews);
    EXPECT_FALSE(state.BaseParam.HasUpdate);
}

TEST_F(Check, AFailedFirstDownloadEvaluatesTheMissingCopyAsTodaysNews) {
    TinyHttpServer server({Answer(404, "")});
    BoxRecorder boxes;
    EXPECT_TRUE(CheckWhatsNew(server.Url("/whatsnew.ini"), state, env));
    EXPECT_EQ(boxes.Boxes, std::vector<Box>{kFailureBox});
    EXPECT_EQ(Schedule().LastUpdateDate, 36526.0) << "a failed check is not recorded";
    EXPECT_EQ(Saved().PreviousDate, "2026-12-10");
}

TEST_F(Check, AFailedDownloadWithAnOldCopyFindsNothing) {
    std::filesystem::create_directories(dir / "data");
    WriteFile(state.NewsFileName, "[Info]\r\nUpdateDate=2026-10-01\r\n");
    TBaseParam seen;
    seen.PreviousDate = "2026-11-01";
    SaveBaseParam(seen, env.Store);
    state.BaseParam = seen;
    BoxRecorder boxes;
    EXPECT_FALSE(
        CheckWhatsNew("http://127.0.0.1:" + std::to_string(TinyHttpServer::ClosedPort()) + "/", state, env));
    EXPECT_EQ(boxes.Boxes, (std::vector<Box>{kConnectBox,
                                             {"Prompt", "Can't fond any upgrade.",
                                              plat::MB_OK | plat::MB_ICONINFORMATION}}));
    EXPECT_EQ(Saved().PreviousDate, "2026-11-01");
    EXPECT_EQ(ReadFile(state.NewsFileName), "[Info]\r\nUpdateDate=2026-10-01\r\n");
}

TEST_F(Check, ABadProxyPortEndsTheCheckBeforeAnything) {
    TProxyParam p;
    p.Enable = true;
    p.ProxyServer = "127.0.0.1";
    p.ProxyPort = "abc";
    SaveProxyParam(p, env.Store);
    TinyHttpServer server({Answer(200, kNews)});
    BoxRecorder boxes;
    EXPECT_THROW(CheckWhatsNew(server.Url("/"), state, env), somnex::EngineError);
    EXPECT_TRUE(boxes.Boxes.empty()) << "no evaluation follows";
    EXPECT_TRUE(server.Requests().empty());
    EXPECT_EQ(Schedule().LastUpdateDate, 36526.0);
    EXPECT_FALSE(std::filesystem::exists(state.NewsFileName));
}

TEST_F(Check, TheProxySettingsCarryTheRequestAndItsCredentials) {
    TinyHttpServer proxy({Answer(200, kNews)});
    TProxyParam p;
    p.Enable = true;
    p.UsePwd = true;
    p.ProxyServer = "127.0.0.1";
    p.ProxyPort = std::to_string(proxy.Port());
    p.ProxyUserID = "bob";
    p.ProxyPassword = "pw";
    SaveProxyParam(p, env.Store);
    BoxRecorder boxes;
    EXPECT_TRUE(CheckWhatsNew("http://news.brindlewood.invalid/whatsnew.ini", state, env));
    ASSERT_EQ(proxy.Requests().size(), 1u);
    const std::string r = proxy.Requests()[0];
    EXPECT_EQ(r.rfind("GET http://news.brindlewood.invalid/whatsnew.ini HTTP/1.0\r\n", 0), 0u) << r;
    EXPECT_NE(r.find("\r\nProxy-Authorization: Basic Ym9iOnB3\r\n"), std::string::npos) << r; // bob:pw
    EXPECT_EQ(Saved().PreviousDate, "2026-12-01");
}

TEST(ProgressWindow, TheRealWindowRunsTheDownloadAndCloses) {
    ASSERT_TRUE(plat::EnsureApplication());
    somnex::test::TempFolder dir;
    TinyHttpServer server({Answer(200, kBody)});
    TChkWhatsNew check;
    check.NewsFile = dir / "whatsnew.new";
    check.URL = server.Url("/");
    Tfrm_ChkWhatsNew form(check);
    EXPECT_EQ(form.windowTitle().toStdString(), "Detect new version...");
    EXPECT_EQ(form.size(), QSize(168, 34));
    EXPECT_EQ(form.Lab_Tip->text().toStdString(), "Connect to Internet ...");
    form.exec();
    EXPECT_EQ(check.Status, "OK");
    EXPECT_EQ(form.Lab_Tip->text().toStdString(), "Complete.");
    EXPECT_EQ(ReadFile(check.NewsFile), "[Info]\r\nUpdateDate=2026-12-01\r\nNewsCount=0\r\n");
}

TEST(ProgressWindow, AnHttpErrorShowsItsBoxAndCloses) {
    ASSERT_TRUE(plat::EnsureApplication());
    somnex::test::TempFolder dir;
    TinyHttpServer server({Answer(500, "")});
    TChkWhatsNew check;
    check.NewsFile = dir / "whatsnew.new";
    check.URL = server.Url("/");
    BoxRecorder boxes;
    ShowChkWhatsNew(check);
    EXPECT_EQ(check.Status, "Error");
    EXPECT_EQ(boxes.Boxes, std::vector<Box>{kFailureBox});
    EXPECT_FALSE(std::filesystem::exists(check.NewsFile));
}

} // namespace
