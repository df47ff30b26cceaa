#include "engine/com/Unit_Somnex.h"

#include "platform/fs/FileSystem.h"
#include "platform/ui/MessageBox.h"

namespace somnex {

namespace {
std::string& Caption() {
    static std::string caption;
    return caption;
}
} // namespace

const std::string& MessageCaption() {
    return Caption();
}
void SetMessageCaption(const std::string& caption) {
    Caption() = caption;
}

int EngineMessageBox(const std::string& Caption, const std::string& Text, uint32_t Flags) {
    return plat::ShowMessageBox(Caption, Text, Flags | plat::MB_APPLMODAL);
}

void ShowInfo(const std::string& Text, uint32_t Flags) {
    EngineMessageBox(MessageCaption(), Text, Flags);
}

void ShowError(const std::string& Text, uint32_t Flags) {
    EngineMessageBox(MessageCaption(), Text, Flags);
}

int AskYesNo(const std::string& Text, uint32_t Flags) {
    return EngineMessageBox(MessageCaption(), Text, Flags + plat::MB_YESNO + plat::MB_DEFBUTTON2);
}

bool FolderExists(const std::string& Path) {
    return plat::DirectoryExists(Path);
}

bool CreateFolderPath(const std::string& Path) {
    if (Path.empty()) throw EngineError("Unable to create directory");
    std::string dir = Path;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    // The root is this platform's bare drive; a relative name's parent is the current folder.
    if (dir == "/" || FolderExists(dir)) return true;
    size_t slash = dir.rfind('/');
    if (slash != std::string::npos && !CreateFolderPath(dir.substr(0, slash + 1))) return false;
    return plat::CreateDir(dir) || FolderExists(dir);
}

void AbstractError() {
    throw EngineError("Abstract Error");
}

TEngineParams CopyParams(const char* const* Params, int32_t Last) {
    TEngineParams list;
    if (!Params || Last < 0) return list;
    // Our own copy of the addresses first: the host may reuse its array once we return.
    std::vector<const char*> addresses(Params, Params + static_cast<size_t>(Last) + 1);
    list.reserve(addresses.size());
    for (const char* p : addresses) list.emplace_back(p ? p : "");
    return list;
}

} // namespace somnex
