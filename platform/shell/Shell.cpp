#include "platform/shell/Shell.h"

#include "platform/ui/MessageBox.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Starts the opener in a grandchild, so that nothing is left to reap and the caller never waits
// for the browser.
int SpawnOpener(const std::string& Target, const std::string& WorkingFolder) {
    pid_t child = fork();
    if (child < 0) return kShellFileNotFound;
    if (child == 0) {
        // A link has no folder to start in; the opener runs from the current one then.
        if (!WorkingFolder.empty()) (void)!chdir(WorkingFolder.c_str());
        const char* argv[] = {"xdg-open", Target.c_str(), nullptr};
        pid_t opener;
        int rc = posix_spawnp(&opener, "xdg-open", nullptr, nullptr, const_cast<char* const*>(argv), environ);
        _exit(rc == 0 ? 0 : 1);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? kShellOk : kShellFileNotFound;
}
} // namespace

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
