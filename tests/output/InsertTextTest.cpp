#include "output/InsertLine.h"
#include "output/OutlinedText.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <set>

namespace
{

QFont TestFont(int pixels)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

TInsertLines Lines(std::initializer_list<TInsertLine> given)
{
    TInsertLines lines;
    std::copy(given.begin(), given.end(), lines.begin());
    return lines;
}

} // namespace

TEST(InsertLines, CentredLinesStackDownFromTheAnchorMovedByTheOutline)
{
    // The anchor (5000, 8200) ten-thousandths of a 720 x 576 picture is (360, 472).
    const QFontMetrics metrics(TestFont(27));
    const TInsertLines lines =
        Lines({{"12:34:56:07", true, taCenter}, {"A longer second line", true, taCenter}});
    const int border = 2;
    const std::vector<TPlacedLine> placed = PlaceInsertLines(lines, metrics, QPoint(360, 472), border);
    ASSERT_EQ(placed.size(), 2u);
    for (const TPlacedLine &line : placed) {
        const int width = metrics.horizontalAdvance(lines[size_t(line.index)].Text);
        EXPECT_EQ(line.topLeft.x() + width / 2, 360 + border) << "line " << line.index << " is centred";
    }
    EXPECT_EQ(placed[0].topLeft.y(), 472 + border);
    EXPECT_EQ(placed[1].topLeft.y(), 472 + border + metrics.height());
}

TEST(InsertLines, HiddenLinesTakeNoRoomAndAlignmentsPlaceTheCell)
{
    const QFontMetrics metrics(TestFont(20));
    const TInsertLines lines = Lines({
        {"left", true, taLeftJustify},
        {"", false, taLeftJustify}, // an empty pattern hides its line
        {"right", true, taRightJustify},
        {"hidden text", false, taCenter},
        {"centre", true, taCenter},
    });
    const int h = metrics.height();
    const std::vector<TPlacedLine> expected = {
        {0, QPoint(100, 50)},
        {2, QPoint(100 - metrics.horizontalAdvance("right"), 50 + h)},
        {4, QPoint(100 - metrics.horizontalAdvance("centre") / 2, 50 + 2 * h)},
    };
    EXPECT_EQ(PlaceInsertLines(lines, metrics, QPoint(100, 50), 0), expected);
    EXPECT_TRUE(PlaceInsertLines(TInsertLines{}, metrics, QPoint(100, 50), 0).empty()) << "nothing visible";
}

TEST(OutlinedText, OutlineCopiesSitOutsideTheDiamond)
{
    EXPECT_TRUE(OutlineOffsets(0).empty());
    EXPECT_TRUE(OutlineOffsets(-3).empty());
    const std::vector<QPoint> one = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    EXPECT_EQ(OutlineOffsets(1), one) << "the four diagonal neighbours";
    const std::vector<QPoint> two = OutlineOffsets(2);
    ASSERT_EQ(two.size(), 12u);
    const std::vector<QPoint> firstRow = {{-2, -2}, {-1, -2}, {1, -2}, {2, -2}};
    EXPECT_EQ(std::vector<QPoint>(two.begin(), two.begin() + 4), firstRow) << "top row first, left to right";
    for (const QPoint &d : two)
        EXPECT_GT(std::abs(d.x()) + std::abs(d.y()), 2) << d.x() << "," << d.y();
}

namespace
{

const QRgb KKey = qRgb(255, 0, 255);
const QRgb KText = qRgb(255, 255, 0);
const QRgb KOutline = qRgb(0, 0, 0);

// Text drawn over the colour key the way the inlay draws it.
QImage Outlined(const QString &text, int outline, bool antialias)
{
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(KKey);
    QPainter canvas(&image);
    canvas.setFont(TestFont(33));
    canvas.setPen(QColor(KText));
    DrawOutlinedText(canvas, 10, 10, antialias, outline, QColor(KOutline), text);
    return image;
}

std::set<QRgb> Colours(const QImage &image)
{
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return colours;
}

} // namespace

TEST(OutlinedText, SmoothEdgesOnlyWhereTheOutlineLiesUnderThem)
{
    struct Case {
        int outline;
        bool antialias;
        bool smooth; // intermediate colours expected
    } cases[] = {
        {0, true, false}, // no outline: the text is drawn hard against the key, whatever is asked
        {0, false, false},
        {2, false, false},
        {2, true, true},
    };
    for (const Case &c : cases) {
        const std::set<QRgb> colours = Colours(Outlined("Kestrin 42", c.outline, c.antialias));
        SCOPED_TRACE(testing::Message() << "outline " << c.outline << ", antialias " << c.antialias);
        EXPECT_TRUE(colours.count(KKey));
        EXPECT_TRUE(colours.count(KText));
        EXPECT_EQ(colours.count(KOutline) == 1, c.outline > 0);
        bool intermediate = false;
        for (QRgb colour : colours) {
            if (colour == KKey)
                continue;
            // Yellow over black keeps blue at 0: any blue is a blend with the key, a pink fringe.
            EXPECT_EQ(qBlue(colour), 0) << std::hex << colour;
            intermediate = intermediate || (colour != KText && colour != KOutline);
        }
        EXPECT_EQ(intermediate, c.smooth);
    }
}

TEST(OutlinedText, TheOutlineFramesTheStrokesAndTheTextStaysOnTop)
{
    // A vertical bar: inside it, the diagonal copies of width 1 cover the column just left and
    // just right of the bar, and the text drawn last keeps the bar itself.
    const QImage image = Outlined("|", 1, false);
    const auto span = [&image](int y) {
        int first = -1, last = -1;
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == KText) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        return std::make_pair(first, last);
    };
    int rows = 0;
    for (int y = 1; y + 1 < image.height(); ++y) {
        const auto [first, last] = span(y);
        if (first <= 0 || span(y - 1) != span(y) || span(y + 1) != span(y))
            continue; // not a row inside the bar
        EXPECT_EQ(image.pixel(first - 1, y), KOutline) << "row " << y;
        EXPECT_EQ(image.pixel(last + 1, y), KOutline) << "row " << y;
        for (int x = first; x <= last; ++x)
            EXPECT_EQ(image.pixel(x, y), KText) << x << "," << y;
        ++rows;
    }
    EXPECT_GT(rows, 10) << "the bar's inner rows";
}
