#include "platform/screensaver/ScreenSaver.h"
#include "platform/screensaver/PamService.h"
#include "platform/screensaver/PasswordQuestion.h"
#include "platform/screensaver/RunningState.h"
#include "platform/ui/MessageBox.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>

namespace {

using namespace plat;

TEST(RunningFlag, OnWhileSetAndOffAfterwards) {
    EXPECT_FALSE(ScreenSaverRunning());
    SetScreenSaverRunning(true);
    EXPECT_TRUE(ScreenSaverRunning());
    SetScreenSaverRunning(false);
    EXPECT_FALSE(ScreenSaverRunning());
}

struct CountingSuspension : DesktopSaverSuspension {
    explicit CountingSuspension(int& live) : live_(live) { ++live_; }
    ~CountingSuspension() override { --live_; }
    int& live_;
};

TEST(RunningFlag, SuspendsTheDesktopSaverOnceAndResumesIt) {
    int live = 0, made = 0;
    RunningState state([&] {
        ++made;
        return std::make_unique<CountingSuspension>(live);
    });
    state.Set(false); // clearing a flag that is off resumes nothing
    EXPECT_EQ(made, 0);
    state.Set(true);
    state.Set(true);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(live, 1);
    state.Set(false);
    EXPECT_EQ(live, 0);
    EXPECT_FALSE(state.Get());

    RunningState noDesktop([] { return std::unique_ptr<DesktopSaverSuspension>(); });
    noDesktop.Set(true);
    EXPECT_TRUE(noDesktop.Get());
}

TEST(PasswordLibrary, LoaderCases) {
    EXPECT_EQ(LoadScreenSavePasswordLibraryFrom("/nonexistent/libpam-missing.so"), nullptr);

    auto noAuth = LoadScreenSavePasswordLibraryFrom(NOAUTH_PAM);
    ASSERT_NE(noAuth, nullptr);
    EXPECT_FALSE(noAuth->HasVerifyFunction());
    EXPECT_FALSE(noAuth->VerifyScreenSavePwd(nullptr));

    auto fake = LoadScreenSavePasswordLibraryFrom(FAKE_PAM);
    ASSERT_NE(fake, nullptr);
    EXPECT_TRUE(fake->HasVerifyFunction());
}

TEST(PasswordLibrary, FileFromTheEnvironment) {
    unsetenv("SOMNEX_PAM_LIBRARY");
    EXPECT_EQ(PasswordLibraryFile(), "libpam.so.0");
    setenv("SOMNEX_PAM_LIBRARY", "/nonexistent/libpam-missing.so", 1);
    EXPECT_EQ(LoadScreenSavePasswordLibrary(), nullptr);
    setenv("SOMNEX_PAM_LIBRARY", FAKE_PAM, 1);
    auto lib = LoadScreenSavePasswordLibrary();
    ASSERT_NE(lib, nullptr);
    EXPECT_TRUE(lib->HasVerifyFunction());
    unsetenv("SOMNEX_PAM_LIBRARY");
}

TEST(PamServiceChoice, OwnServiceOnlyWhenConfigured) {
    EXPECT_EQ(ChoosePamService([](const std::string&) { return false; }), "login");
    EXPECT_EQ(ChoosePamService([](const std::string& p) { return p == "/usr/lib/pam.d/somnex"; }), "somnex");
}

struct PasswordCase {
    const char* name;
    std::optional<std::string> typed; // nullopt: Cancel
    bool accepted;
};

class PasswordCheck : public ::testing::TestWithParam<PasswordCase> {
protected:
    void TearDown() override {
        SetPasswordHandler({});
        SetMessageBoxHandler({});
    }
};

TEST_P(PasswordCheck, AnswersThroughTheScriptedHandler) {
    const PasswordCase& c = GetParam();
    auto lib = LoadScreenSavePasswordLibraryFrom(FAKE_PAM);
    ASSERT_NE(lib, nullptr);
    std::string messages;
    SetMessageBoxHandler([&](const std::string& caption, const std::string& text, uint32_t) {
        messages += caption + text;
        return IDOK;
    });
    int asked = 0;
    void* window = reinterpret_cast<void*>(0x1234);
    SetPasswordHandler([&](const PasswordQuestion& q, SecretText& typed) {
        ++asked;
        EXPECT_EQ(q.window, window);
        messages += q.caption + q.prompt;
        return c.typed && typed.Assign(*c.typed);
    });

    testing::internal::CaptureStderr();
    EXPECT_EQ(lib->VerifyScreenSavePwd(window), c.accepted);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(asked, 1);
    if (c.typed && !c.typed->empty()) {
        EXPECT_EQ(err.find(*c.typed), std::string::npos) << err;
        EXPECT_EQ(messages.find(*c.typed), std::string::npos) << messages;
    }
    // A text too long for the buffer is refused before the password service is asked.
    if (c.typed && c.typed->size() <= SecretText::kCapacity) {
        auto* lastUser = static_cast<const char*>(dlsym(RTLD_DEFAULT, "fake_pam_last_user"));
        if (!lastUser)
            lastUser = static_cast<const char*>(
                dlsym(dlopen(FAKE_PAM, RTLD_NOW | RTLD_NOLOAD), "fake_pam_last_user"));
        ASSERT_NE(lastUser, nullptr);
        EXPECT_STREQ(lastUser, getpwuid(geteuid())->pw_name);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PasswordCheck,
                         ::testing::Values(PasswordCase{"Right", "open sesame", true},
                                           PasswordCase{"Wrong", "open sesame!", false},
                                           PasswordCase{"Empty", "", false},
                                           PasswordCase{"TooLong", std::string(600, 'x'), false},
                                           PasswordCase{"Cancelled", std::nullopt, false}),
                         [](const auto& info) { return info.param.name; });

TEST(PasswordQuestionHeadless, NoOneCanTypeSoItIsRefused) {
    auto lib = LoadScreenSavePasswordLibraryFrom(FAKE_PAM);
    ASSERT_NE(lib, nullptr);
    ASSERT_EQ(PasswordUiMode(), UiMode::Headless);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(lib->VerifyScreenSavePwd(nullptr));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Cancel"), std::string::npos) << err;
}

TEST(SecretTextBuffer, WipedWhenClearedAndMovedFrom) {
    SecretText a;
    ASSERT_TRUE(a.Assign("hunter2"));
    const char* bytes = a.c_str();
    SecretText b(std::move(a));
    EXPECT_STREQ(b.c_str(), "hunter2");
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(bytes[i], '\0') << i;
    b.Clear();
    EXPECT_TRUE(b.empty());
    EXPECT_EQ(b.c_str()[0], '\0');
    EXPECT_FALSE(b.Assign(std::string(SecretText::kCapacity + 1, 'x')));
    EXPECT_TRUE(b.empty());
}

} // namespace
