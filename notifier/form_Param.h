#pragma once
// Tfrm_Params: the connection settings dialog. It mirrors TParamsDialog's control record in its
// widgets and forwards its events.
#include "notifier/ParamsDialog.h"

#include <QDialog>

#include <exception>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace heraldex {

class Tfrm_Params : public QDialog {
public:
    explicit Tfrm_Params(TParamsDialog& Dialog);

    QTabWidget* PageControl1;
    QLabel* Lab_LastUpdateTime;
    QComboBox* cmb_UpdateType;
    QCheckBox* Chk_ShowCfgDialog;
    QCheckBox* Chk_UsePServer;
    QLineEdit* Edt_PServer;
    QLineEdit* Edt_PPort;
    QCheckBox* Chk_UsePPwd;
    QLineEdit* Edt_PUser;
    QLineEdit* Edt_PPwd;
    QPushButton* SBtn_GetFromIE;
    QLineEdit* edt_httpPort;
    QPushButton* BtnOK;
    QPushButton* BtnCancel;

    // An error of OK (the registry refused a value) closes the dialog; the caller raises it.
    std::exception_ptr Error;

protected:
    void showEvent(QShowEvent* Event) override;

private:
    void Pull(); // widgets into the record
    void Push(); // the record into the widgets
    template <class F>
    void Forward(F&& Handler);

    TParamsDialog& dialog_;
    bool shown_ = false;
};

// Shows Dialog modally and returns when it has closed. Headless, the dialog is printed on stdout
// and closed as by Cancel.
void ShowParamsForm(TParamsDialog& Dialog);

} // namespace heraldex
