#pragma once
// Calls a server library's own registration entry point, as `regsvr32` does.
#include <string>

namespace host {

// Prints "registered PATH" (or "unregistered PATH") and returns kOk, or reports the failure.
int CallRegistrationEntry(const std::string& path, bool registering);

} // namespace host
