#pragma once
// Which PAM service checks the screen-saver password.
#include <functional>
#include <string>

namespace plat {

// Our own service "somnex" when the system has a configuration for it (so an administrator can
// give the preview a stack of its own); otherwise "login", which every Linux system configures
// and which checks the user's own password. An unconfigured name would fall to the "other"
// stack, which some systems deny and others permit, so it is never used blindly.
std::string ChoosePamService(const std::function<bool(const std::string& path)>& fileExists);
std::string PamService();

} // namespace plat
