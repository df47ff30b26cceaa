#pragma once
// TRoundRectBox: a container that paints a rounded box and places its one main control inside
// the rounded corners.
#include <QColor>
#include <QRect>
#include <QWidget>

namespace heraldex {

enum class TMarginStyle { ms_Mini, ms_Normal };

struct TOutLine {
    QColor LineColor = Qt::black;
    int LineWidth = 1;
    int LineArcWidth = 15;
};

// Where the main control goes in a client area of Width by Height.
QRect MainCtrlRect(int Width, int Height, const TOutLine& OutLine, TMarginStyle Margin, int Offset);

class TCustomRoundRectBox : public QWidget {
public:
    explicit TCustomRoundRectBox(QWidget* Parent = nullptr);

    QColor BoxColor() const { return boxColor_; }
    void SetBoxColor(const QColor& Color);
    const TOutLine& OutLine() const { return outLine_; }
    void SetOutLine(const TOutLine& OutLine);
    TMarginStyle Margin() const { return margin_; }
    void SetMargin(TMarginStyle Margin);
    int Offset() const { return offset_; }
    void SetOffset(int Offset);
    QWidget* MainCtrl() const { return mainCtrl_; }
    void SetMainCtrl(QWidget* Control);
    // Places the main control again for the current size.
    void UpdateWH();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    QColor boxColor_;
    TOutLine outLine_;
    TMarginStyle margin_ = TMarginStyle::ms_Normal;
    int offset_ = 0;
    QWidget* mainCtrl_ = nullptr;
};

class TRoundRectBox : public TCustomRoundRectBox {
public:
    using TCustomRoundRectBox::TCustomRoundRectBox;
};

} // namespace heraldex
