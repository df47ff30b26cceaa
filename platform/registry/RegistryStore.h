#pragma once
// The SQLite file behind the registry: one table of keys per hive path, one of values.
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace plat {

class RegistryStore {
public:
    explicit RegistryStore(const std::filesystem::path& file);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    struct Value {
        uint32_t type = 0;
        std::vector<uint8_t> data;
    };

    std::optional<int64_t> FindKey(int hive, const std::string& path);
    // Creates the key and its parents; returns the key's id.
    int64_t CreateKey(int hive, const std::string& path);
    bool DeleteKey(int hive, const std::string& path);
    // Paths of every key strictly below path.
    std::vector<std::string> Descendants(int hive, const std::string& path);

    std::optional<Value> ReadValue(int64_t key, const std::string& name);
    std::vector<std::string> ValueNames(int64_t key);
    // False when the key no longer exists.
    bool WriteValue(int hive, const std::string& path, const std::string& name, uint32_t type,
                    const void* data, size_t size);
    bool DeleteValue(int64_t key, const std::string& name);

private:
    class Statement;
    void Exec(const char* sql);
    [[noreturn]] void Fail(int rc);

    sqlite3* db_ = nullptr;
    std::string file_;
};

} // namespace plat
