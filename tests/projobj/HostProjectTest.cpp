// The project commands of the real host binary, checked against the project file classes.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include "engine/project/Unit_IniPcvProjectFile.h"
#include "tests/projobj/ProjectFixture.h"

extern char** environ;

namespace {

using projtest::ReadFile;

struct HostRun {
    int status;
    std::string out;
    std::string err;
};

class HostProject : public projtest::ProjectFixture {
protected:
    // Runs the host with these arguments, each passed as it is (no shell in between).
    HostRun Somnex(const std::vector<std::string>& args) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            if (std::string_view(*e).rfind("SOMNEX_REGISTRY=", 0) != 0) env.push_back(*e);
        env.push_back("SOMNEX_REGISTRY=" + dir + ".registry.db");
        std::vector<char*> envp, argv{const_cast<char*>(SOMNEX_HOST_PATH)};
        for (std::string& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        std::vector<std::string> copy = args;
        for (std::string& a : copy) argv.push_back(a.data());
        argv.push_back(nullptr);

        std::string outFile = dir + ".stdout", errFile = dir + ".stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        int rc = posix_spawn(&pid, SOMNEX_HOST_PATH, &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        HostRun r{-1, "", ""};
        if (rc != 0) return r;
        int status = 0;
        ::waitpid(pid, &status, 0);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = ReadFile(outFile);
        r.err = ReadFile(errFile);
        std::filesystem::remove(outFile);
        std::filesystem::remove(errFile);
        return r;
    }

    std::string Touch(const std::string& name) {
        std::filesystem::create_directories(std::filesystem::path(dir + name).parent_path());
        std::ofstream(dir + name) << "x";
        return dir + name;
    }

    // The JSON object that follows "name": in text, up to its closing brace.
    static std::string Member(const std::string& json, const std::string& name) {
        size_t at = json.find("\"" + name + "\": {");
        if (at == std::string::npos) return "";
        return json.substr(at, json.find('}', at) - at + 1);
    }

    static size_t Count(const std::string& text, const std::string& part) {
        size_t n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
        return n;
    }
};

TEST_F(HostProject, SlideshowRoundTripThroughTheHostAndTheFileClasses) {
    ASSERT_EQ(Somnex({"register"}).status, 0);
    const std::string project = dir + "Sea.ini";
    HostRun r = Somnex({"new", "slideshow", project, "--name", "Sea \"at\" dusk", "--author", "Ines"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string a = Touch("pics/a.jpg"), b = Touch("pics/b.jpg"), c = Touch("c.png");
    r = Somnex({"add-picture", project, a, b, c, "--caption", "Line one\nLine two\nLine three", "--interval",
                "7", "--effect", "12"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(Somnex({"remove", project, "images", "1"}).status, 0);
    ASSERT_EQ(Somnex({"add-music", project, Touch("tune.mp3")}).status, 0);
    r = Somnex({"set", project, "ImageSetting.Interval=8", "BuildSetting.ImageWidth=1024",
                "Background.BackgroundMode=0", "ScrInfo.Web=https://example.org/sea"});
    ASSERT_EQ(r.status, 0) << r.err;

    r = Somnex({"show", project, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& json = r.out;
    EXPECT_NE(json.find("\"Kind\": \"slideshow\""), std::string::npos) << json;
    EXPECT_NE(Member(json, "ScrInfo").find("\"Name\": \"Sea \\\"at\\\" dusk\""), std::string::npos) << json;
    EXPECT_NE(Member(json, "ScrInfo").find("\"Author\": \"Ines\""), std::string::npos);
    EXPECT_NE(Member(json, "ScrInfo").find("\"Web\": \"https://example.org/sea\""), std::string::npos);
    EXPECT_NE(Member(json, "ImageSetting").find("\"Interval\": 8,"), std::string::npos) << json;
    EXPECT_NE(Member(json, "BuildSetting").find("\"ImageWidth\": 1024,"), std::string::npos);
    EXPECT_NE(Member(json, "BuildSetting").find("\"ImageHeight\": 600,"), std::string::npos);
    EXPECT_NE(Member(json, "Background").find("\"BackgroundMode\": 0,"), std::string::npos);
    EXPECT_EQ(Count(json, "\"Caption\": \"Line one\\r\\nLine two\\r\\nLine three\""), 2u) << json;
    EXPECT_NE(json.find("\"FileName\": \"" + a + "\""), std::string::npos);
    EXPECT_EQ(json.find("\"FileName\": \"" + b + "\""), std::string::npos);
    EXPECT_LT(json.find("\"FileName\": \"" + a + "\""), json.find("\"FileName\": \"" + c + "\""));
    EXPECT_EQ(Count(json, "\"TransformID\": 12,"), 2u);
    EXPECT_NE(json.find("\"Music\": [\n    \"" + dir + "tune.mp3\"\n  ]"), std::string::npos) << json;

    // The file classes read the same project without the host.
    somnex::TIniPCVProjectFile file;
    ASSERT_TRUE(file.OpenProject(project));
    EXPECT_EQ(file.ScrInfo.Name, "Sea \"at\" dusk");
    EXPECT_EQ(file.ImageSetting.Interval, 8);
    EXPECT_EQ(file.BuildSetting.ImageWidth, 1024);
    EXPECT_EQ(file.Background.BackgroundMode, 0);
    EXPECT_EQ(file.Effect.EffectDelay, 40);
    ASSERT_EQ(file.GetListCount(somnex::TListKind::Images), 2);
    somnex::TImageRec first, second;
    file.ReadImage(0, first);
    file.ReadImage(1, second);
    EXPECT_EQ(first.FileName, a);
    EXPECT_EQ(second.FileName, c);
    EXPECT_EQ(first.Caption, "Line one\r\nLine two\r\nLine three");
    EXPECT_EQ(first.Interval, 7);
    EXPECT_EQ(file.ReadMusic(0), dir + "tune.mp3");
    file.CloseProject();
    EXPECT_EQ(Listing(), "Sea.ini c.png pics tune.mp3 ");
}

TEST_F(HostProject, FlashProjectKeepsMoviesWithTheirAttachments) {
    const std::string project = dir + "Show.ini";
    ASSERT_EQ(Somnex({"new", "flash", project}).status, 0);
    const std::string m1 = Touch("m1.swf"), m2 = Touch("m2.swf"), t = Touch("notes.txt"),
                      p = Touch("art/p.png");
    HostRun r = Somnex({"add-movie", project, m1, m2, "--name", "Clip", "--attach", t, p});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(Somnex({"add-movie", project, m1}).status, 0);
    ASSERT_EQ(Somnex({"remove", project, "movies", "0"}).status, 0);
    ASSERT_EQ(Somnex({"set", project, "FlashSetting.Quality=2"}).status, 0);

    r = Somnex({"show", project, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"Kind\": \"flash\""), std::string::npos);
    EXPECT_NE(Member(r.out, "FlashSetting").find("\"Quality\": 2,"), std::string::npos) << r.out;
    EXPECT_NE(Member(r.out, "FlashSetting").find("\"DefBackgroundColor\": \"000000\""), std::string::npos);
    EXPECT_NE(r.out.find("\"Name\": \"Clip\",\n      \"FileName\": \"" + m2 +
                         "\",\n      \"Attachments\": [\n"
                         "        \"" +
                         t + "\",\n        \"" + p + "\"\n      ]"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"Name\": \"m1\",\n      \"FileName\": \"" + m1 + "\",\n      \"Attachments\": []"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(Count(r.out, "\"Attachments\""), 2u);

    r = Somnex({"show", project});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("[Movies] 2"), std::string::npos) << r.out;
}

struct FailCase {
    const char* name;
    std::vector<std::string> args; // "@" stands for the project, "%" for the test folder
    const char* message;
};

class FailedCommand : public HostProject, public ::testing::WithParamInterface<FailCase> {};

TEST_P(FailedCommand, ReportsWhyAndLeavesTheProjectAsItWas) {
    const std::string project = dir + "Sea.ini";
    ASSERT_EQ(Somnex({"new", "slideshow", project}).status, 0);
    ASSERT_EQ(Somnex({"add-picture", project, Touch("a.jpg")}).status, 0);
    const std::string before = ReadFile(project), listing = Listing();

    std::vector<std::string> args;
    for (std::string a : GetParam().args) {
        if (a == "@") a = project;
        if (!a.empty() && a[0] == '%') a = dir + a.substr(1);
        args.push_back(a);
    }
    HostRun r = Somnex(args);
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(project), before);
    EXPECT_EQ(Listing(), listing);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedCommand,
    ::testing::Values(
        FailCase{"UnknownField", {"set", "@", "ImageSetting.Nope=1"}, "ImageSetting has no field 'Nope'"},
        FailCase{"UnknownRecord", {"set", "@", "FlashSetting.Quality=1"}, "no record 'FlashSetting'"},
        FailCase{"NotANumber", {"set", "@", "BuildSetting.ImageWidth=wide"}, "not a whole number"},
        FailCase{"TooLarge", {"set", "@", "BuildSetting.ImageWidth=99999999999"}, "32-bit range"},
        FailCase{"OneBadOfTwo",
                 {"set", "@", "ImageSetting.Interval=8", "BuildSetting.Compress=maybe"},
                 "not a Boolean"},
        FailCase{"NoAssignment", {"set", "@", "ImageSetting.Interval"}, "RECORD.FIELD=VALUE"},
        FailCase{"FixedFileInfo", {"set", "@", "FileInfo.Version=3.0"}, "cannot be changed"},
        FailCase{"MissingPicture", {"add-picture", "@", "%missing.jpg"}, "is not an existing file"},
        FailCase{"BadInterval", {"add-picture", "@", "%a.jpg", "--interval", "x"}, "--interval"},
        FailCase{"OptionWithoutValue", {"add-picture", "@", "%a.jpg", "--caption"}, "needs a value"},
        FailCase{"IndexPastTheEnd", {"remove", "@", "images", "1"}, "no picture 1"},
        FailCase{"WrongList", {"remove", "@", "movies", "0"}, "has no movies list"},
        FailCase{"MovieIntoSlideshow", {"add-movie", "@", "%a.jpg"}, "use add-picture"},
        FailCase{"ExistingProject", {"new", "flash", "@"}, "already exists"},
        FailCase{"NotAProject", {"show", "%a.jpg"}, "is not a screensaver project"}),
    [](const auto& info) { return std::string(info.param.name); });

class CommandHelp : public HostProject, public ::testing::WithParamInterface<const char*> {};

TEST_P(CommandHelp, DescribesItsArguments) {
    HostRun r = Somnex({GetParam(), "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(std::string("usage: somnex ") + GetParam() + " PROJECT", 0) == 0 ||
                  r.out.rfind(std::string("usage: somnex ") + GetParam() + " slideshow|flash PROJECT", 0) ==
                      0,
              true)
        << r.out;
}

INSTANTIATE_TEST_SUITE_P(Commands, CommandHelp,
                         ::testing::Values("new", "show", "set", "add-picture", "add-music", "add-movie",
                                           "remove"),
                         [](const auto& info) {
                             std::string n = info.param;
                             std::erase(n, '-');
                             return n;
                         });

} // namespace
