#include "SplitterCollector.h"

#include <chrono>

class SplitterCollector::In : public InputPin
{
  public:
    explicit In(Filter &owner) : InputPin(owner, "In") {}
    HRESULT CheckMediaType(const MediaType &) const override { return S_OK; }
    HRESULT Receive(const SamplePtr &sample) override
    {
        if (IsFlushing())
            return S_FALSE;
        std::lock_guard lock(mutex);
        samples.push_back(sample);
        return S_OK;
    }
    HRESULT EndOfStream() override
    {
        InputPin::EndOfStream();
        std::lock_guard lock(mutex);
        ended = true;
        changed.notify_all();
        return S_OK;
    }
    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::vector<SamplePtr> samples;
    bool ended = false;
};

SplitterCollector::SplitterCollector() : Filter(GUID_NULL, "Collector")
{
    in_ = AddPin<In>(*this);
}

InputPin &SplitterCollector::Input() const
{
    return *in_;
}

std::vector<SamplePtr> SplitterCollector::Samples() const
{
    std::lock_guard lock(in_->mutex);
    return in_->samples;
}

bool SplitterCollector::Ended() const
{
    std::lock_guard lock(in_->mutex);
    return in_->ended;
}

bool SplitterCollector::WaitForEnd() const
{
    std::unique_lock lock(in_->mutex);
    return in_->changed.wait_for(lock, std::chrono::seconds(10), [this] { return in_->ended; });
}

void SplitterCollector::Clear()
{
    std::lock_guard lock(in_->mutex);
    in_->samples.clear();
    in_->ended = false;
}
