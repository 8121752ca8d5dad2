#pragma once

#include "media/AvSource.h"

// A video stream of a device. Its notifier reports the video format to the window given at
// connection. UI thread.
class TVideoSource : public TavSource
{
  public:
    static constexpr const char *NoVideoName = "No Video";

    TVideoSource(TMediaDevice &device, int number) : TavSource(device, number) {}
    ~TVideoSource() override;
    // The placeholder "No Video" that stands for a file without pictures.
    static TVideoSource &NoVideo();

  protected:
    const Guid &MajorType() const override { return MEDIATYPE_Video; }
    const char *NotifierName() const override { return "Video Source Notifier"; }
    std::vector<TavSource *> &ConnectedSources(TGrapheMan &manager) const override;
    void StartNotifying(TNotifier &streamNotifier, HWND window, bool fromDv) override;
    void StopNotifying(TNotifier &notifier) override { notifier.SetNotifyVideo(false); }

  private:
    TVideoSource() : TavSource(NoVideoName) {}
};
