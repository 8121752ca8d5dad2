#include "platform/graph/AudioRenderer.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphEvents.h"
#include "platform/graph/VideoMixingRenderer.h"
#include "support/TestMedia.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QWidget>

#include "support/ProcessEvents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace
{

// A graph playing a clip into the windowless video renderer, drawn in a window, and the audio
// renderer.
struct RendererRig {
    Graph graph;
    FilterPtr source;
    std::shared_ptr<VideoMixingRenderer> video = std::make_shared<VideoMixingRenderer>();
    std::shared_ptr<AudioRenderer> audio = std::make_shared<AudioRenderer>();
    QWidget window;

    HRESULT Build(const QString &path)
    {
        window.resize(660, 380);
        window.show();
        video->SetVideoClippingWindow(&window);
        const RECT destination{10, 10, 650, 370};
        video->SetVideoPosition(nullptr, &destination);
        HRESULT hr = graph.AddSourceFilter(path.toStdString(), "Source", source);
        if (FAILED(hr))
            return hr;
        graph.AddFilter(video, "KS VideoWindow");
        graph.AddFilter(audio, "KS Audio Renderer");
        for (Pin *pin : source->Pins()) {
            const bool isVideo = pin->MediaTypes().at(0).majortype == MEDIATYPE_Video;
            Pin &renderer = *(isVideo ? video->Input() : audio->Input());
            if (!renderer.IsConnected() && FAILED(hr = graph.Connect(*pin, renderer)))
                return hr;
        }
        return S_OK;
    }

    bool Settle()
    {
        FILTER_STATE state;
        return graph.GetState(5000, state) == S_OK;
    }

    bool WaitForCompletion(int timeoutMs)
    {
        int32_t code = 0;
        intptr_t p1 = 0, p2 = 0;
        while (graph.GetEvent(code, p1, p2, timeoutMs) == S_OK)
            if (code == EC_COMPLETE)
                return true;
        return false;
    }
};

// Frame `index` of a clip as FFmpeg decodes it, in 32-bit BGRA rows from the top.
QByteArray FfmpegFrame(const QString &path, int index)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-i", path, "-vf", QString("select=eq(n\\,%1)").arg(index),
                            "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "bgra", "-"});
    ffmpeg.waitForFinished(60000);
    return ffmpeg.readAllStandardOutput();
}

QImage ImageOfDib(const std::vector<uint8_t> &dib)
{
    BITMAPINFOHEADER header;
    if (dib.size() < sizeof header)
        return {};
    std::memcpy(&header, dib.data(), sizeof header);
    const int w = header.biWidth, h = std::abs(header.biHeight);
    if (header.biBitCount != 32 || dib.size() < sizeof header + size_t(w) * size_t(h) * 4)
        return {};
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const int stored = header.biHeight > 0 ? h - 1 - y : y;
        std::memcpy(image.scanLine(y), dib.data() + sizeof header + size_t(stored) * size_t(w) * 4,
                    size_t(w) * 4);
    }
    return image;
}

// Mean absolute difference per colour channel between an image and raw BGRA rows.
double MeanDifference(const QImage &image, const QByteArray &bgra)
{
    if (bgra.size() != qsizetype(image.width()) * image.height() * 4)
        return 1e9;
    int64_t total = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uint8_t *a = image.constScanLine(y);
        const auto *b =
            reinterpret_cast<const uint8_t *>(bgra.constData()) + size_t(y) * size_t(image.width()) * 4;
        for (int x = 0; x < image.width() * 4; ++x)
            if (x % 4 != 3)
                total += std::abs(int(a[x]) - int(b[x]));
    }
    return double(total) / (double(image.width()) * image.height() * 3);
}

QImage CurrentImage(VideoMixingRenderer &video)
{
    std::vector<uint8_t> dib;
    return video.GetCurrentImage(dib) == S_OK ? ImageOfDib(dib) : QImage();
}

} // namespace

TEST(VideoMixingRenderer, PausedPictureIsTheDecodedFrameComposedByTheMixer)
{
    const QString path = TestMedia::Path("h264_aac.mp4");
    RendererRig rig;
    ASSERT_EQ(rig.Build(path), S_OK);
    std::vector<uint8_t> dib;
    EXPECT_TRUE(FAILED(rig.video->GetCurrentImage(dib)));
    ASSERT_EQ(rig.graph.Pause(), S_OK);
    ASSERT_TRUE(rig.Settle());
    ProcessEventsFor(50);
    EXPECT_EQ(rig.video->FramesDrawn(), 0) << "the preroll picture is shown, not counted";

    const QImage paused = CurrentImage(*rig.video);
    ASSERT_EQ(paused.size(), QSize(640, 360));
    int32_t w, h, ax, ay;
    ASSERT_EQ(rig.video->GetNativeVideoSize(w, h, ax, ay), S_OK);
    EXPECT_EQ(QSize(w, h), QSize(640, 360));
    EXPECT_LT(MeanDifference(paused, FfmpegFrame(path, 0)), 2.0);

    NORMALIZEDRECT both{1, 1, 0, 0};
    rig.video->SetOutputRect(0, both);
    const QImage flipped = CurrentImage(*rig.video);
    EXPECT_EQ(flipped.size(), paused.size());
    EXPECT_EQ(flipped, paused.mirrored(true, true));
    rig.video->SetOutputRect(0, NORMALIZEDRECT{});

    QImage inlay(640, 360, QImage::Format_RGB32);
    inlay.fill(qRgb(255, 0, 255));
    for (int x = 100; x < 120; ++x)
        inlay.setPixel(x, 50, qRgb(255, 255, 255));
    VMR9AlphaBitmap block;
    block.dwFlags = VMR9AlphaBitmap_hDC | VMR9AlphaBitmap_SrcColorKey | VMR9AlphaBitmap_FilterMode;
    block.hdc = &inlay;
    block.rSrc = {0, 0, 640, 360};
    block.fAlpha = 1.0f;
    block.clrSrcKey = 0xFF00FF;
    ASSERT_EQ(rig.video->SetAlphaBitmap(block), S_OK);
    const QImage withInlay = CurrentImage(*rig.video);
    EXPECT_EQ(withInlay.pixel(110, 50), qRgb(255, 255, 255));
    EXPECT_EQ(withInlay.pixel(110, 51), paused.pixel(110, 51));

    // What the window shows is the same composition, scaled into the destination rectangle.
    const QImage shown = rig.window.grab().toImage();
    EXPECT_EQ(shown.pixelColor(10 + 110, 10 + 50), QColor(255, 255, 255));
    EXPECT_EQ(rig.graph.Stop(), S_OK);
}

TEST(VideoMixingRenderer, PlaysInRealTimeAndPausingHoldsThePicture)
{
    // A four-second clip of 100 pictures, played with a pause in the middle.
    RendererRig rig;
    ASSERT_EQ(rig.Build(TestMedia::Path("h264_2aac.mp4")), S_OK);
    QElapsedTimer running;
    running.start();
    ASSERT_EQ(rig.graph.Run(), S_OK);
    ProcessEventsFor(1000);
    ASSERT_EQ(rig.graph.Pause(), S_OK);
    qint64 played = running.elapsed();
    const int drawn = rig.video->FramesDrawn();
    EXPECT_NEAR(drawn, 25, 5) << "a second at 25 frames per second";
    ProcessEventsFor(300);
    EXPECT_EQ(rig.video->FramesDrawn(), drawn) << "pausing holds the picture";

    running.restart();
    ASSERT_EQ(rig.graph.Run(), S_OK);
    ASSERT_TRUE(rig.WaitForCompletion(10000));
    played += running.elapsed();
    EXPECT_NEAR(played / 1000.0, 4.0, 4.0 * 0.05) << "the clip's duration, within 5 %";
    EXPECT_EQ(rig.video->FramesDrawn(), 100);
    EXPECT_EQ(rig.graph.Stop(), S_OK);
}

TEST(AudioRenderer, DrivesTheClockSoPicturesFollowTheSound)
{
    RendererRig rig;
    ASSERT_EQ(rig.Build(TestMedia::Path("h264_aac.mp4")), S_OK);
    ASSERT_EQ(rig.graph.Run(), S_OK);
    ASSERT_EQ(rig.graph.SyncSource(), rig.audio->Clock()) << "the audio renderer's clock leads";
    // Over the clip, the picture shown is the one due at the sound's time: behind it by less than
    // a frame (40 ms) as a rule, never ahead of it, and never far behind even on a busy machine.
    std::vector<REFERENCE_TIME> lags;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 9000) { // the ten-second clip, up to its last pictures
        ProcessEventsFor(50);
        const auto shown = rig.video->LastPresented();
        if (!shown)
            continue;
        const REFERENCE_TIME heard = rig.audio->Clock()->GetTime() - rig.audio->StreamStart();
        lags.push_back(heard - *shown);
    }
    ASSERT_GT(lags.size(), 100u);
    std::sort(lags.begin(), lags.end());
    const REFERENCE_TIME median = lags[lags.size() / 2];
    RecordProperty("median_lag_ms", int(median / 10000));
    RecordProperty("worst_lag_ms", int(lags.back() / 10000));
    EXPECT_GE(lags.front(), -100000) << "picture ahead of the sound";
    EXPECT_LT(median, 400000) << "within a frame";
    EXPECT_LT(lags.back(), 2000000) << "never far behind";
    EXPECT_EQ(rig.graph.Stop(), S_OK);
}

TEST(AudioRenderer, VolumeIsHundredthsOfADecibelThroughTheGraph)
{
    RendererRig rig;
    ASSERT_EQ(rig.Build(TestMedia::Path("h264_aac.mp4")), S_OK);
    EXPECT_EQ(rig.graph.put_Volume(-752), S_OK);
    int32_t v = 0;
    EXPECT_EQ(rig.audio->get_Volume(v), S_OK);
    EXPECT_EQ(v, -752);
    EXPECT_EQ(rig.graph.put_Volume(1), E_INVALIDARG);
    EXPECT_EQ(rig.graph.put_Volume(-10001), E_INVALIDARG);
    EXPECT_EQ(rig.graph.get_Volume(v), S_OK);
    EXPECT_EQ(v, -752);
}

TEST(Renderers, AreMadeByTheirClassIdsButNeverPickedByIntelligentConnection)
{
    ClassRegistry &registry = ClassRegistry::Default();
    for (const Guid &id : {VideoMixingRenderer::ClassId, AudioRenderer::ClassId}) {
        FilterPtr filter;
        ASSERT_EQ(registry.CreateInstance(id, filter), S_OK) << id.ToString();
        EXPECT_EQ(filter->ClassId(), id);
    }
    EXPECT_EQ(VideoMixingRenderer::ClassId.ToString(), "{51B4ABF3-748F-4E3B-A276-C828330E926A}");
    EXPECT_EQ(AudioRenderer::ClassId.ToString(), "{79376820-07D0-11CF-A24D-0020AFD79767}");
    MediaType rgb;
    rgb.majortype = MEDIATYPE_Video;
    rgb.subtype = MEDIASUBTYPE_RGB32;
    for (const FilterClass *c : registry.ClassesTaking(rgb))
        EXPECT_NE(c->classId, VideoMixingRenderer::ClassId);
}

TEST(VideoMixingRenderer, LetterboxKeepsThePicturesAspectInsideTheDestination)
{
    RendererRig rig; // a 16:9 clip drawn into a 640 x 360 destination
    ASSERT_EQ(rig.Build(TestMedia::Path("h264_aac.mp4")), S_OK);
    const RECT square{10, 10, 370, 370};
    rig.video->SetVideoPosition(nullptr, &square);
    ASSERT_EQ(rig.graph.Pause(), S_OK);
    ASSERT_TRUE(rig.Settle());
    ProcessEventsFor(50);
    EXPECT_EQ(rig.video->PictureTarget(QSize(360, 360)), QRect(0, 0, 360, 360)) << "stretched by default";
    ASSERT_EQ(rig.video->SetAspectRatioMode(VideoMixingRenderer::VMR9ARMode_LetterBox), S_OK);
    EXPECT_EQ(rig.video->PictureTarget(QSize(360, 360)), QRect(0, 79, 360, 202));
    const QImage shown = rig.window.grab().toImage();
    EXPECT_EQ(shown.pixelColor(10 + 180, 10 + 20), QColor(Qt::black)) << "a band above the picture";
    EXPECT_NE(shown.pixelColor(10 + 180, 10 + 180), QColor(Qt::black));
    EXPECT_EQ(rig.video->SetAspectRatioMode(7), E_INVALIDARG);
    EXPECT_EQ(rig.graph.Stop(), S_OK);
}

TEST(VideoMixingRenderer, NativeSizeComesWithThePicturesAspect)
{
    RendererRig rig; // MPEG-2 shown 16:9: 720 x 576 pixels that are not square
    ASSERT_EQ(rig.Build(TestMedia::Path("mpeg2_mp2.mpg")), S_OK);
    ASSERT_EQ(rig.graph.Pause(), S_OK);
    ASSERT_TRUE(rig.Settle());
    int32_t w, h, ax, ay;
    ASSERT_EQ(rig.video->GetNativeVideoSize(w, h, ax, ay), S_OK);
    EXPECT_EQ(QSize(w, h), QSize(720, 576));
    EXPECT_EQ(ax * 9, ay * 16);
    std::vector<uint8_t> dib;
    ASSERT_EQ(rig.video->GetCurrentImage(dib), S_OK);
    EXPECT_EQ(ImageOfDib(dib).size(), QSize(720, 576)) << "the current image keeps the native size";
    EXPECT_EQ(rig.graph.Stop(), S_OK);
}
