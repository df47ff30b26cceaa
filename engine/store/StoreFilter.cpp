#include "engine/store/StoreFilter.h"

#include "engine/store/SqliteDb.h"
#include "engine/store/StoreErrors.h"
#include "somnex/EngineError.h"

namespace somnex {

namespace {

class FilterParser {
public:
    explicit FilterParser(std::string_view text) : text_(text) {}

    std::vector<FilterCondition> parse() {
        std::vector<FilterCondition> out;
        skipBlanks();
        if (at_ == text_.size()) return out;
        for (;;) {
            out.push_back(condition());
            skipBlanks();
            if (at_ == text_.size()) return out;
            if (!keyword("and")) fail("expected \"and\"");
        }
    }

private:
    FilterCondition condition() {
        FilterCondition c;
        c.field = identifier();
        skipBlanks();
        if (at_ == text_.size() || text_[at_] != '=') fail("expected \"=\" after " + c.field);
        ++at_;
        skipBlanks();
        if (at_ == text_.size() || text_[at_] != '\'') fail("expected a quoted value");
        size_t close = text_.find('\'', at_ + 1);
        if (close == std::string_view::npos) fail("unterminated value");
        c.value = std::string(text_.substr(at_ + 1, close - at_ - 1));
        at_ = close + 1;
        // A value must be followed by a blank or the end, so a stray quote is never skipped over.
        if (at_ < text_.size() && !isBlank(text_[at_])) fail("unexpected text after a value");
        return c;
    }

    std::string identifier() {
        size_t start = at_;
        while (at_ < text_.size() && isNameChar(text_[at_])) ++at_;
        std::string name(text_.substr(start, at_ - start));
        if (!isValidIdentifier(name)) fail("expected a field name");
        return name;
    }

    bool keyword(std::string_view word) {
        if (text_.size() - at_ < word.size()) return false;
        for (size_t i = 0; i < word.size(); ++i)
            if ((text_[at_ + i] | 0x20) != word[i]) return false;
        size_t end = at_ + word.size();
        if (end == text_.size() || !isBlank(text_[end])) return false;
        at_ = end;
        skipBlanks();
        return true;
    }

    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool isNameChar(char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    }
    void skipBlanks() {
        while (at_ < text_.size() && isBlank(text_[at_])) ++at_;
    }
    [[noreturn]] void fail(const std::string& why) {
        throw EngineError(store_errors::badFilter(std::string(text_), why));
    }

    std::string_view text_;
    size_t at_ = 0;
};

} // namespace

std::vector<FilterCondition> parseFilter(std::string_view text) {
    return FilterParser(text).parse();
}

} // namespace somnex
