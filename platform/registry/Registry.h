#pragma once
// The per-user registry: hives of keys holding typed values, kept in one SQLite file
// ($SOMNEX_REGISTRY, else $XDG_CONFIG_HOME/brindlewood/registry.db, mode 0600). Several
// processes may use the same file at once. Key paths and value names ignore letter case; the
// empty value name is the key's default value.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

enum class Hive { ClassesRoot, CurrentUser, Users };
inline constexpr Hive HKEY_CLASSES_ROOT = Hive::ClassesRoot;
inline constexpr Hive HKEY_CURRENT_USER = Hive::CurrentUser;
inline constexpr Hive HKEY_USERS = Hive::Users;

inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;

class RegistryStore;

class Registry {
public:
    // Opens the default store (see above); raises EngineError when it cannot be opened or is not
    // a registry database.
    explicit Registry(Hive root = HKEY_CURRENT_USER);
    Registry(Hive root, const std::filesystem::path& store);
    ~Registry();
    Registry(const Registry&) = delete;
    Registry& operator=(const Registry&) = delete;

    static std::filesystem::path DefaultStorePath();

    Hive RootKey() const { return root_; }
    // Changing the hive closes the current key.
    void SetRootKey(Hive root);
    // The open key's path without leading separator; empty for the hive itself.
    const std::string& CurrentPath() const { return current_; }

    // A key that starts with "\" is taken from the hive, any other from the open key. With
    // canCreate, missing keys are created (parents first); false when the key does not exist.
    bool OpenKey(std::string_view key, bool canCreate);
    // As OpenKey without creation; writes through this key then fail.
    bool OpenKeyReadOnly(std::string_view key);
    void CloseKey();

    bool KeyExists(std::string_view key);
    bool CreateKey(std::string_view key);
    // Deletes the key with its values and every key below it; false when it did not exist.
    bool DeleteKey(std::string_view key);
    // Subkey names in the order the keys were created.
    std::vector<std::string> GetKeyNames();
    std::vector<std::string> GetValueNames();

    bool ValueExists(std::string_view name);
    bool DeleteValue(std::string_view name);
    // REG_NONE when the value does not exist.
    uint32_t GetDataType(std::string_view name);

    // A missing text reads as empty; every other read of a missing value raises "Failed to get
    // data for '%s'", a value of another type raises "Invalid data type for '%s'".
    std::string ReadString(std::string_view name);
    int32_t ReadInteger(std::string_view name);
    bool ReadBool(std::string_view name);
    std::vector<uint8_t> ReadBinary(std::string_view name);

    // A refused write raises "Failed to set data for '%s'".
    void WriteString(std::string_view name, std::string_view value);
    void WriteInteger(std::string_view name, int32_t value);
    void WriteBool(std::string_view name, bool value);
    void WriteBinary(std::string_view name, const void* data, size_t size);

private:
    struct Stored;
    bool ReadStored(std::string_view name, Stored& out);
    void Write(std::string_view name, uint32_t type, const void* data, size_t size);

    std::unique_ptr<RegistryStore> store_;
    Hive root_;
    std::string current_;
    bool open_ = false;
    bool readOnly_ = false;
};

} // namespace plat
