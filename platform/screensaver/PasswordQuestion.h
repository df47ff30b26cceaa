#pragma once
// The password question the password library shows before it asks PAM. Desktop mode shows a small
// dialog with a masked entry; scripted mode hands the question to a handler a test installed;
// headless mode has no one to type, so the question is printed and counts as cancelled (the
// answer policy can press a button, but it cannot type a password).
#include <functional>
#include <string>

#include "platform/screensaver/SecretText.h"
#include "platform/ui/MessageBoxLogic.h"

namespace plat {

struct PasswordQuestion {
    std::string caption;
    std::string prompt;
    std::string user;
    void* window = nullptr; // QWidget* or nullptr
};

// Fills `typed` and returns true for OK; returns false for Cancel.
using PasswordHandler = std::function<bool(const PasswordQuestion& question, SecretText& typed)>;

// Installs (or, given an empty handler, removes) the scripted handler.
void SetPasswordHandler(PasswordHandler handler);

UiMode PasswordUiMode();

// Asks the question in the current mode. False when it was cancelled or could not be asked;
// `typed` is then empty.
bool AskPassword(const PasswordQuestion& question, SecretText& typed);

// The desktop dialog (PasswordDialog.cpp); false on Cancel or when no widgets can be shown.
bool AskPasswordWithDialog(const PasswordQuestion& question, SecretText& typed);

} // namespace plat
