#include "media/AudioSource.h"

#include "media/GrapheMan.h"
#include "media/MediaTypeText.h"
#include "platform/graph/Pin.h"

TAudioSource &TAudioSource::NoAudio()
{
    static TAudioSource noAudio;
    return noAudio;
}

// The manager keeps plain references to its connected sources.
TAudioSource::~TAudioSource()
{
    if (Manager())
        Unlist(*Manager());
}

std::vector<TavSource *> &TAudioSource::ConnectedSources(TGrapheMan &manager) const
{
    return manager.ConnectedAudioSources;
}

void TAudioSource::StartNotifying(TNotifier &streamNotifier, HWND window, bool)
{
    streamNotifier.SetAudioWindow(window);
    streamNotifier.SetNotifyAudio(true);
}

void TAudioSource::StreamConnected(const Pin &pin)
{
    // The codec of the stream before any decoder: what the file holds.
    MediaType type;
    if (pin.ConnectionMediaType(type) == S_OK)
        Notifier()->SetAudioCodec(AudioSubtypeName(type));
}
