#include "StreamRig.h"

#include "platform/core/MessageWindow.h"
#include "platform/graph/AsyncFileSource.h"
#include "platform/graph/AviSplitter.h"
#include "platform/graph/ClassRegistry.h"
#include "platform/graph/FileSourceFilter.h"
#include "platform/graph/GraphEvents.h"
#include "platform/graph/LavSplitterSource.h"
#include "platform/graph/NullAudioRenderer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

HRESULT StreamRig::Open(const QString &path, Source source)
{
    FilterPtr file;
    const Guid fileClass = source == Source::Lav ? CLSID_LAVSplitterSource : CLSID_AsyncReader;
    HRESULT hr = graph.AddFilterByClass(fileClass, "Source", file);
    if (SUCCEEDED(hr))
        hr = file->Query<FileSourceFilter>()->Load(path.toStdString(), nullptr);
    if (FAILED(hr) || source == Source::Lav) {
        last_ = file;
        return hr;
    }
    hr = graph.AddFilterByClass(CLSID_AviSplitter, "Splitter", last_);
    return SUCCEEDED(hr) ? graph.ConnectDirect(*file->GetPin(0), *last_->GetPin(0)) : hr;
}

OutputPin *StreamRig::FirstPin() const
{
    for (Pin *pin : last_->Pins())
        if (pin->Direction() == PINDIR_OUTPUT)
            return static_cast<OutputPin *>(pin);
    return nullptr;
}

HRESULT StreamRig::Insert(const FilterPtr &filter, OutputPin &pin)
{
    HRESULT hr = graph.AddFilter(filter, "");
    if (SUCCEEDED(hr))
        hr = graph.ConnectDirect(pin, *filter->GetPin(0));
    if (FAILED(hr))
        return hr;
    MediaType type;
    pin.ConnectionMediaType(type);
    FilterPtr renderer;
    if (type.majortype == MEDIATYPE_Audio) {
        renderer = std::make_shared<NullAudioRenderer>();
    } else {
        video = std::make_shared<NullVideoRenderer>();
        renderer = video;
    }
    hr = graph.AddFilter(renderer, "");
    return SUCCEEDED(hr) ? graph.Connect(*filter->GetPin(1), *renderer->GetPin(0)) : hr;
}

HRESULT StreamRig::InsertBeforeRenderer(const FilterPtr &filter, OutputPin &pin)
{
    video = std::make_shared<NullVideoRenderer>();
    return ConnectThrough(graph, pin, filter, "", video);
}

HRESULT StreamRig::ConnectThrough(Graph &graph, OutputPin &pin, const FilterPtr &filter,
                                  const std::string &filterName, const FilterPtr &renderer)
{
    HRESULT hr = graph.AddFilter(renderer, "");
    if (SUCCEEDED(hr))
        hr = graph.Connect(pin, *renderer->GetPin(0));
    if (FAILED(hr))
        return hr;
    Pin &decoded = *renderer->GetPin(0)->ConnectedTo();
    graph.Disconnect(decoded);
    hr = graph.AddFilter(filter, filterName);
    if (SUCCEEDED(hr))
        hr = graph.ConnectDirect(decoded, *filter->GetPin(0));
    return SUCCEEDED(hr) ? graph.ConnectDirect(*filter->GetPin(1), *renderer->GetPin(0)) : hr;
}

bool StreamRig::PumpUntil(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        MessageWindow::DeliverSentMessages();
    }
    QCoreApplication::processEvents();
    return true;
}

bool StreamRig::PlayToEnd(Clock clock, int timeoutMs)
{
    if (clock == Clock::Free)
        graph.SetSyncSource(nullptr);
    if (FAILED(graph.Run()))
        return false;
    bool complete = false;
    const bool ended = PumpUntil(
        [&] {
            int32_t code = 0;
            intptr_t p1 = 0, p2 = 0;
            while (graph.GetEvent(code, p1, p2, 0) == S_OK)
                complete = complete || code == EC_COMPLETE;
            return complete;
        },
        timeoutMs);
    graph.Stop();
    QCoreApplication::processEvents();
    return ended;
}
