#pragma once
// A reader of store files written from docs/store-format.md alone: raw SQLite, zlib and libgcrypt,
// none of the store's own code. Tests use it to hold the format to its document.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace independent {

struct Field {
    std::string name, type;
    bool compressed = false, encrypted = false, checksum = false;
};

// Every record of `table`, as field name -> value bytes. Throws std::runtime_error on a wrong
// password or any frame that does not decode.
std::vector<std::map<std::string, std::string>>
readTable(const std::string& file, const std::string& password, const std::string& table);

} // namespace independent
