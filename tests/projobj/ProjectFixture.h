#pragma once
// The built engine library loaded as a host loads it, and a private folder per test that is
// removed afterwards (opening a project moves the current folder into it, so that is restored).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/com/InprocServer.h"
#include "platform/text/AnsiText.h"
#include "somnex/Somnex.h"

namespace projtest {

inline plat::InprocServer& Library() {
    static plat::InprocServer server = plat::LoadInprocServer(SOMNEX_LIBRARY_PATH);
    return server;
}

// A BSTR result as 8-bit text, freed.
inline std::string Take(BSTR text) {
    somnex::BStr owned = somnex::BStr::Adopt(text);
    return plat::BstrToAnsi(owned.Get());
}

inline std::u16string W(const std::string& text) {
    return plat::AnsiToWide(text);
}

inline std::string N(const char16_t* text) {
    return plat::BstrToAnsi(text);
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class ProjectFixture : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        oldCwd_ = std::filesystem::current_path();
        dir = (std::filesystem::temp_directory_path() /
               ("somnex-projobj-" + std::to_string(::getpid()) + "-" + std::to_string(counter++)))
                  .string() +
              "/";
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::current_path(oldCwd_, ec);
        std::filesystem::remove_all(dir, ec);
    }

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

    // Names in the test folder, sorted; the test's own dot files left out.
    std::string Listing() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            if (e.path().filename().string()[0] != '.') names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string out;
        for (const std::string& n : names) out += n + " ";
        return out;
    }

    std::string dir;

private:
    std::filesystem::path oldCwd_;
};

} // namespace projtest
