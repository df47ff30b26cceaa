#include "platform/text/AnsiText.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char* name;
    std::string ansi;
    std::u16string wide;
};

class TextRoundTrip : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextRoundTrip, ConvertsBothWaysWithoutLoss) {
    EXPECT_EQ(plat::AnsiToWide(GetParam().ansi), GetParam().wide);
    EXPECT_EQ(plat::WideToAnsi(GetParam().wide), GetParam().ansi);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextRoundTrip,
    ::testing::Values(TextCase{"empty", "", u""}, TextCase{"ascii", "C:\\Shows\\Sea\\", u"C:\\Shows\\Sea\\"},
                      TextCase{"latin", "Caf\xC3\xA9", u"Caf\u00E9"},
                      TextCase{"cjk", "\xE6\xB5\xB7", u"\u6D77"},
                      TextCase{"astral", "\xF0\x9F\x8C\x8A", u"\U0001F30A"},
                      TextCase{"embedded_zero", std::string("a\0b", 3), std::u16string(u"a\0b", 3)}),
    [](const auto& info) { return std::string(info.param.name); });

class MalformedAnsi : public ::testing::TestWithParam<std::string> {};

// Each bad byte becomes one replacement character; the good text around it survives.
TEST_P(MalformedAnsi, BecomesReplacementCharacters) {
    std::u16string wide = plat::AnsiToWide("<" + GetParam() + ">");
    ASSERT_GE(wide.size(), 3u);
    EXPECT_EQ(wide.front(), u'<');
    EXPECT_EQ(wide.back(), u'>');
    for (size_t i = 1; i + 1 < wide.size(); ++i) EXPECT_EQ(wide[i], u'\uFFFD');
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedAnsi,
                         ::testing::Values("\x80", "\xC3", "\xE6\xB5", "\xC0\xAF" /* overlong */,
                                           "\xED\xA0\x80" /* surrogate */,
                                           "\xF4\x90\x80\x80" /* > U+10FFFF */, "\xFF"));

TEST(Text, UnpairedSurrogateHasNoAnsiFormAndIsReplaced) {
    EXPECT_EQ(plat::WideToAnsi(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");
}

TEST(Bstr, CarriesItsLengthAndAZeroUnit) {
    BSTR s = plat::AnsiToBstr("Sea\xC3\xA9");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 4u);
    EXPECT_EQ(SysStringByteLen(s), 8u);
    EXPECT_EQ(s[4], 0);
    EXPECT_EQ(plat::BstrToAnsi(s), "Sea\xC3\xA9");
    SysFreeString(s);
}

TEST(Bstr, NullIsTheEmptyText) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(plat::BstrToAnsi(nullptr), "");
    SysFreeString(nullptr);
}

TEST(Bstr, KeepsEmbeddedZeros) {
    const char16_t text[] = {u'a', 0, u'b'};
    somnex::BStr s(std::u16string_view(text, 3));
    EXPECT_EQ(s.Length(), 3u);
    EXPECT_EQ(s.View(), std::u16string_view(text, 3));
}

TEST(Bstr, WrapperFreesWhatItHeldBeforeAnOutArgument) {
    somnex::BStr s(u"old");
    BSTR* out = s.Out();
    EXPECT_EQ(*out, nullptr);
    *out = SysAllocString(u"new");
    EXPECT_EQ(s.View(), u"new");
    somnex::BStr moved = std::move(s);
    EXPECT_EQ(s.Get(), nullptr);
    EXPECT_EQ(moved.View(), u"new");
}

} // namespace
