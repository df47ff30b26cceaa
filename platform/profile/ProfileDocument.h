#pragma once
// One profile (INI) file held as its lines, with an index of sections and keys so lookups do not
// rescan the file. Edits report whether the file only grew at its end, so the writer can append.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace plat {

class ProfileDocument {
public:
    /// How an edit changed the text: not at all, by bytes added at the end, or anywhere.
    enum class Change { None, Append, Rewrite };

    /// Reads CRLF, LF or CR line ends.
    void Parse(std::string_view bytes);
    /// Every line with CRLF.
    std::string Serialize() const;

    /// The value of a key, blanks and one pair of enclosing quotes removed; false when missing.
    bool Find(std::string_view section, std::string_view key, std::string& value) const;
    /// Key names of a section in file order (the first section of that name).
    std::vector<std::string_view> Keys(std::string_view section) const;
    std::vector<std::string_view> Sections() const;

    /// For Change::Append, `appended` receives the bytes to add at the end of the file.
    Change Write(std::string_view section, std::string_view key, std::string_view value,
                 std::string& appended);
    Change DeleteKey(std::string_view section, std::string_view key);
    Change EraseSection(std::string_view section);

private:
    struct Section {
        std::string name;
        size_t header = 0;
        size_t end = 0;        // one past its last line
        size_t contentEnd = 0; // one past its last non-blank line
        std::vector<size_t> keyLines;
        std::unordered_map<std::string, size_t> keys; // lower-case key -> line, first one wins
    };

    void Reindex();
    void IndexLine(size_t line);
    const Section* FindSection(std::string_view name) const;

    std::vector<std::string> lines_;
    bool endsWithNewline_ = true;
    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> sectionIndex_; // lower-case name -> first section
};

} // namespace plat
