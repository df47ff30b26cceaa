// The headless progress: the bar drawing, and the plain lines written when stderr is no terminal.
#include "engine/compiler/BuildProgress.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>

namespace {

struct BarCase {
    int position, maximum;
    const char* text;
    int width;
    const char* expected;
};

class BarLine : public ::testing::TestWithParam<BarCase> {};

TEST_P(BarLine, DrawsTheShareAndCutsTheText) {
    const BarCase& c = GetParam();
    EXPECT_EQ(somnex::TTerminalProgress::BarLine(c.position, c.maximum, c.text, c.width), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BarLine,
    ::testing::Values(BarCase{0, 6, "Start", 80, "[------------------------]     0/6  Start"},
                      BarCase{3, 6, "Half", 80, "[############------------]     3/6  Half"},
                      BarCase{6, 6, "Done", 80, "[########################]     6/6  Done"},
                      // A position past the end (or a maximum of 0) never overdraws the bar.
                      BarCase{9, 6, "x", 80, "[########################]     6/6  x"},
                      BarCase{1, 0, "x", 80, "[------------------------]     0/0  x"},
                      BarCase{1, 4, "Saving Music: /a/very/long/path.wav", 50,
                              "[######------------------]     1/4  Saving Musi..."}));

TEST(TerminalProgress, WritesOneLinePerStepWhenNotATerminal) {
    FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    {
        somnex::TTerminalProgress progress(out);
        EXPECT_FALSE(progress.Live());
        progress.SetReport("Images: 2 ; Music: 0");
        progress.SetMaximum(somnex::kTotalBar, 6);
        progress.SetProgress(somnex::kTotalBar, 2, "Create screensaver images...");
        progress.SetMaximum(somnex::kCurrentBar, 2);
        progress.SetProgress(somnex::kCurrentBar, 1, "Saving image_1...");
        progress.SetProgress(7, 1, "ignored");
    }
    std::rewind(out);
    std::string text;
    for (int ch; (ch = std::fgetc(out)) != EOF;) text += char(ch);
    std::fclose(out);
    EXPECT_EQ(text, "Images: 2 ; Music: 0\n[2/6] Create screensaver images...\n    1/2 Saving image_1...\n");
}

// Ctrl-C while a build runs asks for a cancel instead of ending the process, once per press.
TEST(TerminalProgress, InterruptIsACancelRequest) {
    struct sigaction before {};
    sigaction(SIGINT, nullptr, &before);
    FILE* out = std::tmpfile();
    {
        somnex::TTerminalProgress progress(out);
        EXPECT_FALSE(progress.ProcessMessages());
        std::raise(SIGINT);
        EXPECT_TRUE(progress.ProcessMessages());
        EXPECT_FALSE(progress.ProcessMessages());
    }
    std::fclose(out);
    struct sigaction now {};
    sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, before.sa_handler) << "the handler before the build is back";
}

} // namespace
