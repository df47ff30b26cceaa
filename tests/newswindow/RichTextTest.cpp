// The rich-text reader: what it keeps of a news text's formatting, and the input it refuses.
#include "notifier/BwdRichText.h"
#include "notifier/RtfReader.h"
#include "somnex/EngineError.h"

#include <gtest/gtest.h>

namespace {

using namespace heraldex;

TEST(IsRtfText, NeedsTheWholeHeaderWithItsBackslash) {
    EXPECT_TRUE(IsRtfText("{\\rtf1\\ansi x}"));
    EXPECT_TRUE(IsRtfText("{\\rtf1\\"));
    EXPECT_FALSE(IsRtfText("{\\rtf1 \\ansi x}"));
    EXPECT_FALSE(IsRtfText("{\\rtf1"));
    EXPECT_FALSE(IsRtfText(" {\\rtf1\\ansi}"));
    EXPECT_FALSE(IsRtfText(""));
}

TEST(RtfReader, KeepsParagraphsAlignmentAndCharacterFormats) {
    TRichDocument doc = ParseRtf(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;}\\pard\\qc\\b\\f0\\fs28 Version 2.1\\b0\\par"
        "\\pard\\f1\\fs20 New: \\cf1 faster\\cf0  slides\\line and \\i music\\i0\\par"
        "\\u8364?\\'e9\\tab end\\par}");
    ASSERT_EQ(doc.Paragraphs.size(), 3u);
    const TRichParagraph& title = doc.Paragraphs[0];
    EXPECT_EQ(title.Align, TRichAlign::Center);
    ASSERT_EQ(title.Runs.size(), 1u);
    EXPECT_EQ(title.Runs[0].Text, "Version 2.1");
    EXPECT_TRUE(title.Runs[0].Bold);
    EXPECT_EQ(title.Runs[0].HalfPoints, 28);
    EXPECT_EQ(title.Runs[0].FontName, "Arial");

    const TRichParagraph& body = doc.Paragraphs[1];
    EXPECT_EQ(body.Align, TRichAlign::Left);
    ASSERT_EQ(body.Runs.size(), 4u);
    EXPECT_EQ(body.Runs[0].Text, "New: ");
    EXPECT_EQ(body.Runs[0].FontName, "Times New Roman");
    EXPECT_EQ(body.Runs[1].Text, "faster");
    EXPECT_EQ(body.Runs[1].Color, 0xFF0000);
    EXPECT_EQ(body.Runs[2].Text, " slides\nand ");
    EXPECT_EQ(body.Runs[2].Color, -1);
    EXPECT_EQ(body.Runs[3].Text, "music");
    EXPECT_TRUE(body.Runs[3].Italic);
    // \u takes the place of its one fallback character; \'e9 is the Western code page's e acute.
    EXPECT_EQ(doc.Paragraphs[2].Runs[0].Text, "\u20AC\u00E9\tend");
}

TEST(RtfReader, SkipsWhatANewsTextDoesNotShow) {
    TRichDocument doc =
        ParseRtf("{\\rtf1\\ansi{\\*\\generator Writer 1.0;}{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}"
                 "{\\pict\\pngblip 89504e47}Text \\{kept\\} \\\\ here\\par}");
    EXPECT_EQ(doc.PlainText(), "Text {kept} \\ here");
}

TEST(RtfReader, GroupsRestoreTheFormatAndPlainResetsIt) {
    TRichDocument doc = ParseRtf("{\\rtf1\\b bold{\\i both}\\plain plain}");
    ASSERT_EQ(doc.Paragraphs[0].Runs.size(), 3u);
    EXPECT_TRUE(doc.Paragraphs[0].Runs[1].Bold);
    EXPECT_TRUE(doc.Paragraphs[0].Runs[1].Italic);
    EXPECT_FALSE(doc.Paragraphs[0].Runs[2].Bold);
    EXPECT_EQ(doc.Paragraphs[0].Runs[2].Text, "plain");
}

TEST(RtfReader, RefusesMalformedInput) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain text", "Invalid RTF: the text does not begin with {\\rtf"},
        {"{\\rtf1 unclosed {group}", "Invalid RTF: a group is not closed"},
        {"{\\rtf1\\'zz}", "Invalid RTF: a \\' escape without two hex digits"},
        {"{\\rtf1\\'4", "Invalid RTF: the text ends inside a \\' escape"},
        {"{\\rtf1\\", "Invalid RTF: the text ends inside a control word"},
        {"{\\rtf1\\fs99999999999 x}", "Invalid RTF: a number is too long"},
        {"{\\rtf1\\fs- x}", "Invalid RTF: a minus sign without a number"},
        {"{\\rtf1\\" + std::string(40, 'a') + " x}", "Invalid RTF: a control word is too long"},
        {"{\\rtf1" + std::string(kMaxRtfDepth, '{') + std::string(kMaxRtfDepth, '}') + "}",
         "Invalid RTF: groups are nested too deeply"},
        {"{\\rtf1" + std::string(kMaxRtfSize, 'x') + "}", "Invalid RTF: the text is too long"},
    };
    for (const auto& [text, message] : cases) {
        try {
            ParseRtf(text);
            ADD_FAILURE() << "accepted: " << text.substr(0, 40);
        } catch (const somnex::EngineError& e) {
            EXPECT_EQ(std::string(e.what()), message) << text.substr(0, 40);
        }
    }
}

TEST(RtfReader, IgnoresWhatFollowsTheDocumentsGroup) {
    EXPECT_EQ(ParseRtf("{\\rtf1 body}\r\n}}trailing").PlainText(), "body");
}

} // namespace
