#pragma once
// The work behind the news object's operations: one check for news, the news window and the
// connection settings dialog.
#include "notifier/NotifierState.h"

#include <string>

namespace heraldex {

// State.CurrentProduct and State.InstalledVersion are set by the caller. The result is whether
// the file brought news or an update; State.BaseParam is saved then. Errors of the proxy settings
// or of the settings store raise EngineError.
bool CheckWhatsNew(const std::string& URL, TNotifierState& State, const TCheckEnvironment& Env = {});

// The news window for State.CurrentProduct from State.NewsFileName: modal when State.Modal (it
// returns once the window has closed), otherwise left open, and brought forward instead when it
// is open already. Headless, the window's contents are printed on stdout.
void ShowNewsWindow(TNotifierState& State, const TCheckEnvironment& Env = {});

// The connection settings dialog for ProductName, modal. Registry errors propagate.
void ShowOptionsDialog(const std::string& ProductName, const TCheckEnvironment& Env = {});

} // namespace heraldex
