#include "platform/registry/RegistryStore.h"

#include "platform/registry/KeyPath.h"
#include "somnex/EngineError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace plat {

// One prepared statement, finalized on scope exit so an error cannot leak it.
class RegistryStore::Statement {
public:
    Statement(RegistryStore& store, const char* sql) : store_(store) {
        int rc = sqlite3_prepare_v2(store.db_, sql, -1, &stmt_, nullptr);
        if (rc != SQLITE_OK) store.Fail(rc);
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int i, int64_t v) {
        sqlite3_bind_int64(stmt_, i, v);
        return *this;
    }
    Statement& Bind(int i, const std::string& v) {
        sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& BindBlob(int i, const void* data, size_t size) {
        // A zero-length blob must still be a blob, not NULL.
        static const uint8_t kNone = 0;
        sqlite3_bind_blob64(stmt_, i, size ? data : &kNone, size, SQLITE_TRANSIENT);
        return *this;
    }
    // True while a row is available.
    bool Step() {
        int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        store_.Fail(rc);
    }
    int64_t Int(int col) { return sqlite3_column_int64(stmt_, col); }
    std::string Text(int col) {
        auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, col));
        return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt_, col))) : std::string();
    }
    std::vector<uint8_t> Blob(int col) {
        auto* p = static_cast<const uint8_t*>(sqlite3_column_blob(stmt_, col));
        return p ? std::vector<uint8_t>(p, p + sqlite3_column_bytes(stmt_, col)) : std::vector<uint8_t>();
    }

private:
    RegistryStore& store_;
    sqlite3_stmt* stmt_ = nullptr;
};

namespace {
constexpr int kBusyTimeoutMs = 10000;

// The file is made private before SQLite sees it; SQLite gives its journal files the same mode.
void CreatePrivateFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::fchmod(fd, 0600);
        ::close(fd);
    }
}
} // namespace

RegistryStore::RegistryStore(const std::filesystem::path& file) : file_(file.string()) {
    CreatePrivateFile(file);
    int rc = sqlite3_open_v2(file_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        std::string why = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw somnex::EngineError("Unable to open the registry store '" + file_ + "': " + why);
    }
    try {
        sqlite3_busy_timeout(db_, kBusyTimeoutMs);
        Exec("PRAGMA journal_mode=WAL");
        Exec("PRAGMA foreign_keys=ON");
        Exec("CREATE TABLE IF NOT EXISTS registry_keys("
             " id INTEGER PRIMARY KEY, hive INTEGER NOT NULL, path TEXT NOT NULL COLLATE NOCASE,"
             " UNIQUE(hive, path))");
        Exec("CREATE TABLE IF NOT EXISTS registry_values("
             " key_id INTEGER NOT NULL REFERENCES registry_keys(id) ON DELETE CASCADE,"
             " name TEXT NOT NULL COLLATE NOCASE, type INTEGER NOT NULL, data BLOB NOT NULL,"
             " PRIMARY KEY(key_id, name))");
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

RegistryStore::~RegistryStore() {
    sqlite3_close(db_);
}

void RegistryStore::Fail(int rc) {
    if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT)
        throw somnex::EngineError("The registry store '" + file_ + "' is not a registry database");
    throw somnex::EngineError("Registry store '" + file_ + "': " + sqlite3_errmsg(db_));
}

void RegistryStore::Exec(const char* sql) {
    // Switching a new file to WAL and creating its tables can meet another process doing the same;
    // SQLite answers that with BUSY at once, without consulting the busy handler, so wait here.
    int rc;
    for (int waited = 0;; waited += 2) {
        rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || waited >= kBusyTimeoutMs) break;
        ::usleep(2000);
    }
    if (rc != SQLITE_OK) Fail(rc);
}

std::optional<int64_t> RegistryStore::FindKey(int hive, const std::string& path) {
    Statement s(*this, "SELECT id FROM registry_keys WHERE hive = ?1 AND path = ?2");
    s.Bind(1, hive).Bind(2, path);
    if (s.Step()) return s.Int(0);
    return std::nullopt;
}

int64_t RegistryStore::CreateKey(int hive, const std::string& path) {
    // The root and every ancestor exist whenever a key does, so listings never miss a level.
    std::vector<std::string> chain = KeyPathAncestry(path);
    chain.insert(chain.begin(), std::string());
    for (const std::string& p : chain) {
        Statement s(*this, "INSERT OR IGNORE INTO registry_keys(hive, path) VALUES(?1, ?2)");
        s.Bind(1, hive).Bind(2, p).Step();
    }
    if (auto id = FindKey(hive, path)) return *id;
    Fail(SQLITE_ERROR);
}

bool RegistryStore::DeleteKey(int hive, const std::string& path) {
    Statement s(
        *this, "DELETE FROM registry_keys WHERE hive = ?1 AND (path = ?2 OR"
               " (?2 = '' AND path <> '') OR substr(path, 1, length(?2) + 1) = (?2 || '\\') COLLATE NOCASE)");
    s.Bind(1, hive).Bind(2, path).Step();
    return sqlite3_changes(db_) > 0;
}

std::vector<std::string> RegistryStore::Descendants(int hive, const std::string& path) {
    Statement s(*this,
                "SELECT path FROM registry_keys WHERE hive = ?1 AND path <> '' AND"
                " (?2 = '' OR substr(path, 1, length(?2) + 1) = (?2 || '\\') COLLATE NOCASE) ORDER BY id");
    s.Bind(1, hive).Bind(2, path);
    std::vector<std::string> out;
    while (s.Step()) out.push_back(s.Text(0));
    return out;
}

std::optional<RegistryStore::Value> RegistryStore::ReadValue(int64_t key, const std::string& name) {
    Statement s(*this, "SELECT type, data FROM registry_values WHERE key_id = ?1 AND name = ?2");
    s.Bind(1, key).Bind(2, name);
    if (!s.Step()) return std::nullopt;
    return Value{static_cast<uint32_t>(s.Int(0)), s.Blob(1)};
}

std::vector<std::string> RegistryStore::ValueNames(int64_t key) {
    Statement s(*this, "SELECT name FROM registry_values WHERE key_id = ?1 ORDER BY name");
    s.Bind(1, key);
    std::vector<std::string> out;
    while (s.Step()) out.push_back(s.Text(0));
    return out;
}

bool RegistryStore::WriteValue(int hive, const std::string& path, const std::string& name, uint32_t type,
                               const void* data, size_t size) {
    // Looked up and written in one statement, so a key deleted by another process is not revived.
    Statement s(*this, "INSERT INTO registry_values(key_id, name, type, data)"
                       " SELECT id, ?3, ?4, ?5 FROM registry_keys WHERE hive = ?1 AND path = ?2"
                       " ON CONFLICT(key_id, name) DO UPDATE SET type = excluded.type, data = excluded.data");
    s.Bind(1, hive).Bind(2, path).Bind(3, name).Bind(4, type).BindBlob(5, data, size);
    s.Step();
    return sqlite3_changes(db_) > 0;
}

bool RegistryStore::DeleteValue(int64_t key, const std::string& name) {
    Statement s(*this, "DELETE FROM registry_values WHERE key_id = ?1 AND name = ?2");
    s.Bind(1, key).Bind(2, name).Step();
    return sqlite3_changes(db_) > 0;
}

} // namespace plat
