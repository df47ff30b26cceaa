// somnex news through the real binary, as a person runs it without a display, against a
// loopback server.
#include "tests/ini/TempFolder.h"
#include "tests/notifiercheck/TinyHttpServer.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

using heraldex::test::Answer;
using heraldex::test::TinyHttpServer;

struct HostResult {
    int Status;
    std::string Out, Err;
};

class HostNews : public ::testing::Test {
protected:
    // args is shell text; the registry and the data folder are the test's own.
    HostResult Host(const std::string& args, const std::string& env = "") {
        const std::string err = dir / "stderr";
        const std::string cmd = "SOMNEX_REGISTRY='" + (dir / "registry.db") + "' XDG_DATA_HOME='" +
                                (dir / "data") + "' SOMNEX_UI=headless " + env + " '" SOMNEX_HOST_PATH "' " +
                                args + " 2>'" + err + "'";
        HostResult r{};
        FILE* pipe = ::popen(cmd.c_str(), "r");
        if (!pipe) return {-1, "", "popen failed"};
        std::array<char, 4096> buf;
        size_t n;
        while ((n = std::fread(buf.data(), 1, buf.size(), pipe)) > 0) r.Out.append(buf.data(), n);
        int status = ::pclose(pipe);
        r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream e(err, std::ios::binary);
        r.Err.assign(std::istreambuf_iterator<char>(e), {});
        return r;
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
    HostResult before = Host("news due Pictavio");
    EXPECT_EQ(before.Status, 1);
    EXPECT_TRUE(Has(before.Err, "somnex news register")) << before.Err;

    HostResult reg = Host("news register");
    ASSERT_EQ(reg.Status, 0) << reg.Err;
    EXPECT_TRUE(Has(reg.Out, "registered ")) << reg.Out;
    HostResult classes = Host("classes");
    EXPECT_TRUE(Has(classes.Out, "Heraldex.WhatNewCOM")) << classes.Out;
    EXPECT_TRUE(Has(classes.Out, "{4A9E1B36-6B12-11D7-8A3C-5E21D7F04B96}  Heraldex Control")) << classes.Out;
    HostResult create = Host("create Heraldex.WhatNewCOM");
    EXPECT_TRUE(Has(create.Out, "IWhatNewCOM        {4A9E1B37-6B12-11D7-8A3C-5E21D7F04B96}")) << create.Out;

    HostResult unreg = Host("news unregister");
    ASSERT_EQ(unreg.Status, 0) << unreg.Err;
    EXPECT_FALSE(Has(Host("classes").Out, "Heraldex.WhatNewCOM"));
}

TEST_F(HostNews, CheckThenShowPrintsTheNewsWindow) {
    ASSERT_EQ(Host("news register").Status, 0);
    TinyHttpServer server({Answer(200, kNewsBody)});
    HostResult check = Host("news check Pictavio 2.0 '" + server.Url("/whatsnew.ini") + "'");
    EXPECT_EQ(check.Status, 0) << check.Err;
    EXPECT_TRUE(Has(check.Out, "the check found news or an update")) << check.Out;
    // The newer version is told in its box, whose CR line ends are printed as line breaks.
    EXPECT_TRUE(Has(check.Err,
                    "[Prompt] Pictavio is Update!\n-------------------\n Currently Version: 2.0\n\n"
                    "* New Version: 2.1\n"))
        << check.Err;

    // A new process: the news window reads the local copy the check left.
    HostResult show = Host("news show Pictavio");
    EXPECT_EQ(show.Status, 0) << show.Err;
    EXPECT_EQ(show.Out, "What's New  Update Date: 2026-12-01 \n"
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
    ASSERT_EQ(Host("news register").Status, 0);
    TinyHttpServer server({Answer(200, kNewsBody)});
    HostResult r = Host("news check-show Pictavio 2.0 '" + server.Url("/whatsnew.ini") + "'");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_TRUE(Has(r.Out, "[x] Pictavio\n")) << r.Out;
}

TEST_F(HostNews, FailedConnectionIsToldAndTheFreshProfileStillCountsAsNews) {
    ASSERT_EQ(Host("news register").Status, 0);
    HostResult r = Host(
        "news check Pictavio 2.0 http://127.0.0.1:" + std::to_string(TinyHttpServer::ClosedPort()) + "/x");
    EXPECT_TRUE(Has(r.Err, "[Error] Connect Internet is failed!")) << r.Err;
    EXPECT_TRUE(Has(r.Out, "the check found news or an update")) << r.Out;
}

TEST_F(HostNews, DueAndOptionsAskAndPrint) {
    ASSERT_EQ(Host("news register").Status, 0);
    HostResult due = Host("news due Pictavio");
    EXPECT_EQ(due.Out, "a check is due\n");
    EXPECT_TRUE(
        Has(due.Err, "[Auto-Update] Pictavio is about to check for updates to Brindlewood Web Services."))
        << due.Err;
    EXPECT_EQ(Host("news due Pictavio", "SOMNEX_ANSWER=cancel").Out, "no check is due\n");
    HostResult options = Host("news options Pictavio");
    EXPECT_EQ(options.Status, 0) << options.Err;
    EXPECT_TRUE(Has(options.Out, "Auto-Update Options for Pictavio\n  Last checked for updates: 2000-01-01\n"
                                 "  Check for Updates: Every Month\n"))
        << options.Out;
    EXPECT_EQ(Host("news check Pictavio").Status, 2);
    EXPECT_EQ(Host("news frobnicate x").Status, 2);
}

} // namespace
