#pragma once
// Tfrm_ChkWhatsNew: the small tool window shown while the news file downloads. It only shows
// what TChkWhatsNew asks for and forwards its events.
#include "notifier/ChkWhatsNew.h"

#include <QDialog>
#include <QWidget>

class QLabel;
class QTimer;

namespace heraldex {

// A globe with a beam turning round it, drawn in code in place of the old AVI clip.
class TCheckAnimation : public QWidget {
public:
    explicit TCheckAnimation(QWidget* Parent);
    void Play();
    void Stop();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QTimer* frames_;
    int frame_ = 0;
};

class Tfrm_ChkWhatsNew : public QDialog, public TChkWhatsNewView {
public:
    explicit Tfrm_ChkWhatsNew(TChkWhatsNew& Check);
    ~Tfrm_ChkWhatsNew() override;

    void SetTip(const std::string& Text) override;
    void SetBusyCursor(bool Busy) override;
    void StartAnimation() override;
    void StopAnimation() override;
    void StartTimer(int Milliseconds) override;
    void StopTimer() override;
    void CloseWindow() override;
    void ProcessMessages() override;

    TCheckAnimation* Animate1;
    QLabel* Lab_Tip;
    QTimer* Timer1;

protected:
    void showEvent(QShowEvent* Event) override;
    void closeEvent(QCloseEvent* Event) override;
    void reject() override;

private:
    TChkWhatsNew& check_;
    bool shown_ = false;
    bool busyCursor_ = false;
};

// Shows the window modally for Check and returns once it has closed; without a widget
// application the check runs windowless.
void ShowChkWhatsNew(TChkWhatsNew& Check);

} // namespace heraldex
