// The shell's open modes and the rounded box's placement of its main control.
#include "notifier/BwdInternetMisc.h"
#include "notifier/RoundRectBox.h"
#include "platform/shell/Shell.h"

#include <gtest/gtest.h>

namespace {

using namespace heraldex;

struct Launch {
    std::string Verb, Target, Folder;
    plat::ShowCommand Show;
    bool operator==(const Launch&) const = default;
};

// A link from a downloaded news file must not become one of the opener's options.
TEST(ShellOpen, ANameStartingWithADashStaysAFileForTheOpener) {
    EXPECT_EQ(plat::OpenerArgument("--help"), "./--help");
    EXPECT_EQ(plat::OpenerArgument("-x.txt"), "./-x.txt");
    EXPECT_EQ(plat::OpenerArgument("http://example.invalid/-a"), "http://example.invalid/-a");
    EXPECT_EQ(plat::OpenerArgument("/tmp/-a"), "/tmp/-a");
}

TEST(ShellOpen, EachModeChoosesVerbFolderAndWindow) {
    std::vector<Launch> seen;
    plat::SetShellLauncher(
        [&](const std::string& v, const std::string& t, const std::string& f, plat::ShowCommand s) {
            seen.push_back({v, t, f, s});
            return 42;
        });
    using plat::ShowCommand;
    const std::string file = "/home/ann/Downloads/setup.exe";
    EXPECT_EQ(ShellOpen(0, file), 42);
    EXPECT_EQ(ShellOpen(1, file), 42);
    EXPECT_EQ(ShellOpen(2, file), 42);
    EXPECT_EQ(ShellOpen(3, "http://example.invalid/"), 42);
    EXPECT_EQ(ShellOpen(4, "sales@example.invalid"), 42);
    EXPECT_EQ(ShellOpen(5, file), 42);
    EXPECT_EQ(ShellOpen(6, file), -1);
    EXPECT_EQ(ShellOpen(-1, file), -1);
    plat::SetShellLauncher({});
    const std::vector<Launch> expected = {
        {"Open", file, "/home/ann/Downloads/", ShowCommand::Show},
        {"Open", file, "/home/ann/Downloads/", ShowCommand::Show},
        {"Open", file, "", ShowCommand::Show},
        {"open", "http://example.invalid/", "", ShowCommand::Normal},
        {"open", "mailto:sales@example.invalid", "", ShowCommand::Normal},
        {"Open", file, "", ShowCommand::Show},
    };
    EXPECT_EQ(seen, expected);
}

TEST(ShellExecute, HeadlessPrintsInsteadOfStartingAnOpener) {
    // The test environment is headless: nothing may be started, and the request still succeeds.
    EXPECT_EQ(plat::ShellExecute("open", "http://example.invalid/", "", plat::ShowCommand::Normal),
              plat::kShellOk);
    EXPECT_EQ(plat::ShellExecute("print", "http://example.invalid/", "", plat::ShowCommand::Normal),
              plat::kShellFileNotFound);
    EXPECT_EQ(plat::ShellExecute("open", "", "", plat::ShowCommand::Normal), plat::kShellFileNotFound);
}

TEST(RoundRectBox, PlacesTheMainControlInsideTheCorners) {
    const TOutLine corner21{Qt::gray, 1, 21};
    EXPECT_EQ(MainCtrlRect(339, 276, corner21, TMarginStyle::ms_Normal, 0), QRect(10, 10, 318, 255));
    // ms_Mini: inset 1 + 21 div 4, size less 21 div 2 and both lines.
    EXPECT_EQ(MainCtrlRect(339, 276, corner21, TMarginStyle::ms_Mini, 0), QRect(6, 6, 327, 264));
    // An offset moves the control out and grows it on both sides.
    EXPECT_EQ(MainCtrlRect(339, 276, corner21, TMarginStyle::ms_Normal, 3), QRect(7, 7, 324, 261));
    EXPECT_EQ(MainCtrlRect(100, 50, {Qt::black, 2, 0}, TMarginStyle::ms_Mini, 0), QRect(2, 2, 96, 46));
}

} // namespace
