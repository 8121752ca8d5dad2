#pragma once

#include "media/AvSource.h"

// An audio stream of a device. Its notifier reports the audio format, with the codec of the
// stream as the device delivers it, to the window given at connection. UI thread.
class TAudioSource : public TavSource
{
  public:
    static constexpr const char *NoAudioName = "No Audio";

    TAudioSource(TMediaDevice &device, int number) : TavSource(device, number) {}
    ~TAudioSource() override;
    // The placeholder "No Audio" that stands for a file without sound.
    static TAudioSource &NoAudio();

  protected:
    const Guid &MajorType() const override { return MEDIATYPE_Audio; }
    const char *NotifierName() const override { return "Audio Source Notifier"; }
    std::vector<TavSource *> &ConnectedSources(TGrapheMan &manager) const override;
    void StartNotifying(TNotifier &streamNotifier, HWND window, bool fromDv) override;
    void StopNotifying(TNotifier &notifier) override { notifier.SetNotifyAudio(false); }
    void StreamConnected(const Pin &pin) override;

  private:
    TAudioSource() : TavSource(NoAudioName) {}
};
