#include "engine/com/ComClasses.h"

#include "engine/com/TypeLibrary.h"
#include "engine/com/Unit_ScrCompiler.h"
#include "engine/com/Unit_ScrPreview.h"
#include "engine/project/Com_IniScrProject.h"

namespace somnex {

namespace {
template <class T>
plat::ClassFactory::Creator Make() {
    return [] {
        auto* object = new T;
        try {
            object->Initialize();
        } catch (...) {
            object->Release();
            throw;
        }
        return static_cast<IUnknown*>(object);
    };
}

std::vector<TComClassEntry> Build() {
    struct Row {
        const char* name;
        CLSID clsid;
        const char* description;
        plat::ClassFactory::Creator create;
    };
    const Row rows[] = {
        {"ScrProject", CLSID_ScrProject, "Screensaver Project File Object", Make<TIScrProject>()},
        {"IIniScrProject", CLSID_IIniScrProject, "Screensaver Project File Object - INI",
         Make<TIIniScrProject>()},
        {"IIniPCVScrProject", CLSID_IIniPCVScrProject, "Pictavio Project File Object - INI",
         Make<TIIniPCVScrProject>()},
        {"IIniVCVScrProject", CLSID_IIniVCVScrProject, "Vectavio Project File Object - INI",
         Make<TIIniVCVScrProject>()},
        {"Somnex", CLSID_Somnex, "Somnex", Make<TSomnex>()},
        {"ScrCompiler", CLSID_ScrCompiler, "Screensaver Compiler", Make<TScrCompiler>()},
        {"ScrPreview", CLSID_ScrPreview, "Screensaver Preview", Make<TScrPreview>()},
        {"PcvCompiler", CLSID_PcvCompiler, "Pictavio Compiler", Make<TPcvCompiler>()},
        {"PcvPreview", CLSID_PcvPreview, "Pictavio Preview", Make<TPcvPreview>()},
        {"VcvCompiler", CLSID_VcvCompiler, "Vectavio Compiler", Make<TVcvCompiler>()},
        {"VcvPreview", CLSID_VcvPreview, "Vectavio Preview", Make<TVcvPreview>()},
    };
    std::vector<TComClassEntry> entries;
    for (const Row& r : rows)
        entries.push_back({r.name, r.clsid, r.description, TClassInstancing::ciMultiInstance,
                           TThreadingModel::tmApartment, std::make_unique<plat::ClassFactory>(r.create)});
    return entries;
}
} // namespace

std::string TComClassEntry::ProgID() const {
    return TheTypeLibrary().Name + "." + ClassName;
}

const std::vector<TComClassEntry>& ClassRegistry() {
    static const std::vector<TComClassEntry> entries = Build();
    return entries;
}

const TComClassEntry* FindClass(const CLSID& clsid) {
    for (const TComClassEntry& e : ClassRegistry())
        if (e.ClassID == clsid) return &e;
    return nullptr;
}

const char* ThreadingModelName(TThreadingModel model) {
    switch (model) {
    case TThreadingModel::tmSingle:
        return "Single";
    case TThreadingModel::tmFree:
        return "Free";
    case TThreadingModel::tmBoth:
        return "Both";
    default:
        return "Apartment";
    }
}

} // namespace somnex
