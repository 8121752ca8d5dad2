#include "RendererFilter.h"

#include "GraphEvents.h"

#include <chrono>

namespace
{
// WaitForPresentation's answer for a sample a skip let go of (dropped, the stream goes on).
constexpr HRESULT SampleSkipped = MakeResult(0x00040001);
} // namespace

class RendererFilter::In : public InputPin
{
  public:
    explicit In(RendererFilter &filter) : InputPin(filter, "In"), filter_(filter) {}

    HRESULT CheckMediaType(const MediaType &type) const override { return filter_.CheckMediaType(type); }
    HRESULT Receive(const SamplePtr &sample) override { return filter_.Receive(sample); }

    HRESULT BeginFlush() override
    {
        InputPin::BeginFlush();
        filter_.BeginFlush();
        return S_OK;
    }

    HRESULT EndFlush() override
    {
        {
            auto lock = filter_.StateLock();
            filter_.flushing_ = false;
        }
        return InputPin::EndFlush();
    }

    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override
    {
        InputPin::NewSegment(start, stop, rate);
        filter_.OnNewSegment(start, stop, rate);
        return S_OK;
    }

    HRESULT EndOfStream() override
    {
        filter_.EndOfStream();
        return S_OK;
    }

  protected:
    HRESULT SetMediaType(const MediaType &type) override { return filter_.SetMediaType(type); }

  private:
    RendererFilter &filter_;
};

RendererFilter::RendererFilter(const Guid &classId, std::string name)
    : Filter(classId, std::move(name)), input_(AddPin<In>(*this))
{
}

RendererFilter::~RendererFilter() = default;

std::optional<REFERENCE_TIME> RendererFilter::LastPresented() const
{
    auto lock = StateLock();
    return lastPresented_;
}

HRESULT RendererFilter::Receive(const SamplePtr &sample)
{
    auto lock = StateLock();
    if (flushing_ || ended_ || LockedState() == State_Stopped)
        return S_FALSE;
    // Sound from before the segment is dropped at once; having had it, the renderer lets a pause
    // settle, as a picture from before the segment would.
    if (!PresentsBeforeSegment() && sample->HasTime() && sample->Stop() <= 0) {
        if (!holding_) {
            holding_ = true;
            StateSignal().notify_all();
        }
        return S_OK;
    }
    // Preroll samples, those past the segment's stop and those a skip passes over are not
    // presented.
    if (sample->IsPreroll() ||
        (sample->HasTime() && sample->Start() > input_->SegmentStop() - input_->SegmentStart()) ||
        (sample->HasTime() && input_->SegmentStart() + sample->Stop() <= skipUntil_))
        return S_OK;
    const HRESULT hr = WaitForPresentation(lock, sample);
    if (hr == SampleSkipped)
        return S_OK;
    if (hr != S_OK)
        return hr;
    lock.unlock();
    const HRESULT rendered = Render(sample);
    const REFERENCE_TIME media = input_->SegmentStart() + (sample->HasTime() ? sample->Start() : 0);
    lock.lock();
    lastPresented_ = media;
    return rendered;
}

// Under the lock: waits until `sample` is due. S_FALSE when a stop or flush ends the wait,
// SampleSkipped when a skip lets go of it.
HRESULT RendererFilter::WaitForPresentation(std::unique_lock<std::mutex> &lock, const SamplePtr &sample)
{
    bool shown = false;
    const uint64_t skips = skips_;
    for (;;) {
        if (flushing_ || LockedState() == State_Stopped)
            return S_FALSE;
        if (skips_ != skips)
            return SampleSkipped;
        if (LockedState() == State_Paused) {
            // The picture is shown before the pause counts as settled, so whoever waits for the
            // pause finds it on screen.
            if (!shown) {
                shown = true;
                lock.unlock();
                ShowPreroll(sample);
                lock.lock();
                continue;
            }
            if (!holding_) {
                holding_ = true;
                StateSignal().notify_all();
            }
            StateSignal().wait(lock);
            continue;
        }
        holding_ = true;
        const auto clock = LockedSyncSource();
        if (!clock || !sample->HasTime())
            return S_OK;
        const REFERENCE_TIME wait =
            LockedStreamStart() + sample->Start() - PresentationLead() - clock->GetTime();
        if (wait <= 0)
            return S_OK;
        StateSignal().wait_for(lock, std::chrono::microseconds(wait / 10));
    }
}

void RendererFilter::EndOfStream()
{
    auto lock = StateLock();
    if (flushing_ || LockedState() == State_Stopped)
        return;
    ended_ = true;
    StateSignal().notify_all();
    CompleteIfDue(lock);
}

void RendererFilter::CompleteIfDue(std::unique_lock<std::mutex> &lock)
{
    if (!ended_ || completed_ || LockedState() != State_Running)
        return;
    completed_ = true;
    lock.unlock();
    NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<intptr_t>(this));
    lock.lock();
}

void RendererFilter::BeginFlush()
{
    {
        auto lock = StateLock();
        flushing_ = true;
        lastPresented_.reset();
        ResetStream();
    }
    StateChanged();
    OnFlush();
}

void RendererFilter::SkipTo(REFERENCE_TIME mediaTime)
{
    {
        auto lock = StateLock();
        skipUntil_ = mediaTime;
        ++skips_;
        holding_ = false;
    }
    StateChanged();
}

// Under the lock: a new stream starts after a flush or stop.
void RendererFilter::ResetStream()
{
    skipUntil_ = INT64_MIN;
    holding_ = false;
    ended_ = false;
    completed_ = false;
}

HRESULT RendererFilter::OnInactive()
{
    auto lock = StateLock();
    ResetStream();
    return S_OK;
}

HRESULT RendererFilter::OnRun(REFERENCE_TIME)
{
    auto lock = StateLock();
    CompleteIfDue(lock);
    return S_OK;
}

HRESULT RendererFilter::OnPause()
{
    return S_OK;
}

bool RendererFilter::IsSettled() const
{
    return holding_ || ended_;
}
