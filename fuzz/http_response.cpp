// A server's answer as the notifier handles it: the status decides, the body is kept up to its
// cap in the chunks it arrived in, a kept body becomes the local news file, and that file is
// evaluated. The first body line is also read as a URL, as a redirect target would be.
//
// Input: 2 bytes status, 2 bytes cap, 1 byte chunk size, then the body.
#include "FuzzTempFile.h"
#include "notifier/EvaluateNewsFile.h"
#include "notifier/NewsFileWrite.h"
#include "platform/net/HttpResponse.h"
#include "platform/net/HttpUrl.h"
#include "platform/ui/MessageBox.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

bool LinesWellFormed(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
    }
    return text.empty() || text.ends_with("\r\n");
}

void CheckUrl(std::string_view body) {
    std::string line(body.substr(0, body.find_first_of("\r\n")));
    try {
        plat::HttpTarget t = plat::ParseHttpUrl(line, 8080);
        if (t.Host.empty() || t.Port <= 0 || t.Port > 65535 || t.Path.empty() || t.Path[0] != '/')
            std::abort();
    } catch (const plat::HttpError&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = [] {
        plat::SetMessageBoxHandler(
            [](const std::string&, const std::string&, uint32_t) { return plat::IDOK; });
        return true;
    }();
    (void)quiet;
    if (size < 5) return 0;
    long status = (data[0] << 8 | data[1]) % 1000;
    size_t cap = size_t(data[2] << 8 | data[3]);
    size_t chunk = size_t(data[4]) + 1;
    std::string_view body(reinterpret_cast<const char*>(data) + 5, size - 5);

    plat::HttpBody kept(cap);
    for (size_t at = 0; at < body.size(); at += chunk)
        if (!kept.Append(body.substr(at, chunk))) break;
    if (kept.Text().size() > cap) std::abort();
    if (body.size() <= cap && (kept.Overflowed() || kept.Text() != body)) std::abort();
    if (body.size() > cap && !kept.Overflowed()) std::abort();
    CheckUrl(body);

    if (plat::ClassifyStatus(status) != plat::HttpOutcome::Success || kept.Overflowed()) return 0;
    std::string relined = heraldex::ReLine(kept.Text());
    if (!LinesWellFormed(relined)) std::abort();
    std::string path = (fuzzing::TempFolder() / "whatsnew.new").string();
    heraldex::WriteNewsFile(path, kept.Text());

    heraldex::TBaseParam b;
    bool result = heraldex::EvaluateNewsFile(path, b, "Pictavio", "1.0",
                                             [] { return 46366.5; }); // 10 December 2026, noon
    if (result != (b.HasNews || b.HasUpdate)) std::abort();
    return 0;
}
