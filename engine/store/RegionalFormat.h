#pragma once
// Numbers, date-times and currency amounts as text in the process's regional format: the decimal
// separator of the current LC_NUMERIC locale and the date and time layouts of LC_TIME (the C
// locale's unless the process chose another). Parse errors are the platform's conversion errors.
#include <cstdint>
#include <string>

namespace somnex {

std::string FloatToStr(double value);
double StrToFloat(const std::string& text);

// Day count since 1899-12-30, time of day as the fraction. Short date (always a four-digit
// year), a blank, long time.
std::string DateTimeToStr(double value);
double StrToDateTime(const std::string& text);

// 64-bit fixed point with four decimals; at most four decimals, no trailing zeros.
std::string CurrToStr(int64_t value);
int64_t StrToCurr(const std::string& text);

int32_t StrToInt(const std::string& text);

} // namespace somnex
