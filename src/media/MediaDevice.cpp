#include "media/MediaDevice.h"

#include "media/AudioSource.h"
#include "media/DVDevice.h"
#include "media/GrapheMan.h"
#include "media/StreamDevice.h"
#include "media/VideoSource.h"

#include <exception>

TMediaDevice::TMediaDevice(QString name, TMediaDevice *parent, int number)
    : TGraphChunk(std::move(name), parent, number)
{
}

TMediaDevice::~TMediaDevice()
{
    // Sub-devices first: their sources sit in this device's lists too.
    dvDevices_.clear();
    streamDevices_.clear();
    videoSources_.clear();
    audioSources_.clear();
    ownSources_.clear();
}

TVideoSource *TMediaDevice::VideoSource(int index) const
{
    return index >= 0 && index < VideoCount() ? videoSources_[size_t(index)] : nullptr;
}

TAudioSource *TMediaDevice::AudioSource(int index) const
{
    return index >= 0 && index < AudioCount() ? audioSources_[size_t(index)] : nullptr;
}

bool TMediaDevice::ConnectWithParents(TGrapheMan &manager)
{
    if (Manager() == &manager)
        return true;
    SetManager(&manager);
    TMediaDevice *parent = Parent();
    if ((parent && (!parent->ConnectWithParents(manager) || !parent->OutputFilter())) || !Connect()) {
        SetManager(nullptr); // not connected: a later call must try again
        return false;
    }
    return true;
}

void TMediaDevice::DisconnectWithParents()
{
    if (!Manager())
        return;
    // A parent may still feed another of its sub-devices.
    if (Disconnect() && Parent() && !Parent()->DeviceInUse())
        Parent()->DisconnectWithParents();
    SetManager(nullptr);
}

bool TMediaDevice::DeviceInUse() const
{
    if (!outputFilter_)
        return false;
    for (const Pin *pin : outputFilter_->Pins()) {
        MediaType type;
        if (pin->Direction() != PINDIR_OUTPUT || pin->ConnectionMediaType(type) != S_OK)
            continue;
        for (const Guid &major : {MEDIATYPE_Video, MEDIATYPE_Audio, MEDIATYPE_Interleaved, MEDIATYPE_Stream})
            if (type.majortype == major)
                return true;
    }
    return false;
}

Pin *TMediaDevice::FindOutputPin(const Guid &majorType, int index) const
{
    if (!Manager() || !outputFilter_)
        return nullptr;
    const CaptureGraphBuilder &builder = *Manager()->CaptureBuilder;
    Pin *pin = nullptr;
    for (const Guid &category : {PIN_CATEGORY_CAPTURE, GUID_NULL})
        if (SUCCEEDED(builder.FindPin(*outputFilter_, PINDIR_OUTPUT, category, majorType, false, index, pin)))
            return pin;
    return nullptr;
}

void TMediaDevice::Probe()
{
    if (Name() == TDVDevice::NoDVName || Name() == TStreamDevice::NoStreamName)
        return;
    // A sub-device is probed inside its parent's probe graph; a file's device gets one of its own.
    std::unique_ptr<TGrapheMan> probeManager;
    TGrapheMan *manager = Parent() ? Parent()->Manager() : nullptr;
    if (!manager) {
        probeManager = std::make_unique<TGrapheMan>();
        manager = probeManager.get();
    }
    SetManager(manager);
    try {
        if (Connect() && outputFilter_) {
            ProbePins();
            Disconnect();
            ready_ = true;
        }
    } catch (const std::exception &) {
        // The device keeps what was found so far and stays not ready.
    }
    SetManager(nullptr);
}

void TMediaDevice::ProbePins()
{
    const int dv = ProbeSubDevices<TDVDevice>(MEDIATYPE_Interleaved, dvDevices_);
    const int streams = ProbeSubDevices<TStreamDevice>(MEDIATYPE_Stream, streamDevices_);
    if (dv > 0 || streams > 0)
        return;
    ProbeSources(MEDIATYPE_Video, videoSources_);
    ProbeSources(MEDIATYPE_Audio, audioSources_);
}

template <class Device> int TMediaDevice::ProbeSubDevices(const Guid &majorType, TMediaDevicesList &devices)
{
    int found = 0;
    while (FindOutputPin(majorType, found)) {
        ++found;
        devices.push_back(std::make_unique<Device>(*this, found));
        AdoptSources(*devices.back());
    }
    return found;
}

template <class Source> void TMediaDevice::ProbeSources(const Guid &majorType, std::vector<Source *> &sources)
{
    int found = 0;
    while (FindOutputPin(majorType, found)) {
        ++found;
        auto source = std::make_unique<Source>(*this, found);
        sources.push_back(source.get());
        ownSources_.push_back(std::move(source));
    }
}

void TMediaDevice::AdoptSources(const TMediaDevice &device)
{
    videoSources_.insert(videoSources_.end(), device.videoSources_.begin(), device.videoSources_.end());
    audioSources_.insert(audioSources_.end(), device.audioSources_.begin(), device.audioSources_.end());
}

Graph *TMediaDevice::ManagerGraph() const
{
    return Manager() ? Manager()->GraphBuilder : nullptr;
}

bool TMediaDevice::RemoveFromGraph(const FilterPtr &filter) const
{
    Graph *graph = ManagerGraph();
    return !filter || !graph || !graph->Find(*filter) || SUCCEEDED(graph->RemoveFilter(*filter));
}

Pin *TMediaDevice::FirstPin(const Filter &filter, PIN_DIRECTION direction)
{
    for (Pin *pin : filter.Pins())
        if (pin->Direction() == direction)
            return pin;
    return nullptr;
}
