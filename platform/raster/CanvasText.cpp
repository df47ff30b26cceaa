#include "platform/raster/Canvas.h"

#include "platform/raster/FontQt.h"
#include "platform/raster/QtView.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>

namespace plat {

namespace {

std::vector<QString> SplitLines(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    std::vector<QString> lines;
    for (const QString& l : t.split(QChar('\n'))) lines.push_back(l);
    // A break after the last line ends that line; it does not open another.
    if (lines.size() > 1 && lines.back().isEmpty()) lines.pop_back();
    return lines;
}

// Greedy word wrap at blanks; a single word wider than the box stays whole.
std::vector<QString> Wrap(const std::vector<QString>& lines, const QFontMetrics& fm, int width) {
    std::vector<QString> out;
    for (const QString& line : lines) {
        const QStringList words = line.split(QChar(' '));
        QString cur;
        for (const QString& w : words) {
            const QString candidate = cur.isEmpty() ? w : cur + QChar(' ') + w;
            if (!cur.isEmpty() && fm.horizontalAdvance(candidate) > width) {
                out.push_back(cur);
                cur = w;
            } else {
                cur = candidate;
            }
        }
        out.push_back(cur);
    }
    return out;
}

} // namespace

Size Canvas::TextExtent(const std::string& text) {
    const QFontMetrics fm(QtFontOf(font_));
    return {fm.horizontalAdvance(QString::fromStdString(text)), fm.height()};
}

void Canvas::TextOut(int x, int y, const std::string& text) {
    Rect r{x, y, x, y};
    DrawText(r, text, TextFlags::SingleLine | TextFlags::NoClip);
}

int Canvas::DrawText(Rect& r, const std::string& text, int flags) {
    const QFont font = QtFontOf(font_);
    const QFontMetrics fm(font);
    const int lineHeight = fm.height();
    std::vector<QString> lines;
    if (flags & TextFlags::SingleLine) {
        QString one = QString::fromStdString(text);
        one.remove(QChar('\r'));
        one.remove(QChar('\n'));
        lines.push_back(one);
    } else {
        lines = SplitLines(QString::fromStdString(text));
        if (flags & TextFlags::WordBreak) lines = Wrap(lines, fm, r.Width());
    }
    const int total = lineHeight * int(lines.size());
    if (flags & TextFlags::CalcRect) {
        int widest = 0;
        for (const QString& l : lines) widest = std::max(widest, fm.horizontalAdvance(l));
        if (!(flags & TextFlags::WordBreak)) r.Right = r.Left + widest;
        r.Bottom = r.Top + total;
        return total;
    }
    if (bmp_.Empty()) return total;

    int y = r.Top;
    if (flags & TextFlags::SingleLine) {
        if (flags & TextFlags::VCenter)
            y = r.Top + (r.Height() - lineHeight) / 2;
        else if (flags & TextFlags::Bottom)
            y = r.Bottom - lineHeight;
    }
    Region area = Region::FromRect(bmp_.ClipRect());
    if (!(flags & TextFlags::NoClip)) area.Intersect(Region::FromRect(r));
    if (clip_) area.Intersect(*clip_);
    if (area.IsEmpty()) return total;

    const bool fillCells = bkMode_ == BackgroundMode::Opaque && brush_.Style == BrushStyle::Solid;
    std::vector<std::pair<Point, const QString*>> placed;
    for (const QString& line : lines) {
        const int w = fm.horizontalAdvance(line);
        int x = r.Left;
        if (flags & TextFlags::Center)
            x = r.Left + (r.Width() - w) / 2;
        else if (flags & TextFlags::Right)
            x = r.Right - w;
        if (fillCells)
            FillSpans(area.Intersected(Region::FromRect({x, y, x + w, y + lineHeight})), brush_.BrushColor);
        placed.push_back({{x, y}, &line});
        y += lineHeight;
    }
    QImage view = QtViewOf(bmp_);
    QPainter p(&view);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setClipRegion(area.Native());
    p.setFont(font);
    p.setPen(QtColorOf(font_.FontColor));
    for (const auto& [at, line] : placed) p.drawText(QPoint(at.X, at.Y + fm.ascent()), *line);
    return total;
}

} // namespace plat
