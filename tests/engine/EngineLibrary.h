#pragma once
// The built engine library, loaded the way a host loads it, and a private registry and folder
// per test.
#include "platform/com/InprocServer.h"
#include "somnex/Somnex.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace enginetest {

inline plat::InprocServer& Library() {
    static plat::InprocServer server = plat::LoadInprocServer(SOMNEX_LIBRARY_PATH);
    return server;
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = (std::filesystem::temp_directory_path() /
               ("somnex-engine-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}())))
                  .string() +
              "/";
        std::filesystem::create_directories(dir);
        ::setenv("SOMNEX_REGISTRY", (dir + "registry.db").c_str(), 1);
        ::setenv("SOMNEX_UI", "headless", 1);
        ::unsetenv("SOMNEX_ANSWER");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    template <class Itf>
    Itf* Create(const CLSID& clsid, const IID& iid) {
        IClassFactory* factory = nullptr;
        EXPECT_EQ(Library().GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
                  S_OK);
        if (!factory) return nullptr;
        void* object = nullptr;
        EXPECT_EQ(factory->CreateInstance(nullptr, iid, &object), S_OK);
        factory->Release();
        return static_cast<Itf*>(object);
    }

    std::string MakeFile(const std::string& name) {
        std::ofstream(dir + name) << "[FileInfo]\r\n";
        return dir + name;
    }

    std::string dir;
};

// The box lines a call printed in headless mode.
template <class Fn>
std::string BoxesOf(Fn&& call) {
    ::testing::internal::CaptureStderr();
    call();
    return ::testing::internal::GetCapturedStderr();
}

} // namespace enginetest
