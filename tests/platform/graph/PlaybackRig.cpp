#include "PlaybackRig.h"

#include "platform/graph/GraphEvents.h"

#include <QProcess>
#include <QStringList>

HRESULT PlaybackRig::Build(const QString &path)
{
    HRESULT hr = graph.AddSourceFilter(path.toStdString(), "Source", source);
    if (FAILED(hr))
        return hr;
    for (Pin *pin : source->Pins()) {
        MediaType type = pin->MediaTypes().at(0);
        FilterPtr renderer;
        if (type.majortype == MEDIATYPE_Video) {
            video = std::make_shared<NullVideoRenderer>();
            renderer = video;
        } else {
            audio.push_back(std::make_shared<NullAudioRenderer>());
            renderer = audio.back();
        }
        graph.AddFilter(renderer, "");
        hr = graph.Connect(*pin, *renderer->GetPin(0));
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

bool PlaybackRig::RunToCompletion(int timeoutMs)
{
    if (FAILED(graph.Run()))
        return false;
    int32_t code = 0;
    intptr_t p1 = 0, p2 = 0;
    while (graph.GetEvent(code, p1, p2, timeoutMs) == S_OK)
        if (code == EC_COMPLETE)
            return true;
    return false;
}

Filter *PlaybackRig::DecoderBefore(const Filter &renderer) const
{
    Pin *upstream = renderer.GetPin(0)->ConnectedTo();
    return upstream && &upstream->Owner() != source.get() ? &upstream->Owner() : nullptr;
}

namespace
{

QStringList Probe(const QStringList &arguments)
{
    QProcess ffprobe;
    ffprobe.start("ffprobe", QStringList{"-v", "error"} + arguments);
    if (!ffprobe.waitForFinished(60000) || ffprobe.exitCode() != 0)
        return {};
    return QString::fromUtf8(ffprobe.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

int64_t ProbedVideoFrames(const QString &path)
{
    const QStringList lines = Probe({"-count_frames", "-select_streams", "v:0", "-show_entries",
                                     "stream=nb_read_frames", "-of", "csv=p=0", path});
    return lines.isEmpty() ? -1 : lines.first().section(',', 0, 0).trimmed().toLongLong();
}

int64_t ProbedAudioSamples(const QString &path, int audioIndex)
{
    const QStringList lines = Probe({"-select_streams", QString("a:%1").arg(audioIndex), "-show_entries",
                                     "frame=nb_samples", "-of", "csv=p=0", path});
    if (lines.isEmpty())
        return -1;
    int64_t total = 0;
    for (const QString &line : lines)
        total += line.section(',', 0, 0).trimmed().toLongLong();
    return total;
}
