#include "notifier/form_News.h"

#include "notifier/RoundRectBox.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace heraldex {

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QFont ArialBold16() {
    QFont f("Arial");
    f.setPixelSize(16);
    f.setBold(true);
    return f;
}

Qt::Alignment AlignOf(TRichAlign a) {
    switch (a) {
    case TRichAlign::Center:
        return Qt::AlignHCenter;
    case TRichAlign::Right:
        return Qt::AlignRight;
    case TRichAlign::Justify:
        return Qt::AlignJustify;
    default:
        return Qt::AlignLeft;
    }
}

TRoundRectBox* Framed(QWidget* child, const QColor& box, const QColor& line, int arc) {
    auto* r = new TRoundRectBox;
    r->SetBoxColor(box);
    r->SetOutLine({line, 1, arc});
    r->SetMargin(TMarginStyle::ms_Normal);
    r->SetMainCtrl(child);
    return r;
}
} // namespace

QPixmap NewsTreeImage(int Index) {
    // Colour and letter per meaning: news, description, own product, other products, detail,
    // shareware, freeware, download, screenshot, what's new, product, package, plug-in, skins,
    // images, program, news item.
    static const struct {
        QRgb color;
        char letter;
    } look[kNewsImageCount] = {
        {0xd04020, 'N'}, {0x4060c0, 'D'}, {0x20a040, 'P'}, {0x808080, 'O'}, {0xb0b0b0, 'i'}, {0xe09000, '$'},
        {0x30b030, 'F'}, {0x2080e0, 'v'}, {0x9040c0, 'S'}, {0xe05080, 'W'}, {0x4070a0, 'P'}, {0x806040, 'K'},
        {0x20a0a0, '+'}, {0xc060c0, 'K'}, {0x60a020, 'I'}, {0x505050, 'X'}, {0xe06020, '*'}};
    QPixmap pm(18, 18);
    pm.fill(Qt::transparent);
    if (Index < 0 || Index >= kNewsImageCount) return pm;
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor::fromRgb(look[Index].color));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, 16, 16), 4, 4);
    p.setPen(Qt::white);
    QFont f("Arial");
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 18, 18), Qt::AlignCenter, QString(QChar(look[Index].letter)));
    return pm;
}

Tfrm_News::Tfrm_News(std::unique_ptr<TNewsWindow> Window, TNotifierState& State)
    : owned_(std::move(Window)), window_(*owned_), state_(State) {
    Build();
}

Tfrm_News::Tfrm_News(TNewsWindow& Window, TNotifierState& State) : window_(Window), state_(State) {
    Build();
}

Tfrm_News::~Tfrm_News() {
    // The children go after the logic an owning window frees; they must not call it then.
    TV_WhatsNew->disconnect(this);
    if (state_.OpenNewsWindow == this) state_.OpenNewsWindow = nullptr;
}

void Tfrm_News::Build() {
    setWindowTitle("What's New");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    const QColor tip = QGuiApplication::palette().color(QPalette::ToolTipBase);
    const QColor base = QGuiApplication::palette().color(QPalette::Base);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2);
    auto* panel_Main = new QFrame;
    panel_Main->setFrameShape(QFrame::StyledPanel);
    auto* mainRow = new QHBoxLayout(panel_Main);
    mainRow->setContentsMargins(2, 2, 2, 2);
    auto* Panel_Left = new QWidget;
    Panel_Left->setFixedWidth(36);
    auto* Image1 = new QLabel(Panel_Left);
    Image1->setGeometry(2, 8, 32, 32);
    Image1->setPixmap(NewsTreeImage(imgNewsRoot).scaled(32, 32));
    mainRow->addWidget(Panel_Left);

    Notebook1 = new QStackedWidget;
    Notebook1->setAutoFillBackground(true);
    QPalette tipPalette = Notebook1->palette();
    tipPalette.setColor(QPalette::Window, tip);
    Notebook1->setPalette(tipPalette);
    mainRow->addWidget(Framed(Notebook1, tip, Qt::gray, 21), 1);

    // Page 0, "What's New".
    auto* page0 = new QWidget;
    auto* col0 = new QVBoxLayout(page0);
    col0->setContentsMargins(0, 0, 0, 0);
    auto* Panel4 = new QWidget;
    Panel4->setFixedHeight(34);
    auto* title = new QLabel("  What's New ...", Panel4);
    title->setFont(ArialBold16());
    title->setGeometry(0, 0, 300, 24);
    auto* panel4Row = new QVBoxLayout(Panel4);
    panel4Row->setContentsMargins(0, 0, 4, 0);
    Lab_Update = new QLabel;
    QFont small("Microsoft Sans Serif");
    small.setPixelSize(10);
    Lab_Update->setFont(small);
    panel4Row->addStretch();
    panel4Row->addWidget(Lab_Update, 0, Qt::AlignRight | Qt::AlignBottom);
    col0->addWidget(Panel4);
    TV_WhatsNew = new QTreeWidget;
    TV_WhatsNew->setHeaderHidden(true);
    TV_WhatsNew->setFrameShape(QFrame::NoFrame);
    TV_WhatsNew->setIndentation(21);
    TV_WhatsNew->setMouseTracking(true);
    TV_WhatsNew->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TV_WhatsNew->setIconSize(QSize(18, 18));
    TV_WhatsNew->installEventFilter(this);
    col0->addWidget(Framed(TV_WhatsNew, base, Qt::lightGray, 9), 1);
    Notebook1->addWidget(page0);

    // Page 1, "Comment".
    auto* page1 = new QWidget;
    auto* col1 = new QVBoxLayout(page1);
    col1->setContentsMargins(0, 0, 0, 0);
    Panel_ProductNew = new QLabel;
    Panel_ProductNew->setFixedHeight(34);
    Panel_ProductNew->setFont(ArialBold16());
    col1->addWidget(Panel_ProductNew);
    re_WhatNew = new QTextEdit;
    re_WhatNew->setReadOnly(true);
    re_WhatNew->setFrameShape(QFrame::NoFrame);
    re_WhatNew->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    re_WhatNew->setTabChangesFocus(false);
    re_WhatNew->setFocusPolicy(Qt::ClickFocus);
    col1->addWidget(Framed(re_WhatNew, base, Qt::lightGray, 9), 1);
    Label1 = new QLabel("Back (Ctrl + B) ");
    Label1->setAlignment(Qt::AlignHCenter);
    Label1->setStyleSheet("color: blue;");
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);
    col1->addWidget(Label1);
    Notebook1->addWidget(page1);
    outer->addWidget(panel_Main, 1);

    // Panel1, the bottom bar.
    Panel1 = new QFrame;
    Panel1->setFixedHeight(32);
    Panel1->setLineWidth(2);
    SBtn_Propertiy = new QToolButton(Panel1);
    SBtn_Propertiy->setAutoRaise(true);
    SBtn_Propertiy->setGeometry(8, 2, 24, 24);
    SBtn_Propertiy->setToolTip("Property");
    SBtn_Propertiy->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    SBtn_Propertiy->setCursor(Qt::PointingHandCursor);
    SBtn_Ref = new QToolButton(Panel1);
    SBtn_Ref->setAutoRaise(true);
    SBtn_Ref->setGeometry(40, 2, 24, 24);
    SBtn_Ref->setToolTip("Refresh");
    SBtn_Ref->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    SBtn_Ref->setCursor(Qt::PointingHandCursor);
    BtnClose = new QPushButton("&Close", Panel1);
    BtnClose->setFixedSize(75, 25);
    BtnClose->setAutoDefault(false);
    Panel1->installEventFilter(this);
    outer->addWidget(Panel1);

    connect(SBtn_Propertiy, &QToolButton::clicked, this,
            [this] { window_.ButtonClick(TNewsButton::Property); });
    connect(SBtn_Ref, &QToolButton::clicked, this, [this] { window_.ButtonClick(TNewsButton::Refresh); });
    connect(BtnClose, &QPushButton::clicked, this, [this] { window_.ButtonClick(TNewsButton::Close); });
    connect(TV_WhatsNew, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!building_) window_.Select(NodeOf(item));
    });
    connect(TV_WhatsNew, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { window_.NodeActivated(NodeOf(item)); });
    auto* back = new QShortcut(QKeySequence("Ctrl+B"), this);
    back->setContext(Qt::WindowShortcut);
    connect(back, &QShortcut::activated, this, [this] { window_.KeyDown('B', true); });

    window_.Attach(*this);
    window_.FormCreate();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
}

TNewsNode* Tfrm_News::NodeOf(QTreeWidgetItem* Item) const {
    return Item ? reinterpret_cast<TNewsNode*>(Item->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}

void Tfrm_News::SetSize(int Width, int Height) {
    resize(Width, Height);
}

void Tfrm_News::ShowTree(const TNewsTree& Tree) {
    building_ = true;
    TV_WhatsNew->clear();
    QTreeWidgetItem* selected = nullptr;
    std::function<void(const TNewsNode&, QTreeWidgetItem*)> add = [&](const TNewsNode& node,
                                                                      QTreeWidgetItem* parent) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TV_WhatsNew);
        item->setText(0, Q(node.Text));
        item->setIcon(0, QIcon(NewsTreeImage(node.Image)));
        item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(&node)));
        if (&node == Tree.Selected) selected = item;
        for (const auto& child : node.Children) add(*child, item);
        item->setExpanded(node.Expanded);
    };
    for (const auto& root : Tree.Roots) add(*root, nullptr);
    TV_WhatsNew->setCurrentItem(selected);
    if (!selected) TV_WhatsNew->clearSelection();
    building_ = false;
}

void Tfrm_News::SetUpdateLabel(const std::string& Text) {
    Lab_Update->setText(Q(Text));
}

void Tfrm_News::SetPage(int Page) {
    Notebook1->setCurrentIndex(Page);
}

void Tfrm_News::SetButtonsVisible(bool Visible) {
    SBtn_Ref->setVisible(Visible);
    SBtn_Propertiy->setVisible(Visible);
}

void Tfrm_News::SetProductCaption(const std::string& Text) {
    Panel_ProductNew->setText(Q(Text));
}

void Tfrm_News::ShowPlainText(const std::string& Text) {
    re_WhatNew->clear();
    re_WhatNew->setCurrentFont(font());
    re_WhatNew->setPlainText(Q(Text));
}

void Tfrm_News::ShowRichText(const TRichDocument& Document) {
    re_WhatNew->clear();
    QTextCursor cursor(re_WhatNew->document());
    bool first = true;
    for (const TRichParagraph& para : Document.Paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(AlignOf(para.Align));
        if (first)
            cursor.setBlockFormat(block);
        else
            cursor.insertBlock(block);
        first = false;
        for (const TRichRun& run : para.Runs) {
            QTextCharFormat f;
            f.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
            f.setFontItalic(run.Italic);
            f.setFontUnderline(run.Underline);
            f.setFontPointSize(run.HalfPoints / 2.0);
            if (run.Color >= 0) f.setForeground(QColor::fromRgb(static_cast<QRgb>(run.Color)));
            if (!run.FontName.empty()) f.setFontFamilies({Q(run.FontName)});
            QString text = Q(run.Text);
            text.replace(QChar('\n'), QChar::LineSeparator);
            cursor.insertText(text, f);
        }
    }
    re_WhatNew->moveCursor(QTextCursor::Start);
}

void Tfrm_News::BringToFront() {
    show();
    raise();
    activateWindow();
}

void Tfrm_News::CloseWindow() {
    close();
}

void Tfrm_News::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (shown_) return;
    shown_ = true;
    try {
        window_.FormShow();
    } catch (...) {
        Error = std::current_exception();
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void Tfrm_News::done(int Result) {
    window_.FormClose(width(), height());
    QDialog::done(Result);
}

bool Tfrm_News::eventFilter(QObject* Watched, QEvent* Event) {
    if (Watched == TV_WhatsNew && Event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(Event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            window_.NodeActivated(NodeOf(TV_WhatsNew->currentItem()));
            return true;
        }
    }
    if (Watched == Panel1 && Event->type() == QEvent::Resize) {
        BtnClose->move(Panel1->width() - BtnClose->width() - 5, 0);
        return false;
    }
    if (Watched == Label1 && Event->type() == QEvent::MouseButtonRelease) {
        window_.Label1Click();
        return true;
    }
    return QDialog::eventFilter(Watched, Event);
}

} // namespace heraldex
