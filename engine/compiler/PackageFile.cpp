#include "engine/compiler/PackageFile.h"

#include "somnex/EngineError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace somnex {

namespace {

constexpr size_t kChunk = 1 << 16;

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }
    // False when the file ends or fails before `size` bytes.
    bool readAt(void* to, size_t size, int64_t at) const {
        auto* p = static_cast<uint8_t*>(to);
        while (size > 0) {
            ssize_t n = ::pread(fd_, p, size, static_cast<off_t>(at));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n, at += n, size -= size_t(n);
        }
        return true;
    }
    bool writeAll(const void* from, size_t size) const {
        auto* p = static_cast<const uint8_t*>(from);
        while (size > 0) {
            ssize_t n = ::write(fd_, p, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n, size -= size_t(n);
        }
        return true;
    }
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool regularFile(const std::string& path, int64_t* size = nullptr) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (size) *size = st.st_size;
    return true;
}

void putLE32(uint8_t* at, int32_t v) {
    auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) at[i] = uint8_t(u >> (8 * i));
}

int32_t getLE32(const uint8_t* at) {
    uint32_t u = uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
    return static_cast<int32_t>(u);
}

std::string printable(const std::string& name) {
    std::string out;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F) {
            static const char hex[] = "0123456789ABCDEF";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += char(c);
        }
    }
    return out;
}

std::string damaged(const std::string& package, const std::string& why) {
    return "Package '" + package + "' is damaged: " + why + ".";
}

std::string refused(const std::string& package, size_t index, const std::string& name,
                    const std::string& why) {
    return "Member " + std::to_string(index) + " of package '" + package + "' is refused: " + why + " ('" +
           printable(name) + "').";
}

} // namespace

std::string PackageNamePart(const std::string& path) {
    auto at = path.find_last_of("/\\");
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string UnsafeMemberName(const std::string& name) {
    if (name.empty()) return "the name is empty";
    if (name == ".") return "the name is '.'";
    if (name.find("..") != std::string::npos) return "the name holds '..'";
    for (unsigned char c : name) {
        if (c == '/' || c == '\\') return "the name holds a path separator";
        if (c < 0x20 || c == 0x7F) return "the name holds a control character";
    }
    return {};
}

// ---- Writing ----

void TPackageFile::Execute() {
    auto blank = [](unsigned char c) { return c == ' ' || c == '\t'; };
    if (std::all_of(PackageFileName.begin(), PackageFileName.end(), blank)) {
        Error(kNoPackageName);
        return;
    }
    // Everything that can be known before writing is checked first, so a refused package leaves
    // the previous file, if any, untouched.
    std::vector<TPackageEntry> entries(PackageFileList.size());
    int64_t total = 0;
    for (size_t i = 0; i < PackageFileList.size(); ++i) {
        const std::string& member = PackageFileList[i];
        int64_t size = 0;
        if (!regularFile(member, &size)) throw EngineError("Cannot open file \"" + member + "\"");
        total += size;
        if (total > kPackageDataLimit)
            throw EngineError("Cannot write package \"" + PackageFileName +
                              "\": its members total more than " + std::to_string(kPackageDataLimit) +
                              " bytes, the most a package can hold");
        entries[i].Name = PackageNamePart(member).substr(0, kPackageNameSize);
    }

    Fd out(::open(PackageFileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!out.ok()) throw EngineError("Cannot create file \"" + PackageFileName + "\"");
    auto fail = [&](const std::string& text) {
        out.close();
        ::unlink(PackageFileName.c_str());
        throw EngineError(text);
    };
    Fire(OnBeginPackage);
    std::vector<uint8_t> buffer(kChunk);
    int64_t offset = 0;
    for (size_t i = 0; i < PackageFileList.size(); ++i) {
        const std::string& member = PackageFileList[i];
        Fd in(::open(member.c_str(), O_RDONLY | O_CLOEXEC));
        if (!in.ok()) fail("Cannot open file \"" + member + "\"");
        Fire(OnPackageFile, int32_t(i), entries[i].Name);
        int64_t size = 0;
        for (;;) {
            ssize_t n = ::read(in.get(), buffer.data(), buffer.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) fail("Cannot read file \"" + member + "\"");
            if (n == 0) break;
            size += n;
            // The member may have grown since it was measured.
            if (offset + size > kPackageDataLimit)
                fail("Cannot write package \"" + PackageFileName + "\": its members total more than " +
                     std::to_string(kPackageDataLimit) + " bytes, the most a package can hold");
            if (!out.writeAll(buffer.data(), size_t(n)))
                fail("Cannot write file \"" + PackageFileName + "\"");
        }
        entries[i].Offset = int32_t(offset);
        entries[i].Size = int32_t(size);
        offset += size;
    }
    std::vector<uint8_t> directory(entries.size() * kPackageEntrySize + 4, 0);
    for (size_t i = 0; i < entries.size(); ++i) {
        uint8_t* e = directory.data() + i * kPackageEntrySize;
        e[0] = uint8_t(entries[i].Name.size());
        std::memcpy(e + 1, entries[i].Name.data(), entries[i].Name.size());
        putLE32(e + 256, entries[i].Offset);
        putLE32(e + 260, entries[i].Size);
    }
    putLE32(directory.data() + directory.size() - 4, int32_t(entries.size()));
    if (!out.writeAll(directory.data(), directory.size()) || !out.close())
        fail("Cannot write file \"" + PackageFileName + "\"");
    Fire(OnCompletePackage);
}

// ---- Reading ----

bool TPackageFile::readDirectory() {
    PackageFileList.clear();
    entries_.clear();
    directoryRead_ = true;
    directoryGood_ = false;
    readFrom_ = PackageFileName;
    int64_t fileSize = 0;
    if (!regularFile(PackageFileName, &fileSize)) {
        Error(kNoPackageName);
        return false;
    }
    Fd in(::open(PackageFileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.ok()) {
        Error("Cannot open file \"" + PackageFileName + "\"");
        return false;
    }
    uint8_t tail[4];
    if (fileSize < 4 || !in.readAt(tail, 4, fileSize - 4)) {
        Error(damaged(PackageFileName, "it is too short to hold a member count"));
        return false;
    }
    const int32_t count = getLE32(tail);
    const int64_t directoryAt = fileSize - 4 - int64_t(kPackageEntrySize) * count;
    if (count < 0 || directoryAt < 0) {
        Error(
            damaged(PackageFileName, "its member count " + std::to_string(count) + " does not fit the file"));
        return false;
    }
    std::vector<uint8_t> directory(size_t(count) * kPackageEntrySize);
    if (!in.readAt(directory.data(), directory.size(), directoryAt)) {
        Error(damaged(PackageFileName, "its directory cannot be read"));
        return false;
    }
    std::vector<TPackageEntry> entries(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* e = directory.data() + size_t(i) * kPackageEntrySize;
        TPackageEntry& entry = entries[size_t(i)];
        entry.Name.assign(reinterpret_cast<const char*>(e + 1), e[0]);
        entry.Offset = getLE32(e + 256);
        entry.Size = getLE32(e + 260);
        if (entry.Offset < 0 || entry.Size < 0 || int64_t(entry.Offset) + entry.Size > directoryAt) {
            Error(damaged(PackageFileName, "member " + std::to_string(i) + " ('" + printable(entry.Name) +
                                               "') lies outside the member data"));
            return false;
        }
    }
    entries_ = std::move(entries);
    for (const TPackageEntry& e : entries_) PackageFileList.push_back(e.Name);
    directoryGood_ = true;
    return true;
}

bool TPackageFile::ensureDirectory() {
    if (DirectoryRead()) {
        if (!directoryGood_) return readDirectory();
        return true;
    }
    return readDirectory();
}

bool TPackageFile::Open(const std::string& PackagePath) {
    if (!PackagePath.empty()) PackageFileName = PackagePath;
    return readDirectory();
}

bool TPackageFile::indexTest(int32_t Index) {
    if (!regularFile(PackageFileName)) {
        Error(kNoPackageName);
        return false;
    }
    if (!ensureDirectory()) return false;
    if (Index < 0 || Index >= int32_t(entries_.size())) {
        Error(kNoPackageId);
        return false;
    }
    return true;
}

bool TPackageFile::ExtractToStream(int32_t Index, std::vector<uint8_t>& Stream) {
    if (!indexTest(Index)) return false;
    Stream.clear();
    const TPackageEntry& e = entries_[size_t(Index)];
    Fd in(::open(PackageFileName.c_str(), O_RDONLY | O_CLOEXEC));
    Stream.resize(size_t(e.Size));
    if (!in.ok() || !in.readAt(Stream.data(), Stream.size(), e.Offset)) {
        Stream.clear();
        Error(damaged(PackageFileName, "member " + std::to_string(Index) + " is cut short"));
        return false;
    }
    return true;
}

std::string TPackageFile::writeMember(int32_t Index, const std::string& path) {
    const TPackageEntry& e = entries_[size_t(Index)];
    if (std::string why = UnsafeMemberName(e.Name); !why.empty())
        return refused(PackageFileName, size_t(Index), e.Name, why);
    Fd in(::open(PackageFileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.ok()) return "Cannot open file \"" + PackageFileName + "\"";
    // Never through a link planted in the target folder.
    Fd out(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!out.ok()) return "Cannot create file \"" + path + "\"";
    std::vector<uint8_t> buffer(std::min<size_t>(kChunk, size_t(e.Size)));
    int64_t at = e.Offset, left = e.Size;
    std::string error;
    while (left > 0 && error.empty()) {
        size_t n = size_t(std::min<int64_t>(left, int64_t(buffer.size())));
        if (!in.readAt(buffer.data(), n, at))
            error = damaged(PackageFileName, "member " + std::to_string(Index) + " is cut short");
        else if (!out.writeAll(buffer.data(), n))
            error = "Cannot write file \"" + path + "\"";
        at += int64_t(n), left -= int64_t(n);
    }
    if (!out.close() && error.empty()) error = "Cannot write file \"" + path + "\"";
    if (!error.empty()) ::unlink(path.c_str());
    return error;
}

void TPackageFile::ExtractFile(int32_t Index, const std::string& TargetFolder, std::string& Path) {
    Path.clear();
    if (!indexTest(Index)) return;
    Fire(OnBeginExtract);
    const std::string path = TargetFolder + entries_[size_t(Index)].Name;
    Fire(OnExtractFile, Index, path);
    if (std::string error = writeMember(Index, path); error.empty())
        Path = path;
    else
        Error(error);
    Fire(OnCompleteExtract);
}

bool TPackageFile::ExtractAll(const std::string& TargetFolder) {
    if (!ensureDirectory()) return false;
    // A package with one hostile name writes nothing at all.
    for (size_t i = 0; i < entries_.size(); ++i)
        if (std::string why = UnsafeMemberName(entries_[i].Name); !why.empty()) {
            Error(refused(PackageFileName, i, entries_[i].Name, why));
            return false;
        }
    Fire(OnBeginExtract);
    bool ok = true;
    for (size_t i = 0; i < entries_.size() && ok; ++i) {
        const std::string path = TargetFolder + entries_[i].Name;
        Fire(OnExtractFile, int32_t(i), path);
        if (std::string error = writeMember(int32_t(i), path); !error.empty()) {
            Error(error);
            ok = false;
        }
    }
    Fire(OnCompleteExtract);
    return ok;
}

} // namespace somnex
