/* A PAM stand-in for the tests: accepts one fixed password through the conversation. */
#include <security/pam_appl.h>

#include <stdlib.h>
#include <string.h>

#define EXPORT __attribute__((visibility("default")))

struct pam_handle {
    struct pam_conv conv;
};

EXPORT char fake_pam_last_user[256];

EXPORT int pam_start(const char* service, const char* user, const struct pam_conv* conv,
                     pam_handle_t** pamh) {
    (void)service;
    struct pam_handle* h = calloc(1, sizeof *h);
    if (!h) return PAM_BUF_ERR;
    h->conv = *conv;
    strncpy(fake_pam_last_user, user ? user : "", sizeof fake_pam_last_user - 1);
    *pamh = h;
    return PAM_SUCCESS;
}

EXPORT int pam_authenticate(pam_handle_t* pamh, int flags) {
    (void)flags;
    struct pam_message info = {PAM_TEXT_INFO, "checking"};
    struct pam_message ask = {PAM_PROMPT_ECHO_OFF, "Password: "};
    const struct pam_message* messages[2] = {&info, &ask};
    struct pam_response* responses = NULL;
    if (pamh->conv.conv(2, messages, &responses, pamh->conv.appdata_ptr) != PAM_SUCCESS) return PAM_CONV_ERR;
    int ok = responses[1].resp && strcmp(responses[1].resp, "open sesame") == 0;
    for (int i = 0; i < 2; ++i) free(responses[i].resp);
    free(responses);
    return ok ? PAM_SUCCESS : PAM_AUTH_ERR;
}

EXPORT int pam_end(pam_handle_t* pamh, int status) {
    (void)status;
    free(pamh);
    return PAM_SUCCESS;
}
