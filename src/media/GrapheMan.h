#pragma once

#include "framework/KSActionComponent.h"
#include "platform/graph/CaptureGraphBuilder.h"
#include "platform/graph/Graph.h"

#include <functional>
#include <memory>
#include <vector>

class TavSource;

enum TGrapheManState { gmStopped, gmPaused, gmPlaying };

// A manager component that owns one playback graph: it plays, pauses and stops it and waits
// until a state change has settled, reports state changes and the end of the media, and prunes
// filters left unconnected. The sources and the video, audio and navigation managers use the
// graph through the interfaces below. UI thread only.
class TGrapheMan : public TKSActionComponent
{
    Q_OBJECT
    // First, so the interfaces below can be taken from them.
    std::unique_ptr<::Graph> graph_;
    std::unique_ptr<CaptureGraphBuilder> captureBuilder_;

  public:
    using TStateEvent = std::function<void(TGrapheManState aGrapheManState)>;
    using TGraphCompletedEvent = std::function<void()>;

    explicit TGrapheMan(QObject *owner = nullptr);
    ~TGrapheMan() override;

    // The graph and the views of it the other managers use. The graph object plays all three
    // roles here; they are kept apart so that callers say which service they use.
    ::Graph *const GraphBuilder;
    CaptureGraphBuilder *const CaptureBuilder;
    ::MediaSeeking *const MediaSeeking;
    // The video renderer, handed over by the video manager when it connects a stream.
    Filter *RendererFilter = nullptr;

    // Not owned; the sources add and remove themselves when they connect and disconnect.
    std::vector<TavSource *> ConnectedVideoSources;
    std::vector<TavSource *> ConnectedAudioSources;

    TStateEvent OnStateChange;
    TGraphCompletedEvent OnGraphCompleted;
    // Kept for the stored form; there is no external graph inspector to register with here.
    bool GraphEdit = false;

    // True when the graph accepted the command. Play and Stop throw EGraphError when the
    // platform refuses them with a failure code; a refused pause gives false.
    virtual bool Play();
    virtual bool Pause();
    virtual bool Stop();

    // Removes every filter none of whose pins is connected, walking from the last filter.
    void RemoveUnconnectedFilters();
    // Wait until the graph, or the video renderer, has finished a state change, delivering
    // messages that streaming threads send meanwhile. Bounded by SettleTimeoutMs; true when
    // settled.
    bool WaitGraphSettled();
    bool WaitRendererSettled();
    static constexpr int SettleTimeoutMs = 10000;

    // The graph's notification that the media has played to its end.
    void GraphComplete(HRESULT result);

    // The graph state as 1 stopped, 2 paused, 3 playing (0 when it cannot tell).
    int GraphState() const;

  protected:
    LRESULT WndProc(uint32_t msg, WPARAM wParam, LPARAM lParam) override;
    // The component's run or stop: a failure code throws EGraphError with the platform's text.
    HRESULT RunGraph();
    HRESULT StopGraph();

  private:
    bool WaitSettled(const std::function<HRESULT()> &state);
    void HandleGraphEvents();
};
