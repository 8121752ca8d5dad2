#include "media/DVDevice.h"

#include "platform/graph/DvSplitter.h"

TDVDevice::TDVDevice(TMediaDevice &parent, int number)
    : TMediaDevice(parent.Name(), &parent, number), dvNotifier_(std::make_shared<TNotifier>())
{
    ClassRegistry::Default().CreateInstance(CLSID_DVSplitter, dvSplitter_);
    Probe();
}

TDVDevice::TDVDevice() : TMediaDevice(NoDVName, nullptr, 1) {}

TDVDevice &TDVDevice::NoDV()
{
    static TDVDevice noDV;
    return noDV;
}

bool TDVDevice::Connect()
{
    Graph *graph = ManagerGraph();
    Pin *interleaved = Parent() ? Parent()->FindOutputPin(MEDIATYPE_Interleaved, Number() - 1) : nullptr;
    if (!graph || !interleaved || !dvSplitter_ || !dvNotifier_)
        return false;
    if (!AddFilters(*graph, *interleaved)) {
        Disconnect();
        return false;
    }
    SetOutputFilter(dvSplitter_);
    dvNotifier_->ResetNotifier();
    return true;
}

bool TDVDevice::AddFilters(Graph &graph, Pin &interleaved)
{
    Pin *splitterInput = FirstPin(*dvSplitter_, PINDIR_INPUT);
    return splitterInput && SUCCEEDED(graph.AddFilter(dvNotifier_, "DV Notifier")) &&
           SUCCEEDED(graph.AddFilter(dvSplitter_, "DV Splitter")) &&
           SUCCEEDED(graph.Connect(interleaved, *dvNotifier_->Input())) &&
           SUCCEEDED(graph.Connect(*dvNotifier_->Output(), *splitterInput));
}

bool TDVDevice::Disconnect()
{
    const bool notifierOut = RemoveFromGraph(dvNotifier_);
    const bool splitterOut = RemoveFromGraph(dvSplitter_);
    SetOutputFilter(nullptr);
    return notifierOut && splitterOut;
}
