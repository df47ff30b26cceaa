#include "notifier/NewsWindow.h"

#include "notifier/BwdRichText.h"
#include "notifier/Unit_WhatsNewCommFun.h"
#include "notifier/Unit_Whatsnew.h"
#include "platform/ui/MessageBox.h"
#include "somnex/EngineError.h"

#include <exception>

namespace heraldex {

namespace {
std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}
} // namespace

TNewsWindow::TNewsWindow(TNotifierState& State, TNewsActions Actions, std::filesystem::path Store,
                         NowFunction Now)
    : state_(State), actions_(std::move(Actions)), store_(std::move(Store)), now_(std::move(Now)) {}

void TNewsWindow::Attach(TNewsView& V) {
    view_ = &V;
}

TNewsView& TNewsWindow::View() {
    if (!view_) throw somnex::EngineError("The news window has no view");
    return *view_;
}

void TNewsWindow::FormCreate() {
    ReadWindowSize(Width, Height, store_);
    View().SetSize(Width, Height);
}

void TNewsWindow::FormShow() {
    View().SetButtonsVisible(!Trim(state_.CheckURL).empty());
    LoadNews(NewsFile);
    if (!state_.Modal) View().BringToFront();
}

void TNewsWindow::LoadNews(const std::string& FileName) {
    TWhatsNew w(FileName, now_);
    View().SetUpdateLabel("Update Date: " + w.UpdateDate + " ");
    Page = 0;
    View().SetPage(0);
    BuildNewsTree(Tree, state_.CurrentProduct, w, state_.BaseParam);
    View().ShowTree(Tree);
}

void TNewsWindow::NodeActivated(TNewsNode* Node) {
    if (!Node || Node != Tree.Selected || !Node->Item) return;
    int depth = Node->Depth();
    if (depth < 1 || depth > 2) return;
    const TNodeItem& item = *Node->Item;
    std::string kind = Upper(item.Kind);
    if (!item.Data.empty() && (kind == "NEWS" || kind == "DOWNLOAD" || kind == "SCREENSHOT")) {
        // A link the shell cannot open is ignored.
        if (actions_.ShellOpen) actions_.ShellOpen(3, item.Data);
    }
    std::string product = Node->Parent ? Node->Parent->Text : std::string();
    if (kind == "WHATSNEW") {
        View().SetProductCaption(" What's new in " + product);
        ShowNodeText(item.Data);
    } else if (kind == "DESCRIPTION") {
        View().SetProductCaption(" Description of " + product);
        ShowNodeText(item.Data);
    }
}

void TNewsWindow::ShowNodeText(const std::string& Text) {
    bool shown = false;
    if (IsRtfText(Text)) {
        try {
            View().ShowRichText(ParseRtf(Text));
            shown = true;
        } catch (const somnex::EngineError&) {
            // Damaged rich text from the web is shown as the text it is.
        }
    }
    if (!shown) View().ShowPlainText(Trim(Text));
    Page = 1;
    View().SetPage(1);
}

bool TNewsWindow::KeyDown(int Key, bool Ctrl) {
    if (!Ctrl || (Key != 'B' && Key != 'b')) return false;
    Page = 0;
    View().SetPage(0);
    return true;
}

void TNewsWindow::Label1Click() {
    Page = 0;
    View().SetPage(0);
}

void TNewsWindow::Select(TNewsNode* Node) {
    Tree.Selected = Node;
}

void TNewsWindow::ButtonClick(TNewsButton Sender) {
    try {
        Click(Sender);
    } catch (const std::exception& e) {
        // The window stays; the user is told as the news object tells its own errors.
        plat::ShowMessageBox("Error", e.what(), plat::MB_OK | plat::MB_ICONERROR);
    }
}

void TNewsWindow::Click(TNewsButton Sender) {
    switch (Sender) {
    case TNewsButton::Property:
        if (actions_.ShowOptions) actions_.ShowOptions(state_.CurrentProduct);
        break;
    case TNewsButton::Refresh:
        if (actions_.CheckWhatsNew && actions_.CheckWhatsNew(state_.CheckURL)) LoadNews(NewsFile);
        break;
    case TNewsButton::Close:
        View().CloseWindow();
        break;
    }
}

void TNewsWindow::FormClose(int CurrentWidth, int CurrentHeight) {
    Width = CurrentWidth;
    Height = CurrentHeight;
    SaveWindowSize(Width, Height, store_);
}

} // namespace heraldex
