#pragma once
// What a news file means for the user: news not seen yet, and a newer version of the product.
#include "notifier/NotifierDate.h"
#include "notifier/NotifierRecords.h"

#include <string>
#include <string_view>

namespace heraldex {

// The seven-line "Prompt" text about a newer version, every line ended by a CR.
std::string UpdatePromptText(std::string_view CurrentProduct, std::string_view InstalledVersion,
                             const TProduct& Product);

// Reads FileName and updates B: HasNews once the file is dated on or after B.PreviousDate (then
// also PreviousDate, UseNewURL and WhatsNewURL from the file), HasUpdate when the file lists a
// newer version of CurrentProduct, which the user is told about. Tells the user when there is
// neither, and returns whether there is either.
bool EvaluateNewsFile(const std::string& FileName, TBaseParam& B, std::string_view CurrentProduct,
                      std::string_view InstalledVersion, const NowFunction& Now = SystemNow);

} // namespace heraldex
