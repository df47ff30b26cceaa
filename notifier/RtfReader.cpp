#include "notifier/RtfReader.h"

#include "somnex/EngineError.h"

#include <map>

namespace heraldex {

namespace {

[[noreturn]] void Fail(const std::string& why) {
    throw somnex::EngineError("Invalid RTF: " + why);
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// A byte of the Western code page that \'hh escapes name.
uint32_t FromCp1252(uint8_t b) {
    static const uint16_t high[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                      0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    if (b >= 0x80 && b < 0xA0) return high[b - 0x80];
    return b;
}

enum class Dest { Text, Skip, FontTable, ColorTable };

struct State {
    Dest dest = Dest::Text;
    TRichRun format;
    int fontNumber = -1; // inside the font table: the entry being read
    int uc = 1;          // characters that stand in for each \u
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsSkippedDestination(std::string_view w) {
    static const char* const names[] = {
        "stylesheet",   "info",       "pict",      "object",    "header",
        "headerl",      "headerr",    "headerf",   "footer",    "footerl",
        "footerr",      "footerf",    "footnote",  "themedata", "colorschememapping",
        "latentstyles", "datastore",  "xmlnstbl",  "listtable", "listoverridetable",
        "rsidtbl",      "generator",  "filetbl",   "revtbl",    "fldinst",
        "field_skip",   "nonshppict", "bkmkstart", "bkmkend",   "template"};
    for (const char* n : names)
        if (w == n) return true;
    return false;
}

class Parser {
public:
    explicit Parser(std::string_view text) : s_(text) {}

    TRichDocument Run() {
        if (s_.size() > kMaxRtfSize) Fail("the text is too long");
        if (s_.substr(0, 5) != "{\\rtf") Fail("the text does not begin with {\\rtf");
        doc_.Paragraphs.emplace_back();
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == '{') {
                ++pos_;
                if (static_cast<int>(stack_.size()) >= kMaxRtfDepth) Fail("groups are nested too deeply");
                stack_.push_back(stack_.empty() ? State{} : stack_.back());
            } else if (c == '}') {
                ++pos_;
                if (stack_.empty()) Fail("a group closes that was never opened");
                EndGroup();
                if (stack_.empty()) break; // the document's own group is done
            } else if (c == '\\') {
                ++pos_;
                if (stack_.empty()) Fail("text outside the document's group");
                ControlWord();
            } else {
                ++pos_;
                if (c == '\r' || c == '\n') continue;
                if (stack_.empty()) Fail("text outside the document's group");
                Char(static_cast<uint8_t>(c), true);
            }
        }
        if (!stack_.empty()) Fail("a group is not closed");
        if (doc_.Paragraphs.back().Runs.empty() && doc_.Paragraphs.size() > 1) doc_.Paragraphs.pop_back();
        return std::move(doc_);
    }

private:
    State& Top() { return stack_.back(); }

    void EndGroup() {
        State closing = stack_.back();
        stack_.pop_back();
        // A font entry whose name lacks its closing ";".
        if (closing.dest == Dest::FontTable && closing.fontNumber >= 0 && !fontName_.empty())
            StoreFont(closing.fontNumber);
    }

    void StoreFont(int number) {
        while (!fontName_.empty() && (fontName_.back() == ';' || fontName_.back() == ' '))
            fontName_.pop_back();
        if (!fontName_.empty()) fonts_[number] = fontName_;
        fontName_.clear();
    }

    // One character of text: raw bytes are already the process's text, \'hh bytes are the
    // Western code page.
    void Char(uint8_t b, bool raw) {
        if (skipChars_ > 0) {
            --skipChars_;
            return;
        }
        std::string utf8;
        if (raw || b < 0x80)
            utf8 = static_cast<char>(b);
        else
            AppendUtf8(utf8, FromCp1252(b));
        Text(utf8);
    }

    void Text(const std::string& utf8) {
        State& st = Top();
        switch (st.dest) {
        case Dest::Skip:
            return;
        case Dest::FontTable:
            if (utf8 == ";") {
                if (st.fontNumber >= 0) StoreFont(st.fontNumber);
            } else {
                fontName_ += utf8;
            }
            return;
        case Dest::ColorTable:
            if (utf8 == ";") {
                colors_.push_back(haveColor_ ? (red_ << 16 | green_ << 8 | blue_) : -1);
                red_ = green_ = blue_ = 0;
                haveColor_ = false;
            }
            return;
        case Dest::Text:
            break;
        }
        std::vector<TRichRun>& runs = doc_.Paragraphs.back().Runs;
        if (runs.empty() || !runs.back().SameFormat(st.format)) {
            runs.push_back(st.format);
            runs.back().Text.clear();
        }
        runs.back().Text += utf8;
    }

    void ControlWord() {
        if (pos_ >= s_.size()) Fail("the text ends inside a control word");
        char c = s_[pos_];
        if (!IsLetter(c)) {
            ++pos_;
            ControlSymbol(c);
            return;
        }
        size_t start = pos_;
        while (pos_ < s_.size() && IsLetter(s_[pos_])) {
            if (pos_ - start >= 32) Fail("a control word is too long");
            ++pos_;
        }
        std::string_view word = s_.substr(start, pos_ - start);
        bool hasParam = false;
        bool negative = false;
        long long param = 0;
        if (pos_ < s_.size() && s_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        size_t digits = 0;
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
            if (++digits > 10) Fail("a number is too long");
            param = param * 10 + (s_[pos_] - '0');
            ++pos_;
            hasParam = true;
        }
        if (negative && !hasParam) Fail("a minus sign without a number");
        if (negative) param = -param;
        if (pos_ < s_.size() && s_[pos_] == ' ') ++pos_; // the delimiter belongs to the word
        Apply(word, hasParam,
              static_cast<int>(std::max<long long>(INT32_MIN, std::min<long long>(INT32_MAX, param))));
    }

    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

    void ControlSymbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            Char(static_cast<uint8_t>(c), true);
            return;
        case '\'': {
            if (pos_ + 2 > s_.size()) Fail("the text ends inside a \\' escape");
            int hi = HexValue(s_[pos_]), lo = HexValue(s_[pos_ + 1]);
            if (hi < 0 || lo < 0) Fail("a \\' escape without two hex digits");
            pos_ += 2;
            Char(static_cast<uint8_t>(hi * 16 + lo), false);
            return;
        }
        case '*':
            Top().dest = Dest::Skip;
            return;
        case '~':
            Special(0x00A0);
            return;
        case '_':
            Special(0x2011);
            return;
        case '\r':
        case '\n':
            Paragraph();
            return;
        default:
            return; // \- and other symbols show nothing
        }
    }

    void Special(uint32_t cp) {
        if (skipChars_ > 0) {
            --skipChars_;
            return;
        }
        std::string utf8;
        AppendUtf8(utf8, cp);
        Text(utf8);
    }

    void Paragraph() {
        if (Top().dest != Dest::Text) return;
        TRichAlign align = doc_.Paragraphs.back().Align;
        doc_.Paragraphs.emplace_back();
        doc_.Paragraphs.back().Align = align;
    }

    void Apply(std::string_view w, bool hasParam, int p) {
        State& st = Top();
        TRichRun& f = st.format;
        bool on = !hasParam || p != 0;
        if (w == "fonttbl") {
            st.dest = Dest::FontTable;
        } else if (w == "colortbl") {
            st.dest = Dest::ColorTable;
            red_ = green_ = blue_ = 0;
            haveColor_ = false;
        } else if (IsSkippedDestination(w)) {
            st.dest = Dest::Skip;
        } else if (st.dest == Dest::ColorTable) {
            int v = std::max(0, std::min(255, p));
            if (w == "red")
                red_ = v, haveColor_ = true;
            else if (w == "green")
                green_ = v, haveColor_ = true;
            else if (w == "blue")
                blue_ = v, haveColor_ = true;
        } else if (st.dest == Dest::FontTable) {
            if (w == "f" && hasParam) {
                if (st.fontNumber >= 0 && !fontName_.empty()) StoreFont(st.fontNumber);
                st.fontNumber = p;
                fontName_.clear();
            }
        } else if (w == "par") {
            Paragraph();
        } else if (w == "line") {
            Special('\n');
        } else if (w == "tab") {
            Special('\t');
        } else if (w == "emdash") {
            Special(0x2014);
        } else if (w == "endash") {
            Special(0x2013);
        } else if (w == "bullet") {
            Special(0x2022);
        } else if (w == "lquote") {
            Special(0x2018);
        } else if (w == "rquote") {
            Special(0x2019);
        } else if (w == "ldblquote") {
            Special(0x201C);
        } else if (w == "rdblquote") {
            Special(0x201D);
        } else if (w == "u" && hasParam) {
            int cp = p < 0 ? p + 65536 : p;
            Special(cp < 0 ? 0xFFFD : static_cast<uint32_t>(cp));
            skipChars_ = st.uc;
        } else if (w == "uc" && hasParam) {
            st.uc = std::max(0, std::min(8, p));
        } else if (w == "b") {
            f.Bold = on;
        } else if (w == "i") {
            f.Italic = on;
        } else if (w == "ul") {
            f.Underline = on;
        } else if (w == "ulnone") {
            f.Underline = false;
        } else if (w == "fs" && hasParam) {
            f.HalfPoints = std::max(2, std::min(3276, p));
        } else if (w == "cf" && hasParam) {
            f.Color = p > 0 && static_cast<size_t>(p) < colors_.size() ? colors_[p] : -1;
        } else if (w == "f" && hasParam) {
            auto it = fonts_.find(p);
            f.FontName = it == fonts_.end() ? std::string() : it->second;
        } else if (w == "plain") {
            std::string font = f.FontName;
            f = TRichRun{};
            f.FontName = font;
        } else if (w == "pard") {
            doc_.Paragraphs.back().Align = TRichAlign::Left;
        } else if (w == "ql") {
            doc_.Paragraphs.back().Align = TRichAlign::Left;
        } else if (w == "qc") {
            doc_.Paragraphs.back().Align = TRichAlign::Center;
        } else if (w == "qr") {
            doc_.Paragraphs.back().Align = TRichAlign::Right;
        } else if (w == "qj") {
            doc_.Paragraphs.back().Align = TRichAlign::Justify;
        }
        // Every other word changes nothing this reader keeps.
    }

    std::string_view s_;
    size_t pos_ = 0;
    std::vector<State> stack_;
    TRichDocument doc_;
    std::map<int, std::string> fonts_;
    std::string fontName_;
    std::vector<int32_t> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool haveColor_ = false;
    int skipChars_ = 0;
};

} // namespace

bool TRichRun::SameFormat(const TRichRun& o) const {
    return Bold == o.Bold && Italic == o.Italic && Underline == o.Underline && HalfPoints == o.HalfPoints &&
           Color == o.Color && FontName == o.FontName;
}

std::string TRichDocument::PlainText() const {
    std::string out;
    for (size_t i = 0; i < Paragraphs.size(); ++i) {
        if (i) out += '\n';
        for (const TRichRun& r : Paragraphs[i].Runs) out += r.Text;
    }
    return out;
}

TRichDocument ParseRtf(std::string_view Text) {
    return Parser(Text).Run();
}

} // namespace heraldex
