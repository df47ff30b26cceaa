#include "notifier/Unit_Whatsnew.h"

#include <algorithm>

namespace heraldex {

namespace {
constexpr std::string_view kInfo = "Info";
constexpr std::string_view kNewsSection = "News";

std::string Numbered(std::string_view name, int32_t n) {
    return std::string(name) + std::to_string(n);
}

// Letter case of ASCII letters only; two empty names are equal.
bool SameName(std::string_view a, std::string_view b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

int32_t ClampCount(int32_t n) {
    return std::clamp(n, int32_t(0), kMaxNewsFileEntries);
}
} // namespace

TWhatsNew::TWhatsNew(std::string FileName, NowFunction now)
    : FileName_(std::move(FileName)), Ini_(FileName_), Now_(std::move(now)) {
    ReadInformation();
}

void TWhatsNew::ReadInformation() {
    UpdateDate = Ini_.ReadString(kInfo, "UpdateDate", TodayText(Now_));
    NewsCount = ClampCount(Ini_.ReadInteger(kInfo, "NewsCount", 0));
    ProduceCount = ClampCount(Ini_.ReadInteger(kInfo, "ProduceCount", 0));
    UpdateWhatsNewURL = Ini_.ReadBool(kInfo, "UpdateWhatsNewURL", false);
    WhatsNewURL = Ini_.ReadString(kInfo, "WhatsNewURL", "");
    GetProduceNameList(ProduceNames);
}

void TWhatsNew::GetProduceNameList(std::vector<std::string>& List) const {
    List.clear();
    for (int32_t j = 1; j <= ClampCount(ProduceCount); ++j)
        List.push_back(Ini_.ReadString(Numbered("Produce", j), "Name", ""));
}

void TWhatsNew::GetNews(int32_t I, TNews& News) const {
    News.Date = Ini_.ReadString(kNewsSection, Numbered("Date", I), "");
    News.News = Ini_.ReadString(kNewsSection, Numbered("News", I), "");
    News.URL = Ini_.ReadString(kNewsSection, Numbered("URL", I), "");
}

int32_t TWhatsNew::FindProduce(std::string_view Name) const {
    for (size_t i = 0; i < ProduceNames.size(); ++i)
        if (SameName(ProduceNames[i], Name)) return int32_t(i);
    return -1;
}

void TWhatsNew::GetProduce(int32_t J, TProduct& Product) const {
    const std::string section = Numbered("Produce", J);
    Product.Name = Ini_.ReadString(section, "Name", "");
    Product.Version = Ini_.ReadString(section, "Version", "");
    Product.Size = Ini_.ReadString(section, "Size", "");
    Product.Date = Ini_.ReadString(section, "Date", "");
    Product.License = Ini_.ReadString(section, "License", "Shareware");
    Product.Category = Ini_.ReadString(section, "Category", "Product");
    Product.DownloadURL = Ini_.ReadString(section, "DownloadURL", "");
    Product.ScreenshotURL = Ini_.ReadString(section, "ScreenshotURL", "");
    Product.WhatsNew = Ini_.ReadBase64String(section, "WhatsNew", "");
    Product.Description = Ini_.ReadBase64String(section, "Description", "");
}

bool TWhatsNew::IsProduceUpdate(std::string_view Name, std::string_view InstalledVersion) const {
    int32_t p = FindProduce(Name);
    if (p == -1) return false;
    TProduct product;
    GetProduce(p + 1, product);
    // Plain unsigned byte order, shorter prefix first: 1.10 does not update 1.9.
    return std::lexicographical_compare(
        InstalledVersion.begin(), InstalledVersion.end(), product.Version.begin(), product.Version.end(),
        [](char a, char b) { return static_cast<unsigned char>(a) < static_cast<unsigned char>(b); });
}

void TWhatsNew::SaveInformation() {
    Ini_.WriteString(kInfo, "UpdateDate", TodayText(Now_));
    Ini_.WriteInteger(kInfo, "NewsCount", NewsCount);
    Ini_.WriteInteger(kInfo, "ProduceCount", ProduceCount);
    Ini_.WriteBool(kInfo, "UpdateWhatsNewURL", UpdateWhatsNewURL);
    Ini_.WriteString(kInfo, "WhatsNewURL", WhatsNewURL);
}

void TWhatsNew::SaveNews(int32_t I, const TNews& News) {
    Ini_.WriteString(kNewsSection, Numbered("Date", I), News.Date);
    Ini_.WriteString(kNewsSection, Numbered("News", I), News.News);
    Ini_.WriteString(kNewsSection, Numbered("URL", I), News.URL);
}

void TWhatsNew::SaveProduce(int32_t J, const TProduct& Product) {
    const std::string section = Numbered("Produce", J);
    Ini_.WriteString(section, "Name", Product.Name);
    Ini_.WriteString(section, "Version", Product.Version);
    Ini_.WriteString(section, "Size", Product.Size);
    Ini_.WriteString(section, "Date", Product.Date);
    Ini_.WriteString(section, "License", Product.License);
    Ini_.WriteString(section, "Category", Product.Category);
    Ini_.WriteString(section, "DownloadURL", Product.DownloadURL);
    Ini_.WriteString(section, "ScreenshotURL", Product.ScreenshotURL);
    Ini_.WriteBase64String(section, "WhatsNew", Product.WhatsNew);
    Ini_.WriteBase64String(section, "Description", Product.Description);
}

} // namespace heraldex
