#include "platform/registry/Registry.h"
#include "platform/registry/KeyPath.h"
#include "somnex/EngineError.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

namespace fs = std::filesystem;

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("somnex-reg-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
        store = dir / "registry.db";
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string ErrorOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const somnex::EngineError& e) {
            return e.what();
        }
        return "(no error)";
    }

    fs::path dir, store;
};

TEST_F(RegistryTest, TypedValuesRoundTrip) {
    plat::Registry reg(plat::HKEY_CURRENT_USER, store);
    ASSERT_TRUE(reg.OpenKey("\\Software\\Brindlewood\\WhatsNew", true));
    reg.WriteString("", "default text");
    reg.WriteString("Port", "8080");
    reg.WriteInteger("Width", -500);
    reg.WriteBool("Enable", true);
    const uint8_t date[8] = {0, 0, 0, 0, 0, 0x40, 0xE1, 0x40};
    reg.WriteBinary("LastDate", date, sizeof date);
    reg.WriteBinary("Empty", nullptr, 0);

    plat::Registry again(plat::HKEY_CURRENT_USER, store);
    ASSERT_TRUE(again.OpenKeyReadOnly("\\Software\\Brindlewood\\WhatsNew"));
    EXPECT_EQ(again.ReadString(""), "default text");
    EXPECT_EQ(again.ReadString("Port"), "8080");
    EXPECT_EQ(again.ReadInteger("Width"), -500);
    EXPECT_TRUE(again.ReadBool("Enable"));
    EXPECT_EQ(again.ReadBinary("LastDate"), std::vector<uint8_t>(date, date + 8));
    EXPECT_TRUE(again.ReadBinary("Empty").empty());
    EXPECT_EQ(again.GetDataType("Width"), plat::REG_DWORD);
    EXPECT_EQ(again.GetDataType("LastDate"), plat::REG_BINARY);
    EXPECT_EQ(again.GetDataType("Missing"), plat::REG_NONE);
}

TEST_F(RegistryTest, KeysAndValueNamesIgnoreLetterCase) {
    plat::Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey("\\Software\\Brindlewood", true);
    reg.WriteString("PreviousDate", "2000-01-01");
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\brindlewood\\", false));
    EXPECT_EQ(reg.ReadString("previousdate"), "2000-01-01");
    reg.WriteString("PREVIOUSDATE", "2001-02-03");
    EXPECT_EQ(reg.GetValueNames(), std::vector<std::string>{"PreviousDate"});
    EXPECT_EQ(reg.ReadString("PreviousDate"), "2001-02-03");
}

TEST_F(RegistryTest, OpenCreatesParentsOnlyWhenAsked) {
    plat::Registry reg(plat::HKEY_CURRENT_USER, store);
    EXPECT_FALSE(reg.OpenKey("\\A\\B\\C", false));
    EXPECT_FALSE(reg.KeyExists("\\A"));
    ASSERT_TRUE(reg.OpenKey("\\A\\B\\C", true));
    EXPECT_TRUE(reg.KeyExists("\\A\\B"));
    EXPECT_EQ(reg.CurrentPath(), "A\\B\\C");
    // Relative to the open key; a leading separator goes back to the hive.
    ASSERT_TRUE(reg.OpenKey("D", true));
    EXPECT_EQ(reg.CurrentPath(), "A\\B\\C\\D");
    ASSERT_TRUE(reg.OpenKey("\\A", false));
    EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"B"});
}

TEST_F(RegistryTest, HivesAreSeparate) {
    plat::Registry user(plat::HKEY_CURRENT_USER, store);
    plat::Registry users(plat::HKEY_USERS, store);
    user.OpenKey("\\Software", true);
    user.WriteInteger("X", 1);
    EXPECT_FALSE(users.KeyExists("\\Software"));
    users.SetRootKey(plat::HKEY_CURRENT_USER);
    ASSERT_TRUE(users.OpenKey("\\Software", false));
    EXPECT_EQ(users.ReadInteger("X"), 1);
}

TEST_F(RegistryTest, DeleteKeyTakesItsValuesAndSubkeys) {
    plat::Registry reg(plat::HKEY_CLASSES_ROOT, store);
    reg.OpenKey("\\CLSID\\{X}\\InprocServer32", true);
    reg.WriteString("ThreadingModel", "Apartment");
    reg.OpenKey("\\CLSID\\{X}x", true); // a sibling sharing the prefix must survive
    reg.OpenKey("\\CLSID\\{X}", true);
    reg.WriteString("", "description");
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey("\\clsid\\{x}"));
    EXPECT_FALSE(reg.KeyExists("\\CLSID\\{X}\\InprocServer32"));
    EXPECT_FALSE(reg.KeyExists("\\CLSID\\{X}"));
    EXPECT_TRUE(reg.KeyExists("\\CLSID\\{X}x"));
    EXPECT_FALSE(reg.DeleteKey("\\CLSID\\{X}"));
    // Recreated, it holds nothing of before.
    reg.OpenKey("\\CLSID\\{X}\\InprocServer32", true);
    EXPECT_FALSE(reg.ValueExists("ThreadingModel"));
}

TEST_F(RegistryTest, DeleteValueRemovesOnlyThatValue) {
    plat::Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey("\\K", true);
    reg.WriteInteger("A", 1);
    reg.WriteInteger("B", 2);
    EXPECT_TRUE(reg.DeleteValue("a"));
    EXPECT_FALSE(reg.DeleteValue("A"));
    EXPECT_FALSE(reg.ValueExists("A"));
    EXPECT_EQ(reg.ReadInteger("B"), 2);
}

struct TypeCase {
    const char* name;
    std::function<void(plat::Registry&)> write;
    std::function<void(plat::Registry&)> read;
};

class WrongType : public RegistryTest, public ::testing::WithParamInterface<TypeCase> {};

TEST_P(WrongType, RaisesInvalidDataType) {
    plat::Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey("\\K", true);
    GetParam().write(reg);
    EXPECT_EQ(ErrorOf([&] { GetParam().read(reg); }), "Invalid data type for 'V'");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrongType,
    ::testing::Values(TypeCase{"integer_as_text", [](auto& r) { r.WriteInteger("V", 1); },
                               [](auto& r) { r.ReadString("V"); }},
                      TypeCase{"text_as_integer", [](auto& r) { r.WriteString("V", "1"); },
                               [](auto& r) { r.ReadInteger("V"); }},
                      TypeCase{"binary_as_bool", [](auto& r) { r.WriteBinary("V", "\1\0\0\0", 4); },
                               [](auto& r) { r.ReadBool("V"); }},
                      TypeCase{"integer_as_binary", [](auto& r) { r.WriteInteger("V", 1); },
                               [](auto& r) { r.ReadBinary("V"); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryTest, MissingValuesFailExceptText) {
    plat::Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey("\\K", true);
    EXPECT_EQ(reg.ReadString("Nope"), "");
    EXPECT_EQ(ErrorOf([&] { reg.ReadInteger("Nope"); }), "Failed to get data for 'Nope'");
    EXPECT_EQ(ErrorOf([&] { reg.ReadBinary("Nope"); }), "Failed to get data for 'Nope'");
}

TEST_F(RegistryTest, RefusedWritesRaiseFailedToSet) {
    plat::Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey("\\K", true);
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\K"));
    EXPECT_EQ(ErrorOf([&] { reg.WriteString("V", "x"); }), "Failed to set data for 'V'");
    // A key deleted by someone else is not brought back by a write.
    reg.OpenKey("\\K", false);
    plat::Registry other(plat::HKEY_CURRENT_USER, store);
    other.DeleteKey("\\K");
    EXPECT_EQ(ErrorOf([&] { reg.WriteInteger("W", 1); }), "Failed to set data for 'W'");
    EXPECT_FALSE(other.KeyExists("\\K"));
}

TEST_F(RegistryTest, StoreFileIsPrivate) {
    { plat::Registry reg(plat::HKEY_CURRENT_USER, store); }
    struct stat st {};
    ASSERT_EQ(::stat(store.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(RegistryTest, AFileThatIsNotADatabaseIsAClearError) {
    std::ofstream(store) << "this is a text file, not a registry, and it is long enough to have a header\n";
    std::string error = ErrorOf([&] {
        plat::Registry reg(plat::HKEY_CURRENT_USER, store);
        reg.KeyExists("\\K");
    });
    EXPECT_NE(error.find("is not a registry database"), std::string::npos) << error;
    EXPECT_NE(error.find(store.string()), std::string::npos) << error;
}

TEST_F(RegistryTest, DefaultStoreFollowsTheEnvironment) {
    std::string saved = std::getenv("SOMNEX_REGISTRY") ? std::getenv("SOMNEX_REGISTRY") : "";
    ::setenv("SOMNEX_REGISTRY", store.c_str(), 1);
    EXPECT_EQ(plat::Registry::DefaultStorePath(), store);
    ::unsetenv("SOMNEX_REGISTRY");
    ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    EXPECT_EQ(plat::Registry::DefaultStorePath(), dir / "brindlewood" / "registry.db");
    if (!saved.empty()) ::setenv("SOMNEX_REGISTRY", saved.c_str(), 1);
}

// Two processes writing at once: every write of both lands.
TEST_F(RegistryTest, TwoProcessesShareTheStore) {
    constexpr int kWrites = 60;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            int failed = 0;
            try {
                for (int i = 0; i < kWrites; ++i) {
                    plat::Registry reg(plat::HKEY_CURRENT_USER, store);
                    reg.OpenKey("\\P" + std::to_string(c) + "\\K" + std::to_string(i), true);
                    reg.WriteInteger("N", i);
                }
            } catch (...) {
                failed = 1;
            }
            ::_exit(failed);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    plat::Registry reg(plat::HKEY_CURRENT_USER, store);
    for (int c = 0; c < 2; ++c) {
        ASSERT_TRUE(reg.OpenKey("\\P" + std::to_string(c), false));
        EXPECT_EQ(reg.GetKeyNames().size(), static_cast<size_t>(kWrites));
        ASSERT_TRUE(reg.OpenKey("K" + std::to_string(kWrites - 1), false));
        EXPECT_EQ(reg.ReadInteger("N"), kWrites - 1);
    }
}

struct PathCase {
    const char* in;
    const char* normalized;
};

class KeyPathNormalization : public ::testing::TestWithParam<PathCase> {};

TEST_P(KeyPathNormalization, DropsEmptyComponents) {
    EXPECT_EQ(plat::NormalizeKeyPath(GetParam().in), GetParam().normalized);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyPathNormalization,
                         ::testing::Values(PathCase{"", ""}, PathCase{"\\", ""}, PathCase{"\\\\\\", ""},
                                           PathCase{"\\Software\\Maker\\", "Software\\Maker"},
                                           PathCase{"Software\\\\Maker", "Software\\Maker"},
                                           PathCase{".DEFAULT\\Software", ".DEFAULT\\Software"}));

TEST(KeyPath, ResolvesRelativeToTheBase) {
    EXPECT_EQ(plat::ResolveKeyPath("CLSID", "{X}\\ProgID"), "CLSID\\{X}\\ProgID");
    EXPECT_EQ(plat::ResolveKeyPath("CLSID", "\\TypeLib"), "TypeLib");
    EXPECT_EQ(plat::ResolveKeyPath("", "A"), "A");
    EXPECT_EQ(plat::KeyPathAncestry("A\\B"), (std::vector<std::string>{"A", "A\\B"}));
}

} // namespace
