#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>

// What the main window's grab asks of playback: the picture on screen, the aspect it is shown
// with, and the position it belongs to. The video and navigation managers provide it (the main
// window's SetGrabSource); without one the window grabs nothing and names time-stamped images
// after position 0. UI thread only.
class TGrabSource
{
  public:
    virtual ~TGrabSource() = default;

    // While playback runs, returns once the renderer has drawn a frame since the inlay was last
    // refreshed (or playback has stopped), processing user-interface events meanwhile, so the
    // picture and the inlay values belong to one frame. Returns at once when paused.
    virtual void WaitForFreshFrame() = 0;
    // The picture the renderer shows, at the video's stored size and in the renderer's pixel
    // format (32-bit for the deinterlacer); false, with `frame` untouched, when none came.
    virtual bool GrabCurrentImage(QImage &frame) = 0;
    // The display aspect terms of the video window (x, y); 0 while unknown.
    virtual QSize DisplayAspect() const = 0;
    // Hands the forced aspect setting (0 as declared, 1 4:3, 2 16:9, 3 stored size) to the video
    // window, which changes its display aspect.
    virtual void SetForcedAspect(int mode) = 0;
    // The frames notifier's time of the frame on screen (100 ns units) and the video's frame
    // duration; both 0 without a frames notifier.
    virtual int64_t CurrentTime() const = 0;
    virtual int64_t FrameDuration() const = 0;
    // The text of the navigation strip's position field.
    virtual QString PositionText() const = 0;
};
