#pragma once
// Calls a server library's own registration entry point, as `regsvr32` does.
#include "host/HostCommand.h"

#include <string>

namespace host {

// The arguments "[--library PATH]" of a registration command; PATH defaults to Library beside
// this program. Runs the entry point, or reports a usage error.
int RunRegistration(const Args& args, const std::string& Library, bool registering);

// Prints "registered PATH" (or "unregistered PATH") and returns kOk, or reports the failure.
int CallRegistrationEntry(const std::string& path, bool registering);

} // namespace host
