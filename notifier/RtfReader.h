#pragma once
// A reader for the rich text (RTF) that news files carry as release notes and descriptions. It
// keeps what a news text uses (paragraphs with their alignment; bold, italic, underline, size,
// colour and font of the text) and skips the rest (pictures, styles, document information).
// News files come from the web, so anything malformed is refused with EngineError
// "Invalid RTF: ..." rather than guessed at.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace heraldex {

enum class TRichAlign { Left, Center, Right, Justify };

struct TRichRun {
    std::string Text; // UTF-8; a line break inside a paragraph is "\n"
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    int HalfPoints = 24;  // \fs: twice the size in points
    int32_t Color = -1;   // 0xRRGGBB, or -1 for the default colour
    std::string FontName; // empty for the default font
    bool SameFormat(const TRichRun& other) const;
};

struct TRichParagraph {
    TRichAlign Align = TRichAlign::Left;
    std::vector<TRichRun> Runs;
};

struct TRichDocument {
    std::vector<TRichParagraph> Paragraphs;
    // The text alone, paragraphs joined by "\n".
    std::string PlainText() const;
};

// Limits that keep hostile input cheap.
inline constexpr int kMaxRtfDepth = 200;
inline constexpr size_t kMaxRtfSize = 4u << 20;

// Text must begin with "{\rtf".
TRichDocument ParseRtf(std::string_view Text);

} // namespace heraldex
