// The notifier's registry settings on a private store per test: defaults of a fresh profile, round
// trips, the error texts, and the browser proxy.
#include "notifier/Unit_WhatsNewCommFun.h"
#include "somnex/EngineError.h"
#include "tests/ini/TempFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <optional>

namespace {

using namespace heraldex;
using plat::Registry;

class SettingsStoreTest : public ::testing::Test {
public:
    const std::string& Store() const { return store; }

    // An accessor on the test store, at a key below the current user's (or another) hive.
    std::unique_ptr<Registry> At(std::string_view key, plat::Hive hive = plat::HKEY_CURRENT_USER) {
        auto reg = std::make_unique<Registry>(hive, Store());
        reg->OpenKey(key, true);
        return reg;
    }

    // Makes the store itself refuse to store the named value, as a full or broken disk would.
    void RefuseValue(const std::string& name) {
        Registry create(plat::HKEY_CURRENT_USER, Store());
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(Store().c_str(), &db), SQLITE_OK);
        std::string sql = "CREATE TRIGGER refuse_value BEFORE INSERT ON registry_values WHEN NEW.name = '" +
                          name + "' COLLATE NOCASE BEGIN SELECT RAISE(ABORT, 'refused'); END";
        char* error = nullptr;
        int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
        std::string why = error ? error : "";
        sqlite3_free(error);
        sqlite3_close(db);
        ASSERT_EQ(rc, SQLITE_OK) << why;
    }

    static std::string ErrorOf(const std::function<void()>& f) {
        try {
            f();
        } catch (const somnex::EngineError& e) {
            return e.what();
        }
        return "(no error)";
    }

    somnex::test::TempFolder folder;
    std::string store = folder / "registry.db";
};

TEST_F(SettingsStoreTest, FreshProfileReadsTheDefaults) {
    TProxyParam proxy{"8080", true, true, "old", "1", "u", "p"};
    ReadProxyParam(proxy, Store());
    EXPECT_EQ(proxy.Port, "80");
    EXPECT_FALSE(proxy.Enable);
    EXPECT_FALSE(proxy.UsePwd);
    EXPECT_EQ(proxy.ProxyServer + proxy.ProxyPort + proxy.ProxyUserID + proxy.ProxyPassword, "");

    TUpdateParam update{1.0, 0, false};
    ReadUpdateParam("Pictavio", update, Store());
    EXPECT_EQ(update.UpdateType, 2);
    EXPECT_TRUE(update.ShowCfgDialog);
    EXPECT_EQ(update.LastUpdateDate, 36526.0);

    TBaseParam base{"1999-09-09", "http://old/", true, true, true};
    ReadBaseParam(base, Store());
    EXPECT_EQ(base.PreviousDate, "2000-01-01");
    EXPECT_FALSE(base.UseNewURL);
    EXPECT_EQ(base.WhatsNewURL, "");
    EXPECT_TRUE(base.HasUpdate && base.HasNews) << "the check's results are not settings";

    int32_t width = 0, height = 0;
    ReadWindowSize(width, height, Store());
    EXPECT_EQ(width, 500);
    EXPECT_EQ(height, 420);

    // Reading creates the proxy, base and window keys, never a product's.
    Registry reg(plat::HKEY_CURRENT_USER, Store());
    EXPECT_TRUE(reg.KeyExists("\\Software\\Brindlewood\\WhatsNew\\Proxy"));
    EXPECT_TRUE(reg.KeyExists("\\Software\\Brindlewood\\WhatsNew\\Window"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\Brindlewood\\WhatsNew\\Update"));
}

TEST_F(SettingsStoreTest, EveryRecordRoundTripsWithItsStoredTypes) {
    const TProxyParam proxy{"8000", true, true, "proxy.example.net", "3128", "anna", "s3cret word"};
    SaveProxyParam(proxy, Store());
    TProxyParam p;
    ReadProxyParam(p, Store());
    EXPECT_EQ(
        std::tie(p.Port, p.Enable, p.UsePwd, p.ProxyServer, p.ProxyPort, p.ProxyUserID, p.ProxyPassword),
        std::tie(proxy.Port, proxy.Enable, proxy.UsePwd, proxy.ProxyServer, proxy.ProxyPort,
                 proxy.ProxyUserID, proxy.ProxyPassword));

    SaveUpdateParam("Pictavio", TUpdateParam{46000.75, 1, false}, Store());
    SaveLastUpdateDate("Pictavio", 46001.25, Store());
    TUpdateParam u;
    ReadUpdateParam("Pictavio", u, Store());
    EXPECT_EQ(u.LastUpdateDate, 46001.25);
    EXPECT_EQ(u.UpdateType, 1) << "saving the date alone keeps the schedule";
    EXPECT_FALSE(u.ShowCfgDialog);

    SaveBaseParam(TBaseParam{"2026-11-30", "http://news.example.net/w.new", true, true, true}, Store());
    TBaseParam b;
    ReadBaseParam(b, Store());
    EXPECT_EQ(b.PreviousDate, "2026-11-30");
    EXPECT_EQ(b.WhatsNewURL, "http://news.example.net/w.new");
    EXPECT_TRUE(b.UseNewURL);
    EXPECT_FALSE(b.HasUpdate || b.HasNews) << "flags are not stored";

    SaveWindowSize(640, 480, Store());
    int32_t w = 0, h = 0;
    ReadWindowSize(w, h, Store());
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);

    auto proxyKey = At(kProxyKey);
    EXPECT_EQ(proxyKey->GetDataType("Port"), plat::REG_SZ);
    EXPECT_EQ(proxyKey->GetDataType("Enable"), plat::REG_DWORD);
    EXPECT_EQ(proxyKey->GetDataType("ProxyPassword"), plat::REG_SZ);
    EXPECT_EQ(proxyKey->ReadString("ProxyPassword"), "s3cret word");
    auto updateKey = At("\\Software\\Brindlewood\\WhatsNew\\Update\\Pictavio");
    EXPECT_EQ(updateKey->GetDataType("UpdateType"), plat::REG_DWORD);
    // 46001.25 as a little-endian IEEE-754 double.
    EXPECT_EQ(updateKey->ReadBinary("LastUpdateDate"),
              (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x00, 0x28, 0x76, 0xE6, 0x40}));
    EXPECT_EQ(At(kWindowKey)->GetDataType("Height"), plat::REG_DWORD);
}

TEST_F(SettingsStoreTest, ProxyValuesAreReadOnlyBehindTheirSwitch) {
    auto key = At(kProxyKey);
    key->WriteBool("Enable", false);
    key->WriteString("ProxyServer", "greyed.example.net");
    key->WriteString("ProxyUserID", "not read");
    key->WriteString("ProxyPassword", "not read");
    TProxyParam p;
    ReadProxyParam(p, Store());
    EXPECT_FALSE(p.Enable);
    EXPECT_EQ(p.ProxyServer, "greyed.example.net");
    EXPECT_EQ(p.ProxyUserID, "") << "no UsePwd value, so the credentials stay unread";
    EXPECT_EQ(p.ProxyPassword, "");

    key->WriteInteger("Enable", 7);
    ReadProxyParam(p, Store());
    EXPECT_TRUE(p.Enable) << "any non-zero value is true";
}

TEST_F(SettingsStoreTest, ProductNamesSelectTheirOwnKeyUnescaped) {
    SaveUpdateParam("Maker\\Pictavio", TUpdateParam{40000.0, 0, true}, Store());
    SaveUpdateParam("", TUpdateParam{41000.0, 3, false}, Store());
    Registry reg(plat::HKEY_CURRENT_USER, Store());
    EXPECT_TRUE(reg.KeyExists("\\Software\\Brindlewood\\WhatsNew\\Update\\Maker\\Pictavio"));

    TUpdateParam u;
    ReadUpdateParam("maker\\PICTAVIO", u, Store());
    EXPECT_EQ(u.LastUpdateDate, 40000.0) << "key names ignore letter case";
    ReadUpdateParam("", u, Store());
    EXPECT_EQ(u.UpdateType, 3) << "an empty name is the Update key itself";
    EXPECT_EQ(At(kUpdateKey)->ReadInteger("UpdateType"), 3);
    ReadUpdateParam("Maker", u, Store());
    EXPECT_EQ(u.UpdateType, 2) << "the parent key exists but holds no values";
    ReadUpdateParam("Vectavio", u, Store());
    EXPECT_EQ(u.LastUpdateDate, 36526.0);
}

TEST_F(SettingsStoreTest, WrongTypesAndMissingValuesRaiseWithTheValueName) {
    const std::string update = "\\Software\\Brindlewood\\WhatsNew\\Update\\Pictavio";
    struct Case {
        const char* what;
        std::function<void(SettingsStoreTest&)> setUp;
        std::function<void(const std::string&)> read;
        const char* error;
    };
    auto readProxy = [](const std::string& s) {
        TProxyParam p;
        ReadProxyParam(p, s);
    };
    auto readUpdate = [](const std::string& s) {
        TUpdateParam u;
        ReadUpdateParam("Pictavio", u, s);
    };
    auto readBase = [](const std::string& s) {
        TBaseParam b;
        ReadBaseParam(b, s);
    };
    auto readWindow = [](const std::string& s) {
        int32_t w, h;
        ReadWindowSize(w, h, s);
    };
    const uint8_t four[4] = {1, 2, 3, 4};
    const Case cases[] = {
        {"port as integer", [](auto& t) { t.At(kProxyKey)->WriteInteger("Port", 80); }, readProxy,
         "Invalid data type for 'Port'"},
        {"switch as text", [](auto& t) { t.At(kProxyKey)->WriteString("Enable", "1"); }, readProxy,
         "Invalid data type for 'Enable'"},
        {"server as integer",
         [](auto& t) {
             auto k = t.At(kProxyKey);
             k->WriteBool("Enable", true);
             k->WriteInteger("ProxyServer", 1);
         },
         readProxy, "Invalid data type for 'ProxyServer'"},
        {"schedule as text", [&](auto& t) { t.At(update)->WriteString("UpdateType", "2"); }, readUpdate,
         "Invalid data type for 'UpdateType'"},
        {"date of four bytes", [&](auto& t) { t.At(update)->WriteBinary("LastUpdateDate", four, 4); },
         readUpdate, "Invalid data type for 'LastUpdateDate'"},
        {"date as integer", [&](auto& t) { t.At(update)->WriteInteger("LastUpdateDate", 36526); }, readUpdate,
         "Invalid data type for 'LastUpdateDate'"},
        {"previous date without its switch",
         [](auto& t) { t.At(kWhatsNewKey)->WriteString("PreviousDate", "x"); }, readBase,
         "Failed to get data for 'UseNewURL'"},
        {"width without height", [](auto& t) { t.At(kWindowKey)->WriteInteger("Width", 600); }, readWindow,
         "Failed to get data for 'Height'"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store = folder / ("case" + std::to_string(++n) + ".db");
        c.setUp(*this);
        EXPECT_EQ(ErrorOf([&] { c.read(Store()); }), c.error);
    }
}

TEST_F(SettingsStoreTest, RefusedWritesRaiseWithTheValueName) {
    struct Case {
        const char* value;
        std::function<void(const std::string&)> save;
    };
    const Case cases[] = {
        {"ProxyPort", [](const std::string& s) { SaveProxyParam(TProxyParam{}, s); }},
        {"ShowCfgDialog", [](const std::string& s) { SaveUpdateParam("Pictavio", TUpdateParam{}, s); }},
        {"LastUpdateDate", [](const std::string& s) { SaveLastUpdateDate("Pictavio", 46000.0, s); }},
        {"WhatsNewURL", [](const std::string& s) { SaveBaseParam(TBaseParam{}, s); }},
        {"Height", [](const std::string& s) { SaveWindowSize(1, 2, s); }},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        store = folder / ("case" + std::to_string(++n) + ".db");
        RefuseValue(c.value);
        EXPECT_EQ(ErrorOf([&] { c.save(Store()); }), std::string("Failed to set data for '") + c.value + "'");
    }
    // The proxy values before the refused one are stored, the ones after it are not.
    store = folder / "case1.db";
    auto proxy = At(kProxyKey);
    EXPECT_TRUE(proxy->ValueExists("ProxyServer"));
    EXPECT_FALSE(proxy->ValueExists("UsePwd"));
}

// The browser's proxy comes from the default user's settings under HKEY_USERS.
struct BrowserCase {
    const char* what;
    std::optional<uint32_t> enableType; // none: no "ProxyEnable" value
    int32_t enable;
    std::optional<std::string> server;
    bool expectEnable;
    std::string expectServer, expectPort;
};

class BrowserProxyTest : public SettingsStoreTest, public ::testing::WithParamInterface<BrowserCase> {};

TEST_P(BrowserProxyTest, SetsTheSwitchAndSplitsTheServer) {
    const BrowserCase& c = GetParam();
    if (c.enableType || c.server) {
        auto key = At(kBrowserKey, plat::HKEY_USERS);
        if (c.enableType == plat::REG_DWORD) key->WriteInteger("ProxyEnable", c.enable);
        if (c.enableType == plat::REG_BINARY) key->WriteBinary("ProxyEnable", &c.enable, sizeof c.enable);
        if (c.server) key->WriteString("ProxyServer", *c.server);
    }
    // The current user's settings of the same name are not the browser's.
    At(kBrowserKey)->WriteInteger("ProxyEnable", 1);

    TProxyParam p{"81", true, true, "before", "1", "user", "pwd"};
    ReadIEProxyParam(p, Store());
    EXPECT_EQ(p.Enable, c.expectEnable);
    EXPECT_EQ(p.ProxyServer, c.expectServer);
    EXPECT_EQ(p.ProxyPort, c.expectPort);
    EXPECT_EQ(p.Port + p.ProxyUserID + p.ProxyPassword, "81userpwd");
    EXPECT_TRUE(p.UsePwd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrowserProxyTest,
    ::testing::Values(
        BrowserCase{"no key", std::nullopt, 0, std::nullopt, false, "before", "1"},
        BrowserCase{"no switch", std::nullopt, 0, "host:8080", false, "before", "1"},
        BrowserCase{"host and port", plat::REG_DWORD, 1, "proxy.example.net:8080", true, "proxy.example.net",
                    "8080"},
        BrowserCase{"no colon", plat::REG_DWORD, 1, "proxyhost", true, "", "proxyhost"},
        BrowserCase{"per-protocol list", plat::REG_DWORD, 1, "http=a:1;https=b:2", true, "http=a",
                    "1;https=b:2"},
        BrowserCase{"on without server", plat::REG_DWORD, 1, std::nullopt, true, "before", "1"},
        BrowserCase{"off changes nothing", plat::REG_DWORD, 0, "host:8080", true, "before", "1"},
        BrowserCase{"switch as binary", plat::REG_BINARY, 1, "host:8080", false, "before", "1"}),
    [](const auto& info) {
        std::string name;
        for (char ch : std::string(info.param.what))
            name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return name;
    });

TEST_F(SettingsStoreTest, BrowserServerOfAnotherTypeTurnsTheProxyOff) {
    auto key = At(kBrowserKey, plat::HKEY_USERS);
    key->WriteInteger("ProxyEnable", 1);
    key->WriteInteger("ProxyServer", 8080);
    TProxyParam p{"80", true, false, "before", "1", "", ""};
    EXPECT_NO_THROW(ReadIEProxyParam(p, Store()));
    EXPECT_FALSE(p.Enable);
    EXPECT_EQ(p.ProxyServer, "before");
}

} // namespace
