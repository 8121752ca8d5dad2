#pragma once

#include "media/GraphChunk.h"
#include "platform/graph/Graph.h"

#include <memory>
#include <vector>

class TavSource;
class TVideoSource;
class TAudioSource;

using TVideoSourcesList = std::vector<TVideoSource *>;
using TAudioSourcesList = std::vector<TAudioSource *>;
using TMediaDevicesList = std::vector<std::unique_ptr<TMediaDevice>>;

// The filters that deliver a file's streams, or split one stream of a parent device into more.
// A device is probed once, when it is made: it is connected into a graph (its parent's, or a
// throw-away one of its own), every output pin of its output filter becomes a sub-device
// (interleaved DV, byte stream) or a source (video, audio), and it is disconnected again.
//
// A device owns its sub-devices and the sources found on its own pins. Its source lists also hold
// the sources of its sub-devices, so a file's device lists every stream of the file. UI thread.
class TMediaDevice : public TGraphChunk
{
  public:
    ~TMediaDevice() override;

    // The probe could put the device into a graph and it had an output filter.
    bool Ready() const { return ready_; }
    const TVideoSourcesList &VideoSources() const { return videoSources_; }
    const TAudioSourcesList &AudioSources() const { return audioSources_; }
    const TMediaDevicesList &DVDevices() const { return dvDevices_; }
    const TMediaDevicesList &StreamDevices() const { return streamDevices_; }
    int VideoCount() const { return int(videoSources_.size()); }
    int AudioCount() const { return int(audioSources_.size()); }
    int DVCount() const { return int(dvDevices_.size()); }
    int StreamCount() const { return int(streamDevices_.size()); }
    // The source at a 0-based index, nullptr when out of range.
    TVideoSource *VideoSource(int index) const;
    TAudioSource *AudioSource(int index) const;

    // The filter whose output pins carry the device's streams, while connected.
    const FilterPtr &OutputFilter() const { return outputFilter_; }

    // Puts the device's filters into the graph of `manager`, its parents' first.
    bool ConnectWithParents(TGrapheMan &manager);
    // Takes the device's filters out of its graph, and its parents' when nothing else uses them.
    void DisconnectWithParents();
    // Some output pin carries a stream (video, audio, interleaved, bytes) to a connected peer.
    bool DeviceInUse() const;

    // The output pin of `majorType` with the 0-based `index` among the output filter's pins of
    // that kind, connected or not, capture pins first. nullptr when there is none or the device
    // is not connected.
    Pin *FindOutputPin(const Guid &majorType, int index) const;

  protected:
    TMediaDevice(QString name, TMediaDevice *parent, int number);

    // Adds the device's filters to Manager()'s graph and sets the output filter.
    virtual bool Connect() = 0;
    // Removes the device's filters from the graph and clears the output filter.
    virtual bool Disconnect() = 0;

    // Finds the device's streams. The most derived constructor calls it last, so that Connect()
    // sees the whole object. Devices named "No DV" or "No Stream" are not probed.
    void Probe();

    void SetOutputFilter(FilterPtr filter) { outputFilter_ = std::move(filter); }
    // The graph of Manager(), nullptr when not connected.
    Graph *ManagerGraph() const;
    // Takes `filter` out of the manager's graph; true when it is not (or no longer) in it.
    bool RemoveFromGraph(const FilterPtr &filter) const;
    static Pin *FirstPin(const Filter &filter, PIN_DIRECTION direction);

  private:
    void ProbePins();
    // Makes one sub-device per pin of `majorType`; their sources join this device's lists.
    template <class Device> int ProbeSubDevices(const Guid &majorType, TMediaDevicesList &devices);
    template <class Source> void ProbeSources(const Guid &majorType, std::vector<Source *> &sources);
    void AdoptSources(const TMediaDevice &device);

    bool ready_ = false;
    FilterPtr outputFilter_;
    TVideoSourcesList videoSources_;
    TAudioSourcesList audioSources_;
    TMediaDevicesList dvDevices_;
    TMediaDevicesList streamDevices_;
    std::vector<std::unique_ptr<TavSource>> ownSources_; // the sources found on this device's pins
};
