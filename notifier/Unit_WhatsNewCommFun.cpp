#include "notifier/Unit_WhatsNewCommFun.h"

#include "somnex/EngineError.h"

#include <bit>
#include <cstring>
#include <string>

namespace heraldex {

namespace {
using plat::Registry;

std::string UpdateKey(std::string_view productName) {
    // The name goes in as the host spells it; a backslash in it opens a deeper key.
    return std::string(kUpdateKey) + std::string(productName) + "\\";
}

// Dates are 8 bytes of REG_BINARY: the little-endian IEEE-754 double.
TDateTime ReadDate(Registry& reg, std::string_view name) {
    std::vector<uint8_t> bytes = reg.ReadBinary(name);
    if (bytes.size() != 8) throw somnex::EngineError("Invalid data type for '" + std::string(name) + "'");
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | bytes[size_t(i)];
    return std::bit_cast<double>(bits);
}

void WriteDate(Registry& reg, std::string_view name, TDateTime value) {
    uint64_t bits = std::bit_cast<uint64_t>(value);
    uint8_t bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = uint8_t(bits >> (8 * i));
    reg.WriteBinary(name, bytes, sizeof bytes);
}

std::string ReadStringOr(Registry& reg, std::string_view name, std::string_view def) {
    return reg.ValueExists(name) ? reg.ReadString(name) : std::string(def);
}
} // namespace

void ReadProxyParam(TProxyParam& Param, const std::filesystem::path& store) {
    Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey(kProxyKey, true);
    Param.Port = ReadStringOr(reg, "Port", "80");
    // The server is read whenever "Enable" exists, even when off: the dialog shows it greyed.
    if (reg.ValueExists("Enable")) {
        Param.Enable = reg.ReadBool("Enable");
        Param.ProxyServer = reg.ReadString("ProxyServer");
        Param.ProxyPort = reg.ReadString("ProxyPort");
    } else {
        Param.Enable = false;
        Param.ProxyServer.clear();
        Param.ProxyPort.clear();
    }
    if (reg.ValueExists("UsePwd")) {
        Param.UsePwd = reg.ReadBool("UsePwd");
        Param.ProxyUserID = reg.ReadString("ProxyUserID");
        Param.ProxyPassword = reg.ReadString("ProxyPassword");
    } else {
        Param.UsePwd = false;
        Param.ProxyUserID.clear();
        Param.ProxyPassword.clear();
    }
}

void SaveProxyParam(const TProxyParam& Param, const std::filesystem::path& store) {
    Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey(kProxyKey, true);
    reg.WriteString("Port", Param.Port);
    reg.WriteBool("Enable", Param.Enable);
    reg.WriteString("ProxyServer", Param.ProxyServer);
    reg.WriteString("ProxyPort", Param.ProxyPort);
    reg.WriteBool("UsePwd", Param.UsePwd);
    reg.WriteString("ProxyUserID", Param.ProxyUserID);
    reg.WriteString("ProxyPassword", Param.ProxyPassword);
}

void ReadIEProxyParam(TProxyParam& Param, const std::filesystem::path& store) {
    Registry reg(plat::HKEY_USERS, store);
    if (!reg.OpenKeyReadOnly(kBrowserKey) || !reg.ValueExists("ProxyEnable")) {
        Param.Enable = false;
        return;
    }
    try {
        if (reg.ReadInteger("ProxyEnable") == 0) return;
        Param.Enable = true;
        if (reg.ValueExists("ProxyServer")) {
            // "host:port"; a per-protocol list is not taken apart.
            std::string s = reg.ReadString("ProxyServer");
            size_t colon = s.find(':');
            Param.ProxyServer = colon == std::string::npos ? std::string() : s.substr(0, colon);
            Param.ProxyPort = colon == std::string::npos ? s : s.substr(colon + 1);
        }
    } catch (const somnex::EngineError&) {
        Param.Enable = false;
    }
}

void ReadUpdateParam(std::string_view ProductName, TUpdateParam& Param, const std::filesystem::path& store) {
    Param = TUpdateParam{};
    Registry reg(plat::HKEY_CURRENT_USER, store);
    if (!reg.OpenKeyReadOnly(UpdateKey(ProductName))) return;
    if (reg.ValueExists("UpdateType")) Param.UpdateType = reg.ReadInteger("UpdateType");
    if (reg.ValueExists("ShowCfgDialog")) Param.ShowCfgDialog = reg.ReadBool("ShowCfgDialog");
    if (reg.ValueExists("LastUpdateDate")) Param.LastUpdateDate = ReadDate(reg, "LastUpdateDate");
}

void SaveUpdateParam(std::string_view ProductName, const TUpdateParam& Param,
                     const std::filesystem::path& store) {
    Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey(UpdateKey(ProductName), true);
    reg.WriteInteger("UpdateType", Param.UpdateType);
    reg.WriteBool("ShowCfgDialog", Param.ShowCfgDialog);
    WriteDate(reg, "LastUpdateDate", Param.LastUpdateDate);
}

void SaveLastUpdateDate(std::string_view ProductName, TDateTime Date, const std::filesystem::path& store) {
    Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey(UpdateKey(ProductName), true);
    WriteDate(reg, "LastUpdateDate", Date);
}

void ReadBaseParam(TBaseParam& Param, const std::filesystem::path& store) {
    Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey(kWhatsNewKey, true);
    if (reg.ValueExists("PreviousDate")) {
        Param.PreviousDate = reg.ReadString("PreviousDate");
        Param.UseNewURL = reg.ReadBool("UseNewURL");
        Param.WhatsNewURL = reg.ReadString("WhatsNewURL");
    } else {
        Param.PreviousDate = "2000-01-01";
        Param.UseNewURL = false;
        Param.WhatsNewURL.clear();
    }
}

void SaveBaseParam(const TBaseParam& Param, const std::filesystem::path& store) {
    Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey(kWhatsNewKey, true);
    reg.WriteString("PreviousDate", Param.PreviousDate);
    reg.WriteBool("UseNewURL", Param.UseNewURL);
    reg.WriteString("WhatsNewURL", Param.WhatsNewURL);
}

void ReadWindowSize(int32_t& Width, int32_t& Height, const std::filesystem::path& store) {
    Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey(kWindowKey, true);
    if (reg.ValueExists("Width")) {
        Width = reg.ReadInteger("Width");
        Height = reg.ReadInteger("Height");
    } else {
        Width = 500;
        Height = 420;
    }
}

void SaveWindowSize(int32_t Width, int32_t Height, const std::filesystem::path& store) {
    Registry reg(plat::HKEY_CURRENT_USER, store);
    reg.OpenKey(kWindowKey, true);
    reg.WriteInteger("Width", Width);
    reg.WriteInteger("Height", Height);
}

} // namespace heraldex
