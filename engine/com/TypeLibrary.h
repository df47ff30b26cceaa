#pragma once
// The engine's type library stand-in: it names the server and is registered with its classes,
// but describes no types.
#include "platform/com/ServerRegistration.h"

namespace somnex {

const plat::ServerTypeLibrary& TheTypeLibrary();

} // namespace somnex
