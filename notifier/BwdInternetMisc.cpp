#include "notifier/BwdInternetMisc.h"

#include "platform/shell/Shell.h"

namespace heraldex {

namespace {
std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
} // namespace

int ShellOpen(int Mode, const std::string& Target, void*) {
    using plat::ShowCommand;
    switch (Mode) {
    case 0:
    case 1:
        return plat::ShellExecute("Open", Target, FolderOf(Target), ShowCommand::Show);
    case 2:
    case 5:
        return plat::ShellExecute("Open", Target, "", ShowCommand::Show);
    case 3:
        return plat::ShellExecute("open", Target, "", ShowCommand::Normal);
    case 4:
        return plat::ShellExecute("open", "mailto:" + Target, "", ShowCommand::Normal);
    default:
        return -1;
    }
}

} // namespace heraldex
