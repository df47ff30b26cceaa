// somnex effects: the transition catalogue rendered without a window, as one contact sheet or as
// every frame of one transition.
#include "engine/decoders/PictureLoader.h"
#include "engine/imaging/Gradient.h"
#include "engine/transitions/PSEffect.h"
#include "engine/transitions/TransitionRender.h"
#include "host/HostCommand.h"
#include "host/PngOut.h"
#include "platform/raster/Canvas.h"

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace host::pictures {

namespace {
namespace fs = std::filesystem;

// The sheet's grid as EffectsContactSheet lays it out: 10 columns, a 4-pixel gap, a 16-pixel label.
constexpr int kColumns = 10, kRows = (somnex::EffectCount + kColumns - 1) / kColumns, kGap = 4, kLabel = 16;
constexpr PictureSize kMinimumCell{16, 12};
constexpr PictureSize kDefaultCell{160, 120};
constexpr PictureSize kDefaultFrame{640, 480};

constexpr PictureSize SheetFor(PictureSize cell) {
    return {kColumns * (cell.Width + kGap) + kGap, kRows * (cell.Height + kLabel + kGap) + kGap};
}

std::string SizeText(PictureSize s) {
    return std::to_string(s.Width) + "x" + std::to_string(s.Height);
}

// The built-in "from" picture: a diagonal gradient.
plat::Bitmap GradientPicture(PictureSize size) {
    plat::Bitmap b(size.Width, size.Height);
    plat::Canvas canvas(b);
    somnex::DrawGradient(canvas, 2, plat::MakeColor(20, 40, 160), plat::MakeColor(250, 210, 80),
                         b.ClipRect());
    return b;
}

// The built-in "to" picture: checks with rings, so every edge of an effect shows.
plat::Bitmap PatternPicture(PictureSize size) {
    plat::Bitmap b(size.Width, size.Height);
    const int check = std::max(4, std::min(size.Width, size.Height) / 8);
    const double cx = size.Width / 2.0, cy = size.Height / 2.0;
    for (int y = 0; y < size.Height; ++y)
        for (int x = 0; x < size.Width; ++x) {
            const bool dark = ((x / check) + (y / check)) % 2 != 0;
            const bool ring = int(std::hypot(x - cx, y - cy) / check) % 2 == 0;
            b.SetPixel(x, y,
                       ring ? (dark ? plat::MakeColor(150, 20, 40) : plat::MakeColor(240, 240, 230))
                            : (dark ? plat::MakeColor(20, 110, 60) : plat::MakeColor(200, 230, 120)));
        }
    return b;
}

plat::Bitmap Stretched(const plat::Bitmap& src, PictureSize size) {
    if (src.Width() == size.Width && src.Height() == size.Height) return src;
    plat::Bitmap out(size.Width, size.Height);
    plat::Canvas(out).StretchDraw(out.ClipRect(), src);
    return out;
}

// --from and --to, or the built-in pictures; both of `size` when given, else of the "to" picture.
void LoadPair(const ParsedArgs& a, const PictureSize* size, plat::Bitmap& from, plat::Bitmap& to) {
    if (const std::string* f = a.Find("--from")) from = somnex::LoadPicture(*f);
    if (const std::string* t = a.Find("--to")) to = somnex::LoadPicture(*t);
    PictureSize target = size            ? *size
                         : !to.Empty()   ? PictureSize{to.Width(), to.Height()}
                         : !from.Empty() ? PictureSize{from.Width(), from.Height()}
                                         : kDefaultFrame;
    from = from.Empty() ? GradientPicture(target) : Stretched(from, target);
    to = to.Empty() ? PatternPicture(target) : Stretched(to, target);
}

int StyleOf(const std::string& text) {
    if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos)
        return ParseInt(text, 1, somnex::EffectCount, "--style");
    const int style = somnex::StyleByName(text);
    if (style < 1) throw UsageError("no transition effect is named '" + text + "'");
    return style;
}

int Sheet(const ParsedArgs& a) {
    for (const char* o : {"--step", "-o"})
        if (a.Find(o)) throw UsageError(std::string(o) + " belongs to --style, not --sheet");
    const int progress = a.Find("--progress") ? ParseInt(*a.Find("--progress"), 0, 100, "--progress") : 50;
    const PictureSize minimum = SheetFor(kMinimumCell);
    const PictureSize size = a.Find("--size") ? ParseSize(*a.Find("--size")) : SheetFor(kDefaultCell);
    if (size.Width < minimum.Width || size.Height < minimum.Height)
        throw UsageError("--size is too small for the effects sheet (at least " + SizeText(minimum) + ")");
    const PictureSize cell{(size.Width - kGap) / kColumns - kGap,
                           (size.Height - kGap) / kRows - kLabel - kGap};
    plat::Bitmap from, to;
    LoadPair(a, &cell, from, to);
    const plat::Bitmap grid = somnex::EffectsContactSheet(from, to, progress, kColumns);
    // The grid fills whole cells; what is left of the requested size becomes an even border.
    plat::Bitmap sheet(size.Width, size.Height, grid.Format());
    sheet.Fill(plat::MakeColor(48, 48, 48));
    plat::Canvas(sheet).Draw((size.Width - grid.Width()) / 2, (size.Height - grid.Height()) / 2, grid);
    WritePng(sheet, *a.Find("--sheet"));
    return kOk;
}

int Frames(const ParsedArgs& a) {
    if (a.Find("--progress")) throw UsageError("--progress belongs to --sheet, not --style");
    const std::string* dirArg = a.Find("-o");
    if (!dirArg) throw UsageError("effects --style needs -o DIR");
    const int style = StyleOf(*a.Find("--style"));
    const int step = a.Find("--step") ? ParseInt(*a.Find("--step"), 1, 100, "--step") : 4;
    PictureSize size;
    if (const std::string* s = a.Find("--size")) size = ParseSize(*s);
    plat::Bitmap from, to;
    LoadPair(a, a.Find("--size") ? &size : nullptr, from, to);

    const fs::path dir = *dirArg;
    std::error_code ec;
    const bool created = !fs::exists(dir, ec);
    if (!created && !fs::is_directory(dir, ec)) return Fail(dir.string() + " exists and is not a folder");
    if (created && !fs::create_directories(dir, ec))
        return Fail("cannot create " + dir.string() + ": " + ec.message());
    std::vector<fs::path> written;
    try {
        somnex::ForEachTransitionFrame(style, from, to, step, false,
                                       [&](int progress, const plat::Bitmap& frame) {
                                           char name[16];
                                           std::snprintf(name, sizeof name, "%03d.png", progress);
                                           WritePng(frame, (dir / name).string());
                                           written.push_back(dir / name);
                                       });
    } catch (...) {
        // A half-written sequence is worse than none.
        for (const fs::path& p : written) fs::remove(p, ec);
        if (created) fs::remove(dir, ec);
        throw;
    }
    std::printf("%zu frames of %d %s in %s\n", written.size(), style,
                std::string(somnex::EffectName(style)).c_str(), dir.string().c_str());
    return kOk;
}

int Effects(const Args& args) {
    const ParsedArgs a =
        ParseArgs(args, {"--sheet", "--style", "--from", "--to", "-o", "--step", "--size", "--progress"});
    if (!a.Positional.empty()) throw UsageError("unexpected argument '" + a.Positional[0] + "'");
    const bool sheet = a.Find("--sheet"), style = a.Find("--style");
    if (sheet == style) throw UsageError("effects needs either --sheet OUT.png or --style S");
    return sheet ? Sheet(a) : Frames(a);
}

const HostCommandRegistrar command(
    {"effects", "--sheet OUT.png [--size WxH] [--progress P] | --style S -o DIR [--step K] [--size WxH]",
     "Render the transition effects: all at one progress on a contact sheet, or every frame of one.",
     "--sheet OUT.png  every effect at progress P (0..100, default 50), labelled with number and name;\n"
     "                 --size is the sheet's size (default 1644x2104)\n"
     "--style S        effect number (1..150) or name; writes one PNG per progress value into DIR,\n"
     "                 named by that value (004.png ... 100.png); --step K as the player takes it\n"
     "                 (1..100, default 4); --size is the frame size (default: the --to picture's,\n"
     "                 else 640x480)\n"
     "--from A --to B  the two pictures (any format the engine reads; default: a built-in gradient\n"
     "                 and a built-in pattern)",
     [](const Args& args) { return RunReportingUsage(args, Effects); }});
} // namespace

} // namespace host::pictures
