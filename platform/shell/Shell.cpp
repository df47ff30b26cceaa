#include "platform/shell/Shell.h"

#include "platform/ui/MessageBox.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>

extern char** environ;

namespace plat {

namespace {
std::mutex launcherMutex;
ShellLauncher& Launcher() {
    static ShellLauncher launcher;
    return launcher;
}

// A short-lived shell starts the opener in the background and exits at once, so the caller never
// waits for the browser and no child is left to reap. posix_spawn, not fork: the caller has threads.
int SpawnOpener(const std::string& Target, const std::string& WorkingFolder) {
    static const char script[] = "command -v xdg-open >/dev/null 2>&1 || exit 2; "
                                 "xdg-open \"$1\" >/dev/null 2>&1 </dev/null &";
    const std::string target = OpenerArgument(Target);
    const char* argv[] = {"sh", "-c", script, "sh", target.c_str(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // A link has no folder to start in; the opener runs from the current one then.
    if (!WorkingFolder.empty() && access(WorkingFolder.c_str(), X_OK) == 0)
        posix_spawn_file_actions_addchdir_np(&actions, WorkingFolder.c_str());
    pid_t child;
    int rc = posix_spawn(&child, "/bin/sh", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return kShellFileNotFound;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? kShellOk : kShellFileNotFound;
}
} // namespace

std::string OpenerArgument(const std::string& Target) {
    return !Target.empty() && Target[0] == '-' ? "./" + Target : Target;
}

void SetShellLauncher(ShellLauncher L) {
    std::lock_guard lock(launcherMutex);
    Launcher() = std::move(L);
}

int ShellExecute(const std::string& Verb, const std::string& Target, const std::string& WorkingFolder,
                 ShowCommand Show) {
    ShellLauncher launcher;
    {
        std::lock_guard lock(launcherMutex);
        launcher = Launcher();
    }
    if (launcher) return launcher(Verb, Target, WorkingFolder, Show);
    if (!Verb.empty() && Verb != "open" && Verb != "Open") return kShellFileNotFound;
    if (Target.empty()) return kShellFileNotFound;
    if (CurrentUiMode() == UiMode::Headless) {
        std::fprintf(stderr, "somnex: open %s\n", Target.c_str());
        return kShellOk;
    }
    return SpawnOpener(Target, WorkingFolder);
}

} // namespace plat
