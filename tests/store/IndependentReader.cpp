#include "tests/store/IndependentReader.h"

#include <cstring>
#include <gcrypt.h>
#include <memory>
#include <sqlite3.h>
#include <zlib.h>

namespace independent {

namespace {

using Db = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;
using Stmt = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Stmt prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) throw std::runtime_error(sql);
    return Stmt(st, sqlite3_finalize);
}

std::string column(sqlite3_stmt* st, int i) {
    const void* p = sqlite3_column_blob(st, i);
    return p ? std::string(static_cast<const char*>(p), sqlite3_column_bytes(st, i)) : std::string();
}

std::string info(sqlite3* db, const char* name) {
    auto st = prepare(db, "SELECT value FROM _store_info WHERE name=?");
    sqlite3_bind_text(st.get(), 1, name, -1, SQLITE_STATIC);
    if (sqlite3_step(st.get()) != SQLITE_ROW) throw std::runtime_error(std::string("no ") + name);
    return column(st.get(), 0);
}

uint64_t le(const std::string& s, size_t at, int n) {
    uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= uint64_t(uint8_t(s[at + i])) << (8 * i);
    return v;
}

struct Keys {
    std::string cipher, iv;
    int algo = 0;
};

std::string decode(const Keys& k, const Field& f, const std::string& frame) {
    if (frame.empty()) throw std::runtime_error("empty frame");
    uint8_t flags = uint8_t(frame[0]);
    if (flags & ~7u) throw std::runtime_error("flags");
    std::string data = frame.substr(1), iv;
    if (flags & 2) {
        if (data.size() < 8) throw std::runtime_error("iv");
        iv = data.substr(0, 8);
        data = data.substr(8);
        gcry_cipher_hd_t h;
        gcry_cipher_open(&h, k.algo, GCRY_CIPHER_MODE_CFB, 0);
        if (k.algo == GCRY_CIPHER_GOST28147) gcry_cipher_set_sbox(h, "1.2.643.2.2.31.1");
        gcry_cipher_setkey(h, k.cipher.data(), k.algo == GCRY_CIPHER_GOST28147 ? 32 : 16);
        gcry_cipher_setiv(h, iv.data(), 8);
        gcry_cipher_decrypt(h, data.data(), data.size(), nullptr, 0);
        gcry_cipher_close(h);
    }
    if (flags & 1) {
        uLongf n = le(data, 0, 8);
        std::string out(n, '\0');
        if (uncompress(reinterpret_cast<Bytef*>(out.data()), &n,
                       reinterpret_cast<const Bytef*>(data.data() + 8), data.size() - 8) != Z_OK ||
            n != out.size())
            throw std::runtime_error("zlib");
        data = out;
    }
    if (flags & 4) {
        size_t n = data.size() - 4;
        if (le(data, n, 4) != crc32(0, reinterpret_cast<const Bytef*>(data.data()), n))
            throw std::runtime_error("crc");
        data.resize(n);
    }
    if ((flags & 2) && f.type == "String") {
        unsigned char mac[32];
        gcry_mac_hd_t h;
        size_t len = sizeof mac;
        gcry_mac_open(&h, GCRY_MAC_HMAC_SHA256, 0, nullptr);
        gcry_mac_setkey(h, k.iv.data(), k.iv.size());
        gcry_mac_write(h, data.data(), data.size());
        gcry_mac_read(h, mac, &len);
        gcry_mac_close(h);
        if (std::memcmp(mac, iv.data(), 8) != 0) throw std::runtime_error("synthetic iv");
    }
    return data;
}

} // namespace

std::vector<std::map<std::string, std::string>>
readTable(const std::string& file, const std::string& password, const std::string& table) {
    gcry_check_version(nullptr);
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(raw);
        throw std::runtime_error("open");
    }
    Db db(raw, sqlite3_close);
    if (info(db.get(), "format") != "somnex-store") throw std::runtime_error("format");

    Keys keys;
    if (info(db.get(), "encrypt") == "1") {
        std::string salt = info(db.get(), "kdf_salt");
        unsigned long iterations = std::stoul(info(db.get(), "kdf_iterations"));
        std::string pass = password.empty() ? std::string(1, '\0') : password;
        unsigned char k[96];
        gcry_kdf_derive(pass.data(), pass.size(), GCRY_KDF_PBKDF2, GCRY_MD_SHA256, salt.data(), salt.size(),
                        iterations, sizeof k, k);
        if (std::string(reinterpret_cast<char*>(k + 64), 32) != info(db.get(), "password_check"))
            throw std::runtime_error("wrong password");
        keys.cipher.assign(reinterpret_cast<char*>(k), 32);
        keys.iv.assign(reinterpret_cast<char*>(k + 32), 32);
        keys.algo =
            info(db.get(), "encrypt_algorithm") == "Gost" ? GCRY_CIPHER_GOST28147 : GCRY_CIPHER_BLOWFISH;
    }

    std::vector<Field> fields;
    auto fs = prepare(db.get(), "SELECT name, type, compressed, encrypted, checksum FROM _store_fields "
                                "WHERE table_name=? COLLATE NOCASE ORDER BY position");
    sqlite3_bind_text(fs.get(), 1, table.c_str(), -1, SQLITE_STATIC);
    std::string cols;
    while (sqlite3_step(fs.get()) == SQLITE_ROW) {
        Field f{column(fs.get(), 0), column(fs.get(), 1), sqlite3_column_int(fs.get(), 2) != 0,
                sqlite3_column_int(fs.get(), 3) != 0, sqlite3_column_int(fs.get(), 4) != 0};
        cols += (cols.empty() ? "\"" : ", \"") + f.name + "\"";
        fields.push_back(f);
    }
    std::vector<std::map<std::string, std::string>> rows;
    auto st = prepare(db.get(), "SELECT " + cols + " FROM \"" + table + "\" ORDER BY rowid");
    while (sqlite3_step(st.get()) == SQLITE_ROW) {
        std::map<std::string, std::string> row;
        for (size_t i = 0; i < fields.size(); ++i) {
            const Field& f = fields[i];
            std::string v = column(st.get(), int(i));
            bool framed = f.compressed || f.encrypted || f.checksum;
            row[f.name] =
                framed && sqlite3_column_type(st.get(), int(i)) != SQLITE_NULL ? decode(keys, f, v) : v;
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace independent
