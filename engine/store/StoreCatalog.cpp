#include "engine/store/StoreCatalog.h"

#include "engine/store/StoreErrors.h"
#include "engine/store/StoreText.h"
#include "somnex/EngineError.h"

#include <filesystem>
#include <unistd.h>

namespace somnex {

namespace {

constexpr int64_t kApplicationId = 0x534D5854; // "SMXT"
constexpr const char* kFormatName = "somnex-store";
constexpr int64_t kFormatVersion = 1;

const char* typeName(TFieldType t) {
    switch (t) {
    case TFieldType::String:
        return "String";
    case TFieldType::AutoInc:
        return "AutoInc";
    case TFieldType::Blob:
        return "Blob";
    case TFieldType::Memo:
        return "Memo";
    }
    return "";
}

std::optional<TFieldType> typeFromName(const std::string& s) {
    for (auto t : {TFieldType::String, TFieldType::AutoInc, TFieldType::Blob, TFieldType::Memo})
        if (s == typeName(t)) return t;
    return std::nullopt;
}

void putInfo(SqliteDb& db, const char* name, const std::string& value, bool blob = false) {
    SqliteStmt st(db, "INSERT OR REPLACE INTO _store_info(name, value) VALUES (?1, ?2)");
    st.bindText(1, name);
    if (blob)
        st.bindBlob(2, value);
    else
        st.bindText(2, value);
    st.step();
}

void putInfo(SqliteDb& db, const char* name, int64_t value) {
    SqliteStmt st(db, "INSERT OR REPLACE INTO _store_info(name, value) VALUES (?1, ?2)");
    st.bindText(1, name);
    st.bindInt(2, value);
    st.step();
}

void writeCatalogue(SqliteDb& db, const StoreCreateOptions& o) {
    db.exec("PRAGMA page_size=4096");
    db.exec("PRAGMA application_id=" + std::to_string(kApplicationId));
    db.exec("PRAGMA user_version=" + std::to_string(kFormatVersion));
    db.exec("BEGIN");
    db.exec("CREATE TABLE _store_info(name TEXT PRIMARY KEY NOT NULL, value NOT NULL)");
    db.exec(
        "CREATE TABLE _store_fields(table_name TEXT NOT NULL, position INTEGER NOT NULL, name TEXT NOT NULL,"
        " type TEXT NOT NULL, size INTEGER NOT NULL, compressed INTEGER NOT NULL, encrypted INTEGER NOT NULL,"
        " checksum INTEGER NOT NULL, PRIMARY KEY(table_name, position))");
    db.exec("CREATE TABLE _store_indexes(name TEXT PRIMARY KEY NOT NULL, table_name TEXT NOT NULL,"
            " options INTEGER NOT NULL, fields TEXT NOT NULL)");
    putInfo(db, "format", kFormatName);
    putInfo(db, "version", kFormatVersion);
    putInfo(db, "compress_blobs", o.compressBlobs ? 1 : 0);
    putInfo(db, "compress_algorithm", "ZLIB");
    putInfo(db, "compress_level", o.zlibLevel);
    putInfo(db, "encrypt", o.encrypt ? 1 : 0);
    putInfo(db, "encrypt_algorithm", o.encrypt ? cipherName(o.cipher) : "");
    putInfo(db, "checksums", o.checksums ? 1 : 0);
    putInfo(db, "comment", "");
    if (o.encrypt) {
        std::string salt = randomBytes(kSaltSize);
        StoreKeys k = deriveKeys(o.password, salt, kKdfIterations);
        putInfo(db, "kdf", "PBKDF2-SHA256");
        putInfo(db, "kdf_salt", salt, true);
        putInfo(db, "kdf_iterations", kKdfIterations);
        putInfo(db, "password_check", std::string(k.check.begin(), k.check.end()), true);
    }
    db.exec("COMMIT");
}

} // namespace

void createStoreFile(const std::string& file, const StoreCreateOptions& options) {
    namespace fs = std::filesystem;
    // Built beside the target and renamed into place, so a failure leaves no half-made file.
    std::string temp = file + ".new-" + std::to_string(::getpid());
    std::error_code ec;
    fs::remove(temp, ec);
    try {
        {
            SqliteDb db(temp, SqliteDb::Mode::Create);
            writeCatalogue(db, options);
        }
        fs::rename(temp, file, ec);
        if (ec) throw EngineError(store_errors::writeFailed(file));
    } catch (...) {
        fs::remove(temp, ec);
        fs::remove(temp + "-journal", ec);
        throw;
    }
}

StoreConnection::StoreConnection(const std::string& file, const std::string& password) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) throw EngineError(store_errors::cannotOpen(file));
    db_ = std::make_unique<SqliteDb>(file, SqliteDb::Mode::Open);
    if (!db_->hasTable("_store_info") || info("format").value_or("") != kFormatName)
        throw EngineError(store_errors::notAStore(file));
    if (infoInt("version") != kFormatVersion) throw EngineError(store_errors::notAStore(file));

    compressBlobs_ = infoInt("compress_blobs") != 0;
    checksums_ = infoInt("checksums") != 0;
    int64_t level = infoInt("compress_level");
    if (compressBlobs_ && (level < 1 || level > 9 || info("compress_algorithm").value_or("") != "ZLIB"))
        throw EngineError(store_errors::damaged(file));
    codec_.zlibLevel = static_cast<int>(level);
    if (infoInt("encrypt") != 0) {
        codec_.cipher = cipherFromName(info("encrypt_algorithm").value_or(""));
        std::string salt = info("kdf_salt").value_or("");
        std::string check = info("password_check").value_or("");
        int64_t iterations = infoInt("kdf_iterations");
        if (codec_.cipher == TCipherAlgo::None || info("kdf").value_or("") != "PBKDF2-SHA256" ||
            salt.empty() || check.size() != keys_.check.size() || iterations < 1 ||
            iterations > kKdfIterationsMax)
            throw EngineError(store_errors::damaged(file));
        keys_ = deriveKeys(password, salt, static_cast<uint32_t>(iterations));
        if (std::string(keys_.check.begin(), keys_.check.end()) != check)
            throw EngineError(store_errors::wrongPassword(file));
    }
    codec_.keys = &keys_;
}

std::optional<std::string> StoreConnection::info(const char* name) {
    SqliteStmt st(*db_, "SELECT value FROM _store_info WHERE name=?1");
    st.bindText(1, name);
    if (!st.step()) return std::nullopt;
    return st.columnBytes(0);
}

int64_t StoreConnection::infoInt(const char* name) {
    SqliteStmt st(*db_, "SELECT value FROM _store_info WHERE name=?1");
    st.bindText(1, name);
    if (!st.step()) throw EngineError(store_errors::damaged(file()));
    return st.columnInt(0);
}

std::vector<FieldInfo> StoreConnection::loadFields(const std::string& table, std::string& storedName) {
    SqliteStmt st(*db_,
                  "SELECT table_name, name, type, size, compressed, encrypted, checksum FROM _store_fields"
                  " WHERE table_name=?1 COLLATE NOCASE ORDER BY position");
    st.bindText(1, table);
    std::vector<FieldInfo> fields;
    int autoIncs = 0;
    while (st.step()) {
        storedName = st.columnBytes(0);
        FieldInfo f;
        f.name = st.columnBytes(1);
        auto type = typeFromName(st.columnBytes(2));
        int64_t size = st.columnInt(3);
        if (!type || !isValidIdentifier(f.name) || !isValidIdentifier(storedName) || size < 0 || size > 65535)
            throw EngineError(store_errors::damaged(file()));
        f.type = *type;
        f.size = static_cast<int>(size);
        f.coding.compress = st.columnInt(4) != 0;
        f.coding.encrypt = st.columnInt(5) != 0;
        f.coding.checksum = st.columnInt(6) != 0;
        f.coding.deterministic = f.type == TFieldType::String;
        if (f.coding.encrypt && codec_.cipher == TCipherAlgo::None)
            throw EngineError(store_errors::damaged(file()));
        if (f.type == TFieldType::AutoInc && (++autoIncs > 1 || f.coding.framed()))
            throw EngineError(store_errors::damaged(file()));
        for (const auto& g : fields)
            if (equalsNoCase(g.name, f.name)) throw EngineError(store_errors::damaged(file()));
        fields.push_back(std::move(f));
    }
    if (fields.empty()) throw EngineError(store_errors::noTable(table));
    if (!db_->hasTable(storedName)) throw EngineError(store_errors::damaged(file()));
    return fields;
}

std::vector<std::string> StoreConnection::tableNames() {
    SqliteStmt st(*db_, "SELECT DISTINCT table_name FROM _store_fields ORDER BY table_name");
    std::vector<std::string> names;
    while (st.step()) names.push_back(st.columnBytes(0));
    return names;
}

void StoreConnection::createTable(const std::string& table, const std::vector<TFieldDef>& defs) {
    if (!isValidIdentifier(table)) throw EngineError(store_errors::badName(table));
    if (defs.empty()) throw EngineError(store_errors::badName(table));
    SqliteStmt known(*db_, "SELECT 1 FROM _store_fields WHERE table_name=?1 COLLATE NOCASE");
    known.bindText(1, table);
    if (known.step() || db_->hasTable(table)) throw EngineError(store_errors::tableExists(table));

    std::string sql = "CREATE TABLE " + quoteIdentifier(table) + "(";
    int autoIncs = 0;
    for (size_t i = 0; i < defs.size(); ++i) {
        const auto& d = defs[i];
        // The row number's own names would shadow it.
        if (!isValidIdentifier(d.Name) || equalsNoCase(d.Name, "rowid") || equalsNoCase(d.Name, "oid"))
            throw EngineError(store_errors::badName(d.Name));
        for (size_t j = 0; j < i; ++j)
            if (equalsNoCase(defs[j].Name, d.Name)) throw EngineError(store_errors::badName(d.Name));
        if (d.DataType == TFieldType::String && (d.Size < 1 || d.Size > 65535))
            throw EngineError("Invalid size " + std::to_string(d.Size) + " for field '" + d.Name + "'");
        if (d.DataType == TFieldType::AutoInc && ++autoIncs > 1)
            throw EngineError(store_errors::badName(d.Name));
        bool framed = false;
        if (d.DataType == TFieldType::AutoInc) {
            sql += quoteIdentifier(d.Name) + " INTEGER PRIMARY KEY AUTOINCREMENT";
        } else {
            bool def = d.Processing == TFieldProcessing::Default;
            bool big = d.DataType != TFieldType::String;
            framed = def && (codec_.cipher != TCipherAlgo::None || (big && compressBlobs_) || checksums_);
            bool textual = d.DataType != TFieldType::Blob;
            sql += quoteIdentifier(d.Name) + (framed || !textual ? " BLOB" : " TEXT");
        }
        sql += i + 1 < defs.size() ? ", " : ")";
    }
    db_->exec("BEGIN");
    try {
        db_->exec(sql);
        for (size_t i = 0; i < defs.size(); ++i) {
            const auto& d = defs[i];
            bool def = d.Processing == TFieldProcessing::Default && d.DataType != TFieldType::AutoInc;
            bool big = d.DataType == TFieldType::Blob || d.DataType == TFieldType::Memo;
            SqliteStmt st(*db_, "INSERT INTO _store_fields VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
            st.bindText(1, table);
            st.bindInt(2, static_cast<int64_t>(i));
            st.bindText(3, d.Name);
            st.bindText(4, typeName(d.DataType));
            st.bindInt(5, d.DataType == TFieldType::String ? d.Size : 0);
            st.bindInt(6, def && big && compressBlobs_ ? 1 : 0);
            st.bindInt(7, def && codec_.cipher != TCipherAlgo::None ? 1 : 0);
            st.bindInt(8, def && checksums_ ? 1 : 0);
            st.step();
        }
        db_->exec("COMMIT");
    } catch (...) {
        sqlite3_exec(db_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void StoreConnection::createIndex(const std::string& table, const std::string& index, TIndexOptions options,
                                  const std::vector<std::string>& fieldNames) {
    if (!isValidIdentifier(index)) throw EngineError(store_errors::badName(index));
    std::string storedTable;
    auto fields = loadFields(table, storedTable);
    if (fieldNames.empty()) throw EngineError(store_errors::badName(index));
    std::string cols, list;
    for (const auto& name : fieldNames) {
        const FieldInfo* f = nullptr;
        for (const auto& g : fields)
            if (equalsNoCase(g.name, name)) f = &g;
        if (!f) throw EngineError(store_errors::noField(name));
        if (!cols.empty()) cols += ", ";
        cols += quoteIdentifier(f->name);
        // Folding case is only possible on text the database can see.
        if (options & ioCaseInsensitive) {
            if (f->coding.framed() || f->type == TFieldType::Blob)
                throw EngineError("Field '" + f->name + "' cannot have a case-insensitive index");
            cols += " COLLATE NOCASE";
        }
        if (options & ioDescending) cols += " DESC";
        list += (list.empty() ? "" : ";") + f->name;
    }
    SqliteStmt known(*db_, "SELECT 1 FROM sqlite_schema WHERE name=?1 COLLATE NOCASE");
    known.bindText(1, index);
    if (known.step()) throw EngineError("Index '" + index + "' already exists");
    bool unique = options & (ioPrimary | ioUnique);
    db_->exec("BEGIN");
    try {
        db_->exec(std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " + quoteIdentifier(index) +
                  " ON " + quoteIdentifier(storedTable) + "(" + cols + ")");
        SqliteStmt st(*db_, "INSERT INTO _store_indexes VALUES (?1, ?2, ?3, ?4)");
        st.bindText(1, index);
        st.bindText(2, storedTable);
        st.bindInt(3, options);
        st.bindText(4, list);
        st.step();
        db_->exec("COMMIT");
    } catch (...) {
        sqlite3_exec(db_->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

std::string StoreConnection::comment() {
    return info("comment").value_or("");
}

void StoreConnection::setComment(const std::string& text) {
    putInfo(*db_, "comment", cutText(text, kMaxCommentSize));
}

} // namespace somnex
