#include "GrapheMan.h"

#include "media/FilterQueries.h"
#include "media/GraphError.h"
#include "platform/graph/GraphEvents.h"

namespace
{

// Private message of the hidden window: the graph has events to collect.
constexpr uint32_t WM_GRAPHNOTIFY = 0x2430;
constexpr int StatePollMs = 10;

void ThrowOnFailure(HRESULT hr)
{
    if (FAILED(hr))
        throw EGraphError(QString::fromStdString(ResultText(hr)) +
                          QStringLiteral(" ($%1).").arg(uint32_t(hr), 0, 16));
}

} // namespace

TGrapheMan::TGrapheMan(QObject *owner)
    : TKSActionComponent(owner), graph_(std::make_unique<::Graph>()),
      captureBuilder_(std::make_unique<CaptureGraphBuilder>(*graph_)), GraphBuilder(graph_.get()),
      CaptureBuilder(captureBuilder_.get()), MediaSeeking(graph_.get())
{
    graph_->SetNotifyWindow(Handle(), WM_GRAPHNOTIFY);
}

TGrapheMan::~TGrapheMan()
{
    graph_->Stop();
    graph_->Clear();
}

HRESULT TGrapheMan::RunGraph()
{
    const HRESULT hr = graph_->Run();
    ThrowOnFailure(hr);
    return hr;
}

HRESULT TGrapheMan::StopGraph()
{
    const HRESULT hr = graph_->Stop();
    ThrowOnFailure(hr);
    return hr;
}

bool TGrapheMan::Play()
{
    MediaSeeking->SetRate(1.0);
    RunGraph();
    WaitGraphSettled();
    if (OnStateChange)
        OnStateChange(gmPlaying);
    return true;
}

bool TGrapheMan::Pause()
{
    const bool paused = SUCCEEDED(graph_->Pause());
    WaitGraphSettled();
    if (paused && OnStateChange)
        OnStateChange(gmPaused);
    return paused;
}

bool TGrapheMan::Stop()
{
    const bool stopped = StopGraph() == S_OK;
    WaitGraphSettled();
    if (stopped && OnStateChange)
        OnStateChange(gmStopped);
    return stopped;
}

// A pause settles only when every renderer holds a picture, and a picture may wait for a message
// the UI thread must answer (the frames notifier's alarm): so sent messages keep being delivered,
// and the wait ends after SettleTimeoutMs whatever happens (a stream that never delivers).
bool TGrapheMan::WaitSettled(const std::function<HRESULT()> &state)
{
    return MessageWindow::WaitDeliveringSent([&] { return state() != VFW_S_STATE_INTERMEDIATE; },
                                             SettleTimeoutMs);
}

bool TGrapheMan::WaitGraphSettled()
{
    return WaitSettled([this] {
        FILTER_STATE state;
        return graph_->GetState(StatePollMs, state);
    });
}

bool TGrapheMan::WaitRendererSettled()
{
    if (!RendererFilter)
        return true;
    return WaitSettled([this] {
        FILTER_STATE state;
        return RendererFilter->GetState(StatePollMs, state);
    });
}

int TGrapheMan::GraphState() const
{
    FILTER_STATE state;
    if (FAILED(graph_->GetState(0, state)))
        return 0;
    return int(state) + 1;
}

void TGrapheMan::RemoveUnconnectedFilters()
{
    const std::vector<FilterPtr> filters = graph_->Filters();
    for (auto it = filters.rbegin(); it != filters.rend(); ++it)
        if (!AnyPinConnected(it->get()))
            graph_->RemoveFilter(**it);
}

void TGrapheMan::GraphComplete(HRESULT result)
{
    if (SUCCEEDED(result) && OnGraphCompleted)
        OnGraphCompleted();
}

void TGrapheMan::HandleGraphEvents()
{
    int32_t code = 0;
    intptr_t param1 = 0, param2 = 0;
    while (graph_->GetEvent(code, param1, param2, 0) == S_OK)
        if (code == EC_COMPLETE)
            GraphComplete(HRESULT(param1));
}

LRESULT TGrapheMan::WndProc(uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_GRAPHNOTIFY) {
        HandleGraphEvents();
        return 0;
    }
    return TKSActionComponent::WndProc(msg, wParam, lParam);
}
