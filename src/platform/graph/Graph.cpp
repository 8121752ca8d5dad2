#include "Graph.h"

#include "ClockProvider.h"
#include "FileSourceFilter.h"
#include "GraphEvents.h"
#include "LavSplitterSource.h"
#include "MonotonicClock.h"
#include "RendererFilter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>

namespace
{

// How deep intelligent connection inserts filters between two pins.
constexpr int MaxInsertedDepth = 3;
// Margin between starting the filters and their first presentation, so all start together.
constexpr REFERENCE_TIME StartMarginHns = 100'000;

std::shared_ptr<ReferenceClock> SystemClock()
{
    static const auto clock = std::make_shared<MonotonicClock>();
    return clock;
}

} // namespace

Graph::Graph(ClassRegistry &registry) : registry_(registry) {}

Graph::~Graph()
{
    Clear();
}

void Graph::Clear()
{
    Stop();
    while (!filters_.empty())
        RemoveFilter(*filters_.back());
}

HRESULT Graph::AddFilter(const FilterPtr &filter, const std::string &name)
{
    if (!filter)
        return E_POINTER;
    if (filter->GetGraph())
        return E_INVALIDARG;
    const FilterClass *known = registry_.Find(filter->ClassId());
    std::string base = !name.empty()             ? name
                       : !filter->Name().empty() ? filter->Name()
                       : known                   ? known->name
                                                 : "Filter";
    filter->JoinGraph(this, UniqueName(base));
    filters_.push_back(filter);
    return S_OK;
}

std::string Graph::UniqueName(const std::string &name) const
{
    std::string candidate = name;
    for (int n = 1; FindFilterByName(candidate); ++n) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, " %04d", n);
        candidate = name + suffix;
    }
    return candidate;
}

HRESULT Graph::RemoveFilter(Filter &filter)
{
    const FilterPtr owned = Find(filter);
    if (!owned)
        return VFW_E_NOT_FOUND;
    if (filter.State() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    for (Pin *pin : filter.Pins())
        pin->Disconnect();
    filter.JoinGraph(nullptr, {});
    std::erase(filters_, owned);
    return S_OK;
}

std::vector<FilterPtr> Graph::Filters() const
{
    return filters_;
}

FilterPtr Graph::FindFilterByName(const std::string &name) const
{
    for (const FilterPtr &filter : filters_)
        if (filter->Name() == name)
            return filter;
    return nullptr;
}

FilterPtr Graph::Find(const Filter &filter) const
{
    for (const FilterPtr &candidate : filters_)
        if (candidate.get() == &filter)
            return candidate;
    return nullptr;
}

HRESULT Graph::AddFilterByClass(const Guid &classId, const std::string &name, FilterPtr &filter)
{
    HRESULT hr = registry_.CreateInstance(classId, filter);
    if (FAILED(hr))
        return hr;
    return AddFilter(filter, name);
}

HRESULT Graph::AddSourceFilter(const std::string &path, const std::string &name, FilterPtr &filter)
{
    FilterPtr source;
    HRESULT hr = registry_.CreateInstance(CLSID_LAVSplitterSource, source);
    if (FAILED(hr))
        return hr;
    auto *loader = source->Query<FileSourceFilter>();
    hr = loader ? loader->Load(path, nullptr) : E_NOINTERFACE;
    if (FAILED(hr))
        return hr;
    hr = AddFilter(source, name.empty() ? path : name);
    if (SUCCEEDED(hr))
        filter = source;
    return hr;
}

HRESULT Graph::CheckPins(Pin &from, Pin &to) const
{
    if (from.Direction() != PINDIR_OUTPUT || to.Direction() != PINDIR_INPUT)
        return VFW_E_INVALID_DIRECTION;
    if (!Find(from.Owner()) || !Find(to.Owner()))
        return VFW_E_NOT_FOUND;
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    return S_OK;
}

HRESULT Graph::ConnectDirect(Pin &from, Pin &to, const MediaType *type)
{
    HRESULT hr = CheckPins(from, to);
    if (FAILED(hr))
        return hr;
    return static_cast<OutputPin &>(from).Connect(static_cast<InputPin &>(to), type);
}

HRESULT Graph::Connect(Pin &from, Pin &to)
{
    HRESULT hr = CheckPins(from, to);
    if (FAILED(hr))
        return hr;
    auto &out = static_cast<OutputPin &>(from);
    if (out.IsConnected() || to.IsConnected())
        return VFW_E_ALREADY_CONNECTED;
    std::vector<FilterPtr> added;
    hr = ConnectVia(out, &static_cast<InputPin &>(to), 0, added);
    if (FAILED(hr)) {
        Rollback(added, 0, out);
        return VFW_E_CANNOT_CONNECT;
    }
    return S_OK;
}

HRESULT Graph::Render(Pin &from)
{
    if (from.Direction() != PINDIR_OUTPUT)
        return VFW_E_INVALID_DIRECTION;
    if (!Find(from.Owner()))
        return VFW_E_NOT_FOUND;
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    auto &out = static_cast<OutputPin &>(from);
    if (out.IsConnected())
        return VFW_E_ALREADY_CONNECTED;
    std::vector<FilterPtr> added;
    if (FAILED(ConnectVia(out, nullptr, 0, added))) {
        Rollback(added, 0, out);
        return VFW_E_CANNOT_RENDER;
    }
    return S_OK;
}

HRESULT Graph::ConnectVia(OutputPin &from, InputPin *to, int depth, std::vector<FilterPtr> &added)
{
    if (to && from.Connect(*to) == S_OK)
        return S_OK;
    if (depth >= MaxInsertedDepth)
        return VFW_E_CANNOT_CONNECT;
    std::vector<const FilterClass *> tried;
    for (const MediaType &type : from.MediaTypes())
        for (const FilterClass *filterClass : registry_.ClassesTaking(type)) {
            if (std::find(tried.begin(), tried.end(), filterClass) != tried.end())
                continue;
            tried.push_back(filterClass);
            if (TryClass(*filterClass, from, to, depth, added) == S_OK)
                return S_OK;
        }
    return VFW_E_CANNOT_CONNECT;
}

HRESULT Graph::TryClass(const FilterClass &filterClass, OutputPin &from, InputPin *to, int depth,
                        std::vector<FilterPtr> &added)
{
    if (callback_ && FAILED(callback_->SelectedFilter(filterClass.classId)))
        return E_FAIL;
    FilterPtr filter;
    if (FAILED(registry_.CreateInstance(filterClass.classId, filter)))
        return E_FAIL;
    if (callback_ && FAILED(callback_->CreatedFilter(*filter)))
        return E_FAIL;
    const size_t keep = added.size();
    if (FAILED(AddFilter(filter, filterClass.name)))
        return E_FAIL;
    added.push_back(filter);
    for (Pin *input : filter->Pins()) {
        if (input->Direction() != PINDIR_INPUT || input->IsConnected())
            continue;
        if (from.Connect(static_cast<InputPin &>(*input)) != S_OK)
            continue;
        bool done = !to && filter->IsRenderer();
        for (Pin *output : filter->Pins())
            if (!done && output->Direction() == PINDIR_OUTPUT && !output->IsConnected())
                done = ConnectVia(static_cast<OutputPin &>(*output), to, depth + 1, added) == S_OK;
        if (done)
            return S_OK;
        break;
    }
    Rollback(added, keep, from);
    return E_FAIL;
}

void Graph::Rollback(std::vector<FilterPtr> &added, size_t keep, OutputPin &from)
{
    from.Disconnect();
    while (added.size() > keep) {
        RemoveFilter(*added.back());
        added.pop_back();
    }
}

HRESULT Graph::Disconnect(Pin &pin)
{
    if (!Find(pin.Owner()))
        return VFW_E_NOT_FOUND;
    return pin.Disconnect();
}

// Renderers first, then each filter before those feeding it, so samples never arrive at a filter
// in an older state than its source.
std::vector<FilterPtr> Graph::DownstreamFirst() const
{
    std::map<const Filter *, int> height; // longest path to a filter without connected outputs
    std::function<int(const Filter &)> measure = [&](const Filter &filter) {
        auto found = height.find(&filter);
        if (found != height.end())
            return found->second;
        height[&filter] = 0; // guards against cycles
        int h = 0;
        for (Pin *pin : filter.Pins())
            if (pin->Direction() == PINDIR_OUTPUT && pin->ConnectedTo())
                h = std::max(h, measure(pin->ConnectedTo()->Owner()) + 1);
        return height[&filter] = h;
    };
    std::vector<FilterPtr> order = filters_;
    for (const FilterPtr &filter : order)
        measure(*filter);
    std::stable_sort(order.begin(), order.end(), [&](const FilterPtr &a, const FilterPtr &b) {
        return height[a.get()] < height[b.get()];
    });
    return order;
}

HRESULT Graph::ForEachFilter(HRESULT (Filter::*change)(), std::vector<FilterPtr> filters)
{
    HRESULT result = S_OK;
    for (const FilterPtr &filter : filters) {
        const HRESULT hr = ((*filter).*change)();
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    return result;
}

void Graph::ChooseClock()
{
    if (defaultClock_) {
        clock_ = SystemClock();
        for (const FilterPtr &filter : filters_)
            if (auto *provider = filter->Query<ClockProvider>())
                clock_ = provider->Clock();
    }
    for (const FilterPtr &filter : filters_)
        filter->SetSyncSource(clock_);
}

void Graph::ResetCompletion()
{
    size_t renderers = 0;
    for (const FilterPtr &filter : filters_)
        if (filter->IsRenderer())
            for (Pin *pin : filter->Pins())
                if (pin->Direction() == PINDIR_INPUT && pin->IsConnected()) {
                    ++renderers;
                    break;
                }
    std::lock_guard lock(eventMutex_);
    completed_.clear();
    renderers_ = renderers;
}

HRESULT Graph::Pause()
{
    if (state_ == State_Stopped) {
        ChooseClock();
        ResetCompletion();
        pausedStreamTime_ = 0;
    } else if (state_ == State_Running && clock_) {
        pausedStreamTime_ = clock_->GetTime() - streamStart_;
    }
    const HRESULT hr = ForEachFilter(&Filter::Pause, DownstreamFirst());
    state_ = State_Paused;
    return hr;
}

HRESULT Graph::Run()
{
    if (state_ == State_Running)
        return S_OK;
    if (state_ == State_Stopped) {
        const HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    streamStart_ = clock_ ? clock_->GetTime() - pausedStreamTime_ + StartMarginHns : 0;
    HRESULT result = S_OK;
    for (const FilterPtr &filter : DownstreamFirst()) {
        const HRESULT hr = filter->Run(streamStart_);
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
    }
    state_ = State_Running;
    return result;
}

HRESULT Graph::Stop()
{
    if (state_ == State_Stopped)
        return S_OK;
    REFERENCE_TIME position = 0;
    GetCurrentPosition(position);
    const HRESULT hr = ForEachFilter(&Filter::Stop, DownstreamFirst());
    state_ = State_Stopped;
    // The next start resumes where the pictures stopped.
    if (MediaSeeking *source = SeekingFilter())
        source->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    seekTarget_ = position;
    return hr;
}

HRESULT Graph::GetState(int timeoutMs, FILTER_STATE &state)
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    state = state_;
    for (const FilterPtr &filter : filters_) {
        bool settled = false;
        // Waits in slices so messages sent to this thread's windows keep being delivered.
        MessageWindow::WaitDeliveringSent(
            [&] {
                FILTER_STATE ignored;
                settled = filter->GetState(0, ignored) == S_OK;
                return settled;
            },
            timeoutMs < 0 ? -1
                          : int(std::max<int64_t>(0, std::chrono::duration_cast<std::chrono::milliseconds>(
                                                         deadline - Clock::now())
                                                         .count())));
        if (!settled)
            return VFW_S_STATE_INTERMEDIATE;
    }
    return S_OK;
}

HRESULT Graph::SetSyncSource(std::shared_ptr<ReferenceClock> clock)
{
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    clock_ = std::move(clock);
    defaultClock_ = false;
    return S_OK;
}

HRESULT Graph::SetDefaultSyncSource()
{
    if (state_ != State_Stopped)
        return VFW_E_NOT_STOPPED;
    defaultClock_ = true;
    return S_OK;
}

MediaSeeking *Graph::SeekingFilter() const
{
    for (const FilterPtr &filter : filters_)
        if (auto *seeking = filter->Query<MediaSeeking>())
            return seeking;
    return nullptr;
}

BasicAudio *Graph::AudioFilter() const
{
    for (const FilterPtr &filter : filters_)
        if (auto *audio = filter->Query<BasicAudio>())
            return audio;
    return nullptr;
}

HRESULT Graph::GetCapabilities(uint32_t &capabilities)
{
    MediaSeeking *source = SeekingFilter();
    if (!source)
        return E_NOTIMPL;
    const HRESULT hr = source->GetCapabilities(capabilities);
    capabilities |= AM_SEEKING_CanGetCurrentPos;
    return hr;
}

HRESULT Graph::SetPositions(REFERENCE_TIME *current, uint32_t currentFlags, REFERENCE_TIME *stop,
                            uint32_t stopFlags)
{
    MediaSeeking *source = SeekingFilter();
    if (!source)
        return E_NOTIMPL;
    const bool seeking =
        current && (currentFlags & AM_SEEKING_PositioningBitsMask) != AM_SEEKING_NoPositioning;
    if (!seeking)
        return source->SetPositions(current, currentFlags, stop, stopFlags);
    return SeekSource(*source, current, currentFlags, stop, stopFlags);
}

// A seek restarts the stream: the source flushes and starts a new segment at the target, and a
// running graph starts its stream time again so the new segment's samples are due at once.
HRESULT Graph::SeekSource(MediaSeeking &source, REFERENCE_TIME *current, uint32_t currentFlags,
                          REFERENCE_TIME *stop, uint32_t stopFlags)
{
    const FILTER_STATE was = state_;
    if (was == State_Running)
        ForEachFilter(&Filter::Pause, DownstreamFirst());
    const HRESULT hr = source.SetPositions(current, currentFlags, stop, stopFlags);
    source.GetCurrentPosition(seekTarget_);
    ResetCompletion();
    pausedStreamTime_ = 0;
    if (was == State_Running) {
        state_ = State_Paused;
        Run();
    }
    return hr;
}

HRESULT Graph::GetCurrentPosition(REFERENCE_TIME &position)
{
    std::optional<REFERENCE_TIME> latest;
    for (const FilterPtr &filter : filters_)
        if (auto *renderer = dynamic_cast<RendererFilter *>(filter.get()))
            if (auto shown = renderer->LastPresented(); shown && (!latest || *shown > *latest))
                latest = shown;
    // Pictures before the seek target are only on the way to it.
    position = std::max(latest.value_or(seekTarget_), seekTarget_);
    return S_OK;
}

HRESULT Graph::GetStopPosition(REFERENCE_TIME &position)
{
    MediaSeeking *source = SeekingFilter();
    return source ? source->GetStopPosition(position) : E_NOTIMPL;
}

HRESULT Graph::GetDuration(REFERENCE_TIME &duration)
{
    MediaSeeking *source = SeekingFilter();
    return source ? source->GetDuration(duration) : E_NOTIMPL;
}

HRESULT Graph::SetRate(double rate)
{
    MediaSeeking *source = SeekingFilter();
    return source ? source->SetRate(rate) : E_NOTIMPL;
}

HRESULT Graph::GetRate(double &rate)
{
    MediaSeeking *source = SeekingFilter();
    return source ? source->GetRate(rate) : E_NOTIMPL;
}

HRESULT Graph::put_Volume(int32_t attenuation)
{
    BasicAudio *audio = AudioFilter();
    return audio ? audio->put_Volume(attenuation) : E_NOTIMPL;
}

HRESULT Graph::get_Volume(int32_t &attenuation)
{
    BasicAudio *audio = AudioFilter();
    return audio ? audio->get_Volume(attenuation) : E_NOTIMPL;
}

void Graph::SetNotifyWindow(HWND window, uint32_t msg, LPARAM instance)
{
    std::lock_guard lock(eventMutex_);
    notifyWindow_ = window;
    notifyMessage_ = msg;
    notifyInstance_ = instance;
}

HRESULT Graph::GetEvent(int32_t &code, intptr_t &param1, intptr_t &param2, int timeoutMs)
{
    std::unique_lock lock(eventMutex_);
    auto ready = [this] { return !events_.empty(); };
    if (timeoutMs < 0)
        eventSignal_.wait(lock, ready);
    else if (!eventSignal_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready))
        return E_ABORT;
    const Event event = events_.front();
    events_.pop_front();
    code = event.code;
    param1 = event.param1;
    param2 = event.param2;
    return S_OK;
}

void Graph::NotifyEvent(Filter &sender, int32_t code, intptr_t param1, intptr_t param2)
{
    std::unique_lock lock(eventMutex_);
    if (code == EC_COMPLETE) {
        // One completion for the graph, once every renderer has finished its stream.
        if (std::find(completed_.begin(), completed_.end(), &sender) == completed_.end())
            completed_.push_back(&sender);
        if (completed_.size() != renderers_)
            return;
        param2 = 0;
    }
    events_.push_back({code, param1, param2});
    const HWND window = notifyWindow_;
    const uint32_t msg = notifyMessage_;
    const LPARAM instance = notifyInstance_;
    lock.unlock();
    eventSignal_.notify_all();
    if (window != NullWindow)
        MessageWindow::PostMessage(window, msg, WPARAM(code), instance);
}
