#pragma once

#include "OutputPin.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// An output pin of a source or splitter with its own streaming thread: the filter's reading
// thread queues samples, segments and end of stream, and the pin's thread delivers them
// downstream. The queue is bounded, so a reader outpacing this stream blocks while other pins
// of the filter keep their own pace (a blocked video renderer never starves audio). A queue is
// full at `maxQueued` items once they also span two seconds of the stream.
//
// Threads: StartStreaming()/StopStreaming() from the filter's state changes (UI thread);
// Queue*() from the reading thread; BeginFlush()/EndFlush() from the thread that seeks.
class StreamingOutputPin : public OutputPin
{
  public:
    StreamingOutputPin(Filter &owner, std::string name, size_t maxQueued = 24);
    ~StreamingOutputPin() override;

    // Starts the delivering thread; the queue starts empty and accepting.
    void StartStreaming();
    // Refuses and drops what is queued, wakes a blocked reader and joins the thread (the
    // downstream filter, stopped first, has woken its own waits). On a thread with message
    // windows it keeps delivering messages sent to them meanwhile, so a streaming thread blocked
    // in a send cannot deadlock the stop.
    void StopStreaming();

    // Block while the queue is full. False (the item is dropped) while flushing or not streaming.
    bool QueueSample(SamplePtr sample);
    bool QueueNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);
    bool QueueEndOfStream();

    // Start of a flush: drops what is queued, refuses new items, wakes a blocked reader, flushes
    // downstream and returns once the delivering thread is out of downstream calls.
    void BeginFlush();
    // End of a flush: ends it downstream and accepts items again; a new segment should follow.
    void EndFlush();

  private:
    struct Item {
        enum class Kind { Sample, Segment, End } kind;
        SamplePtr sample;
        REFERENCE_TIME start = 0, stop = 0;
        double rate = 1.0;
    };
    static constexpr REFERENCE_TIME MinQueuedHns = 20'000'000; // two seconds
    static constexpr size_t HardLimit = 1000;

    bool Enqueue(Item item);
    bool Full() const;
    // Waits, delivering messages sent to this thread's windows, until done() holds under mutex_.
    void WaitFor(const std::function<bool()> &done);
    void ThreadMain();
    HRESULT DeliverItem(const Item &item);
    bool Failed();

    const size_t maxQueued_;
    std::mutex mutex_; // guards everything below
    std::condition_variable changed_;
    std::deque<Item> queue_;
    bool accepting_ = false; // false while flushing or not streaming
    bool quit_ = false;
    bool delivering_ = false;   // the thread is inside a downstream call
    bool streamFailed_ = false; // downstream refused the stream; drop until the next flush
    bool threadDone_ = true;
    std::thread thread_;
};
