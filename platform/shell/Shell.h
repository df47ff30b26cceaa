#pragma once
// The shell's open verb: hands a link, a "mailto:" address or a file to the desktop's opener
// (xdg-open) without waiting for it. Headless, the request is printed instead. Tests install a
// launcher that records the requests.
#include <functional>
#include <string>

namespace plat {

enum class ShowCommand { Hide, Normal, Show };

// Success results are above 32, as the platform's shell reports them.
inline constexpr int kShellOk = 42;
inline constexpr int kShellFileNotFound = 2;

using ShellLauncher = std::function<int(const std::string& Verb, const std::string& Target,
                                        const std::string& WorkingFolder, ShowCommand Show)>;
// Installs (or, given an empty one, removes) the launcher tests use.
void SetShellLauncher(ShellLauncher Launcher);

// What the opener is given for Target: a name that starts with "-" is a file in the current
// folder, never an option of the opener.
std::string OpenerArgument(const std::string& Target);

// Empty Verb or "open"/"Open" open the target; other verbs are not known here and fail.
int ShellExecute(const std::string& Verb, const std::string& Target, const std::string& WorkingFolder,
                 ShowCommand Show);

} // namespace plat
