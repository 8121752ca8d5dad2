#pragma once

#include "media/MediaDevice.h"

// A byte-stream output of a parent device (a container no splitter took apart). It has no
// filters of its own and so never yields sources, but its presence tells the parent's probe that
// the pins carry no plain video or audio. UI thread.
class TStreamDevice : public TMediaDevice
{
  public:
    static constexpr const char *NoStreamName = "No Stream";

    TStreamDevice(TMediaDevice &parent, int number);
    // The placeholder device "No Stream".
    static TStreamDevice &NoStream();

  protected:
    bool Connect() override { return true; }
    bool Disconnect() override { return true; }

  private:
    TStreamDevice();
};
