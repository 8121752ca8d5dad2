#include "output/VideoMan.h"
#include "media/MediaFactory.h"
#include "media/NavMan.h"
#include "media/StreamMessages.h"
#include "media/VideoSource.h"
#include "platform/graph/VideoMixingRenderer.h"
#include "support/MediaFacts.h"
#include "support/QStringPrinter.h"
#include "support/TestMedia.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace
{

// The main window's part in showing a video: navigation manager, media factory, video manager
// on a video panel.
struct Viewer {
    QWidget panel;
    TNavMan nav;
    TMediaFactory factory;
    TVideoMan vidman;
    QString decoder, format;

    Viewer()
    {
        panel.resize(640, 480);
        nav.Loaded();
        vidman.Loaded();
        vidman.SetWindow(&panel);
        vidman.SetGrapheMan(&nav);
        factory.SetGrapheMan(&nav);
        vidman.OnNotifyVideoDecoder = [this](const QString &text) { decoder = text; };
        vidman.OnNotifyVideoFormat = [this](const QString &text) { format = text; };
    }

    // Opens `file` as the main window does and rests on its first picture.
    bool Open(const QString &path)
    {
        TFileDevice *device = factory.GetDevice(path);
        if (!device || device->VideoCount() == 0)
            return false;
        vidman.DisconnectVideo(false);
        vidman.ResetDecoderSearch();
        const bool connected = vidman.ConnectVideo(device->VideoSource(0));
        nav.RemoveUnconnectedFilters();
        nav.SetRange(true, -1, -1);
        vidman.FramesNotifier().SetActive(true);
        QCoreApplication::processEvents();
        return connected;
    }
};

void Send(TVideoMan &vidman, uint32_t msg, const void *record)
{
    MessageWindow::SendMessage(vidman.Handle(), msg, reinterpret_cast<WPARAM>(record));
}

} // namespace

// Every clip with video shows its first picture at native size and names its decoder and format.
TEST(VideoMan, ConnectsEachClipAndGrabsItsPicture)
{
    for (const MediaFacts::ClipFacts &clip : MediaFacts::AllClips) {
        if (!clip.video)
            continue;
        SCOPED_TRACE(clip.file);
        Viewer viewer;
        ASSERT_TRUE(viewer.Open(TestMedia::Path(clip.file)));
        EXPECT_EQ(viewer.vidman.VideoState(), 1);
        EXPECT_FALSE(viewer.decoder.isEmpty());
        EXPECT_NE(viewer.decoder, QStringLiteral("No Video Decoder"));
        EXPECT_TRUE(
            viewer.format.contains(QStringLiteral("%1x%2").arg(clip.video->width).arg(clip.video->height)))
            << viewer.format.toStdString();
        QImage picture;
        ASSERT_TRUE(viewer.vidman.GrabCurrentImage(picture));
        EXPECT_EQ(picture.size(), QSize(clip.video->width, clip.video->height));
        EXPECT_GT(viewer.vidman.Renderer()->FramesDrawn() + 1, 0);
        EXPECT_EQ(viewer.nav.FrameDuration,
                  int64_t(std::llround(1e7 * clip.video->frameRate.den / clip.video->frameRate.num)));
    }
}

// Display aspect: forced ratios, the picture size, and the stream's picture aspect unreduced.
TEST(VideoMan, AspectRules)
{
    Viewer viewer;
    ASSERT_TRUE(viewer.Open(TestMedia::Path(MediaFacts::DvPalType2.file)));
    TVideoMan &v = viewer.vidman;
    auto aspect = [&] { return QSize(v.DisplayAspectX(), v.DisplayAspectY()); };
    EXPECT_EQ(aspect(), QSize(16, 9)) << "the DV frames say 16:9";
    v.SetForcedAspect(1);
    EXPECT_EQ(aspect(), QSize(4, 3));
    v.SetForcedAspect(3);
    EXPECT_EQ(aspect(), QSize(720, 576));
    v.SetForcedAspect(0);

    // A record as a notifier sends it: a 350 x 262 picture of square pixels, negative height.
    TVideoData odd;
    odd.Width = 350;
    odd.Height = -262;
    odd.AspectCode = 3;
    odd.AspectX = 35;
    odd.AspectY = 26;
    odd.PictureAspectX = 350;
    odd.PictureAspectY = 262;
    MessageWindow::SendMessage(v.Handle(), WM_VIDEODATA, VideoDataSent, reinterpret_cast<LPARAM>(&odd));
    EXPECT_EQ(aspect(), QSize(350, 262));
    odd.AspectCode = 2;
    MessageWindow::SendMessage(v.Handle(), WM_VIDEODATA, VideoDataSent, reinterpret_cast<LPARAM>(&odd));
    EXPECT_EQ(aspect(), QSize(350, 262)) << "no aspect: the picture's size, height taken positive";
    v.SetForcedAspect(2);
    EXPECT_EQ(aspect(), QSize(16, 9));
}

// Cycles until the decoder in use changes (a remembered decoder is tried again by the graph's own
// choice once before it is excluded); false when none does within three turns.
bool NextOtherDecoder(Viewer &viewer)
{
    const QString first = viewer.decoder;
    for (int turn = 0; turn < 3; ++turn)
        if (!viewer.vidman.NextDecoder() || viewer.decoder != first)
            return viewer.decoder != first;
    return false;
}

// Another decoder where FFmpeg has one (MPEG-2 has two); the graph returns to its state.
TEST(VideoMan, NextDecoderCyclesAndRestoresTheState)
{
    Viewer viewer;
    ASSERT_TRUE(viewer.Open(TestMedia::Path(MediaFacts::Mpeg2Ps.file)));
    ASSERT_TRUE(NextOtherDecoder(viewer)) << viewer.decoder.toStdString();
    EXPECT_EQ(viewer.nav.GraphState(), 2) << "paused stays paused";
    QImage picture;
    EXPECT_TRUE(viewer.vidman.GrabCurrentImage(picture));

    ASSERT_TRUE(viewer.nav.Play());
    ASSERT_TRUE(NextOtherDecoder(viewer));
    EXPECT_EQ(viewer.nav.GraphState(), 3) << "running resumes";
}

// The inlay lines: placeholders in their order, case ignored, an empty pattern hides its line.
TEST(VideoMan, InsertLinePatterns)
{
    Viewer viewer;
    TVideoMan &v = viewer.vidman;
    const TIncrustFileName file{true, QStringLiteral("/videos/trip %P %N.avi")};
    const TIncrustNumero number{true, QStringLiteral("007")};
    Send(v, WM_INCRUSTFILENAME, &file);
    Send(v, WM_INCRUSTNUMBER, &number);
    v.InsertPatterns[0] = QStringLiteral("Clip %f - %N%e");
    v.InsertPatterns[1] = QStringLiteral("%T|%t");
    v.ComposeInsertLines();
    EXPECT_EQ(v.InsertLines[0].Text, QStringLiteral("Clip trip /videos/ %N - 007.avi"));
    EXPECT_TRUE(v.InsertLines[1].Visible) << "an empty expansion still shows its line";
    EXPECT_EQ(v.InsertLines[1].Text, QStringLiteral("|"));
    EXPECT_FALSE(v.InsertLines[2].Visible);

    const TIncrustDV dv{true, true, EncodeDate(2005, 7, 14) + EncodeTime(10, 31, 7, 0),
                        QStringLiteral("1:02:03:04")};
    Send(v, WM_INCRUSTDV, &dv);
    v.DateFormats[0] = QStringLiteral("yyyy-mm-dd");
    v.InsertPatterns[0] = QStringLiteral("%D");
    v.SetDateOffset(1);
    v.ComposeInsertLines();
    EXPECT_EQ(v.InsertLines[0].Text, QStringLiteral("2005-07-15"));
    EXPECT_EQ(v.InsertLines[1].Text, QStringLiteral("1:02:03:04|1:02:03:04"));

    v.DisconnectVideo(false);
    v.InsertPatterns[0] = QStringLiteral("%N%F");
    v.ComposeInsertLines();
    EXPECT_EQ(v.InsertLines[0].Text, QStringLiteral("trip /videos/ %N"))
        << "the number cleared, the file name kept";
}

// A refused decoder class is never chosen by automatic connection.
TEST(VideoMan, RefusedDecoderIsNotChosen)
{
    Viewer viewer;
    ASSERT_TRUE(viewer.Open(TestMedia::Path(MediaFacts::Mpeg2Ps.file)));
    const Guid chosen = viewer.vidman.DecoderClassId();
    ASSERT_NE(chosen, GUID_NULL);
    EXPECT_EQ(viewer.vidman.SelectedFilter(chosen), S_OK);
    ASSERT_TRUE(NextOtherDecoder(viewer));
    EXPECT_EQ(viewer.vidman.SelectedFilter(chosen), E_FAIL);
    EXPECT_NE(viewer.vidman.DecoderClassId(), chosen);
}

// Without a source the panel says there is no video.
TEST(VideoMan, NoVideoPanel)
{
    Viewer viewer;
    EXPECT_FALSE(viewer.vidman.ConnectVideo(nullptr));
    EXPECT_EQ(viewer.vidman.VideoState(), 0);
    QImage picture;
    EXPECT_FALSE(viewer.vidman.GrabCurrentImage(picture));
}

// A video stream no decoder takes: the bad-video panel, and nothing between the stream and the
// renderer stays connected.
TEST(VideoMan, UndecodableStreamShowsTheBadVideoPanel)
{
    QTemporaryDir dir;
    QFile clip(TestMedia::Path(MediaFacts::DvPalType2.file));
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
    QByteArray bytes = clip.readAll();
    bytes.replace("dvsd", "QQQQ").replace("DVSD", "QQQQ"); // a codec nobody knows
    const QString path = dir.filePath("unknown.avi");
    QFile unknown(path);
    ASSERT_TRUE(unknown.open(QIODevice::WriteOnly));
    unknown.write(bytes);
    unknown.close();

    Viewer viewer;
    EXPECT_FALSE(viewer.Open(path));
    EXPECT_EQ(viewer.vidman.VideoState(), 2);
    EXPECT_EQ(viewer.decoder, QStringLiteral("No Video Decoder"));
    EXPECT_FALSE(viewer.vidman.Renderer()->GetPin(0)->IsConnected());
    for (const FilterPtr &filter : viewer.nav.GraphBuilder->Filters())
        if (filter.get() != viewer.vidman.Renderer().get())
            for (Pin *pin : filter->Pins())
                EXPECT_FALSE(pin->Direction() == PINDIR_OUTPUT && pin->IsConnected() &&
                             pin->MediaTypes().size() && pin->MediaTypes()[0].majortype == MEDIATYPE_Video)
                    << filter->Name();
}
