// Precise seeks to random frames of a clip through the navigation manager, set up on the file as
// the program sets it up (source, decoders, frames notifier, windowless renderer, audio
// renderers), against `ffmpeg -ss T -i CLIP -frames:v 1` decoding the same frames, one process
// per target. Each of ours is timed from the call until it returns with the picture on screen and
// checked to show the target frame. Prints every seek, the median and mean of both sides, the
// ratio of the medians, a fit of the time against the pictures decoded from the key frame, CPU
// time and peak memory. Usage: bench_seek [--decoder-threads N] [COUNT] [CLIP] (defaults: the
// program's own decoder threads, 20 seeks, the 1080p bench clip); --decoder-threads shows what
// another libavcodec thread count (0: FFmpeg's choice) would give.
#include "NavRig.h"
#include "platform/graph/VideoDecoderFilter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <optional>
#include <random>
#include <vector>

namespace
{

// One seek of either side: wall time and CPU time (every thread of the process) in ms.
struct Timing {
    double wallMs = 0;
    double cpuMs = 0;
};

struct Target {
    int frame = 0;
    int fromKey = 0; // pictures decoded in display order: the key frame before it to the target
    Timing ours, ffmpeg;
};

double CpuMs(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Our process's peak memory. The children's figure is left out: a child's peak counts the copy
// of this process it started as, before it became ffmpeg.
long PeakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double LoadAverage()
{
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

// Frame indices of the key frames of the clip's first video stream, from the packet flags
// (presentation times divided by the frame duration). Empty when ffprobe fails.
std::vector<int> KeyFrames(const QString &clip, int64_t frameHns)
{
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"), {"-v", "error", "-select_streams", "v:0", "-show_entries",
                                              "packet=pts_time,flags", "-of", "csv=p=0", clip});
    std::vector<int> keys;
    if (!ffprobe.waitForFinished(60000) || ffprobe.exitCode() != 0)
        return keys;
    for (const QByteArray &line : ffprobe.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(',');
        if (fields.size() >= 2 && fields[1].startsWith('K'))
            keys.push_back(int(std::llround(fields[0].toDouble() * 1e7 / double(frameHns))));
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

int PicturesFromKey(const std::vector<int> &keys, int frame)
{
    auto after = std::upper_bound(keys.begin(), keys.end(), frame);
    return after == keys.begin() ? frame + 1 : frame - *(after - 1) + 1;
}

// Our side: one precise seek; returns the time of the frame on screen afterwards.
int64_t OurSeek(NavRig &rig, int64_t targetHns, Timing &timing)
{
    const double cpu = CpuMs(RUSAGE_SELF);
    QElapsedTimer timer;
    timer.start();
    rig.nav.PreciseSeek(targetHns);
    timing.wallMs = timer.nsecsElapsed() / 1e6;
    timing.cpuMs = CpuMs(RUSAGE_SELF) - cpu;
    return rig.frames->CurrentTime;
}

// The peer: a new process decoding the picture at the target to 32-bit RGB and discarding it.
bool FfmpegSeek(const QString &clip, int64_t targetHns, Timing &timing)
{
    const double cpu = CpuMs(RUSAGE_CHILDREN);
    QElapsedTimer timer;
    timer.start();
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "error", "-ss", QString::number(targetHns / 1e7, 'f', 7), "-i", clip, "-frames:v",
                  "1", "-f", "rawvideo", "-pix_fmt", "bgra", "-y", "/dev/null"});
    const bool ok = ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
                    ffmpeg.exitCode() == 0;
    timing.wallMs = timer.nsecsElapsed() / 1e6;
    timing.cpuMs = CpuMs(RUSAGE_CHILDREN) - cpu;
    return ok;
}

// The libavcodec threads of the video decoders: the given count when `threads` >= 0 (set while
// the graph is stopped; the next precise seek pauses it again), then the count in use.
int VideoDecoderThreads(NavRig &rig, int threads)
{
    if (threads >= 0)
        rig.nav.Stop();
    int inUse = -1;
    for (const FilterPtr &filter : rig.nav.GraphBuilder->Filters())
        if (auto *decoder = filter->Query<VideoDecoderFilter>()) {
            if (threads >= 0)
                decoder->SetThreadCount(threads);
            inUse = decoder->ThreadCount();
        }
    return inUse;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double Mean(const std::vector<double> &values)
{
    return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

// Least-squares line through (pictures from key frame, ms): the cost of a seek before any
// decoding and the cost of each picture decoded on the way to the target. None when every seek
// decodes as many pictures (all key frames, or a single seek).
struct Fit {
    double fixedMs = 0;
    double perPictureMs = 0;
};

std::optional<Fit> FitLine(const std::vector<Target> &targets, Timing Target::*side)
{
    const double n = double(targets.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Target &t : targets) {
        const double x = t.fromKey, y = (t.*side).wallMs;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double det = n * sxx - sx * sx;
    if (n < 2 || det == 0)
        return std::nullopt;
    const double slope = (n * sxy - sx * sy) / det;
    return Fit{(sy - slope * sx) / n, slope};
}

void PrintSummary(const char *name, const std::vector<Target> &targets, Timing Target::*side)
{
    std::vector<double> wall, cpu;
    for (const Target &t : targets) {
        wall.push_back((t.*side).wallMs);
        cpu.push_back((t.*side).cpuMs);
    }
    std::printf("%-7s median %8.1f ms  mean %8.1f ms  cpu mean %8.1f ms", name, Median(wall), Mean(wall),
                Mean(cpu));
    if (const std::optional<Fit> fit = FitLine(targets, side))
        std::printf("  fit %6.1f ms + %5.2f ms/picture", fit->fixedMs, fit->perPictureMs);
    std::printf("\n");
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int threads = -1;
    if (args.size() >= 2 && args[0] == QLatin1String("--decoder-threads")) {
        threads = args[1].toInt();
        args = args.mid(2);
    }
    const int count = args.size() > 0 ? args[0].toInt() : 20;
    const QString clip =
        args.size() > 1 ? args[1] : QStringLiteral(KESTRIN_BENCH_MEDIA_DIR "/h264_1080p_gop250.mp4");
    if (count <= 0 || !QFileInfo::exists(clip)) {
        std::fprintf(
            stderr,
            "usage: bench_seek [--decoder-threads N] [COUNT] [CLIP]; missing %s? (ninja bench_media)\n",
            qPrintable(clip));
        return 2;
    }

    // Opening is paid once here and again by every ffmpeg process; shown for comparison.
    QElapsedTimer opening;
    opening.start();
    NavRig rig;
    if (!rig.Open(clip) || rig.nav.FrameDuration <= 1) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(clip));
        return 1;
    }
    const double openMs = opening.nsecsElapsed() / 1e6;
    const int64_t frameHns = rig.nav.FrameDuration;
    const int frames = int(rig.nav.Duration / frameHns);
    const std::vector<int> keys = KeyFrames(clip, frameHns);
    std::printf("clip %s: %d frames of %.2f ms, %zu key frames; opened in %.1f ms; %d seeks; video decoder "
                "threads %d; load %.2f\n",
                qPrintable(QFileInfo(clip).fileName()), frames, frameHns / 1e4, keys.size(), openMs, count,
                VideoDecoderThreads(rig, threads), LoadAverage());

    // The same targets for both sides; first and last frames left out, as those are plain seeks.
    std::mt19937 random(20);
    std::vector<Target> targets(static_cast<size_t>(count));
    for (Target &t : targets) {
        t.frame = 1 + int(random() % unsigned(frames - 2));
        t.fromKey = PicturesFromKey(keys, t.frame);
    }

    // Alternating per target, so a busy moment of the machine falls on both sides alike.
    int mismatches = 0, failures = 0;
    std::printf("%7s %9s %10s %10s %11s %11s\n", "frame", "from key", "ours ms", "ffmpeg ms", "ours cpu",
                "ffmpeg cpu");
    for (Target &t : targets) {
        const int64_t targetHns = t.frame * frameHns;
        const int64_t shownHns = OurSeek(rig, targetHns, t.ours);
        if (shownHns != targetHns)
            ++mismatches;
        const bool peerOk = FfmpegSeek(clip, targetHns, t.ffmpeg);
        if (!peerOk)
            ++failures;
        std::printf("%7d %9d %10.1f %10.1f %11.1f %11.1f", t.frame, t.fromKey, t.ours.wallMs, t.ffmpeg.wallMs,
                    t.ours.cpuMs, t.ffmpeg.cpuMs);
        if (shownHns != targetHns)
            std::printf("  wrong frame on screen: %.2f", double(shownHns) / double(frameHns));
        if (!peerOk)
            std::printf("  ffmpeg failed");
        std::printf("\n");
    }

    PrintSummary("ours", targets, &Target::ours);
    PrintSummary("ffmpeg", targets, &Target::ffmpeg);
    std::vector<double> ours, peer;
    for (const Target &t : targets) {
        ours.push_back(t.ours.wallMs);
        peer.push_back(t.ffmpeg.wallMs);
    }
    std::printf("ratio of medians (ours/ffmpeg): %.2f\n",
                Median(peer) > 0 ? Median(ours) / Median(peer) : 0.0);
    std::printf("wrong frames: %d of %d; ffmpeg failures: %d\n", mismatches, count, failures);
    std::printf("peak RSS of ours: %ld kB; load %.2f\n", PeakKb(), LoadAverage());
    rig.nav.Stop();
    return mismatches || failures ? 1 : 0;
}
