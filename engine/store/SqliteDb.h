#pragma once
// A thin owner of an SQLite connection and its statements. Every failure becomes a store error
// naming the file, so nothing of SQLite's own wording reaches a caller.
#include <cstdint>
#include <sqlite3.h>
#include <string>
#include <string_view>

namespace somnex {

class SqliteDb;

class SqliteStmt {
public:
    SqliteStmt(SqliteDb& db, const std::string& sql);
    ~SqliteStmt();
    SqliteStmt(const SqliteStmt&) = delete;
    SqliteStmt& operator=(const SqliteStmt&) = delete;

    // Binds with SQLITE_STATIC: the bytes must outlive the step.
    void bindBlob(int index, std::string_view bytes);
    void bindText(int index, std::string_view text);
    void bindInt(int index, int64_t value);
    void bindNull(int index);
    // True while a row is available; false when done.
    bool step();
    void reset();

    bool isNull(int column) const;
    int64_t columnInt(int column) const;
    std::string columnBytes(int column) const;

private:
    SqliteDb& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

class SqliteDb {
public:
    enum class Mode { Open, Create };
    SqliteDb(const std::string& file, Mode mode);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    void exec(const std::string& sql);
    int64_t lastInsertRowid() const { return sqlite3_last_insert_rowid(db_); }
    bool hasTable(const std::string& name);
    sqlite3* handle() const { return db_; }
    const std::string& file() const { return file_; }
    // Raises the store error that matches an SQLite result code.
    [[noreturn]] void fail(int rc) const;

private:
    std::string file_;
    sqlite3* db_ = nullptr;
};

// Identifiers are checked before they are quoted, so a name can never change the statement.
bool isValidIdentifier(std::string_view name);
std::string quoteIdentifier(std::string_view name);

} // namespace somnex
