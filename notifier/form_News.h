#pragma once
// Tfrm_News: the news window. It draws TNewsWindow's tree and pages and forwards its events.
#include "notifier/NewsWindow.h"

#include <QDialog>

#include <exception>
#include <memory>

class QFrame;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTextEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace heraldex {

class TRoundRectBox;

class Tfrm_News : public QDialog, public TNewsView, public TOpenNewsWindow {
public:
    // Owned: the window frees the logic with itself (a modeless window frees itself on close).
    Tfrm_News(std::unique_ptr<TNewsWindow> Window, TNotifierState& State);
    // Borrowed: the caller keeps the logic.
    Tfrm_News(TNewsWindow& Window, TNotifierState& State);
    ~Tfrm_News() override;

    void SetSize(int Width, int Height) override;
    void ShowTree(const TNewsTree& Tree) override;
    void SetUpdateLabel(const std::string& Text) override;
    void SetPage(int Page) override;
    void SetButtonsVisible(bool Visible) override;
    void SetProductCaption(const std::string& Text) override;
    void ShowPlainText(const std::string& Text) override;
    void ShowRichText(const TRichDocument& Document) override;
    void BringToFront() override;
    void CloseWindow() override;
    void BringForward() override { BringToFront(); }

    TNewsWindow& Window() { return window_; }
    TNewsNode* NodeOf(QTreeWidgetItem* Item) const;

    QLabel* Lab_Update;
    QStackedWidget* Notebook1;
    QTreeWidget* TV_WhatsNew;
    QLabel* Panel_ProductNew;
    QTextEdit* re_WhatNew;
    QLabel* Label1;
    QToolButton* SBtn_Propertiy;
    QToolButton* SBtn_Ref;
    QPushButton* BtnClose;
    QFrame* Panel1;

    // An error while the window loads its news closes it; the caller raises it.
    std::exception_ptr Error;

protected:
    void showEvent(QShowEvent* Event) override;
    // Every way of closing (the button, Escape, the title bar) ends here.
    void done(int Result) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void Build();

    std::unique_ptr<TNewsWindow> owned_;
    TNewsWindow& window_;
    TNotifierState& state_;
    bool shown_ = false;
    bool building_ = false;
};

// The 18 by 18 tree pictures, drawn in code.
QPixmap NewsTreeImage(int Index);

} // namespace heraldex
