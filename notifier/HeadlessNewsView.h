#pragma once
// The news window without a display: what it would show, printed on stdout.
#include "notifier/NewsWindow.h"

namespace heraldex {

class THeadlessNewsView : public TNewsView {
public:
    void SetSize(int, int) override {}
    void ShowTree(const TNewsTree& Tree) override;
    void SetUpdateLabel(const std::string& Text) override;
    void SetPage(int) override {}
    void SetButtonsVisible(bool) override {}
    void SetProductCaption(const std::string& Text) override;
    void ShowPlainText(const std::string& Text) override;
    void ShowRichText(const TRichDocument& Document) override;
    void BringToFront() override {}
    void CloseWindow() override {}
};

// The tree as indented lines: "[x] " marks the selected node, links follow their node.
std::string NewsTreeText(const TNewsTree& Tree);

} // namespace heraldex
