#pragma once

#include "Pin.h"
#include "ReferenceClock.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

class Graph;

enum FILTER_STATE { State_Stopped = 0, State_Paused = 1, State_Running = 2 };

// A processing element of a graph: a class id, a name, pins and a state. Other capabilities (seeking,
// volume, loading a file, providing a clock) are further base classes, found with Query<I>().
//
// State changes come from the graph on the UI thread. Subclasses hook OnActive() (stopped to
// paused: start streaming), OnInactive() (to stopped: stop streaming, return only when no
// streaming thread runs inside the filter) and OnRun()/OnPause(). The hooks already see the new
// state (a failure restores the old one), so streaming threads they start or stop read it right
// with State().
class Filter
{
  public:
    explicit Filter(const Guid &classId, std::string name = {});
    virtual ~Filter();
    Filter(const Filter &) = delete;
    Filter &operator=(const Filter &) = delete;

    const Guid &ClassId() const { return classId_; }
    // The name the filter was added to its graph under (its own name until then).
    const std::string &Name() const { return name_; }

    size_t PinCount() const { return pins_.size(); }
    Pin *GetPin(size_t index) const;
    std::vector<Pin *> Pins() const;
    Pin *FindPin(std::string_view name) const;

    HRESULT Stop();
    HRESULT Pause();
    HRESULT Run(REFERENCE_TIME streamStart);
    // Any thread. The current state; VFW_S_STATE_INTERMEDIATE while a pause has not settled within
    // timeoutMs (negative: no limit). Filters that need data to settle override IsSettled().
    HRESULT GetState(int timeoutMs, FILTER_STATE &state);
    // Any thread.
    FILTER_STATE State() const;
    REFERENCE_TIME StreamStart() const;

    // The clock the filter presents against; nullptr runs free (as fast as possible).
    void SetSyncSource(std::shared_ptr<ReferenceClock> clock);
    std::shared_ptr<ReferenceClock> SyncSource() const;

    // A renderer ends a stream: the graph waits for its end of stream before reporting completion.
    virtual bool IsRenderer() const { return false; }

    // The interface I of this filter, or nullptr when it has none.
    template <class I> I *Query() { return dynamic_cast<I *>(this); }

    // Called by Graph when the filter joins (graph, name) or leaves (nullptr, "") it.
    void JoinGraph(Graph *graph, const std::string &name);
    Graph *GetGraph() const { return graph_; }
    // Any thread: passes an event (EC_COMPLETE...) to the graph, if any.
    void NotifyEvent(int32_t code, intptr_t param1 = 0, intptr_t param2 = 0);

  protected:
    template <class P, class... Args> P *AddPin(Args &&...args)
    {
        pins_.push_back(std::make_unique<P>(std::forward<Args>(args)...));
        return static_cast<P *>(pins_.back().get());
    }

    virtual HRESULT OnActive() { return S_OK; }
    virtual HRESULT OnInactive() { return S_OK; }
    virtual HRESULT OnRun(REFERENCE_TIME) { return S_OK; }
    virtual HRESULT OnPause() { return S_OK; }
    // Under the state lock: whether a pause has settled. Call StateChanged() when this may change.
    virtual bool IsSettled() const { return true; }
    // Any thread: wakes GetState() waits to test IsSettled() again.
    void StateChanged();

    // Guards the state, the stream start and the clock; subclasses may use it for state they
    // change together with these (through StateLock()).
    std::unique_lock<std::mutex> StateLock() const { return std::unique_lock(stateMutex_); }
    // The same as State(), StreamStart() and SyncSource(), for callers holding StateLock().
    FILTER_STATE LockedState() const { return state_; }
    REFERENCE_TIME LockedStreamStart() const { return streamStart_; }
    const std::shared_ptr<ReferenceClock> &LockedSyncSource() const { return clock_; }
    std::condition_variable_any &StateSignal() { return stateSignal_; }

  private:
    const Guid classId_;
    std::string name_;
    std::vector<std::unique_ptr<Pin>> pins_;
    Graph *graph_ = nullptr;

    mutable std::mutex stateMutex_;
    std::condition_variable_any stateSignal_;
    FILTER_STATE state_ = State_Stopped;
    REFERENCE_TIME streamStart_ = 0;
    std::shared_ptr<ReferenceClock> clock_;
};
