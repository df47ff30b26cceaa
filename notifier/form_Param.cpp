#include "notifier/form_Param.h"

#include "platform/ui/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>

#include <cstdio>

namespace heraldex {

namespace {
QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* MakeLabel(QWidget* parent, const char* text, int x, int y, QWidget* buddy = nullptr) {
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    if (buddy) l->setBuddy(buddy);
    return l;
}

QLineEdit* MakeEdit(QWidget* parent, int x, int y, int w) {
    auto* e = new QLineEdit(parent);
    e->setGeometry(x, y, w, 21);
    return e;
}

void Paint(QLineEdit* edit, TEditColor color) {
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, QGuiApplication::palette().color(
                                   color == TEditColor::Window ? QPalette::Base : QPalette::Button));
    edit->setPalette(p);
}

const char* YesNo(bool b) {
    return b ? "yes" : "no";
}
} // namespace

Tfrm_Params::Tfrm_Params(TParamsDialog& Dialog)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), dialog_(Dialog) {
    setWindowTitle("Auto-Update Options");
    setModal(true);
    setFixedSize(337, 345);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);

    PageControl1 = new QTabWidget(this);
    PageControl1->setGeometry(8, 8, 321, 297);
    auto* TabSheet1 = new QWidget;
    auto* TabSheet2 = new QWidget;
    PageControl1->addTab(TabSheet1, "&Update");
    PageControl1->addTab(TabSheet2, "&Proxy");

    auto* Label9 =
        new QLabel("Use this panel to determine how often should check for updates and to manually "
                   "check of updates.",
                   TabSheet1);
    Label9->setWordWrap(true);
    Label9->setGeometry(8, 8, 297, 40);
    MakeLabel(TabSheet1, "Last checked for updates:", 8, 56);
    Lab_LastUpdateTime = MakeLabel(TabSheet1, "", 168, 56);
    Lab_LastUpdateTime->setStyleSheet("color: red; font-weight: bold;");
    cmb_UpdateType = new QComboBox(TabSheet1);
    cmb_UpdateType->setGeometry(168, 80, 137, 21);
    for (const char* name : kUpdateTypeNames) cmb_UpdateType->addItem(name);
    MakeLabel(TabSheet1, "&Check for Updates:", 48, 80, cmb_UpdateType);
    Chk_ShowCfgDialog = new QCheckBox("&Show Auto-Update Confirmation Dialog", TabSheet1);
    Chk_ShowCfgDialog->move(8, 136);

    auto* GroupBox1 = new QGroupBox(" Proxy Paramenters ", TabSheet2);
    GroupBox1->setGeometry(8, 8, 297, 185);
    Chk_UsePServer = new QCheckBox("Use Proxy &Server", GroupBox1);
    Chk_UsePServer->move(160, 0);
    Edt_PServer = MakeEdit(GroupBox1, 88, 24, 193);
    MakeLabel(GroupBox1, "Proxy S&erver:", 8, 27, Edt_PServer);
    Edt_PPort = MakeEdit(GroupBox1, 88, 56, 41);
    MakeLabel(GroupBox1, "Proxy Por&t:", 8, 59, Edt_PPort);
    auto* GroupBox2 = new QGroupBox(" Proxy Password ", GroupBox1);
    GroupBox2->setGeometry(8, 88, 281, 89);
    Chk_UsePPwd = new QCheckBox("Use Proxy P&assword", GroupBox2);
    Chk_UsePPwd->move(152, 0);
    Edt_PUser = MakeEdit(GroupBox2, 88, 28, 121);
    MakeLabel(GroupBox2, "User &name:", 8, 31, Edt_PUser);
    Edt_PPwd = MakeEdit(GroupBox2, 88, 60, 121);
    Edt_PPwd->setEchoMode(QLineEdit::Password);
    MakeLabel(GroupBox2, "Passwo&rd:", 8, 63, Edt_PPwd);
    SBtn_GetFromIE = new QPushButton("  &Gain proxy's  paramenters from IE settings  ", TabSheet2);
    SBtn_GetFromIE->setGeometry(8, 200, 297, 25);
    SBtn_GetFromIE->setFlat(true);
    SBtn_GetFromIE->setCursor(Qt::PointingHandCursor);
    SBtn_GetFromIE->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    auto* Bevel = new QFrame(TabSheet2);
    Bevel->setFrameShape(QFrame::HLine);
    Bevel->setGeometry(8, 232, 297, 2);
    edt_httpPort = MakeEdit(TabSheet2, 88, 240, 41);
    MakeLabel(TabSheet2, "&Http Port:", 8, 243, edt_httpPort);

    BtnOK = new QPushButton("&OK", this);
    BtnOK->setGeometry(174, 312, 75, 25);
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton("&Cancel", this);
    BtnCancel->setGeometry(254, 312, 75, 25);

    connect(Chk_UsePServer, &QCheckBox::clicked, this,
            [this] { Forward([this] { dialog_.Chk_UsePServerClick(); }); });
    connect(Chk_UsePPwd, &QCheckBox::clicked, this,
            [this] { Forward([this] { dialog_.Chk_UsePPwdClick(); }); });
    connect(SBtn_GetFromIE, &QPushButton::clicked, this,
            [this] { Forward([this] { dialog_.SBtn_GetFromIEClick(); }); });
    connect(BtnOK, &QPushButton::clicked, this, [this] {
        Pull();
        try {
            dialog_.BtnOKClick();
        } catch (...) {
            // Nothing may leave a slot; the error goes to the caller once the dialog has closed.
            Error = std::current_exception();
            reject();
            return;
        }
        accept();
    });
    // Escape and the title bar's close button reach reject() as well.
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
}

void Tfrm_Params::showEvent(QShowEvent* Event) {
    QDialog::showEvent(Event);
    if (shown_) return;
    shown_ = true;
    dialog_.FormShow();
    Push();
}

template <class F>
void Tfrm_Params::Forward(F&& Handler) {
    Pull();
    Handler();
    Push();
}

void Tfrm_Params::Pull() {
    TParamsControls& c = dialog_.Controls;
    c.Page = PageControl1->currentIndex();
    c.cmb_UpdateType = cmb_UpdateType->currentIndex();
    c.Chk_ShowCfgDialog = Chk_ShowCfgDialog->isChecked();
    c.edt_httpPort = edt_httpPort->text().toStdString();
    c.Chk_UsePServer = Chk_UsePServer->isChecked();
    c.Edt_PServer = Edt_PServer->text().toStdString();
    c.Edt_PPort = Edt_PPort->text().toStdString();
    c.Chk_UsePPwd = Chk_UsePPwd->isChecked();
    c.Edt_PUser = Edt_PUser->text().toStdString();
    c.Edt_PPwd = Edt_PPwd->text().toStdString();
}

void Tfrm_Params::Push() {
    const TParamsControls& c = dialog_.Controls;
    PageControl1->setCurrentIndex(c.Page);
    Lab_LastUpdateTime->setText(Q(c.Lab_LastUpdateTime));
    Lab_LastUpdateTime->adjustSize();
    cmb_UpdateType->setCurrentIndex(c.cmb_UpdateType);
    Chk_ShowCfgDialog->setChecked(c.Chk_ShowCfgDialog);
    edt_httpPort->setText(Q(c.edt_httpPort));
    Chk_UsePServer->setChecked(c.Chk_UsePServer);
    Edt_PServer->setText(Q(c.Edt_PServer));
    Edt_PPort->setText(Q(c.Edt_PPort));
    Chk_UsePPwd->setChecked(c.Chk_UsePPwd);
    Edt_PUser->setText(Q(c.Edt_PUser));
    Edt_PPwd->setText(Q(c.Edt_PPwd));
    Edt_PServer->setEnabled(c.Edt_PServerEnabled);
    Edt_PPort->setEnabled(c.Edt_PPortEnabled);
    Chk_UsePPwd->setEnabled(c.Chk_UsePPwdEnabled);
    Edt_PUser->setEnabled(c.Edt_PUserEnabled);
    Edt_PPwd->setEnabled(c.Edt_PPwdEnabled);
    Paint(Edt_PServer, c.Edt_PServerColor);
    Paint(Edt_PPort, c.Edt_PPortColor);
    Paint(Edt_PUser, c.Edt_PUserColor);
    Paint(Edt_PPwd, c.Edt_PPwdColor);
}

void ShowParamsForm(TParamsDialog& Dialog) {
    if (plat::CurrentUiMode() == plat::UiMode::Headless || !plat::EnsureApplication()) {
        Dialog.FormShow();
        const TParamsControls& c = Dialog.Controls;
        std::printf("Auto-Update Options%s%s\n", Dialog.ProductName.empty() ? "" : " for ",
                    Dialog.ProductName.c_str());
        std::printf("  Last checked for updates: %s\n", c.Lab_LastUpdateTime.c_str());
        std::printf("  Check for Updates: %s\n",
                    c.cmb_UpdateType < 0 ? "" : kUpdateTypeNames[c.cmb_UpdateType]);
        std::printf("  Show Auto-Update Confirmation Dialog: %s\n", YesNo(c.Chk_ShowCfgDialog));
        std::printf("  Http Port: %s\n", c.edt_httpPort.c_str());
        std::printf("  Use Proxy Server: %s\n", YesNo(c.Chk_UsePServer));
        std::printf("  Proxy Server: %s\n", c.Edt_PServer.c_str());
        std::printf("  Proxy Port: %s\n", c.Edt_PPort.c_str());
        std::printf("  Use Proxy Password: %s\n", YesNo(c.Chk_UsePPwd));
        std::printf("  User name: %s\n", c.Edt_PUser.c_str());
        std::printf("  Password: %s\n", std::string(c.Edt_PPwd.size(), '*').c_str());
        std::fflush(stdout);
        return;
    }
    Tfrm_Params form(Dialog);
    form.exec();
    if (form.Error) std::rethrow_exception(form.Error);
}

} // namespace heraldex
