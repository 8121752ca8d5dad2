#include "media/AvSource.h"

#include "media/DVDevice.h"
#include "media/GrapheMan.h"

#include <algorithm>
#include <exception>

TavSource::TavSource(TMediaDevice &device, int number)
    : TGraphChunk(device.Name(), &device, number), notifier_(std::make_shared<TNotifier>())
{
}

TavSource::TavSource(QString name) : TGraphChunk(std::move(name), nullptr, 1) {}

void TavSource::Enlist(TGrapheMan &manager)
{
    std::vector<TavSource *> &sources = ConnectedSources(manager);
    if (std::find(sources.begin(), sources.end(), this) == sources.end())
        sources.push_back(this);
}

void TavSource::Unlist(TGrapheMan &manager)
{
    std::erase(ConnectedSources(manager), this);
}

bool TavSource::ConnectTo(TGrapheMan &manager, HWND window)
{
    if (Manager() == &manager)
        return true;
    if (!Device() || !notifier_)
        return false;
    SetManager(&manager);
    Enlist(manager);
    try {
        return Attach(manager, window);
    } catch (const std::exception &) {
        return false;
    }
}

bool TavSource::Attach(TGrapheMan &manager, HWND window)
{
    TMediaDevice &device = *Device();
    Graph *graph = manager.GraphBuilder;
    if (!graph || !device.ConnectWithParents(manager) || !device.OutputFilter())
        return false;
    notifier_->ResetNotifier();
    Pin *pin = device.FindOutputPin(MajorType(), Number() - 1);
    if (!pin)
        return false;
    auto *dv = dynamic_cast<TDVDevice *>(&device);
    streamNotifier_ = dv ? dv->DVNotifier() : notifier_.get();
    StartNotifying(*streamNotifier_, window, dv != nullptr);
    // Direct when the notifier takes the stream as it is, which it does for any type.
    if (FAILED(graph->AddFilter(notifier_, NotifierName())) ||
        FAILED(manager.CaptureBuilder->RenderStream(*pin, notifier_.get())))
        return false;
    streamTypes_ = notifier_->AcceptedTypes();
    StreamConnected(*pin);
    return true;
}

bool TavSource::DisconnectFrom()
{
    TGrapheMan *manager = Manager();
    TMediaDevice *device = Device();
    if (!manager || !device)
        return false;
    Unlist(*manager);
    // The stream notifier of a DV device outlives this connection: it must stop reporting too.
    StopNotifying(*notifier_);
    if (streamNotifier_ && streamNotifier_ != notifier_.get())
        StopNotifying(*streamNotifier_);
    const bool removed = RemoveNotifier();
    if (!device->DeviceInUse())
        device->DisconnectWithParents();
    SetManager(nullptr);
    return removed;
}

bool TavSource::RemoveNotifier()
{
    Graph *graph = Manager()->GraphBuilder;
    return !graph || !graph->Find(*notifier_) || SUCCEEDED(graph->RemoveFilter(*notifier_));
}
