#pragma once
// The package: every member's bytes one after another from offset 0, then one 264-byte directory
// entry per member, then the member count. All integers are 32-bit little-endian, signed.
//
//   entry:  [0] name length (0..255)  [1..255] name, zero-padded  [256] offset  [260] size
//
// Readers trust nothing in a package: a directory that does not fit the file, members outside
// the member data and names that could leave the target folder are reported through OnError.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace somnex {

class TBasePackageFile;

using TNotifyEvent = std::function<void(TBasePackageFile& Sender)>;
using TProcessFileEvent =
    std::function<void(TBasePackageFile& Sender, int32_t FileID, const std::string& FileName)>;
using TErrorEvent = std::function<void(TBasePackageFile& Sender, const std::string& ErrState)>;

inline constexpr const char* kNoPackageName = "Not specify package file name.";
inline constexpr const char* kNoPackageId = "Not package id.";

// Sizes of the layout.
inline constexpr int kPackageNameSize = 255;
inline constexpr int kPackageEntrySize = 264;
// Offsets are signed 32-bit, so the member data of one package stays below 2 GiB.
inline constexpr int64_t kPackageDataLimit = INT32_MAX;

struct TPackageEntry {
    std::string Name;
    int32_t Offset = 0;
    int32_t Size = 0;
};

class TBasePackageFile {
public:
    virtual ~TBasePackageFile() = default;

    std::string PackageFileName;
    // Writing: the member paths in order. Reading: the member names from the directory.
    std::vector<std::string> PackageFileList;
    int32_t PackageFileCount() const { return static_cast<int32_t>(PackageFileList.size()); }

    TNotifyEvent OnBeginPackage, OnCompletePackage;
    TProcessFileEvent OnPackageFile;
    TNotifyEvent OnBeginExtract, OnCompleteExtract;
    TProcessFileEvent OnExtractFile;
    TErrorEvent OnError;

    virtual void Execute() = 0;
    virtual bool Open(const std::string& PackagePath) = 0;
    virtual void ExtractFile(int32_t Index, const std::string& TargetFolder, std::string& Path) = 0;
    virtual bool ExtractToStream(int32_t Index, std::vector<uint8_t>& Stream) = 0;
    virtual bool ExtractAll(const std::string& TargetFolder) = 0;

protected:
    void Fire(const TNotifyEvent& e) {
        if (e) e(*this);
    }
    void Fire(const TProcessFileEvent& e, int32_t id, const std::string& name) {
        if (e) e(*this, id, name);
    }
    void Error(const std::string& text) {
        if (OnError) OnError(*this, text);
    }
};

class TPackageFile : public TBasePackageFile {
public:
    // Writes PackageFileList to PackageFileName. A missing member or members too large for the
    // offsets raise EngineError before the package is created; a failure while writing raises
    // it too and removes the partly written package.
    void Execute() override;
    // Reads the directory. False when the package is missing or damaged (OnError says why).
    bool Open(const std::string& PackagePath) override;
    // Path is TargetFolder + name, or empty when nothing was written.
    void ExtractFile(int32_t Index, const std::string& TargetFolder, std::string& Path) override;
    bool ExtractToStream(int32_t Index, std::vector<uint8_t>& Stream) override;
    bool ExtractAll(const std::string& TargetFolder) override;

    const std::vector<TPackageEntry>& Entries() const { return entries_; }
    bool DirectoryRead() const { return directoryRead_ && readFrom_ == PackageFileName; }

private:
    // False when the package is missing or damaged; the error has been reported.
    bool readDirectory();
    bool ensureDirectory();
    bool indexTest(int32_t Index);
    // Writes one member below the folder; the text of what went wrong, or empty.
    std::string writeMember(int32_t Index, const std::string& path);

    std::vector<TPackageEntry> entries_;
    bool directoryRead_ = false;
    bool directoryGood_ = false;
    std::string readFrom_;
};

// The file name part of a path (after the last '/' or '\').
std::string PackageNamePart(const std::string& path);
// Why `name` may not become a file in a target folder (empty, ".", "..", a separator, a control
// character), or empty when it may.
std::string UnsafeMemberName(const std::string& name);

} // namespace somnex
