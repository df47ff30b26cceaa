#pragma once
// The message-box service. Desktop mode shows an application-modal box; headless mode prints the
// box to stderr and answers by SOMNEX_ANSWER; scripted mode hands the box to a handler a test
// installed.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui/MessageBoxLogic.h"

namespace plat {

using MessageBoxHandler =
    std::function<int(const std::string& caption, const std::string& text, uint32_t flags)>;

// Installs (or, given an empty handler, removes) the scripted handler.
void SetMessageBoxHandler(MessageBoxHandler handler);

UiMode CurrentUiMode();

// Shows the box and returns the code of the button pressed.
int ShowMessageBox(const std::string& caption, const std::string& text, uint32_t flags);

// The application object widgets need; created (offscreen when there is no display) when the host
// has none. False when the host runs a non-widget application, so no windows can be shown.
bool EnsureApplication();

} // namespace plat
