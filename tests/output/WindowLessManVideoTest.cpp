// The windowless video manager showing real pictures: clips decoded through a graph into its
// renderer, flipped, letterboxed and carrying the inlay.
#include "output/WindowLessMan.h"

#include "framework/CheckAction.h"
#include "output/PackedDib.h"
#include "platform/graph/Graph.h"
#include "platform/graph/VideoMixingRenderer.h"
#include "support/TestMedia.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>

#include "support/ProcessEvents.h"

#include <gtest/gtest.h>

namespace
{

// A manager in a panel of a shown window, its renderer fed by a clip's video stream.
struct Showing {
    QWidget top;
    QWidget &panel = *new QWidget(&top);
    Graph graph;
    TWindowLessMan man;
    FilterPtr source;

    explicit Showing(QSize size)
    {
        panel.setGeometry(QRect(QPoint(0, 0), size));
        top.resize(size);
        top.show();
        man.Loaded();
        man.SetWindow(&panel);
    }
    ~Showing() { graph.Stop(); }

    // Connects the clip's video to the renderer and pauses on its first picture.
    bool Open(const QString &name)
    {
        if (FAILED(graph.AddSourceFilter(TestMedia::Path(name).toStdString(), "Source", source)))
            return false;
        man.SetGraph(&graph);
        for (Pin *pin : source->Pins()) {
            if (pin->MediaTypes().at(0).majortype == MEDIATYPE_Video &&
                FAILED(graph.Connect(*pin, *man.Renderer()->Input())))
                return false;
        }
        FILTER_STATE state;
        return graph.Pause() == S_OK && graph.GetState(5000, state) == S_OK;
    }

    QImage CurrentImage() const
    {
        std::vector<uint8_t> dib;
        if (man.Renderer()->GetCurrentImage(dib) != S_OK)
            return {};
        return ImageFromPackedDib(std::move(dib));
    }

    TCheckAction &Check(const char *name)
    {
        return *dynamic_cast<TCheckAction *>(man.FindByInternalId(name));
    }
    void Set(const char *name, const char *text) { man.FindByInternalId(name)->SetFromText(text); }

    void ShowLines(std::initializer_list<const char *> texts)
    {
        int i = 0;
        for (const char *text : texts)
            man.InsertLines[size_t(i++)] = {text, true, taLeftJustify};
        Set("iaInsertAlignLines", "2");
        Check("caInsertTextOn").SetChecked(true);
    }
};

// The bounding box of the pixels of `image` that are not `key`.
QRect Ink(const QImage &image, QRgb key)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != key)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The bounding box of the pixels where two images of one size differ.
QRect Difference(const QImage &a, const QImage &b)
{
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

const QRgb KFuchsia = qRgb(255, 0, 255);

} // namespace

TEST(WindowLessManVideo, FlipsGoThroughTheMixersOutputRectangle)
{
    Showing s(QSize(660, 380));
    ASSERT_TRUE(s.Open("h264_aac.mp4"));
    const QImage plain = s.CurrentImage();
    ASSERT_EQ(plain.size(), QSize(640, 360));
    struct Case {
        bool vertical, horizontal;
    } cases[] = {{true, false}, {false, true}, {true, true}, {false, false}};
    for (const Case &c : cases) {
        s.Check("caFlipVertical").SetChecked(c.vertical);
        s.Check("caFlipHorizontal").SetChecked(c.horizontal);
        EXPECT_EQ(s.CurrentImage(), plain.mirrored(c.horizontal, c.vertical))
            << "vertical " << c.vertical << ", horizontal " << c.horizontal;
    }
    // A layout applies the flips again, so a picture placed anew keeps them.
    s.man.SetFlipVertical(true);
    s.man.Layout();
    EXPECT_EQ(s.CurrentImage(), plain.mirrored(false, true));
    const QImage shown = s.panel.grab().toImage();
    const QRect r = s.man.WindowRect().ToQRect();
    EXPECT_NE(shown.pixelColor(r.center()), QColor(Qt::black)) << "the picture is on the panel";
}

TEST(WindowLessManVideo, TheInlaySitsAtItsAnchorOnThePicturesNativeSize)
{
    // 720 x 576 pixels; the anchor (5000, 8200) is (360, 472) on them.
    Showing s(QSize(800, 500));
    ASSERT_TRUE(s.Open("mpeg2_mp2.mpg"));
    s.Set("paInsertPosition", "(5000, 8200)");
    s.Set("iaInsertBorderWidth", "2");
    s.man.SetInsertAutoSize(true);
    s.ShowLines({"00:12:34:05"});
    EXPECT_EQ(s.man.InsertCanvasFont().Size, 20) << "max(720 div 36, 576 div 28)";
    const QImage &bitmap = s.man.InsertBitmap();
    ASSERT_EQ(bitmap.size(), QSize(720, 576));

    const QRect ink = Ink(bitmap, KFuchsia);
    ASSERT_FALSE(ink.isEmpty());
    const double centre = (ink.left() + ink.right() + 1) / 2.0;
    EXPECT_NEAR(centre, 360 + 2, 3.0) << "centred on the anchor moved by the outline";
    EXPECT_GE(ink.top(), 472) << "the outline of a cell whose top is 474";
    EXPECT_LT(ink.top(), 472 + 20);
    EXPECT_LT(ink.bottom(), 576);

    // A second line goes below the first; an empty hidden line between them takes no room.
    s.man.InsertLines[1] = {QString(), false, taCenter};
    s.man.InsertLines[2] = {"second", true, taCenter};
    s.man.RefreshInsert();
    const QRect two = Ink(s.man.InsertBitmap(), KFuchsia);
    EXPECT_EQ(two.top(), ink.top());
    EXPECT_GT(two.bottom(), ink.bottom() + 10);
    EXPECT_LT(two.bottom(), ink.bottom() + 2 * 36) << "one line further down, not two";
}

TEST(WindowLessManVideo, TheCurrentImageCarriesTheInlayAsShown)
{
    Showing s(QSize(660, 380));
    s.Set("iaWinBorderWidth", "10"); // the picture shown at its native size
    ASSERT_TRUE(s.Open("h264_aac.mp4"));
    const QImage plain = s.CurrentImage();
    s.Set("paInsertPosition", "(1000, 1000)");
    s.man.SetInsertAutoSize(true);
    TFont font;
    font.Name = "Arial";
    font.Size = 20;
    font.Bold = true;
    font.Color = clYellow;
    s.man.SetInsertFont(font);
    s.ShowLines({"Kestrin", "12:34"});
    EXPECT_EQ(s.man.InsertCanvasFont().Size, 17) << "max(640 div 36, 360 div 28)";

    const QImage withInlay = s.CurrentImage();
    const QRect ink = Ink(s.man.InsertBitmap(), KFuchsia);
    const QRect changed = Difference(plain, withInlay);
    EXPECT_FALSE(changed.isEmpty());
    EXPECT_EQ(changed.intersected(ink), changed) << "the picture changes only where the inlay has ink";
    int yellow = 0, black = 0;
    for (int y = ink.top(); y <= ink.bottom(); ++y) {
        for (int x = ink.left(); x <= ink.right(); ++x) {
            yellow += withInlay.pixel(x, y) == qRgb(255, 255, 0);
            black += withInlay.pixel(x, y) == qRgb(0, 0, 0);
        }
    }
    EXPECT_GT(yellow, 50) << "the text";
    EXPECT_GT(black, 50) << "its outline";
    // What the panel shows is the same composition.
    const QImage shown = s.panel.grab().toImage().copy(s.man.WindowRect().ToQRect());
    ASSERT_EQ(shown.size(), QSize(640, 360)) << "a destination of the native size";
    EXPECT_EQ(Difference(plain, shown).intersected(ink), Difference(plain, shown))
        << "inlay only inside its box";

    s.Set("daInsertTransparency", "0");
    EXPECT_EQ(s.CurrentImage(), plain) << "an invisible inlay";
    s.Set("daInsertTransparency", "1");
    EXPECT_EQ(s.CurrentImage(), withInlay);
    s.Check("caInsertTextOn").SetChecked(false);
    EXPECT_FALSE(s.man.InsertShown());
    EXPECT_EQ(s.CurrentImage(), plain);
    EXPECT_TRUE(s.man.HideInsert());
}

TEST(WindowLessManVideo, AlignmentsBeyondCentreChangeNothingAndDoNotRedraw)
{
    Showing s(QSize(660, 380));
    ASSERT_TRUE(s.Open("h264_aac.mp4"));
    s.Set("paInsertPosition", "(5000, 5000)");
    s.ShowLines({"first line", "second"});
    s.Set("iaInsertAlignLines", "1");
    const QImage right = s.man.InsertBitmap();
    EXPECT_NEAR(Ink(right, KFuchsia).right(), 320 + 2, 3) << "right-aligned lines end at the anchor";

    s.man.InsertLines[0].Text = "changed";
    for (const char *ignored : {"3", "7", "-1"}) {
        s.Set("iaInsertAlignLines", ignored);
        EXPECT_EQ(s.man.InsertAlignLines(), QString(ignored).toInt()) << "kept";
        EXPECT_EQ(s.man.InsertLines[0].Alignment, taRightJustify);
        EXPECT_EQ(s.man.InsertBitmap(), right) << "not redrawn for " << ignored;
    }
    s.Set("iaInsertAlignLines", "0");
    EXPECT_EQ(s.man.InsertLines[1].Alignment, taLeftJustify);
    EXPECT_NEAR(Ink(s.man.InsertBitmap(), KFuchsia).left(), 320 + 2, 3) << "left-aligned lines start there";
}

TEST(WindowLessManVideo, KeepingTheAspectLetterboxesThePictureInItsRectangle)
{
    Showing s(QSize(660, 380));
    ASSERT_TRUE(s.Open("h264_aac.mp4")); // a 16:9 picture
    s.man.SetAspect(4, 3);               // shown in a 4:3 rectangle
    const EdgeRect r = s.man.WindowRect();
    const auto topRowIsBlack = [&] {
        const QImage shown = s.panel.grab().toImage();
        for (int x = r.left; x < r.right; ++x)
            if (shown.pixelColor(x, r.top + 4) != QColor(Qt::black))
                return false;
        return true;
    };
    EXPECT_FALSE(topRowIsBlack()) << "stretched to the rectangle";
    s.Check("caKeepAspectratio").SetChecked(true);
    EXPECT_TRUE(topRowIsBlack()) << "a band above the picture";
    s.Check("caKeepAspectratio").SetChecked(false);
    EXPECT_FALSE(topRowIsBlack());
}

TEST(WindowLessManVideo, CountsTheFramesDrawnAtEachRefresh)
{
    Showing s(QSize(660, 380));
    ASSERT_TRUE(s.Open("h264_aac.mp4"));
    EXPECT_EQ(s.man.FramesDrawn(), 0) << "the paused picture is not counted";
    ASSERT_EQ(s.graph.Run(), S_OK);
    ProcessEventsFor(400);
    s.man.RefreshInsert();
    const int refreshed = s.man.LastRefreshFrames();
    EXPECT_GT(refreshed, 3);
    ProcessEventsFor(200);
    EXPECT_GT(s.man.FramesDrawn(), refreshed) << "playing on draws more";
    EXPECT_EQ(s.man.LastRefreshFrames(), refreshed);
}

TEST(WindowLessManVideo, TheRendererMovesBetweenGraphsUnderItsName)
{
    TWindowLessMan man;
    man.Loaded();
    auto first = std::make_unique<Graph>();
    Graph second;
    man.SetGraph(first.get());
    ASSERT_NE(first->FindFilterByName("KS VideoWindow"), nullptr);
    man.SetGraph(&second);
    EXPECT_EQ(first->FindFilterByName("KS VideoWindow"), nullptr);
    EXPECT_EQ(second.FindFilterByName("KS VideoWindow"), man.Renderer());
    man.SetGraph(first.get());
    first.reset(); // a destroyed graph lets the renderer go
    EXPECT_EQ(man.Renderer()->GetGraph(), nullptr);
    man.SetGraph(&second);
    EXPECT_EQ(second.FindFilterByName("KS VideoWindow"), man.Renderer());
    man.SetGraph(nullptr);
    EXPECT_TRUE(second.Filters().empty());
}
