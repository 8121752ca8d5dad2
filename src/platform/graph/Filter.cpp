#include "Filter.h"

#include "Graph.h"

#include <chrono>

Filter::Filter(const Guid &classId, std::string name) : classId_(classId), name_(std::move(name)) {}

Filter::~Filter() = default;

Pin *Filter::GetPin(size_t index) const
{
    return index < pins_.size() ? pins_[index].get() : nullptr;
}

std::vector<Pin *> Filter::Pins() const
{
    std::vector<Pin *> pins;
    for (const auto &pin : pins_)
        pins.push_back(pin.get());
    return pins;
}

Pin *Filter::FindPin(std::string_view name) const
{
    for (const auto &pin : pins_)
        if (pin->Name() == name)
            return pin.get();
    return nullptr;
}

HRESULT Filter::Stop()
{
    if (State() == State_Stopped)
        return S_OK;
    // Stopped first, so streaming threads inside the filter see it and return.
    {
        auto lock = StateLock();
        state_ = State_Stopped;
    }
    StateChanged();
    return OnInactive();
}

HRESULT Filter::Pause()
{
    const FILTER_STATE old = State();
    if (old == State_Paused)
        return S_OK;
    // The state changes first so streaming threads started by OnActive() see a paused filter.
    {
        auto lock = StateLock();
        state_ = State_Paused;
    }
    HRESULT hr = old == State_Stopped ? OnActive() : OnPause();
    if (FAILED(hr)) {
        auto lock = StateLock();
        state_ = old;
    }
    StateChanged();
    return hr;
}

HRESULT Filter::Run(REFERENCE_TIME streamStart)
{
    if (State() == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    {
        auto lock = StateLock();
        streamStart_ = streamStart;
        state_ = State_Running;
    }
    HRESULT hr = OnRun(streamStart);
    if (FAILED(hr)) {
        auto lock = StateLock();
        state_ = State_Paused;
    }
    StateChanged();
    return hr;
}

HRESULT Filter::GetState(int timeoutMs, FILTER_STATE &state)
{
    auto lock = StateLock();
    auto ready = [this] { return state_ != State_Paused || IsSettled(); };
    if (timeoutMs < 0)
        stateSignal_.wait(lock, ready);
    else
        stateSignal_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    state = state_;
    return ready() ? S_OK : VFW_S_STATE_INTERMEDIATE;
}

FILTER_STATE Filter::State() const
{
    auto lock = StateLock();
    return state_;
}

REFERENCE_TIME Filter::StreamStart() const
{
    auto lock = StateLock();
    return streamStart_;
}

void Filter::SetSyncSource(std::shared_ptr<ReferenceClock> clock)
{
    auto lock = StateLock();
    clock_ = std::move(clock);
}

std::shared_ptr<ReferenceClock> Filter::SyncSource() const
{
    auto lock = StateLock();
    return clock_;
}

void Filter::JoinGraph(Graph *graph, const std::string &name)
{
    graph_ = graph;
    if (!name.empty())
        name_ = name;
}

void Filter::NotifyEvent(int32_t code, intptr_t param1, intptr_t param2)
{
    if (graph_)
        graph_->NotifyEvent(*this, code, param1, param2);
}

void Filter::StateChanged()
{
    {
        auto lock = StateLock();
    }
    stateSignal_.notify_all();
}
