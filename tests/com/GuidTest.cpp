#include "platform/com/Guid.h"
#include "somnex/EngineError.h"

#include <gtest/gtest.h>

namespace {

TEST(Guid, RoundTripsTheRegistryForm) {
    const char* text = "{C71B2E41-6D35-11D7-8A3C-5E21D7F04B96}";
    GUID g = plat::ParseGuid(text);
    EXPECT_EQ(g.Data1, 0xC71B2E41u);
    EXPECT_EQ(g.Data2, 0x6D35);
    EXPECT_EQ(g.Data3, 0x11D7);
    EXPECT_EQ(g.Data4[0], 0x8A);
    EXPECT_EQ(g.Data4[7], 0x96);
    EXPECT_EQ(plat::GuidToString(g), text);
}

TEST(Guid, LowerCaseIsReadAndWrittenUpper) {
    GUID g = plat::ParseGuid("{9d2f4c1a-3b6e-4e85-a7d0-61c8b2f45e93}");
    EXPECT_EQ(plat::GuidToString(g), "{9D2F4C1A-3B6E-4E85-A7D0-61C8B2F45E93}");
}

class MalformedGuid : public ::testing::TestWithParam<const char*> {};

TEST_P(MalformedGuid, IsRejectedWithItsText) {
    EXPECT_FALSE(plat::TryParseGuid(GetParam()).has_value());
    try {
        plat::ParseGuid(GetParam());
        FAIL() << "no error for " << GetParam();
    } catch (const somnex::EngineError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam()), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedGuid,
    ::testing::Values("", "{}", "C71B2E41-6D35-11D7-8A3C-5E21D7F04B96",
                      "{C71B2E41-6D35-11D7-8A3C-5E21D7F04B9}", "{C71B2E41-6D35-11D7-8A3C-5E21D7F04B966}",
                      "{C71B2E41+6D35-11D7-8A3C-5E21D7F04B96}", "{C71B2E4G-6D35-11D7-8A3C-5E21D7F04B96}",
                      "(C71B2E41-6D35-11D7-8A3C-5E21D7F04B96)", "{C71B2E41-6D35-11D7-8A3C5-E21D7F04B96}"));

} // namespace
