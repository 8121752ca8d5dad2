#pragma once

#include "media/FramesNotifier.h"
#include "media/NavMan.h"
#include "platform/graph/VideoMixingRenderer.h"

#include <QImage>
#include <QString>
#include <QWidget>

// The navigation manager on a real file: source, decoders, the frames notifier in front of a
// windowless renderer for the video, audio renderers for the sound; set up as the video manager
// and the main window leave it after opening a file.
class NavRig
{
  public:
    NavRig();

    QWidget panel;
    TNavMan nav;
    std::shared_ptr<TFramesNotifier> frames = std::make_shared<TFramesNotifier>();
    std::shared_ptr<VideoMixingRenderer> renderer = std::make_shared<VideoMixingRenderer>();

    // Connects every stream of `path`, reads the length, selects the whole media and goes to
    // its start. False when a stream does not connect.
    bool Open(const QString &path);
    // The picture on screen, at native size.
    QImage Picture() const { return renderer->ComposedPicture(); }
    // Delivers posted messages (position texts) for a moment.
    static void Pump(int ms = 50);

  private:
    HRESULT ConnectVideo(OutputPin &pin);
};
