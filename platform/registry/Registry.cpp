#include "platform/registry/Registry.h"

#include "platform/registry/KeyPath.h"
#include "platform/registry/RegistryStore.h"
#include "somnex/EngineError.h"

#include <cstdlib>
#include <cstring>

namespace plat {

namespace {
int HiveId(Hive h) {
    return static_cast<int>(h);
}

[[noreturn]] void Raise(const char* format, std::string_view name) {
    std::string text(format);
    text.replace(text.find("%s"), 2, name);
    throw somnex::EngineError(text);
}
} // namespace

struct Registry::Stored {
    uint32_t type = REG_NONE;
    std::vector<uint8_t> data;
};

std::filesystem::path Registry::DefaultStorePath() {
    if (const char* p = std::getenv("SOMNEX_REGISTRY"); p && *p) return p;
    std::filesystem::path config;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x)
        config = x;
    else if (const char* h = std::getenv("HOME"); h && *h)
        config = std::filesystem::path(h) / ".config";
    else
        config = std::filesystem::temp_directory_path();
    return config / "brindlewood" / "registry.db";
}

Registry::Registry(Hive root) : Registry(root, DefaultStorePath()) {}

Registry::Registry(Hive root, const std::filesystem::path& store)
    : store_(std::make_unique<RegistryStore>(store)), root_(root) {}

Registry::~Registry() = default;

void Registry::SetRootKey(Hive root) {
    CloseKey();
    root_ = root;
}

bool Registry::OpenKey(std::string_view key, bool canCreate) {
    std::string path = ResolveKeyPath(current_, key);
    if (canCreate)
        store_->CreateKey(HiveId(root_), path);
    else if (!path.empty() && !store_->FindKey(HiveId(root_), path))
        return false;
    current_ = path;
    open_ = true;
    readOnly_ = false;
    return true;
}

bool Registry::OpenKeyReadOnly(std::string_view key) {
    if (!OpenKey(key, false)) return false;
    readOnly_ = true;
    return true;
}

void Registry::CloseKey() {
    current_.clear();
    open_ = false;
    readOnly_ = false;
}

bool Registry::KeyExists(std::string_view key) {
    std::string path = ResolveKeyPath(current_, key);
    return path.empty() || store_->FindKey(HiveId(root_), path).has_value();
}

bool Registry::CreateKey(std::string_view key) {
    store_->CreateKey(HiveId(root_), ResolveKeyPath(current_, key));
    return true;
}

bool Registry::DeleteKey(std::string_view key) {
    return store_->DeleteKey(HiveId(root_), ResolveKeyPath(current_, key));
}

std::vector<std::string> Registry::GetKeyNames() {
    std::vector<std::string> names;
    size_t skip = current_.empty() ? 0 : current_.size() + 1;
    for (const std::string& p : store_->Descendants(HiveId(root_), current_)) {
        std::string rest = p.substr(skip);
        if (rest.find('\\') == std::string::npos) names.push_back(rest);
    }
    return names;
}

std::vector<std::string> Registry::GetValueNames() {
    auto key = store_->FindKey(HiveId(root_), current_);
    return key ? store_->ValueNames(*key) : std::vector<std::string>();
}

bool Registry::ReadStored(std::string_view name, Stored& out) {
    auto key = store_->FindKey(HiveId(root_), current_);
    if (!key) return false;
    auto v = store_->ReadValue(*key, std::string(name));
    if (!v) return false;
    out.type = v->type;
    out.data = std::move(v->data);
    return true;
}

bool Registry::ValueExists(std::string_view name) {
    Stored s;
    return ReadStored(name, s);
}

bool Registry::DeleteValue(std::string_view name) {
    auto key = store_->FindKey(HiveId(root_), current_);
    return key && store_->DeleteValue(*key, std::string(name));
}

uint32_t Registry::GetDataType(std::string_view name) {
    Stored s;
    return ReadStored(name, s) ? s.type : REG_NONE;
}

std::string Registry::ReadString(std::string_view name) {
    Stored s;
    if (!ReadStored(name, s)) return {};
    if (s.type != REG_SZ) Raise("Invalid data type for '%s'", name);
    return std::string(s.data.begin(), s.data.end());
}

int32_t Registry::ReadInteger(std::string_view name) {
    Stored s;
    if (!ReadStored(name, s)) Raise("Failed to get data for '%s'", name);
    if (s.type != REG_DWORD || s.data.size() != sizeof(int32_t)) Raise("Invalid data type for '%s'", name);
    int32_t v;
    std::memcpy(&v, s.data.data(), sizeof v);
    return v;
}

bool Registry::ReadBool(std::string_view name) {
    return ReadInteger(name) != 0;
}

std::vector<uint8_t> Registry::ReadBinary(std::string_view name) {
    Stored s;
    if (!ReadStored(name, s)) Raise("Failed to get data for '%s'", name);
    if (s.type != REG_BINARY) Raise("Invalid data type for '%s'", name);
    return std::move(s.data);
}

void Registry::Write(std::string_view name, uint32_t type, const void* data, size_t size) {
    bool written = false;
    if (!readOnly_) {
        try {
            if (current_.empty()) store_->CreateKey(HiveId(root_), current_);
            written = store_->WriteValue(HiveId(root_), current_, std::string(name), type, data, size);
        } catch (const somnex::EngineError&) {
            written = false;
        }
    }
    if (!written) Raise("Failed to set data for '%s'", name);
}

void Registry::WriteString(std::string_view name, std::string_view value) {
    Write(name, REG_SZ, value.data(), value.size());
}

void Registry::WriteInteger(std::string_view name, int32_t value) {
    Write(name, REG_DWORD, &value, sizeof value);
}

void Registry::WriteBool(std::string_view name, bool value) {
    WriteInteger(name, value ? 1 : 0);
}

void Registry::WriteBinary(std::string_view name, const void* data, size_t size) {
    Write(name, REG_BINARY, data, size);
}

} // namespace plat
