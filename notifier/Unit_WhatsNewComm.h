#pragma once
// One check for news: download the news file in the progress window, record the check, then
// evaluate the local copy.
#include "notifier/NotifierState.h"

#include <string>

namespace heraldex {

// State.CurrentProduct and State.InstalledVersion are set by the caller. The result is whether
// the file brought news or an update; State.BaseParam is saved then. Errors of the proxy settings
// or of the settings store raise EngineError.
bool CheckWhatsNew(const std::string& URL, TNotifierState& State, const TCheckEnvironment& Env = {});

} // namespace heraldex
