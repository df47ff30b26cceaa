#include "notifier/NotifierDate.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace heraldex {

namespace {
// Days from 1 January 1970 of a proleptic Gregorian date (Howard Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

// 30 December 1899 counted from 1 January 1970.
constexpr int64_t kEpochOffset = -25569;
} // namespace

TDateTime SystemNow() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    double day = double(DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) - kEpochOffset);
    return day + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

TDateTime EncodeDate(int year, int month, int day) {
    return double(DaysFromCivil(year, month, day) - kEpochOffset);
}

std::string FormatDate(TDateTime value) {
    // Out-of-range values (and NaN) print as the epoch rather than overflowing.
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6) value = 0;
    int64_t y;
    int m, d;
    // Before the epoch the fraction still counts forward from the day: -1.25 is 29 December 1899, 6:00.
    CivilFromDays(int64_t(std::trunc(value)) + kEpochOffset, y, m, d);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d", static_cast<long long>(y), m, d);
    return text;
}

std::string TodayText(const NowFunction& now) {
    return FormatDate(now());
}

} // namespace heraldex
