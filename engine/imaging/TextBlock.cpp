#include "engine/imaging/TextBlock.h"

#include "engine/imaging/ImgColor.h"
#include "engine/imaging/ImgGeometry.h"
#include "platform/raster/Canvas.h"
#include "shared/ini/FontText.h"

namespace somnex {

plat::FontSpec FontFromText(const std::string& text) {
    TFontInfo info;
    TextToFont(text, info, true);
    plat::FontSpec font;
    font.Name = info.Name;
    font.Size = info.Size;
    font.FontColor = ColorToRGB(info.Color);
    font.Bold = info.Bold;
    font.Italic = info.Italic;
    font.Underline = info.Underline;
    font.StrikeOut = info.StrikeOut;
    return font;
}

TTextOption CaptionOption(const std::string& font) {
    TTextOption option;
    option.Font = font;
    option.TransparentBack = true;
    option.Shadow = true;
    const plat::Color c = FontFromText(font).FontColor;
    const int32_t luma = 30 * plat::RedOf(c) + 59 * plat::GreenOf(c) + 11 * plat::BlueOf(c);
    option.ShadowColor = luma >= 128 * 100 ? 0x000000 : 0xFFFFFF;
    option.ShadowX = 1;
    option.ShadowY = 1;
    return option;
}

std::vector<std::string> SplitTextLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

void DrawTextBlock(plat::Bitmap& bitmap, const std::vector<std::string>& lines, const TTextOption& option) {
    if (option.Position <= 0) return;
    plat::Canvas canvas(bitmap);
    canvas.SetFont(FontFromText(option.Font));

    const int32_t blockWidth = canvas.TextWidth(LongestLine(lines));
    const int32_t blockHeight = canvas.TextHeight("Height") * int32_t(lines.size());
    plat::Rect block =
        PlaceRect(option.Position, bitmap.Width(), bitmap.Height(), 4, blockWidth, blockHeight);

    if (option.TransparentBack) {
        canvas.SetBackgroundMode(plat::BackgroundMode::Transparent);
        canvas.SetBrush({plat::ColorWhite, plat::BrushStyle::Clear});
    } else {
        canvas.SetBackgroundMode(plat::BackgroundMode::Opaque);
        canvas.SetBrush({ColorToRGB(option.BackColor), plat::BrushStyle::Solid});
    }
    const plat::Rect frame = block.Inflate(2, 2);
    if (option.BorderWidth > 0) {
        canvas.SetPen({ColorToRGB(option.BorderColor), option.BorderWidth, plat::PenStyle::Solid});
        canvas.Rectangle(frame);
    } else if (!option.TransparentBack) {
        canvas.SetPen({plat::ColorBlack, 1, plat::PenStyle::Clear});
        canvas.Rectangle(frame);
    }

    std::string whole;
    for (const std::string& line : lines) whole += line + "\r\n";
    if (option.Shadow) {
        canvas.SetBrush({plat::ColorWhite, plat::BrushStyle::Clear});
        const plat::FontSpec font = canvas.Font();
        canvas.Font().FontColor = ColorToRGB(option.ShadowColor);
        plat::Rect shadow = block.Offset(option.ShadowX, option.ShadowY);
        canvas.DrawText(shadow, whole, option.Format);
        canvas.SetFont(font);
    }
    canvas.DrawText(block, whole, option.Format);
    canvas.SetBackgroundMode(plat::BackgroundMode::Opaque);
}

} // namespace somnex
