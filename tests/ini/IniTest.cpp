#include "shared/ini/Base64.h"
#include "shared/ini/ColorText.h"
#include "shared/ini/FontText.h"
#include "shared/ini/IniFileEx.h"
#include "shared/ini/IniText.h"
#include "somnex/EngineError.h"
#include "tests/ini/TempFolder.h"

#include <gtest/gtest.h>

using namespace somnex;
using somnex::test::ReadFile;
using somnex::test::TempFolder;
using somnex::test::WriteFile;

namespace {

class IniFileTest : public testing::Test {
protected:
    TempFolder dir;
    TIniFileEx ini{dir / "t.ini"};
};

struct IntegerCase {
    const char* text;
    int32_t expected;
};

class ReadIntegerTest : public IniFileTest, public testing::WithParamInterface<IntegerCase> {};

TEST_P(ReadIntegerTest, ReadsOrGivesDefault) {
    ini.WriteString("S", "k", GetParam().text);
    EXPECT_EQ(ini.ReadInteger("S", "k", -77), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadIntegerTest,
    testing::Values(IntegerCase{"31", 31}, IntegerCase{"-31", -31}, IntegerCase{"0x1F", 31},
                    IntegerCase{"0X1f", 31}, IntegerCase{"$1F", 31}, IntegerCase{"$FFFFFFFF", -1},
                    IntegerCase{"2147483647", 2147483647}, IntegerCase{"-2147483648", INT32_MIN},
                    IntegerCase{"2147483648", -77}, IntegerCase{"99999999999999999999", -77},
                    IntegerCase{"$100000000", -77}, IntegerCase{"0x", -77}, IntegerCase{"abc", -77},
                    IntegerCase{"12abc", -77}, IntegerCase{"", -77}, IntegerCase{"-", -77},
                    IntegerCase{"$", -77}));

TEST_F(IniFileTest, ValueKindsRoundTrip) {
    ini.WriteInteger("S", "i", -42);
    ini.WriteBool("S", "t", true);
    ini.WriteBool("S", "f", false);
    ini.WriteString("S", "s", "text");
    EXPECT_EQ(ReadFile(ini.FileName()), "[S]\r\ni=-42\r\nt=1\r\nf=0\r\ns=text\r\n");
    EXPECT_EQ(ini.ReadInteger("S", "i", 0), -42);
    EXPECT_TRUE(ini.ReadBool("S", "t", false));
    EXPECT_FALSE(ini.ReadBool("S", "f", true));
    EXPECT_TRUE(ini.ReadBool("S", "missing", true));
    EXPECT_TRUE(ini.ReadBool("S", "i", false)); // any non-zero value
    EXPECT_EQ(ini.ReadString("Missing", "s", "dflt"), "dflt");
}

TEST_F(IniFileTest, SectionAndValueExistence) {
    ini.WriteString("S", "Key_Count", "1");
    EXPECT_TRUE(ini.SectionExists("s"));
    EXPECT_TRUE(ini.ValueExists("S", "key_count"));
    EXPECT_FALSE(ini.ValueExists("S", "Key"));
    ini.DeleteKey("S", "Key_Count");
    EXPECT_FALSE(ini.SectionExists("S")); // a header alone holds no key
    ini.EraseSection("S");
    EXPECT_EQ(ReadFile(ini.FileName()), "");
}

TEST_F(IniFileTest, LongValueOf5000Characters) {
    std::string text;
    for (int i = 0; i < 5000; ++i) text += char('a' + i % 26);
    ini.WriteLongString("S", "Long", text);
    EXPECT_EQ(ini.ReadString("S", "Long_Count", ""), "5000");
    EXPECT_EQ(ini.ReadLongString("S", "Long", ""), text);
    EXPECT_EQ(ini.ReadString("S", "Long", ""), text.substr(0, 2047));
}

TEST_F(IniFileTest, LongValueCounts) {
    ini.WriteString("S", "Plain", "no count here");
    EXPECT_EQ(ini.ReadLongString("S", "Plain", ""), "no count here");
    EXPECT_EQ(ini.ReadLongString("S", "Missing", "dflt"), "dflt");

    ini.WriteString("S", "Cut_Count", "4");
    ini.WriteString("S", "Cut", "abcdefgh");
    EXPECT_EQ(ini.ReadLongString("S", "Cut", ""), "abcd");

    ini.WriteString("S", "Huge_Count", "2147483647");
    ini.WriteString("S", "Huge", "small");
    EXPECT_EQ(ini.ReadLongString("S", "Huge", ""), "small");

    ini.WriteString("S", "Gone_Count", "3");
    EXPECT_EQ(ini.ReadLongString("S", "Gone", "default"), "def");

    ini.WriteString("S", "Neg_Count", "-5");
    ini.WriteString("S", "Neg", "value");
    EXPECT_EQ(ini.ReadLongString("S", "Neg", "d"), "");
}

TEST_F(IniFileTest, Base64ValuesKeepLineBreaks) {
    const std::string readme = "Line one\r\nLine two\r\n\r\nEnd";
    ini.WriteBase64String("Basic", "Readme", readme);
    EXPECT_EQ(ini.ReadBase64String("Basic", "Readme", ""), readme);
    ini.WriteBase64String("Basic", "Empty", "");
    EXPECT_EQ(ReadFile(ini.FileName()).find("Empty_Count=0\r\nEmpty=\r\n") != std::string::npos, true);
    EXPECT_EQ(ini.ReadBase64String("Basic", "Empty", "x"), "");
    // Eleven characters take sixteen of base64, as in the read-me example.
    ini.WriteBase64String("Basic", "Eleven", "Hello world");
    EXPECT_EQ(ini.ReadString("Basic", "Eleven_Count", ""), "16");
    // A value cut short of its padding still decodes.
    ini.WriteString("Basic", "Short", "SGk");
    EXPECT_EQ(ini.ReadBase64String("Basic", "Short", ""), "Hi");
}

TEST_F(IniFileTest, RefusedWriteRaises) {
    TIniFileEx bad(dir / "no-such-folder/t.ini");
    try {
        bad.WriteString("S", "k", "v");
        FAIL() << "no error";
    } catch (const EngineError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + dir / "no-such-folder/t.ini");
    }
}

struct Base64Case {
    const char* plain;
    const char* encoded;
};

class Base64Test : public testing::TestWithParam<Base64Case> {};

TEST_P(Base64Test, EncodesAndDecodes) {
    EXPECT_EQ(Base64Encode(GetParam().plain), GetParam().encoded);
    EXPECT_EQ(Base64Decode(GetParam().encoded), GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(Rfc4648, Base64Test,
                         testing::Values(Base64Case{"", ""}, Base64Case{"f", "Zg=="},
                                         Base64Case{"fo", "Zm8="}, Base64Case{"foo", "Zm9v"},
                                         Base64Case{"foob", "Zm9vYg=="}, Base64Case{"fooba", "Zm9vYmE="},
                                         Base64Case{"foobar", "Zm9vYmFy"},
                                         Base64Case{"\xff\xfe\xfd", "//79"}));

TEST(Base64, PaddedGroupIgnoresUnusedBits) {
    // "Zg==" and "Zh==" differ only in the four bits no byte takes; so do "Zm8=" and "Zm9=".
    EXPECT_EQ(Base64Decode("Zh=="), "f");
    EXPECT_EQ(Base64Decode("Zm9="), "fo");
    EXPECT_EQ(Base64Decode("Zm9vZ///"), Base64Decode("Zm9vZ\x01\x02\x03")); // strangers count as 63
}

TEST(Base64, WrongLengthRaises) {
    for (const char* bad : {"Z", "Zg=", "Zm9vY"}) {
        try {
            Base64Decode(bad);
            ADD_FAILURE() << bad;
        } catch (const EngineError& e) {
            EXPECT_STREQ(e.what(), "Base64: Incorrect string format");
        }
    }
    EXPECT_EQ(Base64Pad("Zg"), "Zg==");
    EXPECT_EQ(Base64Pad("Zm9v"), "Zm9v");
}

struct SplitCase {
    const char* text;
    const char* separator;
    std::vector<std::string> items;
};

class SplitToListTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitToListTest, Items) {
    EXPECT_EQ(SplitToList(GetParam().text, GetParam().separator), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(Cases, SplitToListTest,
                         testing::Values(SplitCase{"a|b||c|", "|", {"a", "b", "", "c"}},
                                         SplitCase{"", "|", {}}, SplitCase{"|", "|", {""}},
                                         SplitCase{"abc", "|", {"abc"}},
                                         SplitCase{"a\r\nb\nc\rd", "|", {"a", "b", "c", "d"}},
                                         SplitCase{"aXbxc", "x", {"a", "b", "c"}},
                                         SplitCase{"one<SEP>two", "<sep>", {"one", "two"}},
                                         SplitCase{"p\x15q\x15", "\x15", {"p", "q"}}));

TEST(LineBreaks, BrConversions) {
    EXPECT_EQ(LineBreaksToBr("a\r\nb\r\nc"), "a<br>b<br>c");
    EXPECT_EQ(LineBreaksToBr("a\nb\rc"), "a\nb\rc");
    EXPECT_EQ(BrToLineBreaks("a<br>b<BR>c<Br>"), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(BrToLineBreaks("<b"), "<b");
}

TEST(SameText, IgnoresCaseOnlyAndEmptyEqualsEmpty) {
    struct Case {
        const char *a, *b;
        bool same;
    };
    for (Case c : {Case{"", "", true}, Case{"Image", "iMAGE", true}, Case{"", "a", false},
                   Case{"ab", "abc", false}, Case{"a", "", false}, Case{"[", "{", false}})
        EXPECT_EQ(SameText(c.a, c.b), c.same) << '"' << c.a << "\" vs \"" << c.b << '"';
}

struct ColorCase {
    TColor color;
    const char* text;
};

class ColorTextTest : public testing::TestWithParam<ColorCase> {};

TEST_P(ColorTextTest, RoundTrip) {
    EXPECT_EQ(ColorToText(GetParam().color), GetParam().text);
    EXPECT_EQ(TextToColor(GetParam().text), GetParam().color);
}

INSTANTIATE_TEST_SUITE_P(Cases, ColorTextTest,
                         testing::Values(ColorCase{0x000000, "clBlack"}, ColorCase{0x0000FF, "clRed"},
                                         ColorCase{0xFFFFFF, "clWhite"}, ColorCase{0xA4A0A0, "clMedGray"},
                                         ColorCase{clNone, "clNone"}, ColorCase{clDefault, "clDefault"},
                                         ColorCase{kSystemColorBase + 15, "clBtnFace"},
                                         ColorCase{kSystemColorBase + 30, "clMenuBar"},
                                         ColorCase{0xFF8080, "$00FF8080"},
                                         ColorCase{kSystemColorBase + 25, "$80000019"}));

TEST(ColorText, ReadingAcceptsCaseAndIntegers) {
    EXPECT_EQ(TextToColor("CLRED"), 0x0000FF);
    EXPECT_EQ(TextToColor("255"), 255);
    EXPECT_EQ(TextToColor("$ff"), 255);
    try {
        TextToColor("notacolour");
        FAIL();
    } catch (const EngineError& e) {
        EXPECT_STREQ(e.what(), "'notacolour' is not a valid integer value");
    }
}

TEST(FontText, WrittenWithAndWithoutColour) {
    TFontInfo f;
    f.Name = "Arial";
    f.Size = 12;
    f.Bold = f.Italic = true;
    f.Color = 0x0000FF;
    EXPECT_EQ(FontToText(f), "\"Arial\", 12, [Bold|Italic], [clRed]");
    EXPECT_EQ(FontToText(f, false), "\"Arial\", 12, [Bold|Italic]");
    f.Bold = f.Italic = false;
    f.Underline = f.StrikeOut = true;
    EXPECT_EQ(FontToText(f, false), "\"Arial\", 12, [Underline|Strikeout]");
}

TEST(FontText, ReadsEveryPart) {
    TFontInfo f;
    TextToFont("\"Times New Roman\", 10, [], [$00FF8080]", f);
    EXPECT_EQ(f.Name, "Times New Roman");
    EXPECT_EQ(f.Size, 10);
    EXPECT_EQ(f.Color, 0xFF8080);
    EXPECT_FALSE(f.Bold || f.Italic || f.Underline || f.StrikeOut);

    TextToFont("\"Arial\", 12, [Bold|Italic|Underline|Strikeout], [clRed]", f);
    EXPECT_EQ(f.Name, "Arial");
    EXPECT_EQ(f.Color, 0x0000FF);
    EXPECT_TRUE(f.Bold && f.Italic && f.Underline && f.StrikeOut);
}

TEST(FontText, MissingColourStopsBeforeTheStyles) {
    TFontInfo f;
    f.Bold = true;
    f.Color = 0x123456;
    TextToFont("\"Times New Roman\", 10, []", f);
    EXPECT_EQ(f.Name, "Times New Roman");
    EXPECT_EQ(f.Size, 10);
    EXPECT_EQ(f.Color, 0x123456);
    EXPECT_TRUE(f.Bold);
    // Without the colour wanted the same text does set the styles.
    TextToFont("\"Times New Roman\", 10, []", f, false);
    EXPECT_FALSE(f.Bold);
}

TEST(FontText, BadSizeKeepsTheName) {
    TFontInfo f;
    f.Size = 9;
    TextToFont("\"Verdana\", big, [Bold], [clRed]", f);
    EXPECT_EQ(f.Name, "Verdana");
    EXPECT_EQ(f.Size, 9);
    EXPECT_FALSE(f.Bold);
    TextToFont("", f);
    EXPECT_EQ(f.Name, "");
}

} // namespace
