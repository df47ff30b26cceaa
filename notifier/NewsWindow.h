#pragma once
// The news window's behaviour, apart from its widgets: the tree of news and products, what
// activating a node does, the two pages, the buttons and the remembered size. The form forwards
// its events here and does what the view calls ask.
#include "notifier/NewsTree.h"
#include "notifier/NotifierState.h"
#include "notifier/RtfReader.h"

#include <functional>
#include <string>

namespace heraldex {

class TNewsView {
public:
    virtual void SetSize(int Width, int Height) = 0;
    // Rebuilds the tree widget from the tree, with its selection and expansion.
    virtual void ShowTree(const TNewsTree& Tree) = 0;
    virtual void SetUpdateLabel(const std::string& Text) = 0;    // Lab_Update
    virtual void SetPage(int Page) = 0;                          // Notebook1
    virtual void SetButtonsVisible(bool Visible) = 0;            // SBtn_Ref and SBtn_Propertiy
    virtual void SetProductCaption(const std::string& Text) = 0; // Panel_ProductNew
    // re_WhatNew reset to the window's font, showing Text as it is.
    virtual void ShowPlainText(const std::string& Text) = 0;
    virtual void ShowRichText(const TRichDocument& Document) = 0;
    virtual void BringToFront() = 0;
    virtual void CloseWindow() = 0;

protected:
    ~TNewsView() = default;
};

enum class TNewsButton { Property, Refresh, Close };

// What the window's buttons start; the real ones unless a caller gives others.
struct TNewsActions {
    std::function<void(const std::string& ProductName)> ShowOptions;
    std::function<bool(const std::string& URL)> CheckWhatsNew;
    std::function<int(int Mode, const std::string& Target)> ShellOpen;
};

class TNewsWindow {
public:
    TNewsWindow(TNotifierState& State, TNewsActions Actions,
                std::filesystem::path Store = plat::Registry::DefaultStorePath(),
                NowFunction Now = SystemNow);

    std::string NewsFile;
    int Width = 500;
    int Height = 420;
    TNewsTree Tree;
    int Page = 0;

    void Attach(TNewsView& View);

    // Window creation: the remembered size.
    void FormCreate();
    void FormShow();
    void LoadNews(const std::string& FileName);
    // A click in the tree or Enter on the selected node.
    void NodeActivated(TNewsNode* Node);
    // A key seen by the window before its controls; true when it was used.
    bool KeyDown(int Key, bool Ctrl);
    void Label1Click();
    // The tree's selection moved.
    void Select(TNewsNode* Node);
    // Errors of the settings dialog or the check are shown in an "Error" box.
    void ButtonClick(TNewsButton Sender);
    // Closing with the window's current size.
    void FormClose(int CurrentWidth, int CurrentHeight);
    void ShowNodeText(const std::string& Text);

private:
    TNewsView& View();
    void Click(TNewsButton Sender);

    TNotifierState& state_;
    TNewsActions actions_;
    std::filesystem::path store_;
    NowFunction now_;
    TNewsView* view_ = nullptr;
};

} // namespace heraldex
