#pragma once
// TFrmCumtomBuildScr: the small modal progress dialog both builds run in. It only shows what the
// build reports (two bars with texts, the media counts, an animation) and forwards Cancel; the
// build itself is a plain TCustomBuild that outlives the dialog.
#include "engine/compiler/BuildProgress.h"
#include "engine/compiler/CustomBuild.h"

#include <QDialog>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace somnex {

// The 72 x 72 animation shown during a build: a film strip running past a lens, drawn in code.
class TBuildAnimation : public QWidget {
public:
    explicit TBuildAnimation(QWidget* Parent);
    // Starts the loop and then calls OnStart once per start.
    void Start(const std::function<void()>& OnStart);
    void Stop();
    bool Active() const;
    int Frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QTimer* timer_;
    int frame_ = 0;
};

class TFrmCumtomBuildScr : public QDialog, public TBuildProgress {
public:
    explicit TFrmCumtomBuildScr(TCustomBuild& Build);
    ~TFrmCumtomBuildScr() override;

    // Shows the dialog modally; the build starts once it is on screen and the dialog closes when
    // the build ends. The result is the build's Success.
    bool ShowModal();

    void SetMaximum(int Bar, int Maximum) override;
    void SetProgress(int Bar, int Position, const std::string& Text) override;
    void SetReport(const std::string& Text) override;
    void SetBusy(bool Busy) override;
    bool ProcessMessages() override;

    TCustomBuild& Build;

    QWidget* Panel1;
    TBuildAnimation* Animate1;
    QWidget* Panel2;
    QLabel* Lab_TotalStep;
    QProgressBar* PgBar_TotalStep;
    QLabel* Lab_CurStep;
    QProgressBar* PgBar_CurStep;
    QWidget* Bevel1;
    QLabel* Lab_Rpt;
    QPushButton* Btn_Cancel;

protected:
    void showEvent(QShowEvent* Event) override;
    // While the build runs, closing counts as Cancel: the dialog closes when the build has ended,
    // so the build never works on freed objects.
    void closeEvent(QCloseEvent* Event) override;
    void reject() override;

private:
    void runBuild();

    bool started_ = false;
    bool busy_ = false;
    TBuildProgressTee watchers_;
};

// A build where no widget can be shown (the host runs a non-widget application): the same
// build, watched by the terminal and the test hook only.
bool RunBuildWithoutDialog(TCustomBuild& Build);

} // namespace somnex
