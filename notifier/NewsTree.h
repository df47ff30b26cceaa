#pragma once
// The news window's tree as plain data: what each node shows, the item it carries and which node
// is selected and expanded. The form draws it; the tests read it.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace heraldex {

class TWhatsNew;
struct TBaseParam;

// Tree images by meaning.
enum TNewsImage : int {
    imgNewsRoot = 0,
    imgDescription = 1,
    imgCurrentProduct = 2,
    imgOtherProducts = 3,
    imgDetail = 4,
    imgShareware = 5,
    imgFreeware = 6,
    imgDownload = 7,
    imgScreenshot = 8,
    imgWhatsNew = 9,
    imgProduct = 10,
    imgPackage = 11,
    imgPlugIn = 12,
    imgSkins = 13,
    imgImages = 14,
    imgProgram = 15,
    imgNewsItem = 16,
};
inline constexpr int kNewsImageCount = 17;

struct TNodeItem {
    std::string Kind; // "NEWSROOT", "NEWS", "CURRENTLYPRODUCT", "OTHERPRODUCT", "DOWNLOAD", ...
    std::string Data; // a link or a long text
};

struct TNewsNode {
    std::string Text;
    int Image = 0;
    std::optional<TNodeItem> Item;
    TNewsNode* Parent = nullptr;
    bool Expanded = false;
    std::vector<std::unique_ptr<TNewsNode>> Children;

    TNewsNode& Add(std::string Text, int Image, std::optional<TNodeItem> Item = std::nullopt);
    int Depth() const;
    // Expands this node and everything below it.
    void ExpandAll();
};

struct TNewsTree {
    std::vector<std::unique_ptr<TNewsNode>> Roots;
    TNewsNode* Selected = nullptr;

    TNewsNode& AddRoot(std::string Text, int Image, std::optional<TNodeItem> Item = std::nullopt);
    void Clear();
    // The root with this text, or null.
    TNewsNode* FindRoot(std::string_view Text) const;
};

// The image of a licence or category word, letter case ignored; unknown words are shareware's.
int CategoryImageIndex(std::string_view Word);

// The whole tree for ProductName from an open news file: "News", the host's product when the file
// lists it, "Other Products". Selects and expands by the last check's flags.
void BuildNewsTree(TNewsTree& Tree, const std::string& ProductName, const TWhatsNew& W, const TBaseParam& B);

// Surrounding blanks (spaces, tabs, line ends and other control characters) removed.
std::string Trim(std::string_view Text);

} // namespace heraldex
