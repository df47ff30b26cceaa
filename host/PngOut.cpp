#include "host/PngOut.h"

#include <QImage>
#include <QSaveFile>

#include <charconv>

namespace host::pictures {

const std::string* ParsedArgs::Find(const std::string& name) const {
    auto it = Values.find(name);
    return it == Values.end() ? nullptr : &it->second;
}

ParsedArgs ParseArgs(const Args& args, std::initializer_list<const char*> known) {
    ParsedArgs parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // A lone "-" and negative numbers are values, not options.
        if (a.size() < 2 || a[0] != '-' || (a[1] >= '0' && a[1] <= '9')) {
            parsed.Positional.push_back(a);
            continue;
        }
        bool isKnown = false;
        for (const char* k : known) isKnown = isKnown || a == k;
        if (!isKnown) throw UsageError("unknown option '" + a + "'");
        if (i + 1 >= args.size()) throw UsageError("option '" + a + "' needs a value");
        if (!parsed.Values.emplace(a, args[++i]).second) throw UsageError("option '" + a + "' given twice");
    }
    return parsed;
}

int ParseInt(const std::string& text, int low, int high, const std::string& what) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || p != end || value < low || value > high)
        throw UsageError(what + " must be a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'");
    return value;
}

PictureSize ParseSize(const std::string& text, const std::string& option) {
    constexpr int kMaxSide = 16384;
    const size_t x = text.find_first_of("xX");
    const auto side = [&](const std::string& part, int& out) {
        const char* end = part.data() + part.size();
        auto [p, ec] = std::from_chars(part.data(), end, out);
        return !part.empty() && ec == std::errc() && p == end && out >= 1 && out <= kMaxSide;
    };
    PictureSize size;
    if (x == std::string::npos || !side(text.substr(0, x), size.Width) ||
        !side(text.substr(x + 1), size.Height))
        throw UsageError(option + " must be WIDTHxHEIGHT with sides from 1 to " + std::to_string(kMaxSide) +
                         ", not '" + text + "'");
    return size;
}

void WritePng(const plat::Bitmap& bitmap, const std::string& path) {
    // A read-only view in the layout QtViewOf uses for drawing.
    const QImage view(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(),
                      bitmap.Format() == plat::PixelFormat::Pf24 ? QImage::Format_BGR888
                                                                 : QImage::Format_RGB32);
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path + ": " + file.errorString().toStdString());
    if (!view.save(&file, "PNG")) {
        file.cancelWriting();
        throw std::runtime_error("cannot write " + path + ": PNG encoding failed");
    }
    if (!file.commit())
        throw std::runtime_error("cannot write " + path + ": " + file.errorString().toStdString());
}

int RunReportingUsage(const Args& args, int (*body)(const Args&)) {
    try {
        return body(args);
    } catch (const UsageError& e) {
        return Fail(e.what(), kUsage);
    }
}

} // namespace host::pictures
