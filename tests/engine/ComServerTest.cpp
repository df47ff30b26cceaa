#include "EngineLibrary.h"

#include "platform/com/Guid.h"

#include <dlfcn.h>

namespace {

using enginetest::EngineTest;
using enginetest::Library;

struct ClassCase {
    const char* name;
    CLSID clsid;
    std::vector<IID> answers;
};

const IID kAllInterfaces[] = {IID_IUnknown,          IID_ISomnex,          IID_IScrCompiler,
                              IID_IScrPreview,       IID_IScrProject,      IID_IIniScrProject,
                              IID_IIniPCVScrProject, IID_IIniVCVScrProject};

class EveryClass : public EngineTest, public ::testing::WithParamInterface<ClassCase> {};

TEST_P(EveryClass, AnswersExactlyItsInterfaces) {
    auto* object = Create<IUnknown>(GetParam().clsid, IID_IUnknown);
    ASSERT_NE(object, nullptr);
    for (const IID& iid : kAllInterfaces) {
        bool expected = iid == IID_IUnknown;
        for (const IID& a : GetParam().answers) expected |= a == iid;
        void* p = reinterpret_cast<void*>(1);
        HRESULT hr = object->QueryInterface(iid, &p);
        EXPECT_EQ(hr, expected ? S_OK : E_NOINTERFACE) << plat::GuidToString(iid);
        if (SUCCEEDED(hr)) {
            static_cast<IUnknown*>(p)->Release();
        } else {
            EXPECT_EQ(p, nullptr);
        }
    }
    EXPECT_EQ(object->Release(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Classes, EveryClass,
    ::testing::Values(ClassCase{"ScrProject", CLSID_ScrProject, {IID_IScrProject}},
                      ClassCase{
                          "IIniScrProject", CLSID_IIniScrProject, {IID_IScrProject, IID_IIniScrProject}},
                      ClassCase{"IIniPCVScrProject",
                                CLSID_IIniPCVScrProject,
                                {IID_IScrProject, IID_IIniScrProject, IID_IIniPCVScrProject}},
                      ClassCase{"IIniVCVScrProject",
                                CLSID_IIniVCVScrProject,
                                {IID_IScrProject, IID_IIniScrProject, IID_IIniVCVScrProject}},
                      ClassCase{"Somnex", CLSID_Somnex, {IID_ISomnex}},
                      ClassCase{"ScrCompiler", CLSID_ScrCompiler, {IID_ISomnex, IID_IScrCompiler}},
                      ClassCase{"ScrPreview", CLSID_ScrPreview, {IID_ISomnex, IID_IScrPreview}},
                      ClassCase{"PcvCompiler", CLSID_PcvCompiler, {IID_ISomnex, IID_IScrCompiler}},
                      ClassCase{"PcvPreview", CLSID_PcvPreview, {IID_ISomnex, IID_IScrPreview}},
                      ClassCase{"VcvCompiler", CLSID_VcvCompiler, {IID_ISomnex, IID_IScrCompiler}},
                      ClassCase{"VcvPreview", CLSID_VcvPreview, {IID_ISomnex, IID_IScrPreview}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTest, ExportsExactlyTheFourEntryPoints) {
    EXPECT_NE(Library().GetClassObject, nullptr);
    EXPECT_NE(Library().CanUnloadNow, nullptr);
    EXPECT_NE(Library().RegisterServer, nullptr);
    EXPECT_NE(Library().UnregisterServer, nullptr);
    // Internal names stay hidden.
    EXPECT_EQ(dlsym(Library().handle, "_ZN6somnex13ClassRegistryEv"), nullptr);
}

TEST_F(EngineTest, UnknownClassIsNotAvailableAndLeavesNoPointer) {
    const CLSID unknown = {0x12345678, 0, 0, {0}};
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(Library().GetClassObject(unknown, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(p, nullptr);
}

TEST_F(EngineTest, FactoryAnswersOnlyFactoryInterfaces) {
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(Library().GetClassObject(CLSID_PcvCompiler, IID_IScrCompiler, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    ASSERT_EQ(Library().GetClassObject(CLSID_PcvCompiler, IID_IClassFactory2, &p), S_OK);
    auto* factory = static_cast<IClassFactory2*>(p);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IScrPreview, &p), E_NOINTERFACE);
    EXPECT_EQ(p, nullptr);
    factory->Release();
    EXPECT_EQ(Library().CanUnloadNow(), S_OK); // the refused creation left nothing alive
}

TEST_F(EngineTest, CanUnloadOnlyWithoutObjectsAndLocks) {
    ASSERT_EQ(Library().CanUnloadNow(), S_OK);
    auto* a = Create<ISomnex>(CLSID_Somnex, IID_ISomnex);
    auto* b = Create<ISomnex>(CLSID_Somnex, IID_ISomnex);
    EXPECT_NE(a, b);
    EXPECT_EQ(Library().CanUnloadNow(), S_FALSE);
    a->AddRef();
    a->Release();
    a->Release();
    EXPECT_EQ(Library().CanUnloadNow(), S_FALSE);
    b->Release();
    EXPECT_EQ(Library().CanUnloadNow(), S_OK);

    IClassFactory* factory = nullptr;
    ASSERT_EQ(Library().GetClassObject(CLSID_Somnex, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
              S_OK);
    factory->LockServer(1);
    factory->Release();
    EXPECT_EQ(Library().CanUnloadNow(), S_FALSE);
    factory->LockServer(0);
    EXPECT_EQ(Library().CanUnloadNow(), S_OK);
}

TEST_F(EngineTest, AbstractOperationsRaiseTheEngineErrorToTheHost) {
    auto* compiler = Create<IScrCompiler>(CLSID_ScrCompiler, IID_IScrCompiler);
    auto* preview = Create<IScrPreview>(CLSID_ScrPreview, IID_IScrPreview);
    auto* project = Create<IScrProject>(CLSID_ScrProject, IID_IScrProject);
    std::string boxes = enginetest::BoxesOf([&] {
        EXPECT_THROW(compiler->Compile(0), somnex::EngineError);
        EXPECT_THROW(preview->Preview(false, 0), somnex::EngineError);
    });
    EXPECT_EQ(boxes, ""); // fails and does nothing else
    try {
        project->IsOpened();
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Abstract Error");
    }
    compiler->Release();
    preview->Release();
    project->Release();
}

} // namespace
