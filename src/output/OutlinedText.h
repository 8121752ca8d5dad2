#pragma once

#include <QColor>
#include <QPoint>
#include <QString>

#include <vector>

class QPainter;

inline constexpr int KMaxOutlineWidth = 32;

// The offsets at which the outline copies of a text are drawn for an outline `width` pixels wide:
// those of the square of side 2 * width + 1 that lie outside its inscribed diamond
// (|dx| + |dy| > width), row by row from the top. None for a width of 0 or less.
std::vector<QPoint> OutlineOffsets(int width);

// Draws `text` with the top-left corner of its cell at (x, y), in the painter's font and pen
// colour, over whatever the painter's device holds (no background). With an outline width above
// 0, copies of the text in `outlineColor` are drawn first at the OutlineOffsets; widths above
// KMaxOutlineWidth are drawn as that width, as the copies grow with the square of the width. Outline copies
// are always drawn without antialiasing, and so is the text itself unless there is an outline and
// `antialias` is set: the text's soft edges then only ever blend into the outline, never into the
// colour key around it. The painter's state is left as it was.
void DrawOutlinedText(QPainter &canvas, int x, int y, bool antialias, int outlineWidth,
                      const QColor &outlineColor, const QString &text);
