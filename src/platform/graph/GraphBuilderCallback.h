#pragma once

#include "platform/core/Guid.h"
#include "platform/core/Result.h"

class Filter;

// Asked by the graph during intelligent connection, on the UI thread: a failure from
// SelectedFilter() refuses that class before it is created; a failure from CreatedFilter()
// refuses the created filter before it joins the graph.
class GraphBuilderCallback
{
  public:
    virtual ~GraphBuilderCallback() = default;
    virtual HRESULT SelectedFilter(const Guid &classId) = 0;
    virtual HRESULT CreatedFilter(Filter &) { return S_OK; }
};
