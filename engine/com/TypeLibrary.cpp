#include "engine/com/TypeLibrary.h"

#include "somnex/Somnex.h"

namespace somnex {

const plat::ServerTypeLibrary& TheTypeLibrary() {
    static const plat::ServerTypeLibrary lib{LIBID_Somnex, "Somnex", "Somnex Library", 2, 0, 0x0409};
    return lib;
}

} // namespace somnex
