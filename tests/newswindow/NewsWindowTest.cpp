// The news window's behaviour with a recording view: loading, activating nodes, the two pages,
// the buttons and the remembered size; and how the news object opens the window.
#include "notifier/ChkWhatsNew.h"
#include "notifier/NewsWindow.h"
#include "notifier/Unit_WhatsNewComm.h"
#include "notifier/Unit_WhatsNewCommFun.h"
#include "notifier/WhatsNewCom.h"
#include "somnex/EngineError.h"
#include "tests/ini/TempFolder.h"
#include "tests/newswindow/NewsFixture.h"
#include "tests/notifiercheck/BoxRecorder.h"

#include <gtest/gtest.h>

namespace {

using namespace heraldex;
using heraldex::test::BoxRecorder;
using heraldex::test::FakeNewsView;
using heraldex::test::Product;
using heraldex::test::WriteNews;

struct Calls {
    std::vector<std::pair<int, std::string>> Opened;
    std::vector<std::string> Options, Checks;
    bool CheckResult = false;
    bool OptionsFail = false;
};

class NewsWindowTest : public ::testing::Test {
protected:
    NewsWindowTest() {
        state.NewsFileName = dir / "whatsnew.new";
        state.CurrentProduct = "Pictavio";
        state.CheckURL = "http://news.invalid/whatsnew.ini";
        TNewsActions a;
        a.ShellOpen = [this](int mode, const std::string& t) {
            calls.Opened.emplace_back(mode, t);
            return 42;
        };
        a.ShowOptions = [this](const std::string& p) {
            calls.Options.push_back(p);
            if (calls.OptionsFail) throw somnex::EngineError("Failed to set data for 'Port'");
        };
        a.CheckWhatsNew = [this](const std::string& u) {
            calls.Checks.push_back(u);
            return calls.CheckResult;
        };
        window = std::make_unique<TNewsWindow>(state, a, store, test::kClock);
        window->NewsFile = state.NewsFileName;
        window->Attach(view);
    }
    TNewsNode* Find(const std::string& root, const std::string& text) {
        TNewsNode* r = window->Tree.FindRoot(root);
        if (!r) return nullptr;
        for (auto& c : r->Children)
            if (c->Text == text) return c.get();
        return nullptr;
    }
    // Selects and activates, as a click does.
    void Click(TNewsNode* node) {
        window->Select(node);
        window->NodeActivated(node);
    }

    somnex::test::TempFolder dir;
    std::filesystem::path store = dir / "registry.db";
    TNotifierState state;
    Calls calls;
    FakeNewsView view;
    std::unique_ptr<TNewsWindow> window;
};

TEST_F(NewsWindowTest, SizeComesFromTheStoreAndIsSavedOnClose) {
    window->FormCreate();
    EXPECT_EQ(view.Width, 500);
    EXPECT_EQ(view.Height, 420);
    window->FormClose(640, 480);
    int w = 0, h = 0;
    ReadWindowSize(w, h, store);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
}

TEST_F(NewsWindowTest, ShowLoadsTheFileAndHidesTheButtonsWithoutACheckURL) {
    WriteNews(state.NewsFileName, {Product("Pictavio")});
    state.CheckURL = "  ";
    window->FormShow();
    EXPECT_EQ(view.ButtonsVisible, 0);
    EXPECT_EQ(view.UpdateLabel, "Update Date: 2026-12-01 ");
    EXPECT_EQ(view.Page, 0);
    EXPECT_EQ(view.Trees, 1);
    EXPECT_EQ(view.Raised, 0); // modal windows are not pushed forward
    state.CheckURL = "http://news.invalid/";
    state.Modal = false;
    window->FormShow();
    EXPECT_EQ(view.ButtonsVisible, 1);
    EXPECT_EQ(view.Raised, 1);
}

TEST_F(NewsWindowTest, MissingFileShowsEmptyRootsDatedToday) {
    window->FormShow();
    EXPECT_EQ(view.UpdateLabel, "Update Date: 2026-12-10 ");
    ASSERT_EQ(window->Tree.Roots.size(), 2u);
    EXPECT_TRUE(window->Tree.Roots[0]->Children.empty());
    EXPECT_TRUE(window->Tree.Roots[1]->Children.empty());
}

TEST_F(NewsWindowTest, LinksOpenWithTheShellAndOtherNodesDoNothing) {
    WriteNews(state.NewsFileName, {Product("Pictavio"), Product("Vectavio")});
    window->FormShow();
    Click(Find("News", "2026-12-01 Pictavio 2.1 is out"));
    Click(Find("News", "2026-11-02 Autumn sale")); // no link
    Click(Find("Pictavio", "Download"));
    Click(Find("Pictavio", "Version: 2.1"));
    Click(window->Tree.FindRoot("News"));
    Click(window->Tree.FindRoot("Other Products"));
    TNewsNode* other = Find("Other Products", "Vectavio");
    Click(other);
    Click(other->Children[6].get()); // Screenshot, depth 2
    // Activation needs the node to be the selected one.
    window->Select(nullptr);
    window->NodeActivated(Find("Pictavio", "Screenshot"));
    EXPECT_EQ(calls.Opened,
              (std::vector<std::pair<int, std::string>>{{3, "http://example.invalid/news1"},
                                                        {3, "http://example.invalid/Pictavio.exe"},
                                                        {3, "http://example.invalid/Vectavio.png"}}));
    EXPECT_EQ(view.Page, 0);
}

struct TextCase {
    const char* Name;
    std::string Stored;
    bool Rich;
    std::string Shown; // plain text, or the rich document's text
};

std::ostream& operator<<(std::ostream& os, const TextCase& c) {
    return os << c.Name;
}

class NodeText : public NewsWindowTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(NodeText, ShowsOnTheSecondPage) {
    TProduct p = Product("Vectavio");
    p.Description = GetParam().Stored;
    WriteNews(state.NewsFileName, {p});
    window->FormShow();
    Click(Find("Other Products", "Vectavio")->Children.back().get());
    EXPECT_EQ(view.Caption, " Description of Vectavio");
    EXPECT_EQ(view.Page, 1);
    EXPECT_EQ(view.RichShown, GetParam().Rich ? 1 : 0);
    EXPECT_EQ(GetParam().Rich ? view.Rich.PlainText() : view.Plain, GetParam().Shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NodeText,
    ::testing::Values(TextCase{"Plain", "  Slides and music.\r\n", false, "Slides and music."},
                      TextCase{"Rtf", "{\\rtf1\\ansi {\\b Bold} text\\par}", true, "Bold text"},
                      // A blank where the backslash belongs: not rich text.
                      TextCase{"NotRtf", " {\\rtf1 \\b x}", false, "{\\rtf1 \\b x}"},
                      // Damaged rich text is shown as the text it is.
                      TextCase{"DamagedRtf", "{\\rtf1\\ansi {\\b never closed", false,
                               "{\\rtf1\\ansi {\\b never closed"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(NewsWindowTest, WhatsNewCaptionNamesTheProductAndCtrlBGoesBack) {
    WriteNews(state.NewsFileName, {Product("Pictavio")});
    window->FormShow();
    Click(Find("Pictavio", "What's New"));
    EXPECT_EQ(view.Caption, " What's new in Pictavio");
    EXPECT_EQ(view.Plain, "Faster slides.");
    EXPECT_EQ(view.Page, 1);
    EXPECT_FALSE(window->KeyDown('B', false));
    EXPECT_EQ(view.Page, 1);
    EXPECT_TRUE(window->KeyDown('B', true));
    EXPECT_EQ(view.Page, 0);
    EXPECT_TRUE(window->KeyDown('b', true)); // on page 0 it stays there
    EXPECT_EQ(view.Page, 0);
    window->Page = 1;
    view.Page = 1;
    window->Label1Click();
    EXPECT_EQ(view.Page, 0);
}

TEST_F(NewsWindowTest, RefreshReloadsOnlyWhenTheCheckFoundSomething) {
    window->FormShow();
    window->ButtonClick(TNewsButton::Refresh);
    EXPECT_EQ(view.Trees, 1);
    calls.CheckResult = true;
    window->ButtonClick(TNewsButton::Refresh);
    EXPECT_EQ(view.Trees, 2);
    EXPECT_EQ(calls.Checks, (std::vector<std::string>(2, "http://news.invalid/whatsnew.ini")));
}

TEST_F(NewsWindowTest, PropertyOpensTheSettingsAndReportsTheirErrors) {
    BoxRecorder boxes;
    window->ButtonClick(TNewsButton::Property);
    calls.OptionsFail = true;
    window->ButtonClick(TNewsButton::Property);
    EXPECT_EQ(calls.Options, (std::vector<std::string>(2, "Pictavio")));
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0],
              (test::Box{"Error", "Failed to set data for 'Port'", plat::MB_OK | plat::MB_ICONERROR}));
    window->ButtonClick(TNewsButton::Close);
    EXPECT_EQ(view.Closed, 1);
}

// The news object and ShowNewsWindow with the window replaced by a recorder.
class NewsObjectTest : public ::testing::Test {
protected:
    NewsObjectTest() {
        TCheckEnvironment env;
        env.Now = test::kClock;
        env.Store = dir / "registry.db";
        env.ShowNewsModal = [this](TNewsWindow& w) {
            w.Attach(view);
            w.FormCreate();
            w.FormShow();
            ++shown;
        };
        env.ShowParams = [this](TParamsDialog&) { ++options; };
        // No network: every check "downloads" nothing and finds the local copy.
        env.ShowProgress = [](TChkWhatsNew& c) { c.Status = "Error"; };
        InitComponent(component, env);
        component.State.NewsFileName = dir / "whatsnew.new";
    }
    somnex::test::TempFolder dir;
    TNotifierComponent component;
    FakeNewsView view;
    int shown = 0, options = 0;
};

TEST_F(NewsObjectTest, ShowNewsBeforeAnyCheckHidesTheCheckButtons) {
    WriteNews(component.State.NewsFileName, {Product("Pictavio")});
    auto* news = new TWhatNewCOM(component);
    EXPECT_TRUE(news->GetModal());
    news->ShowNews("Pictavio");
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(view.ButtonsVisible, 0);
    EXPECT_EQ(component.State.CurrentProduct, "Pictavio");
    news->CheckUpdateAndShowNews("Vectavio", "1.0", "http://news.invalid/x");
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(view.ButtonsVisible, 1);
    EXPECT_EQ(component.State.CheckURL, "http://news.invalid/x");
    EXPECT_EQ(component.State.InstalledVersion, "1.0");
    news->Release();
}

TEST_F(NewsObjectTest, TwoObjectsShareOneState) {
    auto* a = new TWhatNewCOM(component);
    auto* b = new TWhatNewCOM(component);
    a->SetModal(false);
    EXPECT_FALSE(b->GetModal());
    a->Release();
    b->Release();
}

TEST_F(NewsObjectTest, ACheckThatRaisesShowsErrorAndReturnsFalse) {
    BoxRecorder boxes;
    TProxyParam proxy;
    proxy.Enable = true;
    proxy.ProxyServer = "proxy.invalid";
    proxy.ProxyPort = "eighty";
    SaveProxyParam(proxy, component.Env.Store);
    auto* news = new TWhatNewCOM(component);
    EXPECT_FALSE(news->CheckUpdate("Pictavio", "1.0", "http://news.invalid/x"));
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Caption, "Error");
    EXPECT_EQ(boxes.Boxes[0].Flags, plat::MB_OK | plat::MB_ICONERROR);
    news->Release();
}

TEST_F(NewsObjectTest, ModelessWindowAlreadyOpenIsBroughtForwardNotReloaded) {
    struct Open : TOpenNewsWindow {
        int forward = 0;
        void BringForward() override { ++forward; }
    } open;
    component.State.Modal = false;
    component.State.OpenNewsWindow = &open;
    ShowNewsWindow(component.State, component.Env);
    EXPECT_EQ(open.forward, 1);
    EXPECT_EQ(shown, 0);
    component.State.Modal = true; // a modal call always makes its own window
    ShowNewsWindow(component.State, component.Env);
    EXPECT_EQ(shown, 1);
}

} // namespace
