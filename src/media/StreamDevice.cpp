#include "media/StreamDevice.h"

// Nothing to probe: without an output filter a byte stream never yields sources.
TStreamDevice::TStreamDevice(TMediaDevice &parent, int number) : TMediaDevice(parent.Name(), &parent, number)
{
}

TStreamDevice::TStreamDevice() : TMediaDevice(NoStreamName, nullptr, 1) {}

TStreamDevice &TStreamDevice::NoStream()
{
    static TStreamDevice noStream;
    return noStream;
}
