#include "NavRig.h"

#include "framework/CheckAction.h"
#include "platform/graph/ClassRegistry.h"
#include "platform/graph/FileSourceFilter.h"
#include "platform/graph/LavSplitterSource.h"

#include <QCoreApplication>
#include <QElapsedTimer>

NavRig::NavRig()
{
    panel.resize(320, 240);
    nav.setObjectName(QStringLiteral("NavMan"));
    nav.Loaded();
    qobject_cast<TCheckAction *>(nav.FindByInternalId(QStringLiteral("caSeekPrecision")))->SetChecked(true);
}

HRESULT NavRig::ConnectVideo(OutputPin &pin)
{
    Graph &graph = *nav.GraphBuilder;
    renderer->SetVideoClippingWindow(&panel);
    HRESULT hr = graph.AddFilter(renderer, "Video Renderer");
    if (SUCCEEDED(hr))
        hr = graph.Connect(pin, *renderer->GetPin(0));
    if (FAILED(hr))
        return hr;
    Pin &decoded = *renderer->GetPin(0)->ConnectedTo();
    graph.Disconnect(decoded);
    frames->FrameWindow = nav.Handle();
    hr = graph.AddFilter(frames, "Frames Notifier");
    if (SUCCEEDED(hr))
        hr = graph.ConnectDirect(decoded, *frames->GetPin(0));
    if (SUCCEEDED(hr))
        hr = graph.ConnectDirect(*frames->GetPin(1), *renderer->GetPin(0));
    nav.FramesNotifier = frames.get();
    nav.RendererFilter = renderer.get();
    return hr;
}

bool NavRig::Open(const QString &path)
{
    Graph &graph = *nav.GraphBuilder;
    FilterPtr source;
    if (FAILED(graph.AddFilterByClass(CLSID_LAVSplitterSource, "Source", source)) ||
        FAILED(source->Query<FileSourceFilter>()->Load(path.toStdString(), nullptr)))
        return false;
    for (Pin *pin : source->Pins()) {
        auto &out = static_cast<OutputPin &>(*pin);
        const bool video = out.MediaTypes().at(0).majortype == MEDIATYPE_Video;
        if (FAILED(video ? ConnectVideo(out) : graph.Render(out)))
            return false;
    }
    nav.ReReadLength();
    if (nav.FramesNotifier)
        nav.SetFrameDuration(frames->VideoData().AvgTimePerFrame);
    nav.Quiet = true;
    nav.SetRange(true, -1, -1);
    nav.Quiet = false;
    frames->SetActive(true);
    return true;
}

void NavRig::Pump(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}
