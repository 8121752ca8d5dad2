#include "NavRig.h"
#include "StreamRig.h"

#include "framework/CheckAction.h"
#include "platform/graph/ClassRegistry.h"
#include "platform/graph/FileSourceFilter.h"
#include "platform/graph/LavSplitterSource.h"

NavRig::NavRig()
{
    panel.resize(320, 240);
    nav.setObjectName(QStringLiteral("NavMan"));
    nav.Loaded();
    qobject_cast<TCheckAction *>(nav.FindByInternalId(QStringLiteral("caSeekPrecision")))->SetChecked(true);
}

HRESULT NavRig::ConnectVideo(OutputPin &pin)
{
    renderer->SetVideoClippingWindow(&panel);
    frames->FrameWindow = nav.Handle();
    nav.FramesNotifier = frames.get();
    nav.RendererFilter = renderer.get();
    return StreamRig::ConnectThrough(*nav.GraphBuilder, pin, frames, "Frames Notifier", renderer);
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
    StreamRig::PumpUntil([] { return false; }, ms);
}
