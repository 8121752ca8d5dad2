#pragma once

#include "platform/graph/Filter.h"
#include "platform/graph/InputPin.h"

#include <condition_variable>
#include <mutex>

// A downstream end for splitter tests: one input pin that accepts any type and keeps every
// sample it receives, the segments and whether the stream ended. Any thread.
class SplitterCollector : public Filter
{
  public:
    SplitterCollector();
    InputPin &Input() const;
    std::vector<SamplePtr> Samples() const;
    bool Ended() const;
    // Waits up to ten seconds for the end of the stream.
    bool WaitForEnd() const;
    // Forgets what was received (after a seek).
    void Clear();

  private:
    class In;
    In *in_;
};
