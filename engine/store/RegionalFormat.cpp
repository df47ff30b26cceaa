#include "engine/store/RegionalFormat.h"

#include "somnex/EngineError.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <ctime>
#include <langinfo.h>

namespace somnex {

namespace {

std::string decimalSeparator() {
    const lconv* lc = std::localeconv();
    return lc && lc->decimal_point && *lc->decimal_point ? lc->decimal_point : ".";
}

EngineError invalidFloat(const std::string& text) {
    return EngineError("'" + text + "' is not a valid floating point value");
}

// Replaces the regional separator by '.', refusing text that already holds a '.' elsewhere.
bool toCNumber(const std::string& text, std::string& out) {
    std::string sep = decimalSeparator();
    out = text;
    if (sep == ".") return true;
    if (out.find('.') != std::string::npos) return false;
    if (auto at = out.find(sep); at != std::string::npos) out.replace(at, sep.size(), ".");
    return true;
}

// Days from 1970-01-01 for a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
}

const int64_t kEpochShift = daysFromCivil(1899, 12, 30);

std::string dateFormat() {
    // A two-digit year would lose the century, so the short date always carries four digits.
    std::string f = nl_langinfo(D_FMT);
    for (size_t at = 0; (at = f.find("%y", at)) != std::string::npos; at += 2) f[at + 1] = 'Y';
    return f;
}

std::string timeFormat() {
    return nl_langinfo(T_FMT);
}

} // namespace

std::string FloatToStr(double value) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    std::string s(buf, r.ptr);
    if (auto at = s.find('.'); at != std::string::npos) s.replace(at, 1, decimalSeparator());
    return s;
}

double StrToFloat(const std::string& text) {
    std::string c;
    if (!toCNumber(text, c) || c.empty()) throw invalidFloat(text);
    const char* begin = c.data() + (c[0] == '+' ? 1 : 0);
    if (begin != c.data() && c.size() > 1 && c[1] == '-') throw invalidFloat(text);
    double v = 0;
    auto r = std::from_chars(begin, c.data() + c.size(), v);
    if (r.ec != std::errc() || r.ptr != c.data() + c.size()) throw invalidFloat(text);
    return v;
}

std::string DateTimeToStr(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 2958466.0) throw invalidFloat(FloatToStr(value));
    double whole = std::trunc(value);
    int64_t ms = std::llround(std::fabs(value - whole) * 86400000.0);
    if (ms >= 86400000) ms = 86400000 - 1;
    int64_t y;
    unsigned m, d;
    civilFromDays(static_cast<int64_t>(whole) + kEpochShift, y, m, d);
    std::tm tm{};
    tm.tm_year = static_cast<int>(y - 1900);
    tm.tm_mon = static_cast<int>(m - 1);
    tm.tm_mday = static_cast<int>(d);
    tm.tm_hour = static_cast<int>(ms / 3600000);
    tm.tm_min = static_cast<int>(ms / 60000 % 60);
    tm.tm_sec = static_cast<int>(ms / 1000 % 60);
    std::string fmt = dateFormat() + " " + timeFormat();
    char buf[128];
    size_t n = std::strftime(buf, sizeof buf, fmt.c_str(), &tm);
    return std::string(buf, n);
}

double StrToDateTime(const std::string& text) {
    auto parse = [&](const std::string& fmt, std::tm& tm) {
        tm = std::tm{};
        const char* end = strptime(text.c_str(), fmt.c_str(), &tm);
        return end && *end == '\0';
    };
    std::tm tm{};
    if (!parse(dateFormat() + " " + timeFormat(), tm) && !parse(dateFormat(), tm))
        throw EngineError("'" + text + "' is not a valid date and time");
    int64_t days = daysFromCivil(tm.tm_year + 1900, static_cast<unsigned>(tm.tm_mon + 1),
                                 static_cast<unsigned>(tm.tm_mday)) -
                   kEpochShift;
    double time = (tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec) / 86400.0;
    // Before the epoch the day count is negative but the time still counts forward.
    return days < 0 ? static_cast<double>(days) - time : static_cast<double>(days) + time;
}

std::string CurrToStr(int64_t value) {
    uint64_t mag = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::string s = value < 0 ? "-" : "";
    s += std::to_string(mag / 10000);
    if (uint64_t frac = mag % 10000) {
        std::string digits = std::to_string(frac + 10000).substr(1);
        while (digits.back() == '0') digits.pop_back();
        s += decimalSeparator() + digits;
    }
    return s;
}

int64_t StrToCurr(const std::string& text) {
    std::string c;
    if (!toCNumber(text, c)) throw invalidFloat(text);
    size_t at = 0;
    bool negative = false;
    if (at < c.size() && (c[at] == '-' || c[at] == '+')) negative = c[at++] == '-';
    uint64_t whole = 0, frac = 0;
    int wholeDigits = 0, fracDigits = 0;
    for (; at < c.size() && c[at] >= '0' && c[at] <= '9'; ++at, ++wholeDigits) {
        whole = whole * 10 + static_cast<uint64_t>(c[at] - '0');
        if (whole > 922337203685477ull) throw invalidFloat(text);
    }
    if (at < c.size() && c[at] == '.') {
        for (++at; at < c.size() && c[at] >= '0' && c[at] <= '9'; ++at, ++fracDigits) {
            if (fracDigits == 4) throw invalidFloat(text);
            frac = frac * 10 + static_cast<uint64_t>(c[at] - '0');
        }
    }
    if (at != c.size() || wholeDigits + fracDigits == 0) throw invalidFloat(text);
    for (int i = fracDigits; i < 4; ++i) frac *= 10;
    uint64_t mag = whole * 10000 + frac;
    if (mag > uint64_t(INT64_MAX) + (negative ? 1 : 0)) throw invalidFloat(text);
    return negative ? static_cast<int64_t>(0 - mag) : static_cast<int64_t>(mag);
}

int32_t StrToInt(const std::string& text) {
    const char* begin = text.data() + (!text.empty() && text[0] == '+' ? 1 : 0);
    if (begin != text.data() && text.size() > 1 && text[1] == '-') begin = text.data(); // "+-1" is no integer
    int32_t v = 0;
    auto r = std::from_chars(begin, text.data() + text.size(), v);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size())
        throw EngineError("'" + text + "' is not a valid integer value");
    return v;
}

} // namespace somnex
