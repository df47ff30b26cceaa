// The news file reader on arbitrary file bytes: every news item and product reads, the update rule
// answers, and the counts stay within their bound.
#include "FuzzTempFile.h"
#include "notifier/Unit_Whatsnew.h"
#include "platform/profile/Profile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::FlushProfileCache();
    std::string path = fuzzing::WriteTempFile("whatsnew.new", reinterpret_cast<const char*>(data), size);
    heraldex::TWhatsNew news(path, [] { return 46000.5; });
    if (news.NewsCount < 0 || news.NewsCount > heraldex::kMaxNewsFileEntries) std::abort();
    if (news.ProduceNames.size() != size_t(news.ProduceCount)) std::abort();
    heraldex::TNews item;
    for (int32_t i = 1; i <= news.NewsCount; ++i) news.GetNews(i, item);
    heraldex::TProduct product;
    for (int32_t j = 1; j <= news.ProduceCount; ++j) {
        news.GetProduce(j, product);
        int32_t found = news.FindProduce(product.Name);
        if (found < 0 || found > j - 1) std::abort();
        news.IsProduceUpdate(product.Name, "");
        // Nothing orders strictly before itself.
        if (found == j - 1 && news.IsProduceUpdate(product.Name, product.Version)) std::abort();
    }
    return 0;
}
