// The password library over PAM, opened with dlopen so a system without PAM still runs (and then
// closes a preview without a question, as it would without the password library).
#include "platform/screensaver/PamService.h"
#include "platform/screensaver/PasswordQuestion.h"
#include "platform/screensaver/ScreenSaver.h"

#include <security/pam_appl.h>

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace plat {

namespace {

using PamStart = decltype(&pam_start);
using PamAuthenticate = decltype(&pam_authenticate);
using PamEnd = decltype(&pam_end);

std::string CurrentUser() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_name)
        return {};
    return found->pw_name;
}

// What the conversation hands to PAM: the password typed before authentication began, once.
struct Conversation {
    const SecretText* password = nullptr;
    const std::string* user = nullptr;
    bool passwordGiven = false;
};

void FreeResponses(pam_response* responses, int count) {
    for (int i = 0; i < count; ++i) {
        if (char* text = responses[i].resp) {
            WipeMemory(text, std::strlen(text));
            std::free(text);
        }
    }
    std::free(responses);
}

int Converse(int count, const pam_message** messages, pam_response** out, void* data) {
    *out = nullptr;
    if (count <= 0 || count > PAM_MAX_NUM_MSG) return PAM_CONV_ERR;
    auto* conv = static_cast<Conversation*>(data);
    auto* responses =
        static_cast<pam_response*>(std::calloc(static_cast<size_t>(count), sizeof(pam_response)));
    if (!responses) return PAM_BUF_ERR;
    for (int i = 0; i < count; ++i) {
        const char* answer = nullptr;
        switch (messages[i]->msg_style) {
        case PAM_PROMPT_ECHO_OFF:
            // A second secret (a one-time code, say) is one we were never told; never send the
            // password to a question it does not answer.
            if (conv->passwordGiven) {
                FreeResponses(responses, count);
                return PAM_CONV_ERR;
            }
            conv->passwordGiven = true;
            answer = conv->password->c_str();
            break;
        case PAM_PROMPT_ECHO_ON:
            answer = conv->user->c_str(); // only the user name is ever asked in the open
            break;
        default:
            continue; // information and error texts: the preview has nowhere to show them
        }
        responses[i].resp = strdup(answer);
        if (!responses[i].resp) {
            FreeResponses(responses, count);
            return PAM_BUF_ERR;
        }
    }
    *out = responses;
    return PAM_SUCCESS;
}

class PamLibrary final : public ScreenSavePasswordLibrary {
public:
    explicit PamLibrary(void* handle) : handle_(handle) {
        start_ = reinterpret_cast<PamStart>(dlsym(handle_, "pam_start"));
        authenticate_ = reinterpret_cast<PamAuthenticate>(dlsym(handle_, "pam_authenticate"));
        end_ = reinterpret_cast<PamEnd>(dlsym(handle_, "pam_end"));
    }
    ~PamLibrary() override { dlclose(handle_); }
    PamLibrary(const PamLibrary&) = delete;
    PamLibrary& operator=(const PamLibrary&) = delete;

    bool HasVerifyFunction() const override { return start_ && authenticate_ && end_; }

    bool VerifyScreenSavePwd(void* window) override {
        if (!HasVerifyFunction()) return false;
        std::string user = CurrentUser();
        if (user.empty()) return false;
        PasswordQuestion question{"Screen saver password", "Password for " + user + ":", user, window};
        SecretText typed;
        if (!AskPassword(question, typed)) return false;
        return Authenticate(user, typed);
    }

private:
    bool Authenticate(const std::string& user, const SecretText& password) {
        Conversation conversation{&password, &user, false};
        pam_conv conv{&Converse, &conversation};
        pam_handle_t* pamh = nullptr;
        int status = start_(PamService().c_str(), user.c_str(), &conv, &pamh);
        if (status != PAM_SUCCESS) {
            if (pamh) end_(pamh, status);
            return false;
        }
        status = authenticate_(pamh, 0);
        end_(pamh, status);
        return status == PAM_SUCCESS;
    }

    void* handle_;
    PamStart start_ = nullptr;
    PamAuthenticate authenticate_ = nullptr;
    PamEnd end_ = nullptr;
};

} // namespace

std::string PasswordLibraryFile() {
    const char* file = std::getenv("SOMNEX_PAM_LIBRARY");
    return file && *file ? file : "libpam.so.0";
}

std::unique_ptr<ScreenSavePasswordLibrary> LoadScreenSavePasswordLibraryFrom(const std::string& file) {
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    return std::make_unique<PamLibrary>(handle);
}

std::unique_ptr<ScreenSavePasswordLibrary> LoadScreenSavePasswordLibrary() {
    return LoadScreenSavePasswordLibraryFrom(PasswordLibraryFile());
}

} // namespace plat
