#pragma once
// When an automatic check for news is due.
#include "notifier/NotifierState.h"

#include <string_view>

namespace heraldex {

// By the schedule alone. Today is a date without time of day. A last check dated after today
// (or unreadable as a number) counts as due: the clock was wrong when it was recorded, and
// waiting for that date could stop the checks for years.
bool IsCheckDue(const TUpdateParam& Param, TDateTime Today);

// The schedule of ProductName, confirmed by the user when its settings ask for that. Writes
// nothing. Settings that cannot be read count as a fresh profile's (monthly, with confirmation).
bool IsTimeToCheck(std::string_view ProductName, const TCheckEnvironment& Env = {});

} // namespace heraldex
