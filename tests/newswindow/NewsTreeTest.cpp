// The news window's tree: which roots and details it shows, in which order and with which
// pictures, and what is selected after a check.
#include "notifier/NewsTree.h"
#include "tests/ini/TempFolder.h"
#include "tests/newswindow/NewsFixture.h"

#include <gtest/gtest.h>

namespace {

using namespace heraldex;
using heraldex::test::Product;
using heraldex::test::WriteNews;

std::vector<std::string> Texts(const TNewsNode& node) {
    std::vector<std::string> out;
    for (const auto& c : node.Children) out.push_back(c->Text);
    return out;
}

std::vector<std::string> RootTexts(const TNewsTree& tree) {
    std::vector<std::string> out;
    for (const auto& r : tree.Roots) out.push_back(r->Text);
    return out;
}

class NewsTreeTest : public ::testing::Test {
protected:
    void Build(const std::string& product, bool hasNews = false, bool hasUpdate = false) {
        TWhatsNew w(path, test::kClock);
        TBaseParam b;
        b.HasNews = hasNews;
        b.HasUpdate = hasUpdate;
        BuildNewsTree(tree, product, w, b);
    }
    somnex::test::TempFolder dir;
    std::string path = dir / "whatsnew.new";
    TNewsTree tree;
};

TEST_F(NewsTreeTest, UnlistedHostProductLeavesEveryProductUnderOtherProducts) {
    WriteNews(path, {Product("Vectavio"), Product("Skins pack", "skins")});
    Build("Pictavio");
    EXPECT_EQ(RootTexts(tree), (std::vector<std::string>{"News", "Other Products"}));
    const TNewsNode& news = *tree.Roots[0];
    EXPECT_EQ(Texts(news),
              (std::vector<std::string>{"2026-12-01 Pictavio 2.1 is out", "2026-11-02 Autumn sale"}));
    EXPECT_EQ(news.Children[0]->Image, imgNewsItem);
    // The link loses its surrounding blanks.
    EXPECT_EQ(news.Children[0]->Item->Data, "http://example.invalid/news1");
    const TNewsNode& others = *tree.Roots[1];
    EXPECT_EQ(Texts(others), (std::vector<std::string>{"Vectavio", "Skins pack"}));
    EXPECT_EQ(others.Children[0]->Image, imgProduct);
    EXPECT_EQ(others.Children[1]->Image, imgSkins);
    EXPECT_EQ(tree.Selected, nullptr);
}

TEST_F(NewsTreeTest, ListedHostProductIsItsOwnRootWithItsDetailsInOrder) {
    WriteNews(path, {Product("Vectavio"), Product("PICTAVIO")});
    Build("Pictavio");
    ASSERT_EQ(RootTexts(tree), (std::vector<std::string>{"News", "Pictavio", "Other Products"}));
    const TNewsNode& own = *tree.Roots[1];
    EXPECT_EQ(own.Image, imgCurrentProduct);
    EXPECT_EQ(own.Item->Kind, "CURRENTLYPRODUCT");
    EXPECT_EQ(Texts(own), (std::vector<std::string>{"Version: 2.1", "File Size: 3 MB", "Date: 2026-11-30",
                                                    "License: Freeware", "Category: Product", "Download",
                                                    "Screenshot", "What's New", "Description"}));
    std::vector<int> images;
    for (const auto& c : own.Children) images.push_back(c->Image);
    EXPECT_EQ(images, (std::vector<int>{imgDetail, imgDetail, imgDetail, imgFreeware, imgProduct, imgDownload,
                                        imgScreenshot, imgWhatsNew, imgDescription}));
    EXPECT_FALSE(own.Children[0]->Item);
    EXPECT_EQ(own.Children[5]->Item->Kind, "DOWNLOAD");
    EXPECT_EQ(own.Children[5]->Item->Data, "http://example.invalid/PICTAVIO.exe");
    EXPECT_EQ(own.Children[7]->Item->Data, "Faster slides.");
    // Not listed a second time.
    EXPECT_EQ(Texts(*tree.Roots[2]), (std::vector<std::string>{"Vectavio"}));
}

TEST_F(NewsTreeTest, BlankFieldsAddNoLine) {
    TProduct p = Product("Pictavio");
    p.Size = "   ";
    p.ScreenshotURL = "";
    p.Description = " \r\n";
    WriteNews(path, {p});
    Build("Pictavio");
    EXPECT_EQ(Texts(*tree.Roots[1]),
              (std::vector<std::string>{"Version: 2.1", "Date: 2026-11-30", "License: Freeware",
                                        "Category: Product", "Download", "What's New"}));
}

struct SelectCase {
    bool Listed, HasNews, HasUpdate;
    const char* Selected; // root text, or null
};

class NewsTreeSelection : public NewsTreeTest, public ::testing::WithParamInterface<SelectCase> {};

TEST_P(NewsTreeSelection, FollowsTheLastCheck) {
    const SelectCase& c = GetParam();
    WriteNews(path, {Product("Vectavio"), Product("Pictavio")});
    Build(c.Listed ? "Pictavio" : "Somewhere", c.HasNews, c.HasUpdate);
    if (!c.Selected) {
        EXPECT_EQ(tree.Selected, nullptr);
        for (const auto& r : tree.Roots) EXPECT_FALSE(r->Expanded) << r->Text;
        return;
    }
    ASSERT_NE(tree.Selected, nullptr);
    EXPECT_EQ(tree.Selected->Text, c.Selected);
    EXPECT_TRUE(tree.Selected->Expanded);
    for (const auto& child : tree.Selected->Children) EXPECT_TRUE(child->Expanded);
    EXPECT_FALSE(tree.Roots.back()->Expanded);
}

INSTANTIATE_TEST_SUITE_P(Cases, NewsTreeSelection,
                         ::testing::Values(SelectCase{true, false, false, nullptr},
                                           SelectCase{true, true, false, "News"},
                                           SelectCase{true, false, true, "Pictavio"},
                                           SelectCase{true, true, true, "Pictavio"},
                                           SelectCase{false, true, true, nullptr}));

TEST(CategoryImageIndex, MatchesTheWordsInAnyCaseAndDefaultsToShareware) {
    const std::pair<const char*, int> cases[] = {
        {"Shareware", imgShareware}, {"freeware", imgFreeware}, {"FREEWARE", imgFreeware},
        {"Product", imgProduct},     {"package", imgPackage},   {"Plug-In", imgPlugIn},
        {"Skins", imgSkins},         {"images", imgImages},     {"Program", imgProgram},
        {"Plugin", imgShareware},    {"", imgShareware},        {" Freeware", imgShareware}};
    for (const auto& [word, image] : cases) EXPECT_EQ(CategoryImageIndex(word), image) << word;
}

} // namespace
