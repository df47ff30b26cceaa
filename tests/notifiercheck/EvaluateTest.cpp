// Evaluating a news file against the news already seen and the installed version, and writing
// a downloaded body as the local copy.
#include "notifier/EvaluateNewsFile.h"
#include "notifier/NewsFileWrite.h"
#include "somnex/EngineError.h"
#include "tests/ini/TempFolder.h"
#include "tests/notifiercheck/BoxRecorder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

namespace {

using namespace heraldex;
using heraldex::test::Box;
using heraldex::test::BoxRecorder;
using somnex::test::ReadFile;
using somnex::test::WriteFile;

const NowFunction kClock = [] { return EncodeDate(2026, 12, 10) + 0.5; };
const uint32_t kInfo = plat::MB_OK | plat::MB_ICONINFORMATION;
const Box kNoUpgrade{"Prompt", "Can't fond any upgrade.", kInfo};

std::string NewsFile(const std::string& date, const std::string& version, const std::string& extraInfo = "") {
    return "[Info]\r\nUpdateDate=" + date + "\r\nNewsCount=0\r\nProduceCount=2\r\n" + extraInfo +
           "[Produce1]\r\nName=Vectavio\r\nVersion=9.9\r\n"
           "[Produce2]\r\nName=ABC\r\nVersion=" +
           version + "\r\nSize=2.1 MB\r\nDate=2026-11-30\r\n";
}

struct EvalCase {
    const char* Name;
    std::string File; // empty: no file at all
    std::string PreviousDate;
    bool HadNews; // HasNews left by an earlier check of the process
    std::string Installed;
    bool Result;
    bool HasNews;
    bool HasUpdate;
    std::string PreviousDateAfter;
    std::vector<Box> Boxes;
};

std::ostream& operator<<(std::ostream& os, const EvalCase& c) {
    return os << c.Name;
}

const std::string kPrompt = "ABC is Update!\r"
                            "--------------\r"
                            " Currently Version: 1.0\r"
                            "\r"
                            "* New Version: 1.1\r"
                            "* File Size: 2.1 MB\r"
                            "* Date: 2026-11-30\r";

class Evaluate : public ::testing::TestWithParam<EvalCase> {};

TEST_P(Evaluate, SetsTheFlagsAndTellsTheUser) {
    const EvalCase& c = GetParam();
    somnex::test::TempFolder dir;
    std::string path = dir / "whatsnew.new";
    if (!c.File.empty()) WriteFile(path, c.File);
    TBaseParam b;
    b.PreviousDate = c.PreviousDate;
    b.HasNews = c.HadNews;
    BoxRecorder boxes;
    EXPECT_EQ(EvaluateNewsFile(path, b, "ABC", c.Installed, kClock), c.Result);
    EXPECT_EQ(b.HasNews, c.HasNews);
    EXPECT_EQ(b.HasUpdate, c.HasUpdate);
    EXPECT_EQ(b.PreviousDate, c.PreviousDateAfter);
    EXPECT_EQ(boxes.Boxes, c.Boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Evaluate,
    ::testing::Values(
        EvalCase{"SameDateCountsAsNews",
                 NewsFile("2026-11-01", "1.0"),
                 "2026-11-01",
                 false,
                 "1.0",
                 true,
                 true,
                 false,
                 "2026-11-01",
                 {}},
        EvalCase{"NewerDateIsNews",
                 NewsFile("2026-12-01", "1.0"),
                 "2026-11-01",
                 false,
                 "1.0",
                 true,
                 true,
                 false,
                 "2026-12-01",
                 {}},
        EvalCase{"OlderDateNoUpdate",
                 NewsFile("2026-10-01", "1.0"),
                 "2026-11-01",
                 false,
                 "1.0",
                 false,
                 false,
                 false,
                 "2026-11-01",
                 {kNoUpgrade}},
        EvalCase{"OlderDateWithUpdate",
                 NewsFile("2026-10-01", "1.1"),
                 "2026-11-01",
                 false,
                 "1.0",
                 true,
                 false,
                 true,
                 "2026-11-01",
                 {{"Prompt", kPrompt, kInfo}}},
        // Byte order, not numbers: 1.10 orders before 1.9.
        EvalCase{"VersionsCompareAsText",
                 NewsFile("2026-10-01", "1.10"),
                 "2026-11-01",
                 false,
                 "1.9",
                 false,
                 false,
                 false,
                 "2026-11-01",
                 {kNoUpgrade}},
        EvalCase{
            "MissingFileIsDatedToday", "", "2000-01-01", false, "1.0", true, true, false, "2026-12-10", {}},
        // Once news was found in this process, the flag stays and the file's date is taken.
        EvalCase{"NewsFlagStaysSet",
                 NewsFile("2026-10-01", "1.0"),
                 "2026-11-01",
                 true,
                 "1.0",
                 true,
                 true,
                 false,
                 "2026-10-01",
                 {}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Evaluate, NewsTakesTheNewUrlPair) {
    somnex::test::TempFolder dir;
    std::string path = dir / "whatsnew.new";
    WriteFile(path,
              NewsFile("2026-12-01", "1.0", "UpdateWhatsNewURL=1\r\nWhatsNewURL=http://b.example/n.ini\r\n"));
    TBaseParam b;
    BoxRecorder boxes;
    EXPECT_TRUE(EvaluateNewsFile(path, b, "ABC", "1.0", kClock));
    EXPECT_TRUE(b.UseNewURL);
    EXPECT_EQ(b.WhatsNewURL, "http://b.example/n.ini");
}

TEST(Evaluate, PromptUnderlinesTheFirstLineByItsLength) {
    TProduct p;
    p.Version = "3";
    std::string text = UpdatePromptText("Pictavio Pro", "", p);
    EXPECT_EQ(text.substr(0, text.find('\r', text.find('\r') + 1) + 1),
              "Pictavio Pro is Update!\r-----------------------\r");
}

struct LineCase {
    std::string Body;
    std::string File;
};

std::ostream& operator<<(std::ostream& os, const LineCase& c) {
    return os << ::testing::PrintToString(c.Body);
}

class ReLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReLines, EveryLineEndsInCrLf) {
    EXPECT_EQ(ReLine(GetParam().Body), GetParam().File);
}

INSTANTIATE_TEST_SUITE_P(Bodies, ReLines,
                         ::testing::Values(LineCase{"", ""}, LineCase{"a", "a\r\n"},
                                           LineCase{"a\r\n", "a\r\n"}, LineCase{"a\nb", "a\r\nb\r\n"},
                                           LineCase{"a\rb\r", "a\r\nb\r\n"},
                                           LineCase{"a\n\nb\n", "a\r\n\r\nb\r\n"},
                                           LineCase{"a\r\r\nb", "a\r\n\r\nb\r\n"}, LineCase{"\n", "\r\n"},
                                           LineCase{std::string("x\0y", 3), std::string("x\0y\r\n", 5)}));

TEST(WriteNewsFile, ReplacesTheEarlierCopyAndLeavesNoTemporary) {
    somnex::test::TempFolder dir;
    std::string path = dir / "whatsnew.new";
    WriteFile(path, "old");
    WriteNewsFile(path, "[Info]\nNewsCount=1");
    EXPECT_EQ(ReadFile(path), "[Info]\r\nNewsCount=1\r\n");
    EXPECT_EQ(dir.Listing(), "whatsnew.new;");
}

TEST(WriteNewsFile, CreatesTheMissingDataFolder) {
    somnex::test::TempFolder dir;
    std::string path = dir / "brindlewood/whatsnew.new";
    WriteNewsFile(path, "x");
    EXPECT_EQ(ReadFile(path), "x\r\n");
}

TEST(WriteNewsFile, AFailedReplaceRaisesAndLeavesNothingBehind) {
    somnex::test::TempFolder dir;
    std::string path = dir / "whatsnew.new";
    std::filesystem::create_directory(path); // a folder where the file should go
    EXPECT_THROW(
        {
            try {
                WriteNewsFile(path, "body");
            } catch (const somnex::EngineError& e) {
                EXPECT_EQ(std::string(e.what()), "Cannot write the news file '" + path + "'");
                throw;
            }
        },
        somnex::EngineError);
    EXPECT_EQ(dir.Listing(), "whatsnew.new;");
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

} // namespace
