#include "notifier/HeadlessNewsView.h"

#include <cstdio>

namespace heraldex {

namespace {
void Lines(const TNewsNode& node, const TNewsTree& tree, int depth, std::string& out) {
    out.append(2 * depth, ' ');
    if (&node == tree.Selected) out += "[x] ";
    out += node.Text;
    if (node.Item && !node.Item->Data.empty()) {
        const std::string& k = node.Item->Kind;
        if (k == "NEWS" || k == "DOWNLOAD" || k == "SCREENSHOT") out += "  <" + node.Item->Data + ">";
    }
    out += '\n';
    for (const auto& child : node.Children) Lines(*child, tree, depth + 1, out);
}
} // namespace

std::string NewsTreeText(const TNewsTree& Tree) {
    std::string out;
    for (const auto& root : Tree.Roots) Lines(*root, Tree, 0, out);
    return out;
}

void THeadlessNewsView::ShowTree(const TNewsTree& Tree) {
    std::fputs(NewsTreeText(Tree).c_str(), stdout);
    std::fflush(stdout);
}

void THeadlessNewsView::SetUpdateLabel(const std::string& Text) {
    std::printf("What's New  %s\n", Text.c_str());
}

void THeadlessNewsView::SetProductCaption(const std::string& Text) {
    std::printf("%s\n", Text.c_str());
}

void THeadlessNewsView::ShowPlainText(const std::string& Text) {
    std::printf("%s\n", Text.c_str());
}

void THeadlessNewsView::ShowRichText(const TRichDocument& Document) {
    std::printf("%s\n", Document.PlainText().c_str());
}

} // namespace heraldex
