#include "OutlinedText.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace
{

void SetTextSmoothing(QPainter &canvas, bool on)
{
    QFont font = canvas.font();
    font.setStyleStrategy(on ? QFont::PreferAntialias : QFont::NoAntialias);
    canvas.setFont(font);
    canvas.setRenderHint(QPainter::TextAntialiasing, on);
}

} // namespace

std::vector<QPoint> OutlineOffsets(int width)
{
    std::vector<QPoint> offsets;
    for (int dy = -width; dy <= width; ++dy) {
        for (int dx = -width; dx <= width; ++dx) {
            if (std::abs(dx) + std::abs(dy) > width)
                offsets.emplace_back(dx, dy);
        }
    }
    return offsets;
}

void DrawOutlinedText(QPainter &canvas, int x, int y, bool antialias, int outlineWidth,
                      const QColor &outlineColor, const QString &text)
{
    canvas.save();
    canvas.setBackgroundMode(Qt::TransparentMode);
    SetTextSmoothing(canvas, false);
    const int baseline = y + canvas.fontMetrics().ascent();
    if (outlineWidth > 0) {
        const QPen textPen = canvas.pen();
        canvas.setPen(outlineColor);
        for (const QPoint &d : OutlineOffsets(std::min(outlineWidth, KMaxOutlineWidth)))
            canvas.drawText(x + d.x(), baseline + d.y(), text);
        canvas.setPen(textPen);
        if (antialias)
            SetTextSmoothing(canvas, true);
    }
    canvas.drawText(x, baseline, text);
    canvas.restore();
}
