#pragma once
// Date helpers of the notifier. "Now" comes through a clock function so callers and tests can fix it.
#include "notifier/NotifierRecords.h"

#include <functional>
#include <string>

namespace heraldex {

// Returns the current local date and time.
using NowFunction = std::function<TDateTime()>;

TDateTime SystemNow();
// Midnight of a calendar date (proleptic Gregorian).
TDateTime EncodeDate(int year, int month, int day);
// "yyyy-mm-dd" of the day the value falls on.
std::string FormatDate(TDateTime value);
// Today as "yyyy-mm-dd".
std::string TodayText(const NowFunction& now = SystemNow);

} // namespace heraldex
