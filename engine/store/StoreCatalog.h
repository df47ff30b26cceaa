#pragma once
// The catalogue kept in every store file: database properties, the fields of each table and the
// indexes. One StoreConnection is an open file whose password has been checked.
#include "engine/store/SqliteDb.h"
#include "engine/store/StoreTypes.h"
#include "engine/store/ValueCodec.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace somnex {

struct StoreCreateOptions {
    bool compressBlobs = false;
    int zlibLevel = 9;
    bool encrypt = false;
    TCipherAlgo cipher = TCipherAlgo::None;
    std::string password;
    bool checksums = false;
};

// Builds a new store file at `file` (replacing any file of that name once it is complete).
void createStoreFile(const std::string& file, const StoreCreateOptions& options);

struct FieldInfo {
    std::string name;
    TFieldType type = TFieldType::String;
    int size = 0;
    FieldCoding coding;
};

class StoreConnection {
public:
    // Opens the file and checks the password; raises the store's errors.
    StoreConnection(const std::string& file, const std::string& password);

    SqliteDb& db() { return *db_; }
    const std::string& file() const { return db_->file(); }
    const CodecContext& codec() const { return codec_; }

    // The fields of `table` in their order, with the table's name as the catalogue spells it.
    std::vector<FieldInfo> loadFields(const std::string& table, std::string& storedName);
    std::vector<std::string> tableNames();

    void createTable(const std::string& table, const std::vector<TFieldDef>& fields);
    void createIndex(const std::string& table, const std::string& index, TIndexOptions options,
                     const std::vector<std::string>& fieldNames);
    std::string comment();
    void setComment(const std::string& text);

private:
    std::optional<std::string> info(const char* name);
    int64_t infoInt(const char* name);

    std::unique_ptr<SqliteDb> db_;
    StoreKeys keys_;
    CodecContext codec_;
    bool compressBlobs_ = false;
    bool checksums_ = false;
};

constexpr size_t kMaxCommentSize = 256;

} // namespace somnex
