// One offscreen run of each real form: the widgets show the logic's state and their events
// reach it.
#include "notifier/Unit_WhatsNewComm.h"
#include "notifier/Unit_WhatsNewCommFun.h"
#include "notifier/form_News.h"
#include "notifier/form_Param.h"
#include "platform/com/ComObject.h"
#include "platform/raster/GuiApp.h"
#include "somnex/EngineError.h"
#include "tests/ini/TempFolder.h"
#include "tests/newswindow/NewsFixture.h"
#include "tests/notifiercheck/BoxRecorder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

using namespace heraldex;
using heraldex::test::Product;
using heraldex::test::WriteNews;

TEST(ParamsForm, ShowsTheSettingsAndSavesOnOk) {
    plat::EnsureGuiApplication();
    somnex::test::TempFolder dir;
    std::filesystem::path store = dir / "registry.db";
    TParamsDialog dialog(store);
    dialog.ProductName = "Pictavio";
    ReadProxyParam(dialog.ProxyParam, store);
    ReadUpdateParam("Pictavio", dialog.UpdateParam, store);
    Tfrm_Params form(dialog);
    form.show();
    EXPECT_EQ(form.windowTitle(), "Auto-Update Options");
    EXPECT_EQ(form.Lab_LastUpdateTime->text(), "2000-01-01");
    EXPECT_EQ(form.cmb_UpdateType->currentText(), "Every Month");
    EXPECT_FALSE(form.Edt_PServer->isEnabled());
    EXPECT_FALSE(form.Chk_UsePPwd->isEnabled());
    form.Chk_UsePServer->click();
    EXPECT_TRUE(form.Edt_PServer->isEnabled());
    EXPECT_TRUE(form.Chk_UsePPwd->isEnabled());
    EXPECT_FALSE(form.Edt_PUser->isEnabled());
    form.Edt_PServer->setText("proxy.invalid");
    form.Edt_PPort->setText("3128");
    form.cmb_UpdateType->setCurrentIndex(1);
    if (const char* out = std::getenv("SOMNEX_TEST_OUT")) {
        form.PageControl1->setCurrentIndex(1);
        form.grab().save(QString(out) + "/settings-dialog-proxy.png");
    }
    form.BtnOK->click();
    EXPECT_FALSE(form.isVisible());
    TProxyParam p;
    ReadProxyParam(p, store);
    EXPECT_TRUE(p.Enable);
    EXPECT_EQ(p.ProxyServer, "proxy.invalid");
    EXPECT_EQ(p.ProxyPort, "3128");
    TUpdateParam u;
    ReadUpdateParam("Pictavio", u, store);
    EXPECT_EQ(u.UpdateType, 1);
}

TEST(NewsForm, ShowsTheTreeAndTheTextsPage) {
    plat::EnsureGuiApplication();
    somnex::test::TempFolder dir;
    std::filesystem::path store = dir / "registry.db";
    SaveWindowSize(600, 450, store);
    TProduct own = Product("Pictavio");
    own.WhatsNew = "{\\rtf1\\ansi {\\b Faster} slides\\par}";
    WriteNews(dir / "whatsnew.new", {own, Product("Vectavio")});
    TNotifierState state;
    state.CurrentProduct = "Pictavio";
    state.BaseParam.HasUpdate = true;
    std::vector<std::string> opened;
    TNewsActions actions;
    actions.ShellOpen = [&](int, const std::string& t) {
        opened.push_back(t);
        return 42;
    };
    TNewsWindow window(state, actions, store, test::kClock);
    window.NewsFile = dir / "whatsnew.new";
    Tfrm_News form(window, state);
    form.show();
    EXPECT_EQ(form.windowTitle(), "What's New");
    EXPECT_EQ(form.size(), QSize(600, 450));
    EXPECT_FALSE(form.SBtn_Ref->isVisible()); // no check URL yet
    EXPECT_EQ(form.Lab_Update->text(), "Update Date: 2026-12-01 ");
    ASSERT_EQ(form.TV_WhatsNew->topLevelItemCount(), 3);
    QTreeWidgetItem* ownRoot = form.TV_WhatsNew->topLevelItem(1);
    EXPECT_EQ(ownRoot->text(0), "Pictavio");
    EXPECT_EQ(form.TV_WhatsNew->currentItem(), ownRoot);
    EXPECT_TRUE(ownRoot->isExpanded());

    QTreeWidgetItem* download = ownRoot->child(5);
    ASSERT_EQ(download->text(0), "Download");
    form.TV_WhatsNew->setCurrentItem(download);
    emit form.TV_WhatsNew->itemClicked(download, 0);
    EXPECT_EQ(opened, (std::vector<std::string>{"http://example.invalid/Pictavio.exe"}));
    // Enter in the tree activates the selected node too.
    form.TV_WhatsNew->setCurrentItem(ownRoot->child(6));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(form.TV_WhatsNew, &enter);
    EXPECT_EQ(opened.back(), "http://example.invalid/Pictavio.png");

    QTreeWidgetItem* whatsNew = ownRoot->child(7);
    form.TV_WhatsNew->setCurrentItem(whatsNew);
    emit form.TV_WhatsNew->itemClicked(whatsNew, 0);
    EXPECT_EQ(form.Notebook1->currentIndex(), 1);
    EXPECT_EQ(form.Panel_ProductNew->text(), " What's new in Pictavio");
    EXPECT_EQ(form.re_WhatNew->toPlainText(), "Faster slides");
    QTextCharFormat first = form.re_WhatNew->document()->begin().begin().fragment().charFormat();
    EXPECT_EQ(first.fontWeight(), QFont::Bold);
    // For a person to look at: both pages as drawn.
    if (const char* out = std::getenv("SOMNEX_TEST_OUT")) {
        form.grab().save(QString(out) + "/news-window-text.png");
        form.Notebook1->setCurrentIndex(0);
        form.grab().save(QString(out) + "/news-window-tree.png");
        form.Notebook1->setCurrentIndex(1);
    }

    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(form.Label1, &release);
    EXPECT_EQ(form.Notebook1->currentIndex(), 0);

    form.resize(700, 500);
    QCoreApplication::sendPostedEvents(); // the layout's resizes
    EXPECT_EQ(form.BtnClose->geometry().topLeft(), QPoint(form.Panel1->width() - 75 - 5, 0));
    form.BtnClose->click();
    EXPECT_FALSE(form.isVisible());
    int w = 0, h = 0;
    ReadWindowSize(w, h, store);
    EXPECT_EQ(w, 700);
    EXPECT_EQ(h, 500);
}

} // namespace

namespace {

// Makes the store refuse to store the named value, as a full or broken disk would.
void RefuseValue(const std::filesystem::path& store, const std::string& name) {
    { plat::Registry create(plat::HKEY_CURRENT_USER, store); }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(store.c_str(), &db), SQLITE_OK);
    std::string sql = "CREATE TRIGGER refuse_value BEFORE INSERT ON registry_values WHEN NEW.name = '" +
                      name + "' COLLATE NOCASE BEGIN SELECT RAISE(ABORT, 'refused'); END";
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK);
}

// The real windows through ShowNewsWindow and ShowOptionsDialog. A scripted message-box handler
// puts the platform layer in scripted mode, where real (offscreen) windows are made.
class RealWindows : public ::testing::Test {
protected:
    RealWindows() {
        plat::EnsureGuiApplication();
        env.Now = test::kClock;
        env.Store = dir / "registry.db";
        state.NewsFileName = dir / "whatsnew.new";
        state.CurrentProduct = "Pictavio";
        WriteNews(state.NewsFileName, {Product("Pictavio")});
    }
    static std::vector<Tfrm_News*> NewsForms() {
        std::vector<Tfrm_News*> out;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = dynamic_cast<Tfrm_News*>(w); f && f->isVisible()) out.push_back(f);
        return out;
    }
    heraldex::test::BoxRecorder boxes;
    somnex::test::TempFolder dir;
    TCheckEnvironment env;
    TNotifierState state;
};

TEST_F(RealWindows, ModelessWindowStaysOpenKeepsTheLibraryAndFreesItselfOnClose) {
    state.Modal = false;
    ShowNewsWindow(state, env);
    ASSERT_EQ(NewsForms().size(), 1u);
    EXPECT_NE(state.OpenNewsWindow, nullptr);
    EXPECT_FALSE(plat::ModuleCounts::CanUnload());
    ShowNewsWindow(state, env); // brought forward, not a second window
    ASSERT_EQ(NewsForms().size(), 1u);
    NewsForms()[0]->resize(610, 430);
    NewsForms()[0]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(state.OpenNewsWindow, nullptr);
    EXPECT_TRUE(plat::ModuleCounts::CanUnload());
    int w = 0, h = 0;
    ReadWindowSize(w, h, env.Store);
    EXPECT_EQ(w, 610);
    EXPECT_EQ(h, 430);
}

TEST_F(RealWindows, ModalWindowReturnsWhenClosedAndIsForgotten) {
    bool sawWindow = false;
    QTimer::singleShot(0, [&] {
        auto forms = NewsForms();
        sawWindow = forms.size() == 1 && state.OpenNewsWindow != nullptr;
        for (Tfrm_News* f : forms) f->BtnClose->click();
    });
    ShowNewsWindow(state, env);
    EXPECT_TRUE(sawWindow);
    EXPECT_EQ(state.OpenNewsWindow, nullptr);
    EXPECT_TRUE(NewsForms().empty());
}

TEST_F(RealWindows, ARefusedSaveClosesTheDialogAndReachesTheCaller) {
    RefuseValue(env.Store, "ProxyServer");
    QTimer::singleShot(0, [] {
        if (auto* form = dynamic_cast<Tfrm_Params*>(QApplication::activeModalWidget())) form->BtnOK->click();
    });
    try {
        ShowOptionsDialog("Pictavio", env);
        ADD_FAILURE() << "the refused value was not reported";
    } catch (const somnex::EngineError& e) {
        EXPECT_EQ(std::string(e.what()), "Failed to set data for 'ProxyServer'");
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
