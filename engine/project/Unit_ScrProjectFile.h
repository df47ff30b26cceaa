#pragma once
// TScrProjectFile: the life of a screensaver project (new, open, write, save, close) around a
// working copy of the project file named after it with ".~pp" appended.
#include <cstdint>
#include <string>

namespace somnex {

struct TFileInfo {
    bool IsScrProject = false;
    std::string EditorName;
    std::string EditorVersion;
    std::string Version;
};

struct TScrInfo {
    std::string Name;
    std::string Copyright;
    std::string Author;
    std::string AuthorPhoto;
    std::string Web;
    std::string Email;
    std::string Readme;
};

class TScrProjectFile {
public:
    virtual ~TScrProjectFile() = default;

    bool Opened = false;
    TFileInfo FileInfo;
    TScrInfo ScrInfo;
    std::string ProjectDir;     ///< folder of FileName, with a trailing delimiter
    std::string FileName;       ///< full path of the project file
    std::string BackupFileName; ///< the working copy; empty when none exists
    std::string Tag;            ///< kept for the host, never stored

    /// Copies the project file onto its working copy (replacing an older one).
    virtual bool CreateBackup();
    virtual bool DeleteBackup();
    virtual bool OpenWorkingFile() { return true; }
    /// Path relative to ProjectDir when on the same drive, else unchanged.
    virtual std::string MakeRelativePath(const std::string& Path) const;
    virtual void SetDefaults() {}
    virtual void ReadFileInfo() {}
    virtual void WriteFileInfo() {}
    virtual void ReadBasic() {}
    virtual void WriteBasic() {}
    virtual void ReadSettings() {}
    virtual void WriteSettings() {}
    virtual void ClearLists() {}
    virtual bool NewProject(const std::string& FileName);
    /// False for a file that is not a project or cannot be copied; never raises.
    virtual bool OpenProject(const std::string& FileName);
    virtual bool WriteProject();
    /// Copies the working copy onto FileName (empty: the project's own path); never overwrites.
    virtual bool SaveProject(const std::string& FileName);
    virtual bool CloseProject();
    virtual bool IsProjectFile(const std::string& FileName) { return !FileName.empty(); }

    /// Sets FileName and ProjectDir and makes ProjectDir the current folder.
    void SetFileName(const std::string& FileName);
    /// Index 0: EditorName, 1: EditorVersion.
    void SetEditorInfo(int32_t Index, const std::string& Text);
    /// A stored path made absolute against the current folder; empty stays empty.
    static std::string ExpandPath(const std::string& Path);
    /// ExpandPath against a current folder already looked up.
    static std::string ExpandPath(const std::string& Path, const std::string& CurrentFolder);

protected:
    /// Lets go of whatever reads the working copy, before it is deleted.
    virtual void ReleaseWorkingFile() {}
};

} // namespace somnex
