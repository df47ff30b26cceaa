#include "engine/project/Unit_ScrProjectFile.h"

#include "engine/project/ProjectFileCopy.h"
#include "platform/path/Path.h"
#include "somnex/EngineError.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace somnex {

bool TScrProjectFile::CreateBackup() {
    BackupFileName = FileName + ".~pp";
    return CopyProjectFile(FileName, BackupFileName, true);
}

bool TScrProjectFile::DeleteBackup() {
    return !BackupFileName.empty() && unlink(BackupFileName.c_str()) == 0;
}

std::string TScrProjectFile::MakeRelativePath(const std::string& Path) const {
    return plat::MakeRelativePath(Path, ProjectDir);
}

bool TScrProjectFile::NewProject(const std::string& Name) {
    FileName = Name;
    if (!CreateBackup()) return false;
    SetDefaults();
    return true;
}

bool TScrProjectFile::OpenProject(const std::string& Name) {
    // Reopening releases the previous working copy instead of leaving it behind.
    if (Opened || !BackupFileName.empty()) CloseProject();
    try {
        if (!IsProjectFile(Name)) return false;
        SetFileName(Name);
        if (CreateBackup() && OpenWorkingFile()) {
            ReadFileInfo();
            ReadBasic();
            ReadSettings();
            Opened = true;
            return true;
        }
    } catch (...) {
        // Reported as false below.
    }
    // A failed open keeps no working copy: nobody would ever delete it.
    ReleaseWorkingFile();
    DeleteBackup();
    BackupFileName.clear();
    return false;
}

bool TScrProjectFile::WriteProject() {
    WriteFileInfo();
    WriteBasic();
    WriteSettings();
    ClearLists();
    return true;
}

bool TScrProjectFile::SaveProject(const std::string& Name) {
    if (BackupFileName.empty()) return false;
    std::string target = Name.empty() ? FileName : plat::ExpandFileName(Name);
    if (!CopyProjectFile(BackupFileName, target, false)) return false;
    if (!Name.empty()) SetFileName(target);
    return true;
}

bool TScrProjectFile::CloseProject() {
    ReleaseWorkingFile();
    DeleteBackup();
    FileName.clear();
    BackupFileName.clear();
    Opened = false;
    return true;
}

void TScrProjectFile::SetFileName(const std::string& Name) {
    FileName = plat::ExpandFileName(Name);
    ProjectDir = plat::ExtractFilePath(FileName);
    if (!plat::SetCurrentFolder(ProjectDir)) {
        int error = errno;
        throw EngineError("I/O error " + std::to_string(error) + ": cannot make " + ProjectDir +
                          " the current folder (" + std::strerror(error) + ")");
    }
}

void TScrProjectFile::SetEditorInfo(int32_t Index, const std::string& Text) {
    if (Index == 0)
        FileInfo.EditorName = Text;
    else if (Index == 1)
        FileInfo.EditorVersion = Text;
}

std::string TScrProjectFile::ExpandPath(const std::string& Path) {
    return Path.empty() ? std::string() : plat::ExpandFileName(Path);
}

std::string TScrProjectFile::ExpandPath(const std::string& Path, const std::string& CurrentFolder) {
    return Path.empty() ? std::string() : plat::ExpandFileName(Path, CurrentFolder);
}

} // namespace somnex
