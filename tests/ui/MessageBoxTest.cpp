#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace plat;

struct FlagsCase {
    uint32_t flags;
    std::vector<int> buttons;
    int defaultButton;
};

class ButtonLayout : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(ButtonLayout, FollowsTheStyleBits) {
    EXPECT_EQ(ButtonsOf(GetParam().flags), GetParam().buttons);
    EXPECT_EQ(DefaultButton(GetParam().flags), GetParam().defaultButton);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonLayout,
    ::testing::Values(FlagsCase{MB_OK | MB_ICONINFORMATION, {IDOK}, IDOK},
                      FlagsCase{
                          MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION, {IDYES, IDNO}, IDNO}, // 292: AskYesNo
                      FlagsCase{MB_YESNO, {IDYES, IDNO}, IDYES},
                      FlagsCase{MB_YESNOCANCEL | MB_DEFBUTTON3, {IDYES, IDNO, IDCANCEL}, IDCANCEL},
                      FlagsCase{MB_OKCANCEL | MB_DEFBUTTON3, {IDOK, IDCANCEL}, IDOK}, // names no button
                      FlagsCase{MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, {IDABORT, IDRETRY, IDIGNORE}, IDRETRY},
                      FlagsCase{0xE, {IDOK}, IDOK}));

struct PolicyCase {
    AnswerPolicy policy;
    uint32_t flags;
    int answer;
};

class Policy : public ::testing::TestWithParam<PolicyCase> {};

TEST_P(Policy, PressesItsButtonOrTheDefault) {
    EXPECT_EQ(PolicyAnswer(GetParam().policy, GetParam().flags), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Policy,
    ::testing::Values(PolicyCase{AnswerPolicy::Default, 292, IDNO}, PolicyCase{AnswerPolicy::Yes, 292, IDYES},
                      PolicyCase{AnswerPolicy::No, MB_YESNO, IDNO},
                      PolicyCase{AnswerPolicy::Cancel, 292, IDNO}, // no Cancel on the box
                      PolicyCase{AnswerPolicy::Yes, MB_OK, IDOK},
                      PolicyCase{AnswerPolicy::Cancel, MB_OKCANCEL, IDCANCEL}));

TEST(AnswerPolicyText, KnowsTheFiveWords) {
    EXPECT_EQ(ParseAnswerPolicy(""), AnswerPolicy::Default);
    EXPECT_EQ(ParseAnswerPolicy("default"), AnswerPolicy::Default);
    EXPECT_EQ(ParseAnswerPolicy("yes"), AnswerPolicy::Yes);
    EXPECT_EQ(ParseAnswerPolicy("cancel"), AnswerPolicy::Cancel);
    EXPECT_EQ(ParseAnswerPolicy("maybe"), std::nullopt);
}

TEST(UiModeChoice, SettingThenDisplayWithScriptedFirst) {
    EXPECT_EQ(ChooseUiMode(nullptr, true, false), UiMode::Desktop);
    EXPECT_EQ(ChooseUiMode(nullptr, false, false), UiMode::Headless);
    EXPECT_EQ(ChooseUiMode("auto", true, false), UiMode::Desktop);
    EXPECT_EQ(ChooseUiMode("headless", true, false), UiMode::Headless);
    EXPECT_EQ(ChooseUiMode("desktop", false, false), UiMode::Desktop);
    EXPECT_EQ(ChooseUiMode("headless", false, true), UiMode::Scripted);
}

TEST(Dismissal, OnlyBoxesWithCancelOrALoneOk) {
    EXPECT_EQ(DismissAnswer(MB_OK), IDOK);
    EXPECT_EQ(DismissAnswer(MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(DismissAnswer(MB_YESNO), std::nullopt);
}

TEST(ScriptedMode, HandlerSeesTheBoxAndAnswers) {
    std::string caption, text;
    uint32_t flags = 0;
    SetMessageBoxHandler([&](const std::string& c, const std::string& t, uint32_t f) {
        caption = c, text = t, flags = f;
        return IDYES;
    });
    EXPECT_EQ(CurrentUiMode(), UiMode::Scripted);
    EXPECT_EQ(ShowMessageBox("Pictavio", "Overwrite?", 292), IDYES);
    SetMessageBoxHandler({});
    EXPECT_EQ(caption, "Pictavio");
    EXPECT_EQ(text, "Overwrite?");
    EXPECT_EQ(flags, 292u);
    EXPECT_NE(CurrentUiMode(), UiMode::Scripted);
}

class HeadlessMode : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("SOMNEX_UI", "headless", 1); }
    void TearDown() override { ::unsetenv("SOMNEX_ANSWER"); }
};

TEST_F(HeadlessMode, PrintsTheBoxAndTakesThePolicyAnswer) {
    ::setenv("SOMNEX_ANSWER", "yes", 1);
    ::testing::internal::CaptureStderr();
    int answer = ShowMessageBox("Pictavio", "Create the folder?", 292);
    std::string out = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(out, "[Pictavio] Create the folder? [Yes/No] -> Yes\n");
}

TEST_F(HeadlessMode, AnUnknownPolicyFallsBackToTheDefaultButton) {
    ::setenv("SOMNEX_ANSWER", "sometimes", 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageBox("", "Overwrite?", 292), IDNO);
    ::testing::internal::GetCapturedStderr();
}

TEST(Application, IsCreatedOffscreenWhenTheHostHasNone) {
    ASSERT_TRUE(EnsureApplication());
    EXPECT_TRUE(EnsureApplication()); // the second call finds it
}

} // namespace
