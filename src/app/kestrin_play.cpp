// A small player for a look at the renderers: plays a file through the graph into the windowless
// video renderer and the audio renderer. Space pauses and resumes, H and V flip, I toggles a
// test inlay. With --snapshot FILE it pauses at --at SECONDS, saves the window and quits; with
// --free-run it plays as fast as it can, prints pictures per second and quits (a benchmark).
#include "platform/graph/AudioRenderer.h"
#include "platform/graph/DecoderFilter.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphEvents.h"
#include "platform/graph/VideoMixingRenderer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace
{

class PlayerWindow : public QWidget
{
  public:
    PlayerWindow()
    {
        setWindowTitle(QStringLiteral("Kestrin player"));
        resize(800, 480);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(192, 192, 192));
        setPalette(p);
        video_->SetVideoClippingWindow(this);
    }

    // Connects the first video stream and, when asked, the first audio stream.
    bool Open(const QString &path, bool withAudio)
    {
        if (FAILED(graph_.AddSourceFilter(path.toStdString(), "Source", source_)))
            return false;
        graph_.AddFilter(video_, "KS VideoWindow");
        graph_.AddFilter(audio_, "KS Audio Renderer");
        bool any = false;
        for (Pin *pin : source_->Pins()) {
            const bool isVideo = pin->MediaTypes().at(0).majortype == MEDIATYPE_Video;
            if (!isVideo && !withAudio)
                continue;
            Pin &renderer = *(isVideo ? video_->Input() : audio_->Input());
            any |= !renderer.IsConnected() && SUCCEEDED(graph_.Connect(*pin, renderer));
        }
        return any;
    }

    void Run() { graph_.Run(); }
    // Plays to the end as fast as the pictures can be decoded and drawn, with libavcodec's
    // threads as FFmpeg chooses them; pictures per second.
    double RunFree()
    {
        for (const FilterPtr &filter : graph_.Filters())
            if (auto *decoder = filter->Query<DecoderFilter>())
                decoder->SetThreadCount(0);
        graph_.SetSyncSource(nullptr);
        QElapsedTimer elapsed;
        elapsed.start();
        graph_.Run();
        int32_t code = 0;
        intptr_t p1, p2;
        while (code != EC_COMPLETE) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (graph_.GetEvent(code, p1, p2, 0) != S_OK)
                code = 0;
        }
        const double seconds = elapsed.elapsed() / 1000.0;
        graph_.Stop();
        return video_->FramesDrawn() / seconds;
    }
    void Pause()
    {
        graph_.Pause();
        FILTER_STATE state;
        graph_.GetState(5000, state);
    }
    void Seek(double seconds)
    {
        REFERENCE_TIME t = REFERENCE_TIME(seconds * 1e7);
        graph_.SetPositions(&t, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
        FILTER_STATE state;
        graph_.GetState(5000, state);
    }
    void Flip(bool horizontal, bool vertical)
    {
        flipH_ ^= horizontal;
        flipV_ ^= vertical;
        video_->SetOutputRect(
            0, {flipH_ ? 1.0f : 0.0f, flipV_ ? 1.0f : 0.0f, flipH_ ? 0.0f : 1.0f, flipV_ ? 0.0f : 1.0f});
    }
    void ToggleInlay()
    {
        inlayOn_ = !inlayOn_;
        VMR9AlphaBitmap block;
        if (!inlayOn_) {
            block.dwFlags = VMR9AlphaBitmap_Disable;
            video_->SetAlphaBitmap(block);
            return;
        }
        int32_t w = 0, h = 0, ax, ay;
        if (FAILED(video_->GetNativeVideoSize(w, h, ax, ay)))
            return;
        inlay_ = QImage(w, h, QImage::Format_RGB32);
        inlay_.fill(qRgb(255, 0, 255));
        QPainter painter(&inlay_);
        QFont font = painter.font();
        font.setPixelSize(std::max(w / 36, h / 28));
        painter.setFont(font);
        painter.setPen(Qt::yellow);
        painter.drawText(QRect(0, h * 8 / 10, w, h / 5), Qt::AlignCenter, QStringLiteral("Kestrin inlay"));
        painter.end();
        block.dwFlags = VMR9AlphaBitmap_hDC | VMR9AlphaBitmap_SrcColorKey | VMR9AlphaBitmap_FilterMode;
        block.hdc = &inlay_;
        block.rSrc = {0, 0, w, h};
        block.fAlpha = 0.8f;
        block.clrSrcKey = 0xFF00FF;
        video_->SetAlphaBitmap(block);
    }

  protected:
    void resizeEvent(QResizeEvent *) override
    {
        const RECT destination{8, 8, width() - 8, height() - 8};
        video_->SetVideoPosition(nullptr, &destination);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        switch (event->key()) {
        case Qt::Key_Space: {
            FILTER_STATE state;
            graph_.GetState(0, state);
            state == State_Running ? Pause() : Run();
            break;
        }
        case Qt::Key_H:
            Flip(true, false);
            break;
        case Qt::Key_V:
            Flip(false, true);
            break;
        case Qt::Key_I:
            ToggleInlay();
            break;
        default:
            QWidget::keyPressEvent(event);
        }
    }

  private:
    Graph graph_;
    FilterPtr source_;
    std::shared_ptr<VideoMixingRenderer> video_ = std::make_shared<VideoMixingRenderer>();
    std::shared_ptr<AudioRenderer> audio_ = std::make_shared<AudioRenderer>();
    QImage inlay_;
    bool flipH_ = false, flipV_ = false, inlayOn_ = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser options;
    options.addHelpOption();
    options.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The video to play."));
    options.addOption({QStringLiteral("snapshot"), QStringLiteral("Save the window to FILE and quit."),
                       QStringLiteral("FILE")});
    options.addOption({QStringLiteral("at"), QStringLiteral("Position of the snapshot in seconds."),
                       QStringLiteral("SECONDS"), QStringLiteral("0")});
    options.addOption({QStringLiteral("flip"), QStringLiteral("Flip: h, v or hv."), QStringLiteral("AXES")});
    options.addOption({QStringLiteral("inlay"), QStringLiteral("Show the test inlay.")});
    options.addOption(
        {QStringLiteral("free-run"), QStringLiteral("Play as fast as possible, print pictures per second.")});
    options.process(app);
    if (options.positionalArguments().isEmpty())
        options.showHelp(1);

    PlayerWindow window;
    window.show();
    // Free-running plays pictures only: the sound device would hold the graph to real time.
    if (!window.Open(options.positionalArguments().first(), !options.isSet(QStringLiteral("free-run")))) {
        std::fprintf(stderr, "Cannot play %s\n", qPrintable(options.positionalArguments().first()));
        return 1;
    }
    if (options.isSet(QStringLiteral("free-run"))) {
        std::printf("%.1f pictures per second\n", window.RunFree());
        return 0;
    }
    if (!options.isSet(QStringLiteral("snapshot"))) {
        window.Run();
        return app.exec();
    }
    window.Pause();
    window.Seek(options.value(QStringLiteral("at")).toDouble());
    const QString flip = options.value(QStringLiteral("flip"));
    window.Flip(flip.contains('h'), flip.contains('v'));
    if (options.isSet(QStringLiteral("inlay")))
        window.ToggleInlay();
    QTimer::singleShot(300, &window, [&] {
        const bool saved = window.grab().save(options.value(QStringLiteral("snapshot")));
        app.exit(saved ? 0 : 1);
    });
    return app.exec();
}
