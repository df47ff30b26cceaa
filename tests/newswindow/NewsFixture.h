#pragma once
// News files for the window tests, written with the news file's own writer, and a view that
// records what the window logic asks of its widgets.
#include "notifier/NewsWindow.h"
#include "notifier/Unit_Whatsnew.h"
#include "platform/profile/Profile.h"

#include <string>
#include <vector>

namespace heraldex::test {

inline const NowFunction kClock = [] { return EncodeDate(2026, 12, 10) + 0.5; };

inline TProduct Product(const std::string& name, const std::string& category = "Product") {
    TProduct p;
    p.Name = name;
    p.Version = "2.1";
    p.Size = "3 MB";
    p.Date = "2026-11-30";
    p.License = "Freeware";
    p.Category = category;
    p.DownloadURL = "http://example.invalid/" + name + ".exe";
    p.ScreenshotURL = "http://example.invalid/" + name + ".png";
    p.WhatsNew = "Faster slides.";
    p.Description = "A product.";
    return p;
}

// A file dated 2026-12-01 with two news items and the given products.
inline void WriteNews(const std::string& path, const std::vector<TProduct>& products) {
    {
        TWhatsNew w(path, [] { return EncodeDate(2026, 12, 1); });
        w.NewsCount = 2;
        w.ProduceCount = static_cast<int32_t>(products.size());
        w.SaveInformation();
        w.SaveNews(1, {"2026-12-01", "Pictavio 2.1 is out", "  http://example.invalid/news1  "});
        w.SaveNews(2, {"2026-11-02", "Autumn sale", ""});
        for (size_t j = 0; j < products.size(); ++j) w.SaveProduce(static_cast<int32_t>(j + 1), products[j]);
    }
    plat::FlushProfileCache();
}

struct FakeNewsView : TNewsView {
    int Width = 0, Height = 0;
    int Trees = 0;
    std::string UpdateLabel, Caption, Plain;
    TRichDocument Rich;
    int RichShown = 0;
    int Page = -1;
    int ButtonsVisible = -1;
    int Raised = 0, Closed = 0;

    void SetSize(int W, int H) override { Width = W, Height = H; }
    void ShowTree(const TNewsTree&) override { ++Trees; }
    void SetUpdateLabel(const std::string& T) override { UpdateLabel = T; }
    void SetPage(int P) override { Page = P; }
    void SetButtonsVisible(bool V) override { ButtonsVisible = V; }
    void SetProductCaption(const std::string& T) override { Caption = T; }
    void ShowPlainText(const std::string& T) override { Plain = T; }
    void ShowRichText(const TRichDocument& D) override {
        Rich = D;
        ++RichShown;
    }
    void BringToFront() override { ++Raised; }
    void CloseWindow() override { ++Closed; }
};

} // namespace heraldex::test
