#include "InsertLine.h"

std::vector<TPlacedLine> PlaceInsertLines(const TInsertLines &lines, const QFontMetrics &metrics,
                                          const QPoint &anchor, int outlineWidth)
{
    std::vector<TPlacedLine> placed;
    int y = 0;
    for (int i = 0; i < KInsertLineCount; ++i) {
        const TInsertLine &line = lines[size_t(i)];
        if (!line.Visible)
            continue;
        const int width = metrics.horizontalAdvance(line.Text);
        const int x = line.Alignment == taRightJustify ? -width
                      : line.Alignment == taCenter     ? -(width / 2)
                                                       : 0;
        placed.push_back({i, anchor + QPoint(x + outlineWidth, y + outlineWidth)});
        y += metrics.height();
    }
    return placed;
}
