#pragma once

#include "Filter.h"
#include "InputPin.h"

#include <optional>

// The base of renderers: one input pin whose samples are presented at their time.
//
// Receive() runs on the upstream streaming thread and blocks: while paused it holds the first
// sample (preroll) until the filter runs, stops or is flushed; while running it waits for the
// sample's start time on the graph clock (no clock: presents at once). A pause settles when a
// sample is held or end of stream was seen. End of stream while running raises EC_COMPLETE (a
// paused renderer raises it when it runs). Preroll-flagged samples are never presented.
class RendererFilter : public Filter
{
  public:
    RendererFilter(const Guid &classId, std::string name);
    ~RendererFilter() override;

    InputPin *Input() const { return input_; }
    bool IsRenderer() const override { return true; }

    // Any thread: media time (segment start + sample start) of the last sample presented.
    std::optional<REFERENCE_TIME> LastPresented() const;

    // UI thread, paused: lets go of the sample held and drops every sample that ends at or before
    // `mediaTime`; the next one is held and shown, and the pause settles again. The stream goes on
    // from where it is, without a seek's flush, so a decoder keeps its pictures.
    void SkipTo(REFERENCE_TIME mediaTime);

  protected:
    virtual HRESULT CheckMediaType(const MediaType &type) const = 0;
    virtual HRESULT SetMediaType(const MediaType &) { return S_OK; }
    // Streaming thread: present the sample now (a sample held while paused is presented first
    // through ShowPreroll() and again through Render() when its time comes).
    virtual HRESULT Render(const SamplePtr &sample) = 0;
    virtual void ShowPreroll(const SamplePtr &) {}
    // How long before its start time a sample is handed to Render() (a sound device plays what
    // it is given after its buffer's worth). Streaming thread.
    virtual REFERENCE_TIME PresentationLead() const { return 0; }
    // Streaming thread: a new segment begins.
    virtual void OnNewSegment(REFERENCE_TIME, REFERENCE_TIME, double) {}
    // Seeking thread, after the flush woke Receive().
    virtual void OnFlush() {}
    // Whether samples that end before the segment's start are presented. Pictures decoded from
    // the key frame before a seek's target are (a plain seek shows the key frame); sound from
    // before the target is not, and dropping it at once keeps a paused graph's source reading
    // on to the target.
    virtual bool PresentsBeforeSegment() const { return true; }

    HRESULT OnInactive() override;
    HRESULT OnRun(REFERENCE_TIME streamStart) override;
    HRESULT OnPause() override;
    bool IsSettled() const override;

  private:
    class In;
    HRESULT Receive(const SamplePtr &sample);
    HRESULT WaitForPresentation(std::unique_lock<std::mutex> &lock, const SamplePtr &sample);
    void EndOfStream();
    void BeginFlush();
    void ResetStream();
    void CompleteIfDue(std::unique_lock<std::mutex> &lock);

    InputPin *input_;
    // Under the state lock: shared by the streaming thread, the graph and flushes.
    bool holding_ = false; // a sample arrived since the stream started, was flushed or stopped
    REFERENCE_TIME skipUntil_ = INT64_MIN; // media time samples must pass to be presented
    uint64_t skips_ = 0;                   // SkipTo calls, so a held sample sees it was let go
    bool ended_ = false;                   // end of stream arrived
    bool completed_ = false;               // EC_COMPLETE was raised for this stream
    bool flushing_ = false;
    std::optional<REFERENCE_TIME> lastPresented_;
};
