#include "notifier/NewsTree.h"

#include "notifier/NotifierRecords.h"
#include "notifier/Unit_Whatsnew.h"

namespace heraldex {

TNewsNode& TNewsNode::Add(std::string Text, int Image, std::optional<TNodeItem> Item) {
    auto node = std::make_unique<TNewsNode>();
    node->Text = std::move(Text);
    node->Image = Image;
    node->Item = std::move(Item);
    node->Parent = this;
    Children.push_back(std::move(node));
    return *Children.back();
}

int TNewsNode::Depth() const {
    int depth = 0;
    for (const TNewsNode* p = Parent; p; p = p->Parent) ++depth;
    return depth;
}

void TNewsNode::ExpandAll() {
    Expanded = true;
    for (auto& child : Children) child->ExpandAll();
}

TNewsNode& TNewsTree::AddRoot(std::string Text, int Image, std::optional<TNodeItem> Item) {
    auto node = std::make_unique<TNewsNode>();
    node->Text = std::move(Text);
    node->Image = Image;
    node->Item = std::move(Item);
    Roots.push_back(std::move(node));
    return *Roots.back();
}

void TNewsTree::Clear() {
    Selected = nullptr;
    Roots.clear();
}

TNewsNode* TNewsTree::FindRoot(std::string_view Text) const {
    for (const auto& root : Roots)
        if (root->Text == Text) return root.get();
    return nullptr;
}

std::string Trim(std::string_view Text) {
    size_t b = 0, e = Text.size();
    while (b < e && static_cast<unsigned char>(Text[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(Text[e - 1]) <= ' ') --e;
    return std::string(Text.substr(b, e - b));
}

int CategoryImageIndex(std::string_view Word) {
    std::string upper(Word);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    static const struct {
        const char* word;
        int image;
    } words[] = {{"SHAREWARE", imgShareware}, {"FREEWARE", imgFreeware}, {"PRODUCT", imgProduct},
                 {"PACKAGE", imgPackage},     {"PLUG-IN", imgPlugIn},    {"SKINS", imgSkins},
                 {"IMAGES", imgImages},       {"PROGRAM", imgProgram}};
    for (const auto& w : words)
        if (upper == w.word) return w.image;
    return imgShareware;
}

namespace {
void AddDetails(TNewsNode& node, const TProduct& p) {
    auto line = [&](const std::string& field, const char* label, int image) {
        if (!Trim(field).empty()) node.Add(label + field, image);
    };
    auto link = [&](const std::string& field, const char* text, int image, const char* kind) {
        if (!Trim(field).empty()) node.Add(text, image, TNodeItem{kind, field});
    };
    line(p.Version, "Version: ", imgDetail);
    line(p.Size, "File Size: ", imgDetail);
    line(p.Date, "Date: ", imgDetail);
    line(p.License, "License: ", CategoryImageIndex(p.License));
    line(p.Category, "Category: ", CategoryImageIndex(p.Category));
    link(p.DownloadURL, "Download", imgDownload, "DOWNLOAD");
    link(p.ScreenshotURL, "Screenshot", imgScreenshot, "SCREENSHOT");
    link(p.WhatsNew, "What's New", imgWhatsNew, "WHATSNEW");
    link(p.Description, "Description", imgDescription, "DESCRIPTION");
}
} // namespace

void BuildNewsTree(TNewsTree& Tree, const std::string& ProductName, const TWhatsNew& W, const TBaseParam& B) {
    Tree.Clear();
    TNewsNode& news = Tree.AddRoot("News", imgNewsRoot, TNodeItem{"NEWSROOT", ""});
    for (int32_t i = 1; i <= W.NewsCount; ++i) {
        TNews item;
        W.GetNews(i, item);
        news.Add(item.Date + " " + item.News, imgNewsItem, TNodeItem{"NEWS", Trim(item.URL)});
    }
    if (B.HasNews && !B.HasUpdate) {
        Tree.Selected = &news;
        news.ExpandAll();
    }
    int32_t p = W.FindProduce(ProductName);
    if (p != -1) {
        TNewsNode& own = Tree.AddRoot(ProductName, imgCurrentProduct, TNodeItem{"CURRENTLYPRODUCT", ""});
        TProduct product;
        W.GetProduce(p + 1, product);
        AddDetails(own, product);
        if (B.HasUpdate) {
            Tree.Selected = &own;
            own.ExpandAll();
        }
    }
    TNewsNode& others = Tree.AddRoot("Other Products", imgOtherProducts, TNodeItem{"OTHERPRODUCT", ""});
    for (int32_t j = 1; j <= W.ProduceCount; ++j) {
        if (j == p + 1) continue;
        TProduct product;
        W.GetProduce(j, product);
        AddDetails(others.Add(product.Name, CategoryImageIndex(product.Category)), product);
    }
}

} // namespace heraldex
