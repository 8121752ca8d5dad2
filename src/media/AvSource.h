#pragma once

#include "media/GraphChunk.h"
#include "media/Notifier.h"

#include <memory>
#include <vector>

class Pin;

// One video or audio stream of a device. Connecting it puts the device's filters into a
// manager's graph, inserts the source's own notifier right after the stream's output pin (so the
// notifier sees the stream as the device delivers it) and points the notifier that parses the
// stream at the manager's hidden window. UI thread.
class TavSource : public TGraphChunk
{
  public:
    TMediaDevice *Device() const { return Parent(); }
    // The types of the stream as its notifier accepted them at the last connection.
    const TAcceptedTypes &StreamTypes() const { return streamTypes_; }
    // The source's own notifier, inserted after its pin; nullptr for the placeholder sources.
    TNotifier *Notifier() const { return notifier_.get(); }
    const std::shared_ptr<TNotifier> &NotifierFilter() const { return notifier_; }
    // The notifier that reads this stream's data: the DV notifier of a DV device, else the
    // source's own. nullptr until the first connection.
    TNotifier *StreamNotifier() const { return streamNotifier_; }

    // Connects the stream into the graph of `manager` up to the source's notifier, whose
    // messages of this stream's kind go to `window`. True at once when already connected to it.
    // On failure the source stays marked with the manager, so DisconnectFrom() cleans up.
    bool ConnectTo(TGrapheMan &manager, HWND window);
    // Takes the notifier out of the graph, and the device's filters when no other stream of the
    // device is connected. False when the source is not connected.
    bool DisconnectFrom();

  protected:
    // A stream of `device`, named after it.
    TavSource(TMediaDevice &device, int number);
    // A placeholder that stands for "no stream": no device, no notifier, never connected.
    explicit TavSource(QString name);

    virtual const Guid &MajorType() const = 0;
    // The name of the source's notifier in the graph.
    virtual const char *NotifierName() const = 0;
    // The manager's list of connected sources of this kind.
    virtual std::vector<TavSource *> &ConnectedSources(TGrapheMan &manager) const = 0;
    // Points `streamNotifier` at `window` and switches this kind's notifications on; `fromDv`
    // tells that it is a DV device's notifier.
    virtual void StartNotifying(TNotifier &streamNotifier, HWND window, bool fromDv) = 0;
    virtual void StopNotifying(TNotifier &notifier) = 0;
    // After the stream reached the notifier; `pin` is the device's output pin.
    virtual void StreamConnected(const Pin &) {}

    // Adds this source to (removes it from) the manager's list of connected sources.
    void Enlist(TGrapheMan &manager);
    void Unlist(TGrapheMan &manager);

  private:
    bool Attach(TGrapheMan &manager, HWND window);
    bool RemoveNotifier();

    std::shared_ptr<TNotifier> notifier_;
    TNotifier *streamNotifier_ = nullptr;
    TAcceptedTypes streamTypes_;
};
