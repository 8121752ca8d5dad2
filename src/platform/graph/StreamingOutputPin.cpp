#include "StreamingOutputPin.h"

#include "platform/core/MessageWindow.h"

#include <algorithm>

StreamingOutputPin::StreamingOutputPin(Filter &owner, std::string name, size_t maxQueued)
    : OutputPin(owner, std::move(name)), maxQueued_(maxQueued)
{
}

StreamingOutputPin::~StreamingOutputPin()
{
    StopStreaming();
}

void StreamingOutputPin::StartStreaming()
{
    StopStreaming();
    std::lock_guard lock(mutex_);
    queue_.clear();
    quit_ = false;
    accepting_ = true;
    streamFailed_ = false;
    threadDone_ = false;
    thread_ = std::thread(&StreamingOutputPin::ThreadMain, this);
}

void StreamingOutputPin::StopStreaming()
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        accepting_ = false;
        queue_.clear();
    }
    changed_.notify_all();
    WaitFor([this] { return threadDone_; });
    thread_.join();
}

bool StreamingOutputPin::QueueSample(SamplePtr sample)
{
    return Enqueue(Item{Item::Kind::Sample, std::move(sample)});
}

bool StreamingOutputPin::QueueNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    return Enqueue(Item{Item::Kind::Segment, nullptr, start, stop, rate});
}

bool StreamingOutputPin::QueueEndOfStream()
{
    return Enqueue(Item{Item::Kind::End, nullptr});
}

void StreamingOutputPin::BeginFlush()
{
    {
        std::lock_guard lock(mutex_);
        accepting_ = false;
        queue_.clear();
    }
    changed_.notify_all();
    DeliverBeginFlush();
    WaitFor([this] { return !delivering_; });
}

void StreamingOutputPin::EndFlush()
{
    DeliverEndFlush();
    {
        std::lock_guard lock(mutex_);
        accepting_ = thread_.joinable() && !quit_;
        streamFailed_ = false;
    }
    changed_.notify_all();
}

bool StreamingOutputPin::Enqueue(Item item)
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !accepting_ || !Full(); });
    if (!accepting_)
        return false;
    queue_.push_back(std::move(item));
    changed_.notify_all();
    return true;
}

// Under mutex_. Full once it holds maxQueued_ items spanning at least MinQueuedHns of stream time,
// so a stream of short packets (sound) still holds as much time as one of long ones (pictures)
// and the reader can go on feeding the other pins of a coarsely interleaved file.
bool StreamingOutputPin::Full() const
{
    if (queue_.size() < maxQueued_)
        return false;
    if (queue_.size() >= HardLimit)
        return true;
    auto timed = [](const Item &item) { return item.sample && item.sample->HasTime(); };
    const auto first = std::find_if(queue_.begin(), queue_.end(), timed);
    const auto last = std::find_if(queue_.rbegin(), queue_.rend(), timed);
    return first == queue_.end() || last->sample->Start() - first->sample->Start() >= MinQueuedHns;
}

void StreamingOutputPin::WaitFor(const std::function<bool()> &done)
{
    // The thread being waited for may be blocked sending a message to a window of this thread.
    MessageWindow::WaitDeliveringSent(
        [&] {
            std::lock_guard lock(mutex_);
            return done();
        },
        -1);
}

void StreamingOutputPin::ThreadMain()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return quit_ || !queue_.empty(); });
        if (quit_)
            break;
        Item item = std::move(queue_.front());
        queue_.pop_front();
        delivering_ = true;
        changed_.notify_all();
        lock.unlock();
        const HRESULT hr = DeliverItem(item);
        lock.lock();
        delivering_ = false;
        if (FAILED(hr) && hr != VFW_E_NOT_CONNECTED)
            streamFailed_ = true;
        changed_.notify_all();
    }
    threadDone_ = true;
}

HRESULT StreamingOutputPin::DeliverItem(const Item &item)
{
    switch (item.kind) {
    case Item::Kind::Sample:
        // After a downstream failure samples are dropped until the next flush; segments and the
        // end of stream still go through so renderers can finish.
        return Failed() ? S_FALSE : Deliver(item.sample);
    case Item::Kind::Segment:
        return DeliverNewSegment(item.start, item.stop, item.rate);
    case Item::Kind::End:
        return DeliverEndOfStream();
    }
    return S_OK;
}

bool StreamingOutputPin::Failed()
{
    std::lock_guard lock(mutex_);
    return streamFailed_;
}
