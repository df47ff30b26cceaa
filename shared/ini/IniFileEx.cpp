#include "shared/ini/IniFileEx.h"

#include "platform/profile/Profile.h"
#include "shared/ini/Base64.h"
#include "shared/ini/IniText.h"
#include "somnex/EngineError.h"

namespace somnex {

TIniFileEx::TIniFileEx(std::string fileName) : FileName_(std::move(fileName)) {}

void TIniFileEx::WriteError() const {
    throw EngineError("Unable to write to " + FileName_);
}

std::string TIniFileEx::ReadString(std::string_view section, std::string_view key,
                                   std::string_view def) const {
    return plat::GetProfileString(FileName_, section, key, def);
}

void TIniFileEx::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    if (!plat::WriteProfileString(FileName_, section, key, value)) WriteError();
}

int32_t TIniFileEx::ReadInteger(std::string_view section, std::string_view key, int32_t def) const {
    std::string text = ReadString(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = "$" + text.substr(2);
    int32_t value;
    return TryStrToInt(text, value) ? value : def;
}

void TIniFileEx::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

bool TIniFileEx::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFileEx::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> TIniFileEx::ReadSection(std::string_view section) const {
    return plat::GetProfileKeys(FileName_, section);
}

std::vector<std::string> TIniFileEx::ReadSections() const {
    return plat::GetProfileSections(FileName_);
}

bool TIniFileEx::SectionExists(std::string_view section) const {
    return !ReadSection(section).empty();
}

bool TIniFileEx::ValueExists(std::string_view section, std::string_view key) const {
    for (const auto& k : ReadSection(section))
        if (SameText(k, key)) return true;
    return false;
}

void TIniFileEx::EraseSection(std::string_view section) {
    if (!plat::EraseProfileSection(FileName_, section)) WriteError();
}

void TIniFileEx::DeleteKey(std::string_view section, std::string_view key) {
    plat::DeleteProfileKey(FileName_, section, key);
}

std::string TIniFileEx::ReadLongString(std::string_view section, std::string_view key,
                                       std::string_view def) const {
    std::string countKey = std::string(key) + "_Count";
    if (!ValueExists(section, countKey)) return ReadString(section, key, def);
    int32_t n = ReadInteger(section, countKey, 0);
    if (n <= 0) return {};
    // The count sizes the read buffer, so a value is cut to it and a huge count costs nothing.
    return plat::GetProfileString(FileName_, section, key, def, size_t(n) + 1);
}

void TIniFileEx::WriteLongString(std::string_view section, std::string_view key, std::string_view value) {
    WriteInteger(section, std::string(key) + "_Count", int32_t(value.size()));
    WriteString(section, key, value);
}

std::string TIniFileEx::ReadBase64String(std::string_view section, std::string_view key,
                                         std::string_view def) const {
    return Base64Decode(Base64Pad(ReadLongString(section, key, def)));
}

void TIniFileEx::WriteBase64String(std::string_view section, std::string_view key, std::string_view value) {
    WriteLongString(section, key, Base64Encode(value));
}

} // namespace somnex
