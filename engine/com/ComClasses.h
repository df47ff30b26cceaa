#pragma once
// The class registry of the engine library: one entry per class, filled once at load.
#include <memory>
#include <string>
#include <vector>

#include "platform/com/ClassFactory.h"
#include "somnex/Com.h"

namespace somnex {

enum class TClassInstancing { ciInternal, ciSingleInstance, ciMultiInstance };
enum class TThreadingModel { tmSingle, tmApartment, tmFree, tmBoth };

struct TComClassEntry {
    std::string ClassName;
    CLSID ClassID;
    std::string Description;
    TClassInstancing Instancing;
    TThreadingModel ThreadingModel;
    std::unique_ptr<plat::ClassFactory> Factory;

    std::string ProgID() const;
};

const std::vector<TComClassEntry>& ClassRegistry();
// Null when the class is not the engine's.
const TComClassEntry* FindClass(const CLSID& clsid);
const char* ThreadingModelName(TThreadingModel model);

} // namespace somnex
