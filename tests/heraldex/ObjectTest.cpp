// The news object through the library's entry points: creation, interfaces, unloading,
// registration, and its operations against a loopback server.
#include "notifier/Unit_WhatsNewCommFun.h"
#include "platform/com/Guid.h"
#include "platform/registry/Registry.h"
#include "somnex/Somnex.h"
#include "tests/heraldex/HeraldexLibrary.h"
#include "tests/notifiercheck/TinyHttpServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace heraldex;
using heraldex::test::Library;
using heraldex::test::NewObject;

const std::string kNewsBody =
    "[Info]\r\nUpdateDate=2026-12-01\r\nNewsCount=1\r\nProduceCount=1\r\n"
    "[News]\r\nDate1=2026-12-01\r\nNews1=Pictavio 2.1 is out\r\n"
    "[Produce1]\r\nName=Pictavio\r\nVersion=2.1\r\nSize=3 MB\r\nDate=2026-11-30\r\n";

// Each test uses a product of its own, so the tests also pass in one process.
TEST(HeraldexEntry, HandsOutOnlyItsClassAndItsInterfaces) {
    void* out = &out;
    EXPECT_EQ(Library().Server.GetClassObject(CLSID_Somnex, IID_IClassFactory, &out),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    IClassFactory2* factory = nullptr;
    ASSERT_EQ(Library().Server.GetClassObject(CLSID_WhatNewCOM, IID_IClassFactory2,
                                              reinterpret_cast<void**>(&factory)),
              S_OK);
    out = &out;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_ISomnex, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    IUnknown* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    factory->Release();
    IWhatNewCOM* news = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IWhatNewCOM, reinterpret_cast<void**>(&news)), S_OK);
    EXPECT_EQ(static_cast<void*>(news), static_cast<void*>(object));
    out = &out;
    EXPECT_EQ(object->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    news->Release();
    object->Release();
}

TEST(HeraldexEntry, ExportsExactlyTheFourEntryPoints) {
    // The library's dynamic symbol table, as the loader sees it.
    FILE* pipe = ::popen("nm -D --defined-only '" HERALDEX_LIBRARY_PATH "'", "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<std::string> functions;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        char type = 0;
        char name[400] = {};
        if (std::sscanf(line, "%*s %c %399s", &type, name) == 2 &&
            (type == 'T' || type == 'W' || type == 'i'))
            functions.push_back(name);
    }
    ASSERT_EQ(::pclose(pipe), 0);
    std::sort(functions.begin(), functions.end());
    EXPECT_EQ(functions, (std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject",
                                                   "DllRegisterServer", "DllUnregisterServer"}));
}

TEST(HeraldexEntry, StaysLoadedWhileAnObjectOrALockLives) {
    EXPECT_EQ(Library().Server.CanUnloadNow(), S_OK);
    IWhatNewCOM* news = NewObject();
    ASSERT_NE(news, nullptr);
    EXPECT_EQ(Library().Server.CanUnloadNow(), S_FALSE);
    news->Release();
    EXPECT_EQ(Library().Server.CanUnloadNow(), S_OK);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(Library().Server.GetClassObject(CLSID_WhatNewCOM, IID_IClassFactory,
                                              reinterpret_cast<void**>(&factory)),
              S_OK);
    factory->LockServer(1);
    EXPECT_EQ(Library().Server.CanUnloadNow(), S_FALSE);
    factory->LockServer(0);
    EXPECT_EQ(Library().Server.CanUnloadNow(), S_OK);
    factory->Release();
}

TEST(HeraldexObject, ModalStartsTrueAndIsSharedByAllObjects) {
    IWhatNewCOM* a = NewObject();
    IWhatNewCOM* b = NewObject();
    ASSERT_TRUE(a && b);
    EXPECT_NE(a, b);
    EXPECT_TRUE(a->GetModal());
    a->SetModal(false);
    EXPECT_FALSE(b->GetModal());
    b->SetModal(true);
    EXPECT_TRUE(a->GetModal());
    a->Release();
    b->Release();
}

std::string DefaultOf(const std::string& key) {
    plat::Registry reg(plat::HKEY_CLASSES_ROOT);
    return reg.OpenKeyReadOnly(key) ? reg.ReadString("") : "<missing>";
}

TEST(HeraldexRegistration, WritesTheClassAndRemovesItAgain) {
    ASSERT_EQ(Library().Server.RegisterServer(), S_OK);
    const std::string clsid = "{4A9E1B36-6B12-11D7-8A3C-5E21D7F04B96}";
    EXPECT_EQ(DefaultOf("\\CLSID\\" + clsid), "Heraldex Control");
    EXPECT_EQ(DefaultOf("\\CLSID\\" + clsid + "\\InprocServer32"),
              std::filesystem::canonical(HERALDEX_LIBRARY_PATH).string());
    EXPECT_EQ(DefaultOf("\\CLSID\\" + clsid + "\\ProgID"), "Heraldex.WhatNewCOM");
    EXPECT_EQ(DefaultOf("\\Heraldex.WhatNewCOM"), "Heraldex Control");
    EXPECT_EQ(DefaultOf("\\Heraldex.WhatNewCOM\\Clsid"), clsid);
    EXPECT_EQ(DefaultOf("\\TypeLib\\{4A9E1B38-6B12-11D7-8A3C-5E21D7F04B96}\\1.0"), "Heraldex Library");
    {
        plat::Registry reg(plat::HKEY_CLASSES_ROOT);
        ASSERT_TRUE(reg.OpenKeyReadOnly("\\CLSID\\" + clsid + "\\InprocServer32"));
        EXPECT_EQ(reg.ReadString("ThreadingModel"), "Apartment");
    }
    // A host finds it now.
    IWhatNewCOM* news = nullptr;
    ASSERT_EQ(plat::CoCreateInstance(CLSID_WhatNewCOM, nullptr, CLSCTX_INPROC_SERVER, IID_IWhatNewCOM,
                                     reinterpret_cast<void**>(&news)),
              S_OK);
    news->Release();

    ASSERT_EQ(Library().Server.UnregisterServer(), S_OK);
    EXPECT_EQ(DefaultOf("\\CLSID\\" + clsid), "<missing>");
    EXPECT_EQ(DefaultOf("\\Heraldex.WhatNewCOM"), "<missing>");
    EXPECT_EQ(DefaultOf("\\TypeLib\\{4A9E1B38-6B12-11D7-8A3C-5E21D7F04B96}\\1.0"), "<missing>");
}

TEST(HeraldexObject, CheckUpdateFetchesRecordsAndFindsTheNewerVersion) {
    test::TinyHttpServer server({test::Answer(200, kNewsBody)});
    IWhatNewCOM* news = NewObject();
    ASSERT_NE(news, nullptr);
    EXPECT_TRUE(news->CheckUpdate("Pictavio", "2.0", server.Url("/whatsnew.ini").c_str()));
    EXPECT_EQ(server.Requests().size(), 1u);
    std::string local = Library().Data + "/brindlewood/whatsnew.new";
    EXPECT_TRUE(std::filesystem::exists(local));
    TUpdateParam u;
    ReadUpdateParam("Pictavio", u, Library().Registry);
    EXPECT_GT(u.LastUpdateDate, 46000.0); // today, not the 2000 default
    TBaseParam b;
    ReadBaseParam(b, Library().Registry);
    EXPECT_EQ(b.PreviousDate, "2026-12-01");

    testing::internal::CaptureStdout();
    news->ShowNews("Pictavio");
    std::string shown = testing::internal::GetCapturedStdout();
    EXPECT_NE(shown.find("What's New  Update Date: 2026-12-01"), std::string::npos) << shown;
    // The update selects the host's product.
    EXPECT_NE(shown.find("[x] Pictavio\n  Version: 2.1\n"), std::string::npos) << shown;
    news->Release();
}

TEST(HeraldexObject, AnErrorInTheCheckIsReportedAndGivesFalse) {
    TProxyParam proxy;
    proxy.Enable = true;
    proxy.ProxyServer = "127.0.0.1";
    proxy.ProxyPort = "not a port";
    SaveProxyParam(proxy, Library().Registry);
    IWhatNewCOM* news = NewObject();
    ASSERT_NE(news, nullptr);
    EXPECT_FALSE(news->CheckUpdate("Vectavio", "2.0", "http://127.0.0.1:1/x"));
    TUpdateParam u;
    ReadUpdateParam("Vectavio", u, Library().Registry);
    EXPECT_DOUBLE_EQ(u.LastUpdateDate, 36526.0);
    news->Release();
}

TEST(HeraldexObject, IsTimeToCheckAsksAndHonoursTheAnswer) {
    IWhatNewCOM* news = NewObject();
    ASSERT_NE(news, nullptr);
    setenv("SOMNEX_ANSWER", "ok", 1);
    EXPECT_TRUE(news->IsTimeToCheck("Lumavio"));
    setenv("SOMNEX_ANSWER", "cancel", 1);
    EXPECT_FALSE(news->IsTimeToCheck("Lumavio"));
    unsetenv("SOMNEX_ANSWER");
    news->Release();
}

} // namespace
