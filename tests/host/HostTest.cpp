// The reference host run as a person runs it: the real binary, a private registry.
#include "tests/host/HostRun.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>

namespace {

namespace fs = std::filesystem;

using hosttest::HostRun;

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("somnex-host-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    HostRun Somnex(const std::string& args) { return hosttest::RunHost(SOMNEX_HOST_PATH, dir, args); }

    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }

    fs::path dir;
};

TEST_F(HostTest, RegisterThenClassesListsTheElevenClassesInOrder) {
    HostRun reg = Somnex("register");
    ASSERT_EQ(reg.status, 0) << reg.err;
    HostRun classes = Somnex("classes");
    ASSERT_EQ(classes.status, 0) << classes.err;
    std::vector<std::string> lines = Lines(classes.out);
    ASSERT_EQ(lines.size(), 11u) << classes.out;
    EXPECT_EQ(lines.front().rfind("Somnex.ScrProject ", 0), 0u);
    EXPECT_EQ(lines.back().rfind("Somnex.VcvPreview ", 0), 0u);
    EXPECT_NE(lines.back().find("{8F6C2250-6E90-11D7-8A3C-5E21D7F04B96}  Vectavio Preview"),
              std::string::npos);
    EXPECT_NE(lines.back().find("libsomnex.so"), std::string::npos);
}

TEST_F(HostTest, CreateSaysWhichInterfacesTheObjectAnswers) {
    ASSERT_EQ(Somnex("register").status, 0);
    HostRun r = Somnex("create Somnex.PcvPreview");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("IScrPreview"), std::string::npos);
    EXPECT_NE(r.out.find("ISomnex"), std::string::npos);
    EXPECT_EQ(r.out.find("IScrCompiler"), std::string::npos);
}

TEST_F(HostTest, UnregisterLeavesNoClasses) {
    ASSERT_EQ(Somnex("register").status, 0);
    ASSERT_EQ(Somnex("unregister").status, 0);
    HostRun r = Somnex("classes");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("no classes are registered"), std::string::npos);
}

struct FailureCase {
    const char* name;
    const char* args;
    int status;
    const char* message;
};

class HostFailure : public HostTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(HostFailure, ExitsNonZeroWithAClearMessage) {
    HostRun r = Somnex(GetParam().args);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostFailure,
    ::testing::Values(FailureCase{"unknown_progid", "create Somnex.Nothing", 1,
                                  "'Somnex.Nothing' is not a registered ProgID"},
                      FailureCase{"missing_library", "register --library /nonexistent/libx.so", 1,
                                  "Unable to load the library '/nonexistent/libx.so'"},
                      FailureCase{"not_a_server", "register --library libc.so.6", 1,
                                  "does not export DllGetClassObject"},
                      FailureCase{"library_without_path", "register --library", 2, "--library needs a path"},
                      FailureCase{"unknown_command", "frobnicate", 2, "unknown command 'frobnicate'"},
                      FailureCase{"no_command", "", 2, "usage: somnex COMMAND"},
                      FailureCase{"create_without_progid", "create", 2, "exactly one PROGID"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostTest, EveryCommandHasHelp) {
    for (const char* cmd : {"register", "unregister", "classes", "create"}) {
        HostRun r = Somnex(std::string(cmd) + " --help");
        EXPECT_EQ(r.status, 0) << cmd;
        EXPECT_EQ(r.out.rfind(std::string("usage: somnex ") + cmd, 0), 0u) << r.out;
    }
    HostRun all = Somnex("--help");
    EXPECT_EQ(all.status, 0);
    EXPECT_NE(all.out.find("create"), std::string::npos);
}

TEST_F(HostTest, AStoreThatIsNotADatabaseIsReported) {
    std::FILE* f = std::fopen((dir / "registry.db").c_str(), "w");
    std::fputs(std::string(2048, 'x').c_str(), f);
    std::fclose(f);
    HostRun r = Somnex("classes");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is not a registry database"), std::string::npos) << r.err;
}

// Headless, the preview plays offscreen for the given time and closes by itself.
TEST_F(HostTest, PreviewPlaysEitherKindAndDeletesOnlyWhenAsked) {
    ASSERT_EQ(Somnex("register").status, 0);
    struct Case {
        const char *kind, *name, *options;
        bool kept;
    };
    for (Case c : {Case{"slideshow", "sea.pcv", "", true}, Case{"flash", "film.vcv", "--delete", false},
                   Case{"slideshow", "kept.pcv", "--delete --mode 1", true}}) {
        const fs::path project = dir / c.name;
        ASSERT_EQ(Somnex(std::string("new ") + c.kind + " '" + project.string() + "'").status, 0);
        HostRun r = Somnex("preview '" + project.string() + "' --seconds 0.05 " + c.options);
        EXPECT_EQ(r.status, 0) << c.name << r.err;
        EXPECT_NE(r.out.find("preview of " + project.string() + " ended"), std::string::npos) << r.out;
        EXPECT_EQ(fs::exists(project), c.kept) << c.name;
        EXPECT_FALSE(fs::exists(project.string() + ".~pp")) << c.name;
    }
}

TEST_F(HostTest, PreviewOfWhatIsNoProjectSaysWhy) {
    ASSERT_EQ(Somnex("register").status, 0);
    std::ofstream(dir / "notes.ini") << "[FileInfo]\r\nVersion=2.0\r\n";
    struct Case {
        std::string args;
        int status;
        std::string message;
    };
    for (const Case& c :
         {Case{"preview '" + (dir / "none.pcv").string() + "'", 1, "You input wrong parameter."},
          Case{"preview '" + (dir / "notes.ini").string() + "'", 1, "is not a slideshow project."},
          Case{"preview", 2, "preview needs a PROJECT"},
          Case{"preview a.pcv --mode x", 2, "--mode needs a whole number"}}) {
        HostRun r = Somnex(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << ": " << r.err;
    }
}

} // namespace
