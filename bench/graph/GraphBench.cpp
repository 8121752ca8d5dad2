// Decodes the video of each clip through the filter graph (file source, decoder, null renderer,
// no clock) and through `ffmpeg -i CLIP -pix_fmt bgra -f null -` in the same run, with one
// decoding thread and with FFmpeg's frame threading, and prints pictures per second and the
// ratio of the two. Usage: bench_graph [MEDIA_DIR] [CLIP...] (a clip may be an absolute path).
#include "platform/graph/DecoderFilter.h"
#include "platform/graph/Graph.h"
#include "platform/graph/GraphEvents.h"
#include "platform/graph/NullVideoRenderer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <memory>

namespace
{

struct Run {
    int64_t pictures = 0;
    double seconds = 0;
    double Rate() const { return seconds > 0 ? pictures / seconds : 0; }
};

// The graph: the clip's first video stream to a null renderer through the decoder intelligent
// connection picks, run free to the end.
bool GraphRun(const QString &clip, int threads, Run &run)
{
    Graph graph;
    FilterPtr source;
    if (FAILED(graph.AddSourceFilter(clip.toStdString(), "Source", source)))
        return false;
    auto renderer = std::make_shared<NullVideoRenderer>();
    graph.AddFilter(renderer, "Renderer");
    Pin *video = nullptr;
    for (Pin *pin : source->Pins())
        if (!video && pin->MediaTypes().at(0).majortype == MEDIATYPE_Video)
            video = pin;
    if (!video || FAILED(graph.Connect(*video, *renderer->GetPin(0))))
        return false;
    for (const FilterPtr &filter : graph.Filters())
        if (auto *decoder = filter->Query<DecoderFilter>())
            decoder->SetThreadCount(threads);
    graph.SetSyncSource(nullptr);
    QElapsedTimer timer;
    timer.start();
    if (FAILED(graph.Run()))
        return false;
    int32_t code = 0;
    intptr_t p1, p2;
    while (code != EC_COMPLETE)
        if (graph.GetEvent(code, p1, p2, 600000) != S_OK)
            return false;
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.pictures = renderer->Stats().rendered;
    graph.Stop();
    return true;
}

// The peer: ffmpeg decoding the same video to BGRA and discarding it, timed by its own
// -benchmark report (from the first packet on, as the graph is timed from Run), so starting the
// process and opening the file count on neither side.
bool FfmpegRun(const QString &clip, int threads, int64_t pictures, Run &run)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "info", "-hide_banner", "-nostats", "-benchmark", "-nostdin", "-threads",
                            QString::number(threads), "-i", clip, "-map", "0:v:0", "-an", "-pix_fmt", "bgra",
                            "-f", "null", "-"});
    if (!ffmpeg.waitForFinished(600000) || ffmpeg.exitCode() != 0)
        return false;
    const QString report = QString::fromUtf8(ffmpeg.readAllStandardOutput() + ffmpeg.readAllStandardError());
    const int at = report.indexOf("rtime=");
    if (at < 0)
        return false;
    run.seconds = report.mid(at + 6).section('s', 0, 0).toDouble();
    run.pictures = pictures;
    return run.seconds > 0;
}

// The fastest of a few runs of each, alternating, so a busy moment of the machine spoils neither.
bool Measure(const QString &clip, int threads, Run &graph, Run &peer)
{
    constexpr int Rounds = 3;
    for (int round = 0; round < Rounds; ++round) {
        Run g, p;
        if (!GraphRun(clip, threads, g) || !FfmpegRun(clip, threads, g.pictures, p))
            return false;
        if (round == 0 || g.seconds < graph.seconds)
            graph = g;
        if (round == 0 || p.seconds < peer.seconds)
            peer = p;
    }
    return true;
}

// The test clips are short; a 20-second SD MPEG-2 program stream (GOP 12, two B-frames) made
// here once gives the MPEG-2 figures a steadier base. Empty when ffmpeg cannot make it.
QString LongMpeg2Clip()
{
    const QString dir = QDir::tempPath() + "/kestrin-bench";
    const QString clip = dir + "/mpeg2_sd_20s.mpg";
    if (QFileInfo::exists(clip))
        return clip;
    QDir().mkpath(dir);
    const QString partial = clip + ".part";
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                            "testsrc2=size=720x576:rate=25:duration=20", "-c:v", "mpeg2video", "-b:v", "8M",
                            "-g", "12", "-bf", "2", "-f", "vob", partial});
    if (!ffmpeg.waitForFinished(600000) || ffmpeg.exitCode() != 0 || !QFile::rename(partial, clip))
        return {};
    return clip;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const QString dir = args.isEmpty() ? QString(KESTRIN_BENCH_MEDIA_DIR) : args.takeFirst();
    if (args.isEmpty()) {
        args = {"h264_1080p_gop250.mp4", "h264_aac.mp4",  "mpeg2_mp2.mpg",
                "dv_pal_16x9.dv",        "wmv2_wma2.wmv", "h264_vorbis_2997.mkv"};
        if (const QString mpeg2 = LongMpeg2Clip(); !mpeg2.isEmpty())
            args.append(mpeg2);
    }
    std::printf("%-24s %-7s %8s %10s %10s %7s\n", "clip", "threads", "pictures", "graph fps", "ffmpeg fps",
                "ratio");
    int failures = 0;
    for (const QString &name : args) {
        const QString clip = QFileInfo(name).isAbsolute() ? name : dir + "/" + name;
        if (!QFileInfo::exists(clip)) {
            std::printf("%-24s missing\n", qPrintable(QFileInfo(name).fileName()));
            continue;
        }
        // 1: single-threaded; 0: FFmpeg's frame threads on every core.
        for (int threads : {1, 0}) {
            Run graph, peer;
            const bool ok = Measure(clip, threads, graph, peer);
            if (!ok) {
                std::printf("%-24s %-7s failed\n", qPrintable(QFileInfo(name).fileName()),
                            threads == 1 ? "1" : "frame");
                ++failures;
                continue;
            }
            std::printf("%-24s %-7s %8lld %10.1f %10.1f %7.2f\n", qPrintable(QFileInfo(name).fileName()),
                        threads == 1 ? "1" : "frame", static_cast<long long>(graph.pictures), graph.Rate(),
                        peer.Rate(), peer.Rate() > 0 ? graph.Rate() / peer.Rate() : 0.0);
        }
    }
    return failures ? 1 : 0;
}
