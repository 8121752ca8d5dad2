#pragma once

#include "media/MediaDevice.h"
#include "media/Notifier.h"

// An interleaved DV stream of a parent device, split into its picture and its sound. A notifier
// between the parent's pin and the DV splitter reads the whole DV frames (recording date, time
// code, format) for both streams. Named after the parent. UI thread.
class TDVDevice : public TMediaDevice
{
  public:
    static constexpr const char *NoDVName = "No DV";

    // Probes the `number`-th (1-based) interleaved pin of `parent`, which is being probed.
    TDVDevice(TMediaDevice &parent, int number);
    // The placeholder device "No DV": no splitter, no notifier, never connected.
    static TDVDevice &NoDV();

    const FilterPtr &DVSplitter() const { return dvSplitter_; }
    TNotifier *DVNotifier() const { return dvNotifier_.get(); }
    const std::shared_ptr<TNotifier> &DVNotifierFilter() const { return dvNotifier_; }

  protected:
    bool Connect() override;
    bool Disconnect() override;

  private:
    TDVDevice();
    bool AddFilters(Graph &graph, Pin &interleaved);

    FilterPtr dvSplitter_;
    std::shared_ptr<TNotifier> dvNotifier_;
};
