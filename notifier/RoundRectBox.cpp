#include "notifier/RoundRectBox.h"

#include <QPainter>
#include <QPalette>

namespace heraldex {

QRect MainCtrlRect(int Width, int Height, const TOutLine& o, TMarginStyle Margin, int Offset) {
    int inset, w, h;
    if (Margin == TMarginStyle::ms_Mini) {
        inset = o.LineWidth + o.LineArcWidth / 4;
        w = Width - o.LineArcWidth / 2 - 2 * o.LineWidth;
        h = Height - o.LineArcWidth / 2 - 2 * o.LineWidth;
    } else {
        inset = o.LineArcWidth / 2;
        w = Width - o.LineArcWidth;
        h = Height - o.LineArcWidth;
    }
    return QRect(inset - Offset, inset - Offset, w + 2 * Offset, h + 2 * Offset);
}

TCustomRoundRectBox::TCustomRoundRectBox(QWidget* Parent)
    : QWidget(Parent), boxColor_(palette().color(QPalette::Base)) {
    if (outLine_.LineWidth <= 0) outLine_.LineWidth = 1;
}

void TCustomRoundRectBox::SetBoxColor(const QColor& Color) {
    boxColor_ = Color;
    repaint();
}

void TCustomRoundRectBox::SetOutLine(const TOutLine& OutLine) {
    outLine_ = OutLine;
    UpdateWH();
    update();
}

void TCustomRoundRectBox::SetMargin(TMarginStyle Margin) {
    margin_ = Margin;
    UpdateWH();
}

void TCustomRoundRectBox::SetOffset(int Offset) {
    offset_ = Offset;
    UpdateWH();
}

void TCustomRoundRectBox::SetMainCtrl(QWidget* Control) {
    mainCtrl_ = Control;
    if (mainCtrl_ && mainCtrl_->parentWidget() != this) mainCtrl_->setParent(this);
    UpdateWH();
}

void TCustomRoundRectBox::UpdateWH() {
    if (mainCtrl_) mainCtrl_->setGeometry(MainCtrlRect(width(), height(), outLine_, margin_, offset_));
}

void TCustomRoundRectBox::resizeEvent(QResizeEvent*) {
    UpdateWH();
}

void TCustomRoundRectBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setBrush(boxColor_);
    p.setPen(QPen(outLine_.LineColor, outLine_.LineWidth));
    const int lw = outLine_.LineWidth;
    if (outLine_.LineArcWidth > 0) {
        p.setRenderHint(QPainter::Antialiasing);
        QRectF r(lw, lw, width() - 2 * lw, height() - 2 * lw);
        p.drawRoundedRect(r, outLine_.LineArcWidth / 2.0, outLine_.LineArcWidth / 2.0);
    } else {
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

} // namespace heraldex
