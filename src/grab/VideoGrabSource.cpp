#include "VideoGrabSource.h"

#include "media/NavMan.h"
#include "media/PositionText.h"
#include "output/VideoMan.h"

#include <QCoreApplication>
#include <QElapsedTimer>

void TVideoGrabSource::WaitForFreshFrame()
{
    if (navigation_.GraphState() != 3)
        return;
    QElapsedTimer timer;
    timer.start();
    while (video_.FramesDrawn() <= video_.LastRefreshFrames() && navigation_.GraphState() == 3 &&
           timer.elapsed() < FreshFrameTimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

bool TVideoGrabSource::GrabCurrentImage(QImage &frame)
{
    return video_.GrabCurrentImage(frame);
}

QSize TVideoGrabSource::DisplayAspect() const
{
    return {video_.DisplayAspectX(), video_.DisplayAspectY()};
}

void TVideoGrabSource::SetForcedAspect(int mode)
{
    video_.SetForcedAspect(mode);
}

int64_t TVideoGrabSource::CurrentTime() const
{
    return navigation_.FramesNotifier ? int64_t(navigation_.FramesNotifier->CurrentTime) : 0;
}

int64_t TVideoGrabSource::FrameDuration() const
{
    return navigation_.FramesNotifier ? navigation_.FrameDuration : 0;
}

QString TVideoGrabSource::PositionText() const
{
    return ::PositionText(CurrentTime(), navigation_.FrameDuration);
}
