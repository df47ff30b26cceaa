#include "engine/store/SqliteDb.h"

#include "engine/store/StoreErrors.h"
#include "somnex/EngineError.h"

namespace somnex {

SqliteDb::SqliteDb(const std::string& file, Mode mode) : file_(file) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (mode == Mode::Create) flags |= SQLITE_OPEN_CREATE;
    int rc = sqlite3_open_v2(file.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK && mode == Mode::Open) {
        // A read-only file (a packaged screensaver's database) can still be read.
        sqlite3_close(db_);
        db_ = nullptr;
        rc = sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    }
    if (rc != SQLITE_OK) {
        sqlite3_close(db_);
        throw EngineError(store_errors::cannotOpen(file));
    }
    sqlite3_extended_result_codes(db_, 0);
    // Defensive mode refuses schema tricks a hostile file could play on us.
    sqlite3_db_config(db_, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_busy_timeout(db_, 2000);
    // These databases are a build's work files and a package's payload: a killed process still
    // leaves them whole (the journal is written before the pages), and after a power cut the
    // build is simply run again. Waiting for the disk on every posted record tripled build times.
    sqlite3_exec(db_, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
}

SqliteDb::~SqliteDb() {
    sqlite3_close(db_);
}

void SqliteDb::fail(int rc) const {
    switch (rc) {
    case SQLITE_NOTADB:
        throw EngineError(store_errors::notAStore(file_));
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
    case SQLITE_TOOBIG:
    case SQLITE_MISMATCH:
    case SQLITE_ERROR:
        throw EngineError(store_errors::damaged(file_));
    case SQLITE_CANTOPEN:
        throw EngineError(store_errors::cannotOpen(file_));
    default:
        throw EngineError(store_errors::writeFailed(file_));
    }
}

void SqliteDb::exec(const std::string& sql) {
    int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) fail(rc);
}

bool SqliteDb::hasTable(const std::string& name) {
    SqliteStmt st(*this, "SELECT 1 FROM sqlite_schema WHERE type='table' AND name=?1 COLLATE NOCASE");
    st.bindText(1, name);
    return st.step();
}

SqliteStmt::SqliteStmt(SqliteDb& db, const std::string& sql) : db_(db) {
    int rc = sqlite3_prepare_v2(db.handle(), sql.c_str(), -1, &stmt_, nullptr);
    if (rc != SQLITE_OK) db.fail(rc);
}

SqliteStmt::~SqliteStmt() {
    sqlite3_finalize(stmt_);
}

void SqliteStmt::bindBlob(int index, std::string_view bytes) {
    // A zero-length blob still has to be a blob, not NULL, so give SQLite a valid pointer.
    static const char empty = 0;
    sqlite3_bind_blob64(stmt_, index, bytes.empty() ? &empty : bytes.data(), bytes.size(), SQLITE_STATIC);
}

void SqliteStmt::bindText(int index, std::string_view text) {
    static const char empty = 0;
    sqlite3_bind_text64(stmt_, index, text.empty() ? &empty : text.data(), text.size(), SQLITE_STATIC,
                        SQLITE_UTF8);
}

void SqliteStmt::bindInt(int index, int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
}
void SqliteStmt::bindNull(int index) {
    sqlite3_bind_null(stmt_, index);
}

bool SqliteStmt::step() {
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(stmt_);
    db_.fail(rc);
}

void SqliteStmt::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool SqliteStmt::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}
int64_t SqliteStmt::columnInt(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string SqliteStmt::columnBytes(int column) const {
    const void* p = sqlite3_column_blob(stmt_, column);
    int n = sqlite3_column_bytes(stmt_, column);
    if (!p || n <= 0) return {};
    return std::string(static_cast<const char*>(p), static_cast<size_t>(n));
}

bool isValidIdentifier(std::string_view name) {
    if (name.empty() || name.size() > 32) return false;
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (!alpha(name[0])) return false;
    for (char c : name)
        if (!alpha(c) && !(c >= '0' && c <= '9') && c != '_') return false;
    // SQLite keeps these names for itself.
    if (name.size() >= 7) {
        std::string head(name.substr(0, 7));
        for (auto& c : head) c = static_cast<char>(c | 0x20);
        if (head == "sqlite_") return false;
    }
    return true;
}

std::string quoteIdentifier(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

} // namespace somnex
