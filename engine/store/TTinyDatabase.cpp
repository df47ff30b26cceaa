#include "engine/store/TTinyDatabase.h"

#include "engine/store/StoreCatalog.h"
#include "engine/store/StoreText.h"

namespace somnex {

TTinyDatabase::TTinyDatabase() = default;
TTinyDatabase::~TTinyDatabase() = default;

bool TTinyDatabase::CreateDatabase(const std::string& FileName, bool CompressBlob, uint8_t CompressLevel,
                                   const std::string& CompressAlgoName, bool Encrypt,
                                   const std::string& EncryptAlgoName, const std::string& Password,
                                   bool CRC32) {
    static const int zlibLevels[] = {9, 6, 1};
    StoreCreateOptions o;
    o.compressBlobs = CompressBlob;
    if (CompressBlob) {
        if (!equalsNoCase(CompressAlgoName, "ZLIB") || CompressLevel > clFast) return false;
        o.zlibLevel = zlibLevels[CompressLevel];
    }
    o.encrypt = Encrypt;
    if (Encrypt) {
        o.cipher = cipherFromName(EncryptAlgoName);
        if (o.cipher == TCipherAlgo::None) return false;
    }
    o.password = Password;
    o.checksums = CRC32;
    if (FileName.empty()) return false;
    try {
        if (conn_ && conn_->file() == FileName) Disconnect();
        createStoreFile(FileName, o);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TTinyDatabase::SetFileName(const std::string& name) {
    if (name != fileName_) Disconnect();
    fileName_ = name;
}

void TTinyDatabase::SetPassword(const std::string& password) {
    if (password != password_) Disconnect();
    password_ = password;
}

StoreConnection& TTinyDatabase::connection() {
    if (!conn_) conn_ = std::make_unique<StoreConnection>(fileName_, password_);
    return *conn_;
}

std::string TTinyDatabase::Comment() {
    return connection().comment();
}
void TTinyDatabase::SetComment(const std::string& text) {
    connection().setComment(text);
}

void TTinyDatabase::CreateTable(const std::string& TableName, const std::vector<TFieldDef>& FieldDefs) {
    connection().createTable(TableName, FieldDefs);
}

void TTinyDatabase::CreateIndex(const std::string& TableName, const std::string& IndexName,
                                TIndexOptions Options, const std::vector<std::string>& FieldNames) {
    connection().createIndex(TableName, IndexName, Options, FieldNames);
}

std::vector<std::string> TTinyDatabase::TableNames() {
    return connection().tableNames();
}

void TTinyDatabase::Disconnect() {
    conn_.reset();
}

} // namespace somnex
