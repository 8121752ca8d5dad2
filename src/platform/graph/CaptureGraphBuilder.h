#pragma once

#include "Graph.h"

// Helpers over a graph for finding pins and rendering streams. UI thread.
class CaptureGraphBuilder
{
  public:
    explicit CaptureGraphBuilder(Graph &graph) : graph_(graph) {}

    // The `index`-th pin of `filter` (0-based) with `direction`, in pin category `category`
    // (GUID_NULL: any) whose preferred or connected type has major type `majorType` (GUID_NULL:
    // any), skipping connected pins when `unconnectedOnly`. VFW_E_NOT_FOUND when there is none.
    HRESULT FindPin(Filter &filter, PIN_DIRECTION direction, const Guid &category, const Guid &majorType,
                    bool unconnectedOnly, int index, Pin *&pin) const;
    // Connects `source` to the first unconnected input of `sink` through whatever filters it
    // takes (intelligent connection); with no sink, renders it.
    HRESULT RenderStream(Pin &source, Filter *sink);
    // The same from `source`'s first unconnected output of `category` and `majorType` (GUID_NULL:
    // any).
    HRESULT RenderStream(const Guid &category, const Guid &majorType, Filter &source, Filter *sink);

  private:
    Graph &graph_;
};
