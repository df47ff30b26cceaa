#include "EngineLibrary.h"

#include "platform/com/Guid.h"
#include "platform/registry/Registry.h"

#include <fstream>

namespace {

using enginetest::EngineTest;
using enginetest::Library;

struct Expected {
    const char* progId;
    CLSID clsid;
    const char* description;
};

const Expected kClasses[] = {
    {"Somnex.ScrProject", CLSID_ScrProject, "Screensaver Project File Object"},
    {"Somnex.IIniScrProject", CLSID_IIniScrProject, "Screensaver Project File Object - INI"},
    {"Somnex.IIniPCVScrProject", CLSID_IIniPCVScrProject, "Pictavio Project File Object - INI"},
    {"Somnex.IIniVCVScrProject", CLSID_IIniVCVScrProject, "Vectavio Project File Object - INI"},
    {"Somnex.Somnex", CLSID_Somnex, "Somnex"},
    {"Somnex.ScrCompiler", CLSID_ScrCompiler, "Screensaver Compiler"},
    {"Somnex.ScrPreview", CLSID_ScrPreview, "Screensaver Preview"},
    {"Somnex.PcvCompiler", CLSID_PcvCompiler, "Pictavio Compiler"},
    {"Somnex.PcvPreview", CLSID_PcvPreview, "Pictavio Preview"},
    {"Somnex.VcvCompiler", CLSID_VcvCompiler, "Vectavio Compiler"},
    {"Somnex.VcvPreview", CLSID_VcvPreview, "Vectavio Preview"},
};

std::string DefaultOf(plat::Registry& reg, const std::string& key) {
    return reg.OpenKeyReadOnly(key) ? reg.ReadString("") : "(missing)";
}

TEST_F(EngineTest, RegistrationWritesEveryClassKey) {
    ASSERT_EQ(Library().RegisterServer(), S_OK);
    plat::Registry reg(plat::HKEY_CLASSES_ROOT);
    std::string library = std::filesystem::absolute(SOMNEX_LIBRARY_PATH).lexically_normal().string();
    for (const Expected& c : kClasses) {
        std::string clsid = plat::GuidToString(c.clsid);
        SCOPED_TRACE(c.progId);
        EXPECT_EQ(DefaultOf(reg, "\\CLSID\\" + clsid), c.description);
        EXPECT_EQ(DefaultOf(reg, "\\CLSID\\" + clsid + "\\InprocServer32"), library);
        EXPECT_EQ(reg.ReadString("ThreadingModel"), "Apartment");
        EXPECT_EQ(DefaultOf(reg, std::string("\\") + c.progId), c.description);
        EXPECT_EQ(DefaultOf(reg, std::string("\\") + c.progId + "\\Clsid"), clsid);
        EXPECT_EQ(DefaultOf(reg, "\\CLSID\\" + clsid + "\\ProgID"), c.progId);
    }
    std::string lib = "\\TypeLib\\" + plat::GuidToString(LIBID_Somnex) + "\\2.0";
    EXPECT_EQ(DefaultOf(reg, lib), "Somnex Library");
    EXPECT_EQ(DefaultOf(reg, lib + "\\409\\linux64"), library);
}

TEST_F(EngineTest, UnregistrationRemovesWhatRegistrationWrote) {
    plat::Registry reg(plat::HKEY_CLASSES_ROOT);
    reg.OpenKey("\\CLSID\\{00000000-1111-2222-3333-444444444444}", true); // someone else's class
    ASSERT_EQ(Library().RegisterServer(), S_OK);
    ASSERT_EQ(Library().UnregisterServer(), S_OK);
    for (const Expected& c : kClasses) {
        EXPECT_FALSE(reg.KeyExists("\\CLSID\\" + plat::GuidToString(c.clsid))) << c.progId;
        EXPECT_FALSE(reg.KeyExists(std::string("\\") + c.progId)) << c.progId;
    }
    EXPECT_FALSE(reg.KeyExists("\\TypeLib\\" + plat::GuidToString(LIBID_Somnex)));
    EXPECT_TRUE(reg.KeyExists("\\CLSID\\{00000000-1111-2222-3333-444444444444}"));
    EXPECT_EQ(Library().UnregisterServer(), S_OK); // nothing left to remove is no failure
}

TEST_F(EngineTest, RegistrationIntoAStoreThatIsNotADatabaseFails) {
    std::string bad = dir + "not-a-db";
    std::ofstream(bad) << std::string(4096, 'x');
    ::setenv("SOMNEX_REGISTRY", bad.c_str(), 1);
    EXPECT_EQ(Library().RegisterServer(), E_FAIL);
    EXPECT_EQ(Library().UnregisterServer(), E_FAIL);
}

TEST_F(EngineTest, RegisteredClassesAreCreatedByTheRuntime) {
    ASSERT_EQ(Library().RegisterServer(), S_OK);
    IScrPreview* preview = nullptr;
    ASSERT_EQ(plat::CoCreateInstance(CLSID_PcvPreview, nullptr, CLSCTX_INPROC_SERVER, IID_IScrPreview,
                                     reinterpret_cast<void**>(&preview)),
              S_OK);
    preview->Release();
}

TEST_F(EngineTest, RuntimeNamesWhyACreationFailed) {
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(plat::CoCreateInstance(CLSID_PcvPreview, nullptr, CLSCTX_INPROC_SERVER, IID_IScrPreview, &p),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(p, nullptr);
    EXPECT_NE(plat::LastCreateError().find("is not registered"), std::string::npos);

    plat::Registry reg(plat::HKEY_CLASSES_ROOT);
    reg.OpenKey("\\CLSID\\" + plat::GuidToString(CLSID_PcvPreview) + "\\InprocServer32", true);
    reg.WriteString("", dir + "gone.so");
    EXPECT_EQ(plat::CoCreateInstance(CLSID_PcvPreview, nullptr, CLSCTX_INPROC_SERVER, IID_IScrPreview, &p),
              CO_E_DLLNOTFOUND);
    EXPECT_NE(plat::LastCreateError().find(dir + "gone.so"), std::string::npos) << plat::LastCreateError();
}

TEST_F(EngineTest, ALibraryThatDoesNotLoadIsAClearError) {
    std::string junk = dir + "junk.so";
    std::ofstream(junk) << "not an ELF file";
    for (const std::string& path : {junk, dir + "missing.so"}) {
        try {
            plat::LoadInprocServer(path);
            ADD_FAILURE() << "loaded " << path;
        } catch (const somnex::EngineError& e) {
            EXPECT_NE(std::string(e.what()).find("Unable to load the library '" + path + "'"),
                      std::string::npos)
                << e.what();
        }
    }
}

} // namespace

namespace {

// This platform has no short names: the path is registered as it is, and loads as registered.
using enginetest::EngineTest;

TEST_F(EngineTest, ALibraryPathWithABlankIsRegisteredAsItIs) {
    std::string folder = dir + "My Shows/";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(SOMNEX_LIBRARY_PATH, folder + "libsomnex.so");
    plat::InprocServer copy = plat::LoadInprocServer(folder + "libsomnex.so");
    ASSERT_EQ(copy.RegisterServer(), S_OK);
    EXPECT_EQ(plat::FindInprocServerPath(CLSID_VcvCompiler), folder + "libsomnex.so");
    IScrCompiler* compiler = nullptr;
    ASSERT_EQ(plat::CoCreateInstance(CLSID_VcvCompiler, nullptr, CLSCTX_INPROC_SERVER, IID_IScrCompiler,
                                     reinterpret_cast<void**>(&compiler)),
              S_OK)
        << plat::LastCreateError();
    compiler->Release();
}

} // namespace
