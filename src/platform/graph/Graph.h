#pragma once

#include "BasicAudio.h"
#include "ClassRegistry.h"
#include "Filter.h"
#include "GraphBuilderCallback.h"
#include "MediaSeeking.h"
#include "OutputPin.h"
#include "platform/core/MessageWindow.h"

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using FilterPtr = std::shared_ptr<Filter>;

// The filter graph manager: owns filters, connects them (directly or by inserting decoders from
// the class registry), changes their state together, keeps the reference clock, forwards seeking
// to the seekable source and volume to the audio renderer, and reports the end of the media.
//
// Every member is for the UI thread except NotifyEvent() (any thread). Waits of the UI thread
// (GetState, Stop) keep delivering messages sent to its message windows, so a streaming thread
// blocked in such a send never deadlocks them.
class Graph : public MediaSeeking, public BasicAudio
{
  public:
    explicit Graph(ClassRegistry &registry = ClassRegistry::Default());
    ~Graph() override;
    Graph(const Graph &) = delete;
    Graph &operator=(const Graph &) = delete;

    // Adds `filter` under `name` (its class name's text when empty; a taken name gets " 0001",
    // " 0002"... appended). E_POINTER for null, E_INVALIDARG when it is in a graph already.
    HRESULT AddFilter(const FilterPtr &filter, const std::string &name);
    // Stops the graph's use of it: disconnects its pins and removes it. VFW_E_NOT_FOUND when
    // it is not in this graph, VFW_E_NOT_STOPPED while running.
    HRESULT RemoveFilter(Filter &filter);
    // Stops the graph and removes every filter.
    void Clear();
    std::vector<FilterPtr> Filters() const;
    FilterPtr FindFilterByName(const std::string &name) const;
    FilterPtr Find(const Filter &filter) const;

    // Creates the class from the registry and adds it. REGDB_E_CLASSNOTREG.
    HRESULT AddFilterByClass(const Guid &classId, const std::string &name, FilterPtr &filter);
    // Adds a source for `path`: the "LAV Splitter Source" loaded with the file.
    HRESULT AddSourceFilter(const std::string &path, const std::string &name, FilterPtr &filter);

    // Connects an output pin to an input pin with `type` (see OutputPin::Connect).
    // VFW_E_INVALID_DIRECTION when `from` is not an output or `to` not an input, VFW_E_NOT_FOUND
    // when either pin's filter is not in this graph, VFW_E_NOT_STOPPED while not stopped.
    HRESULT ConnectDirect(Pin &from, Pin &to, const MediaType *type = nullptr);
    // Connects directly when the pins agree, else through decoders and transforms from the
    // registry by merit (each class first offered to the callback, which may refuse it), up to
    // three deep. All or nothing: on failure no filter was added and no pin stays connected.
    HRESULT Connect(Pin &from, Pin &to);
    // Connects `from` to a renderer through whatever it takes: S_OK, or VFW_E_CANNOT_RENDER with
    // the graph unchanged.
    HRESULT Render(Pin &from);
    // Breaks the connection of `pin` at both ends.
    HRESULT Disconnect(Pin &pin);
    void SetCallback(GraphBuilderCallback *callback) { callback_ = callback; }

    HRESULT Run();
    HRESULT Pause();
    HRESULT Stop();
    // VFW_S_STATE_INTERMEDIATE while some filter has not settled within timeoutMs.
    HRESULT GetState(int timeoutMs, FILTER_STATE &state);

    // nullptr runs the graph free (as fast as possible). Only while stopped: VFW_E_NOT_STOPPED.
    HRESULT SetSyncSource(std::shared_ptr<ReferenceClock> clock);
    // Back to the default: the audio renderer's clock when the graph has one, else the
    // monotonic clock.
    HRESULT SetDefaultSyncSource();
    std::shared_ptr<ReferenceClock> SyncSource() const { return clock_; }

    // Seeking in media time, forwarded to the seekable source; positions are absolute media times.
    HRESULT GetCapabilities(uint32_t &capabilities) override;
    HRESULT SetPositions(REFERENCE_TIME *current, uint32_t currentFlags, REFERENCE_TIME *stop,
                         uint32_t stopFlags) override;
    // Media time of the latest sample presented by a renderer, never before the last seek target.
    HRESULT GetCurrentPosition(REFERENCE_TIME &position) override;
    HRESULT GetStopPosition(REFERENCE_TIME &position) override;
    HRESULT GetDuration(REFERENCE_TIME &duration) override;
    HRESULT SetRate(double rate) override;
    HRESULT GetRate(double &rate) override;

    // Forwarded to the audio renderer; E_NOTIMPL when the graph has none.
    HRESULT put_Volume(int32_t attenuation) override;
    HRESULT get_Volume(int32_t &attenuation) override;

    // Events: posted to `window` as message `msg` (wParam: event code, lParam: `instance`) and
    // queued for GetEvent(). EC_COMPLETE is raised once every renderer has seen end of stream.
    void SetNotifyWindow(HWND window, uint32_t msg, LPARAM instance = 0);
    // E_ABORT when no event came within timeoutMs.
    HRESULT GetEvent(int32_t &code, intptr_t &param1, intptr_t &param2, int timeoutMs);
    // Any thread: an event raised by a filter.
    void NotifyEvent(Filter &sender, int32_t code, intptr_t param1, intptr_t param2);

  private:
    struct Event {
        int32_t code;
        intptr_t param1, param2;
    };

    std::vector<FilterPtr> DownstreamFirst() const;
    MediaSeeking *SeekingFilter() const;
    BasicAudio *AudioFilter() const;
    std::string UniqueName(const std::string &name) const;
    HRESULT CheckPins(Pin &from, Pin &to) const;
    void ChooseClock();
    HRESULT ForEachFilter(HRESULT (Filter::*change)(), std::vector<FilterPtr> filters);
    // Intelligent connection of `from` to `to` (nullptr: to any renderer), inserting filters
    // `depth` deep at most; filters it adds are appended to `added`.
    HRESULT ConnectVia(OutputPin &from, InputPin *to, int depth, std::vector<FilterPtr> &added);
    HRESULT TryClass(const FilterClass &filterClass, OutputPin &from, InputPin *to, int depth,
                     std::vector<FilterPtr> &added);
    // Removes the filters added after the first `keep` and disconnects `from`.
    void Rollback(std::vector<FilterPtr> &added, size_t keep, OutputPin &from);
    void ResetCompletion();
    HRESULT SeekSource(MediaSeeking &source, REFERENCE_TIME *current, uint32_t currentFlags,
                       REFERENCE_TIME *stop, uint32_t stopFlags);

    ClassRegistry &registry_;
    std::vector<FilterPtr> filters_;
    GraphBuilderCallback *callback_ = nullptr;
    FILTER_STATE state_ = State_Stopped;
    std::shared_ptr<ReferenceClock> clock_;
    bool defaultClock_ = true;
    REFERENCE_TIME seekTarget_ = 0;       // where the last seek went: the position until a sample shows
    REFERENCE_TIME pausedStreamTime_ = 0; // stream time reached when the graph last paused
    REFERENCE_TIME streamStart_ = 0;

    mutable std::mutex eventMutex_; // events come from streaming threads; guards what follows
    std::condition_variable eventSignal_;
    std::deque<Event> events_;
    std::vector<Filter *> completed_; // renderers that reported EC_COMPLETE for this stream
    size_t renderers_ = 0;            // connected renderers when the graph last started
    HWND notifyWindow_ = NullWindow;
    uint32_t notifyMessage_ = 0;
    LPARAM notifyInstance_ = 0;
};
