#pragma once
// The store's database object: creates a database file, and defines its tables, indexes and
// comment. A connection is made on first use and held until Disconnect.
#include "engine/store/StoreTypes.h"

#include <memory>
#include <string>
#include <vector>

namespace somnex {

class StoreConnection;

class TTinyDatabase {
public:
    TTinyDatabase();
    ~TTinyDatabase();
    TTinyDatabase(const TTinyDatabase&) = delete;
    TTinyDatabase& operator=(const TTinyDatabase&) = delete;

    // Writes a new, empty database file. False when an option is unknown (compression "ZLIB";
    // encryption "Blowfish" or "Gost") or the file cannot be written; nothing is left behind then.
    bool CreateDatabase(const std::string& FileName, bool CompressBlob, uint8_t CompressLevel,
                        const std::string& CompressAlgoName, bool Encrypt, const std::string& EncryptAlgoName,
                        const std::string& Password, bool CRC32 = false);

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& name);
    const std::string& Password() const { return password_; }
    void SetPassword(const std::string& password);

    // Up to 256 characters; a longer text is cut.
    std::string Comment();
    void SetComment(const std::string& text);

    void CreateTable(const std::string& TableName, const std::vector<TFieldDef>& FieldDefs);
    void CreateIndex(const std::string& TableName, const std::string& IndexName, TIndexOptions Options,
                     const std::vector<std::string>& FieldNames);
    std::vector<std::string> TableNames();

    bool Connected() const { return conn_ != nullptr; }
    void Disconnect();

private:
    StoreConnection& connection();

    std::string fileName_;
    std::string password_;
    std::unique_ptr<StoreConnection> conn_;
};

} // namespace somnex
