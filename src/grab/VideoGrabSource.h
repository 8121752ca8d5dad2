#pragma once

#include "grab/GrabSource.h"

class TNavMan;
class TVideoMan;

// Grabs from the video manager's renderer, timed by the navigation manager: the picture on
// screen, its display aspect and its position. UI thread only.
class TVideoGrabSource : public TGrabSource
{
  public:
    // Longest wait for a fresh picture while playing (a stalled stream must not hang a grab).
    static constexpr int FreshFrameTimeoutMs = 2000;

    TVideoGrabSource(TVideoMan &video, TNavMan &navigation) : video_(video), navigation_(navigation) {}

    void WaitForFreshFrame() override;
    bool GrabCurrentImage(QImage &frame) override;
    QSize DisplayAspect() const override;
    void SetForcedAspect(int mode) override;
    int64_t CurrentTime() const override;
    int64_t FrameDuration() const override;
    QString PositionText() const override;

  private:
    TVideoMan &video_;
    TNavMan &navigation_;
};
