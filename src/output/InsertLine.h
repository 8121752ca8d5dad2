#pragma once

#include <QFontMetrics>
#include <QPoint>
#include <QString>

#include <array>
#include <vector>

// How an inlay line sits against the inlay's anchor point.
enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// One line of the inlay: its text, whether it is shown and its alignment.
struct TInsertLine {
    QString Text;
    bool Visible = false;
    TAlignment Alignment = taLeftJustify;
};

inline constexpr int KInsertLineCount = 8;
using TInsertLines = std::array<TInsertLine, KInsertLineCount>;

// A visible line and the top-left corner of its text cell on the inlay bitmap.
struct TPlacedLine {
    int index;
    QPoint topLeft;
    friend bool operator==(const TPlacedLine &, const TPlacedLine &) = default;
};

// Stacks the visible lines downwards from `anchor`, each one text height below the previous
// (hidden lines take no room): a left-aligned line starts at the anchor, a right-aligned one
// ends there and a centred one is centred on it. Every cell is moved by `outlineWidth` right and
// down, so the outline of the first line stays inside the anchor's quadrant.
std::vector<TPlacedLine> PlaceInsertLines(const TInsertLines &lines, const QFontMetrics &metrics,
                                          const QPoint &anchor, int outlineWidth);
