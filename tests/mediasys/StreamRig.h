#pragma once

#include "platform/graph/Graph.h"
#include "platform/graph/NullVideoRenderer.h"

#include <QString>

// A playback graph for the stream filters' tests: a file source, a filter under test inserted
// right after one of its pins, and null renderers behind it (with whatever decoders intelligent
// connection finds). The UI thread runs it and handles the filters' messages meanwhile.
class StreamRig
{
  public:
    enum class Source { Lav, Avi }; // libavformat source, or file source + AVI splitter
    enum class Clock { Real, Free };

    Graph graph;
    std::shared_ptr<NullVideoRenderer> video;

    HRESULT Open(const QString &path, Source source);
    OutputPin *FirstPin() const;
    // Adds `filter`, connects `pin` straight to its input and its output on to a null renderer.
    HRESULT Insert(const FilterPtr &filter, OutputPin &pin);
    // Connects `pin` to a null video renderer through a decoder and puts `filter` between the
    // decoder and the renderer.
    HRESULT InsertBeforeRenderer(const FilterPtr &filter, OutputPin &pin);
    // The same in any graph, with any renderer: `pin` to `renderer` through whatever decoder
    // intelligent connection finds, then `filter` between that decoder and the renderer.
    static HRESULT ConnectThrough(Graph &graph, OutputPin &pin, const FilterPtr &filter,
                                  const std::string &filterName, const FilterPtr &renderer);
    // Runs until the end of the media, delivering messages meanwhile; then stops. False on a
    // time-out.
    bool PlayToEnd(Clock clock, int timeoutMs);
    // Delivers posted and sent messages until `done` or the time-out; false on the time-out.
    static bool PumpUntil(const std::function<bool()> &done, int timeoutMs);

  private:
    FilterPtr last_; // the filter whose output pins the stream comes from
};
