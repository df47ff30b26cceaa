#include "engine/core/SharedRandom.h"

namespace somnex {

SharedRandom& TheRandom() {
    static SharedRandom instance;
    return instance;
}

} // namespace somnex
