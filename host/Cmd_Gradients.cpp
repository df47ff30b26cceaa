// somnex gradients: the thirteen gradient directions on one labelled sheet, for a person to compare.
#include "engine/imaging/Gradient.h"
#include "host/HostCommand.h"
#include "host/PngOut.h"

namespace host::pictures {

namespace {
// Smaller sheets leave the cells too small to show a direction.
constexpr PictureSize kMinimum{80, 152};

int Gradients(const Args& args) {
    const ParsedArgs a = ParseArgs(args, {"--sheet", "--size"});
    if (!a.Positional.empty()) throw UsageError("unexpected argument '" + a.Positional[0] + "'");
    const std::string* out = a.Find("--sheet");
    if (!out) throw UsageError("gradients needs --sheet OUT.png");
    const PictureSize size = a.Find("--size") ? ParseSize(*a.Find("--size")) : PictureSize{1200, 900};
    if (size.Width < kMinimum.Width || size.Height < kMinimum.Height)
        throw UsageError("--size is too small for the gradient sheet (at least " +
                         std::to_string(kMinimum.Width) + "x" + std::to_string(kMinimum.Height) + ")");
    const plat::Bitmap sheet = somnex::RenderGradientSheet(
        size.Width, size.Height, plat::MakeColor(20, 40, 160), plat::MakeColor(250, 210, 80));
    WritePng(sheet, *out);
    return kOk;
}

const HostCommandRegistrar command({"gradients", "--sheet OUT.png [--size WxH]",
                                    "Draw the thirteen gradient directions, labelled, on one PNG sheet.",
                                    "--size WxH   size of the sheet (default 1200x900, at least 80x152)",
                                    [](const Args& args) { return RunReportingUsage(args, Gradients); }});
} // namespace

} // namespace host::pictures
