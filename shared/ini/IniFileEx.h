#pragma once
// TIniFileEx: the INI file every text file of the system is kept in, with the value encodings
// (integers, Booleans, counted long values, base64 values). Writes reach the file at once.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace somnex {

class TIniFileEx {
public:
    /// fileName must be a full path; the file need not exist until the first write.
    explicit TIniFileEx(std::string fileName);

    const std::string& FileName() const { return FileName_; }

    /// At most 2047 characters; Default when the key or section is missing.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    /// Decimal, "$" or (more than two characters) "0x" hexadecimal; Default for anything else.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t def) const;
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    void WriteBool(std::string_view section, std::string_view key, bool value);

    /// Key names of a section (up to 16384 characters of them).
    std::vector<std::string> ReadSection(std::string_view section) const;
    std::vector<std::string> ReadSections() const;
    /// True when the section holds at least one key.
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;
    void EraseSection(std::string_view section);
    void DeleteKey(std::string_view section, std::string_view key);

    /// A value that may exceed 2047 characters, with its length under key + "_Count".
    std::string ReadLongString(std::string_view section, std::string_view key, std::string_view def) const;
    void WriteLongString(std::string_view section, std::string_view key, std::string_view value);
    /// A counted long value holding the base64 form of the text (texts with line breaks).
    std::string ReadBase64String(std::string_view section, std::string_view key, std::string_view def) const;
    void WriteBase64String(std::string_view section, std::string_view key, std::string_view value);

private:
    [[noreturn]] void WriteError() const;

    std::string FileName_;
};

} // namespace somnex
