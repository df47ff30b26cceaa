#include "engine/com/Registration.h"

#include "engine/com/ComClasses.h"
#include "engine/com/TypeLibrary.h"

namespace somnex {

namespace {
std::vector<plat::ServerClass> Classes() {
    std::vector<plat::ServerClass> classes;
    for (const TComClassEntry& e : ClassRegistry())
        classes.push_back({e.ClassName, e.ClassID, e.Description, ThreadingModelName(e.ThreadingModel)});
    return classes;
}
} // namespace

void RegisterServer(const std::string& libraryPath) {
    plat::RegisterServerClasses(TheTypeLibrary(), Classes(), libraryPath);
}

void UnregisterServer() {
    plat::UnregisterServerClasses(TheTypeLibrary(), Classes());
}

} // namespace somnex
