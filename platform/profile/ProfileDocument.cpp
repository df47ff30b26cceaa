#include "platform/profile/ProfileDocument.h"

namespace plat {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return r;
}

// "[Name]" gives Name; a header without "]" runs to the end of the line.
bool HeaderName(std::string_view line, std::string_view& name) {
    line = Trim(line);
    if (line.empty() || line[0] != '[') return false;
    line.remove_prefix(1);
    size_t close = line.find(']');
    name = Trim(line.substr(0, close));
    return true;
}

// A key line is "key=value" outside comments; the key is split off at the first "=".
bool KeyOf(std::string_view line, std::string_view& key) {
    line = Trim(line);
    if (line.empty() || line[0] == ';') return false;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = Trim(line.substr(0, eq));
    return !key.empty();
}

std::string_view RawValue(std::string_view line) {
    return Trim(line.substr(line.find('=') + 1));
}

} // namespace

void ProfileDocument::Parse(std::string_view bytes) {
    lines_.clear();
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        lines_.emplace_back(bytes.substr(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    endsWithNewline_ = start == bytes.size();
    if (!endsWithNewline_) lines_.emplace_back(bytes.substr(start));
    Reindex();
}

std::string ProfileDocument::Serialize() const {
    size_t total = 0;
    for (const auto& l : lines_) total += l.size() + 2;
    std::string out;
    out.reserve(total);
    for (const auto& l : lines_) {
        out += l;
        out += "\r\n";
    }
    return out;
}

void ProfileDocument::Reindex() {
    sections_.clear();
    sectionIndex_.clear();
    for (size_t i = 0; i < lines_.size(); ++i) IndexLine(i);
}

// Indexes line i, which must follow every line indexed so far.
void ProfileDocument::IndexLine(size_t i) {
    const std::string& line = lines_[i];
    std::string_view name;
    if (HeaderName(line, name)) {
        Section s;
        s.name = std::string(name);
        s.header = i;
        s.end = s.contentEnd = i + 1;
        sectionIndex_.emplace(Lower(name), sections_.size());
        sections_.push_back(std::move(s));
        return;
    }
    if (sections_.empty()) return;
    Section& s = sections_.back();
    s.end = i + 1;
    if (!Trim(line).empty()) s.contentEnd = i + 1;
    std::string_view key;
    if (KeyOf(line, key)) {
        s.keyLines.push_back(i);
        s.keys.emplace(Lower(key), i);
    }
}

const ProfileDocument::Section* ProfileDocument::FindSection(std::string_view name) const {
    auto it = sectionIndex_.find(Lower(Trim(name)));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

bool ProfileDocument::Find(std::string_view section, std::string_view key, std::string& value) const {
    const Section* s = FindSection(section);
    if (!s) return false;
    auto it = s->keys.find(Lower(Trim(key)));
    if (it == s->keys.end()) return false;
    std::string_view v = RawValue(lines_[it->second]);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    value.assign(v);
    return true;
}

std::vector<std::string_view> ProfileDocument::Keys(std::string_view section) const {
    std::vector<std::string_view> keys;
    if (const Section* s = FindSection(section)) {
        for (size_t line : s->keyLines) {
            std::string_view key;
            KeyOf(lines_[line], key);
            keys.push_back(key);
        }
    }
    return keys;
}

std::vector<std::string_view> ProfileDocument::Sections() const {
    std::vector<std::string_view> names;
    for (const auto& s : sections_) names.emplace_back(s.name);
    return names;
}

ProfileDocument::Change ProfileDocument::Write(std::string_view section, std::string_view key,
                                               std::string_view value, std::string& appended) {
    section = Trim(section);
    key = Trim(key);
    value = Trim(value);
    const Section* found = FindSection(section);
    if (found) {
        auto it = found->keys.find(Lower(key));
        if (it != found->keys.end()) {
            std::string& line = lines_[it->second];
            if (RawValue(line) == value) return Change::None;
            std::string_view spelling;
            KeyOf(line, spelling);
            line = std::string(spelling) + "=" + std::string(value);
            return Change::Rewrite; // same line, same keys: the index stands
        }
    }
    std::string keyLine = std::string(key) + "=" + std::string(value);
    if (found && found->contentEnd != lines_.size()) {
        lines_.insert(lines_.begin() + std::ptrdiff_t(found->contentEnd), std::move(keyLine));
        Reindex();
        return Change::Rewrite;
    }
    appended = endsWithNewline_ ? "" : "\r\n";
    if (!found) {
        lines_.push_back("[" + std::string(section) + "]");
        appended += lines_.back() + "\r\n";
        IndexLine(lines_.size() - 1);
    }
    appended += keyLine + "\r\n";
    lines_.push_back(std::move(keyLine));
    IndexLine(lines_.size() - 1);
    endsWithNewline_ = true;
    return Change::Append;
}

ProfileDocument::Change ProfileDocument::DeleteKey(std::string_view section, std::string_view key) {
    const Section* s = FindSection(section);
    if (!s) return Change::None;
    auto it = s->keys.find(Lower(Trim(key)));
    if (it == s->keys.end()) return Change::None;
    lines_.erase(lines_.begin() + std::ptrdiff_t(it->second));
    Reindex();
    return Change::Rewrite;
}

ProfileDocument::Change ProfileDocument::EraseSection(std::string_view section) {
    // Every section of that name goes, so the name no longer exists at all afterwards.
    std::string lower = Lower(Trim(section));
    bool erased = false;
    for (size_t i = sections_.size(); i-- > 0;) {
        if (Lower(sections_[i].name) != lower) continue;
        lines_.erase(lines_.begin() + std::ptrdiff_t(sections_[i].header),
                     lines_.begin() + std::ptrdiff_t(sections_[i].end));
        erased = true;
    }
    if (!erased) return Change::None;
    Reindex();
    return Change::Rewrite;
}

} // namespace plat
