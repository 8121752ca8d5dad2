#include "media/VideoSource.h"

#include "media/GrapheMan.h"

TVideoSource &TVideoSource::NoVideo()
{
    static TVideoSource noVideo;
    return noVideo;
}

// The manager keeps plain references to its connected sources.
TVideoSource::~TVideoSource()
{
    if (Manager())
        Unlist(*Manager());
}

std::vector<TavSource *> &TVideoSource::ConnectedSources(TGrapheMan &manager) const
{
    return manager.ConnectedVideoSources;
}

void TVideoSource::StartNotifying(TNotifier &streamNotifier, HWND window, bool fromDv)
{
    streamNotifier.SetVideoWindow(window);
    streamNotifier.SetNotifyVideo(true);
    // The pictures come out of a DV splitter: their notifier describes them as type-1 DV.
    if (fromDv)
        Notifier()->SetDvType1(true);
}
