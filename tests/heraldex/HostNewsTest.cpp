// somnex news through the real binary, as a person runs it without a display, against a
// loopback server.
#include "tests/host/HostRun.h"
#include "tests/ini/TempFolder.h"
#include "tests/notifiercheck/TinyHttpServer.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

using heraldex::test::Answer;
using heraldex::test::TinyHttpServer;

using hosttest::HostRun;

class HostNews : public ::testing::Test {
protected:
    // args is shell text; the registry and the data folder are the test's own.
    HostRun Host(const std::string& args, const std::string& env = "") {
        return hosttest::RunHost(SOMNEX_HOST_PATH, dir.Dir(), args,
                                 "XDG_DATA_HOME='" + (dir / "data") + "' SOMNEX_UI=headless " + env);
    }
    bool Has(const std::string& text, const std::string& part) {
        return text.find(part) != std::string::npos;
    }

    somnex::test::TempFolder dir;
};

const std::string kNewsBody = "[Info]\r\nUpdateDate=2026-12-01\r\nNewsCount=1\r\nProduceCount=2\r\n"
                              "[News]\r\nDate1=2026-12-01\r\nNews1=Pictavio 2.1 is out\r\n"
                              "URL1=http://example.invalid/news\r\n"
                              "[Produce1]\r\nName=Pictavio\r\nVersion=2.1\r\nSize=3 MB\r\n"
                              "[Produce2]\r\nName=Vectavio\r\nVersion=1.5\r\nLicense=Freeware\r\n";

TEST_F(HostNews, RegisterMakesTheClassVisibleToHosts) {
    HostRun before = Host("news due Pictavio");
    EXPECT_EQ(before.status, 1);
    EXPECT_TRUE(Has(before.err, "somnex news register")) << before.err;

    HostRun reg = Host("news register");
    ASSERT_EQ(reg.status, 0) << reg.err;
    EXPECT_TRUE(Has(reg.out, "registered ")) << reg.out;
    HostRun classes = Host("classes");
    EXPECT_TRUE(Has(classes.out, "Heraldex.WhatNewCOM")) << classes.out;
    EXPECT_TRUE(Has(classes.out, "{4A9E1B36-6B12-11D7-8A3C-5E21D7F04B96}  Heraldex Control")) << classes.out;
    HostRun create = Host("create Heraldex.WhatNewCOM");
    EXPECT_TRUE(Has(create.out, "IWhatNewCOM        {4A9E1B37-6B12-11D7-8A3C-5E21D7F04B96}")) << create.out;

    HostRun unreg = Host("news unregister");
    ASSERT_EQ(unreg.status, 0) << unreg.err;
    EXPECT_FALSE(Has(Host("classes").out, "Heraldex.WhatNewCOM"));
}

TEST_F(HostNews, CheckThenShowPrintsTheNewsWindow) {
    ASSERT_EQ(Host("news register").status, 0);
    TinyHttpServer server({Answer(200, kNewsBody)});
    HostRun check = Host("news check Pictavio 2.0 '" + server.Url("/whatsnew.ini") + "'");
    EXPECT_EQ(check.status, 0) << check.err;
    EXPECT_TRUE(Has(check.out, "the check found news or an update")) << check.out;
    // The newer version is told in its box, whose CR line ends are printed as line breaks.
    EXPECT_TRUE(Has(check.err,
                    "[Prompt] Pictavio is Update!\n-------------------\n Currently Version: 2.0\n\n"
                    "* New Version: 2.1\n"))
        << check.err;

    // A new process: the news window reads the local copy the check left.
    HostRun show = Host("news show Pictavio");
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.out, "What's New  Update Date: 2026-12-01 \n"
                        "News\n"
                        "  2026-12-01 Pictavio 2.1 is out  <http://example.invalid/news>\n"
                        "Pictavio\n"
                        "  Version: 2.1\n"
                        "  File Size: 3 MB\n"
                        "  License: Shareware\n"
                        "  Category: Product\n"
                        "Other Products\n"
                        "  Vectavio\n"
                        "    Version: 1.5\n"
                        "    License: Freeware\n"
                        "    Category: Product\n");
}

TEST_F(HostNews, CheckAndShowInOneProcessSelectsTheUpdate) {
    ASSERT_EQ(Host("news register").status, 0);
    TinyHttpServer server({Answer(200, kNewsBody)});
    HostRun r = Host("news check-show Pictavio 2.0 '" + server.Url("/whatsnew.ini") + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(Has(r.out, "[x] Pictavio\n")) << r.out;
}

TEST_F(HostNews, FailedConnectionIsToldAndTheFreshProfileStillCountsAsNews) {
    ASSERT_EQ(Host("news register").status, 0);
    HostRun r = Host(
        "news check Pictavio 2.0 http://127.0.0.1:" + std::to_string(TinyHttpServer::ClosedPort()) + "/x");
    EXPECT_TRUE(Has(r.err, "[Error] Connect Internet is failed!")) << r.err;
    EXPECT_TRUE(Has(r.out, "the check found news or an update")) << r.out;
}

TEST_F(HostNews, DueAndOptionsAskAndPrint) {
    ASSERT_EQ(Host("news register").status, 0);
    HostRun due = Host("news due Pictavio");
    EXPECT_EQ(due.out, "a check is due\n");
    EXPECT_TRUE(
        Has(due.err, "[Auto-Update] Pictavio is about to check for updates to Brindlewood Web Services."))
        << due.err;
    EXPECT_EQ(Host("news due Pictavio", "SOMNEX_ANSWER=cancel").out, "no check is due\n");
    HostRun options = Host("news options Pictavio");
    EXPECT_EQ(options.status, 0) << options.err;
    EXPECT_TRUE(Has(options.out, "Auto-Update Options for Pictavio\n  Last checked for updates: 2000-01-01\n"
                                 "  Check for Updates: Every Month\n"))
        << options.out;
    EXPECT_EQ(Host("news check Pictavio").status, 2);
    EXPECT_EQ(Host("news frobnicate x").status, 2);
}

} // namespace
