#include "grab/ExtraireFrame.h"

#include <QLabel>

#include <gtest/gtest.h>

TEST(ExtraireFrame, ThumbnailIsTheLargestRectangleOfThePictureProportionWithItsLabelsAround)
{
    const struct {
        QSize panel, picture;
        QRect thumbnail;
    } cases[] = {
        {{276, 560}, {720, 405}, {12, 209, 252, 141}},
        {{276, 560}, {405, 720}, {12, 56, 252, 448}},
        {{276, 300}, {720, 576}, {12, 49, 252, 201}},
        {{276, 560}, {0, 0}, {12, 12, 252, 536}}, // nothing grabbed yet: the whole inner box
    };
    TExtraireFrame frame;
    for (const auto &c : cases) {
        frame.resize(c.panel);
        frame.SetPictureSize(c.picture);
        const QRect t = c.thumbnail;
        EXPECT_EQ(frame.Thumbnail->geometry(), t) << c.picture.width() << "x" << c.picture.height();
        EXPECT_EQ(frame.Bevel3->geometry(), t);
        EXPECT_EQ(frame.labsnapname->x(), t.x());
        EXPECT_EQ(frame.labsnapname->y(), t.y() + t.height()) << "right under the thumbnail";
        EXPECT_EQ(frame.labsnapname->width(), t.width());
        EXPECT_EQ(frame.SnapLab->y(), t.y() - 34);
        EXPECT_EQ(frame.Bevel1->y(), t.y() - 42);
        EXPECT_EQ(frame.labImagetteTaille->pos(), QPoint(t.x(), t.y() - 12));
    }
}

TEST(ExtraireFrame, FollowsItsPanelAndShowsTheSnapshotUnsavedThenSaved)
{
    TExtraireFrame frame;
    frame.resize(276, 560);
    frame.show();
    QImage snapshot(720, 405, QImage::Format_RGB888);
    snapshot.fill(Qt::red);
    frame.ShowSnapshot(snapshot, "0:00:04:02", "Kestrin_004.bmp");
    EXPECT_EQ(frame.labImagetteTaille->text(), "720 x 405");
    EXPECT_EQ(frame.SnapLab->text(), "0:00:04:02");
    EXPECT_EQ(frame.labsnapname->text(), "Kestrin_004.bmp");
    EXPECT_EQ(frame.labsnapname->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(frame.labsnapname->palette().color(QPalette::Window), frame.palette().color(QPalette::Button));
    EXPECT_EQ(frame.Thumbnail->pixmap().size(), QSize(720, 405));

    frame.MarkSaved(true);
    EXPECT_EQ(frame.labsnapname->palette().color(QPalette::Window), QColor(192, 220, 192));
    EXPECT_EQ(frame.labsnapname->cursor().shape(), Qt::ArrowCursor);

    frame.resize(276, 400); // the window was made smaller
    EXPECT_EQ(frame.Thumbnail->geometry(), QRect(12, 129, 252, 141));
}
