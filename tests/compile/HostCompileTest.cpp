// somnex compile as a person runs it: the real binary, headless, a private registry.
#include "tests/compile/CompileFixture.h"
#include "tests/host/HostRun.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>

namespace compiletest {
namespace {

using hosttest::HostRun;

class HostCompile : public CompileFixture {
protected:
    HostRun Somnex(const std::string& args) { return hosttest::RunHost(SOMNEX_HOST_PATH, dir, args); }
    std::string Quoted(const fs::path& p) { return "'" + p.string() + "'"; }
};

TEST_F(HostCompile, BuildsWithThePlaceholderPlayerAndShowsProgress) {
    std::string project = SlideshowProject({Picture("a.jpg"), Picture("b.bmp")}, {Tune("x.wav")});
    fs::path output = dir / "show.scr";
    HostRun r = Somnex("compile " + Quoted(project) + " -o " + Quoted(output) + " --work " + Quoted(work));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("placeholder player"), std::string::npos);
    // stderr is a file here, so the bars come as plain lines, in order.
    size_t a = r.err.find("[1/6] Create screensaver."), b = r.err.find("    2/2 Saving image_2..."),
           c = r.err.find("[6/6] Build screensaver is complete.");
    EXPECT_TRUE(a != std::string::npos && b != std::string::npos && c != std::string::npos && a < b && b < c)
        << r.err;
    std::vector<Member> members = ReadPackage(output.string());
    ASSERT_EQ(members.size(), 4u);
    EXPECT_EQ(members[0].Name, "somnex_player_stub");
    EXPECT_TRUE(FilesIn(work).empty());
}

TEST_F(HostCompile, DataOnlyLeavesThePlayerOutAndFlashProjectsGetTheFlashCompiler) {
    std::string project = FlashProject({Movie("one.swf", 64)});
    fs::path output = dir / "movies.scr";
    HostRun r = Somnex("compile " + Quoted(project) + " -o " + Quoted(output) + " --data-only");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<Member> members = ReadPackage(output.string());
    ASSERT_EQ(members.size(), 2u);
    EXPECT_EQ(members[0].Name, "Params.dat");
    EXPECT_EQ(members[1].Name, "Flashs.dat");
}

TEST_F(HostCompile, NoKeepsAnExistingOutputAndFails) {
    std::string project = SlideshowProject({Picture("a.jpg")}, {});
    fs::path output = dir / "show.scr";
    std::ofstream(output) << "keep me";
    HostRun r = Somnex("compile " + Quoted(project) + " -o " + Quoted(output) + " --no");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is existing, Do you want to overwrite it?"), std::string::npos) << r.err;
    std::ifstream in(output);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "keep me");
    r = Somnex("compile " + Quoted(project) + " -o " + Quoted(output) + " --yes");
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(HostCompile, MissingPlayerIsAnErrorBoxAndExitStatusOne) {
    std::string project = SlideshowProject({Picture("a.jpg")}, {});
    HostRun r = Somnex("compile " + Quoted(project) + " -o " + Quoted(dir / "show.scr") + " --player " +
                       Quoted(dir / "nothing.exe") + " --work " + Quoted(work));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("nothing.exe"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("[OK] -> OK"), std::string::npos) << "shown as a box: " << r.err;
    EXPECT_TRUE(FilesIn(work).empty());
}

TEST_F(HostCompile, UsageErrorsExitWithTwo) {
    EXPECT_EQ(Somnex("compile").status, 2);
    EXPECT_EQ(Somnex("compile a.pcv").status, 2);
    EXPECT_EQ(Somnex("compile a.pcv -o x --yes --no").status, 2);
}

} // namespace
} // namespace compiletest
