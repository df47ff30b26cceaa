#include "platform/profile/Profile.h"

#include "platform/profile/ProfileDocument.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <utility>

namespace plat {
namespace {

struct FileKey {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};

    static FileKey Of(const struct stat& st) {
        return {st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    }
    bool operator==(const FileKey& o) const {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec && ctime.tv_sec == o.ctime.tv_sec &&
               ctime.tv_nsec == o.ctime.tv_nsec;
    }
};

// A descriptor that closes itself; cached entries keep one open for appending.
struct Fd {
    int fd = -1;
    Fd() = default;
    Fd(Fd&& o) noexcept : fd(std::exchange(o.fd, -1)) {}
    Fd& operator=(Fd&& o) noexcept {
        if (this != &o) {
            Reset();
            fd = std::exchange(o.fd, -1);
        }
        return *this;
    }
    ~Fd() { Reset(); }
    void Reset() {
        if (fd >= 0) close(fd);
        fd = -1;
    }
};

struct Entry {
    bool exists = false;
    Fd append; // open on the file the key describes
    mode_t mode = 0;
    FileKey key;
    ProfileDocument doc;
};

constexpr size_t kMaxCachedFiles = 32;
constexpr off_t kPage = 4096;

std::mutex gLock;
std::unordered_map<std::string, Entry> gCache;
std::atomic<unsigned> gTempCounter{0};

bool ReadAll(int fd, std::string& out) {
    char buf[65536];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        out.append(buf, size_t(n));
    }
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(size_t(n));
    }
    return true;
}

// The file the path finally names, so a link is not replaced by a plain file.
std::string ResolveTarget(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// The cached document of path, reread when the file changed; nullptr when it cannot be read.
Entry* Load(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) return nullptr;
        Entry& e = gCache[path];
        if (e.exists) e = Entry{};
        return &e;
    }
    if (!S_ISREG(st.st_mode)) return nullptr;
    auto it = gCache.find(path);
    if (it != gCache.end() && it->second.exists && it->second.key == FileKey::Of(st)) return &it->second;

    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    std::string bytes;
    bool ok = fstat(fd, &st) == 0 && ReadAll(fd, bytes);
    close(fd);
    if (!ok) return nullptr;
    if (gCache.size() >= kMaxCachedFiles && it == gCache.end()) gCache.clear();
    Entry& e = gCache[path];
    e.append.Reset();
    e.exists = true;
    e.mode = st.st_mode & 07777;
    e.key = FileKey::Of(st);
    e.doc.Parse(bytes);
    return &e;
}

bool Restat(const std::string& path, Entry& e) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    e.exists = true;
    e.mode = st.st_mode & 07777;
    e.key = FileKey::Of(st);
    return true;
}

// A write(2) that stays within one page is never cut short by a fatal signal: the kernel checks
// for one only between pages. So such an append is all or nothing even when the process is killed.
bool AppendInPlace(const std::string& path, Entry& e, std::string_view bytes) {
    if (!e.exists || off_t(bytes.size()) > kPage - e.key.size % kPage) return false;
    if (e.append.fd < 0) e.append.fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (e.append.fd < 0) return false;
    ssize_t n;
    do n = write(e.append.fd, bytes.data(), bytes.size());
    while (n < 0 && errno == EINTR);
    struct stat st;
    if (n == ssize_t(bytes.size()) && fstat(e.append.fd, &st) == 0) {
        e.key = FileKey::Of(st);
        return true;
    }
    if (n > 0 && ftruncate(e.append.fd, e.key.size) != 0) {
        // Leave the rewrite to put the whole file right.
    }
    e.append.Reset();
    return false;
}

// The new content goes to a temporary file in the same folder, which then replaces the file in
// one rename: a crash of the process leaves either file whole. No fsync: rename is atomic for a
// killed process; only a power cut could lose the newest write.
bool ReplaceFile(const std::string& path, const Entry& e, const std::string& content) {
    std::string target = ResolveTarget(path);
    size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? "./" : target.substr(0, slash + 1);
    std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1);
    std::string temp =
        dir + "." + name + ".~" + std::to_string(getpid()) + "-" + std::to_string(gTempCounter.fetch_add(1));
    // An unnamed file gets its name only for the instant before the rename, so a killed
    // process hardly ever leaves a temporary file behind.
    int fd = open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    bool named = fd < 0;
    if (named) fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool ok = (!e.exists || fchmod(fd, e.mode) == 0) && WriteAll(fd, content);
    if (ok && !named) {
        std::string self = "/proc/self/fd/" + std::to_string(fd);
        ok = linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0;
        named = ok;
    }
    ok = close(fd) == 0 && ok;
    ok = ok && rename(temp.c_str(), target.c_str()) == 0;
    if (!ok && named) unlink(temp.c_str());
    return ok;
}

bool NamesUsable(std::string_view section, std::string_view key) {
    auto breaks = [](std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; };
    return !section.empty() && !key.empty() && !breaks(section) &&
           section.find(']') == std::string_view::npos && !breaks(key) &&
           key.find('=') == std::string_view::npos;
}

template <class Edit>
bool Modify(const std::string& path, Edit edit) {
    std::lock_guard lock(gLock);
    Entry* e = Load(path);
    if (!e) return false;
    std::string appended;
    ProfileDocument::Change change = edit(e->doc, appended);
    if (change == ProfileDocument::Change::None) return true;
    if (change == ProfileDocument::Change::Append && AppendInPlace(path, *e, appended)) return true;
    // Renaming over a read-only file would succeed; the platform refuses to write to one.
    bool ok = (!e->exists || faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0) &&
              ReplaceFile(path, *e, e->doc.Serialize());
    e->append.Reset();
    if (!ok || !Restat(path, *e)) {
        gCache.erase(path); // the document no longer matches the file
        return false;
    }
    return true;
}

std::string Cut(std::string_view text, size_t bufferSize) {
    return std::string(text.substr(0, bufferSize ? bufferSize - 1 : 0));
}

} // namespace

std::string GetProfileString(const std::string& path, std::string_view section, std::string_view key,
                             std::string_view def, size_t bufferSize) {
    std::lock_guard lock(gLock);
    Entry* e = Load(path);
    std::string value;
    if (e && e->doc.Find(section, key, value)) {
        if (value.size() >= bufferSize) value.resize(bufferSize ? bufferSize - 1 : 0);
        return value;
    }
    return Cut(def, bufferSize);
}

std::vector<std::string> GetProfileKeys(const std::string& path, std::string_view section,
                                        size_t bufferSize) {
    std::lock_guard lock(gLock);
    std::vector<std::string> result;
    Entry* e = Load(path);
    if (!e || bufferSize < 2) return result;
    size_t room = bufferSize - 1; // the list's own terminator
    for (std::string_view key : e->doc.Keys(section)) {
        if (room < 2) break;
        size_t take = std::min(key.size(), room - 1);
        result.emplace_back(key.substr(0, take));
        room -= take + 1;
        if (take < key.size()) break;
    }
    return result;
}

std::vector<std::string> GetProfileSections(const std::string& path) {
    std::lock_guard lock(gLock);
    std::vector<std::string> result;
    if (Entry* e = Load(path))
        for (std::string_view name : e->doc.Sections()) result.emplace_back(name);
    return result;
}

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    if (!NamesUsable(section, key)) return false;
    // A line break would start a new line of the file; what a read gives back is the first line.
    value = value.substr(0, value.find_first_of("\r\n"));
    return Modify(path, [&](ProfileDocument& doc, std::string& appended) {
        return doc.Write(section, key, value, appended);
    });
}

bool DeleteProfileKey(const std::string& path, std::string_view section, std::string_view key) {
    return Modify(path, [&](ProfileDocument& doc, std::string&) { return doc.DeleteKey(section, key); });
}

bool EraseProfileSection(const std::string& path, std::string_view section) {
    return Modify(path, [&](ProfileDocument& doc, std::string&) { return doc.EraseSection(section); });
}

void FlushProfileCache() {
    std::lock_guard lock(gLock);
    gCache.clear();
}

} // namespace plat
