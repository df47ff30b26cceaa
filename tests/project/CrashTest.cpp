// A writer killed at any moment leaves a project that opens, with every line either the one it
// held before or the one being written: never a torn or half-replaced file.
#include "engine/project/Unit_IniPcvProjectFile.h"
#include "tests/ini/TempFolder.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace somnex;
using somnex::test::ReadFile;
using somnex::test::TempFolder;

namespace {

constexpr int kImages = 40;

TImageRec Image(const TempFolder& dir, int index, int round) {
    TImageRec r;
    r.FileName = dir / ("pic" + std::to_string(index) + ".jpg");
    r.Caption = "Round " + std::to_string(round % 2) + "\r\npicture " + std::to_string(index);
    r.CaptionFont = "\"Arial\", 12, [Bold], [clRed]";
    r.Opacity = 255;
    r.TransformID = index;
    return r;
}

// Rewrites the whole project again and again, alternating between two contents.
[[noreturn]] void WriteForever(const TempFolder& dir, const std::string& file, int readyFd) {
    bool told = false;
    for (int round = 0;; ++round) {
        TIniPCVProjectFile p;
        p.NewProject(file);
        p.ScrInfo.Name = round % 2 ? "Odd" : "Even";
        p.ScrInfo.Readme = std::string(3000, round % 2 ? 'o' : 'e');
        p.WriteProject();
        for (int i = 0; i < kImages; ++i) p.WriteImage(i, Image(dir, i, round));
        p.SetListCount(TListKind::Images, kImages);
        if (!told) {
            told = write(readyFd, "r", 1) == 1;
        }
    }
}

TEST(CrashTest, KilledWriterLeavesAWholeProject) {
    TempFolder dir;
    const std::string file = dir / "Crash.ini";
    std::mt19937 random(20240611);

    // Every image line either content may hold, written once here the same way the child does.
    std::set<std::string> validLines;
    for (int round = 0; round < 2; ++round) {
        TempFolder scratch;
        TIniPCVProjectFile p;
        p.NewProject(scratch / "x.ini");
        for (int i = 0; i < kImages; ++i) {
            TImageRec r = Image(dir, i, round);
            r.FileName = scratch / ("pic" + std::to_string(i) + ".jpg");
            p.WriteImage(i, r);
            validLines.insert(p.IniFile->ReadString("Images", "Image" + std::to_string(i), ""));
        }
        p.CloseProject();
    }

    for (int iteration = 0; iteration < 25; ++iteration) {
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(pipeFds[0]);
            WriteForever(dir, file, pipeFds[1]);
        }
        close(pipeFds[1]);
        char ready;
        ASSERT_EQ(read(pipeFds[0], &ready, 1), 1);
        close(pipeFds[0]);
        // Kill at a random moment of a later round, by spinning rather than sleeping.
        auto until = std::chrono::steady_clock::now() + std::chrono::microseconds(random() % 3000);
        while (std::chrono::steady_clock::now() < until) {
        }
        kill(child, SIGKILL);
        int status;
        ASSERT_EQ(waitpid(child, &status, 0), child);

        const std::string text = ReadFile(file);
        ASSERT_FALSE(text.empty());
        ASSERT_EQ(text.substr(text.size() - 2), "\r\n") << "torn last line";
        TIniPCVProjectFile p;
        ASSERT_TRUE(p.OpenProject(file)) << text;
        EXPECT_TRUE(p.ScrInfo.Name == "Odd" || p.ScrInfo.Name == "Even");
        EXPECT_TRUE(p.ScrInfo.Readme.empty() || p.ScrInfo.Readme.size() == 3000);
        for (int i = 0; i < kImages; ++i) {
            std::string line = p.IniFile->ReadString("Images", "Image" + std::to_string(i), "");
            if (line.empty()) continue; // not written yet in this round
            EXPECT_TRUE(validLines.count(line)) << "line " << i << ": " << line;
            TImageRec r;
            EXPECT_NO_THROW(p.ReadImage(i, r));
        }
        p.CloseProject();
    }
}

} // namespace
