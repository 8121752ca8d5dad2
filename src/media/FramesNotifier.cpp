#include "FramesNotifier.h"

#include "media/MediaTypeText.h"
#include "media/PositionText.h"
#include "media/StreamMessages.h"

namespace
{

constexpr int64_t DefaultFrameDuration = 100000; // 10 ms, for types that give no frame rate

uint32_t Low32(int64_t value)
{
    return static_cast<uint32_t>(static_cast<uint64_t>(value));
}

} // namespace

const Guid TFramesNotifier::ClassId{
    0x6B1E3C21, 0x41D7, 0x4F0A, {0x9C, 0x52, 0x3E, 0x7A, 0x10, 0x8D, 0x24, 0x02}};

TFramesNotifier::TFramesNotifier() : TransInPlaceFilter(ClassId, "Marvo Tessaly's FramesNotifier") {}

std::mutex &TFramesNotifier::TextMutex()
{
    static std::mutex mutex;
    return mutex;
}

int64_t TFramesNotifier::AlignToFrame(int64_t position, int64_t frameDuration)
{
    const int64_t d = frameDuration > 0 ? frameDuration : 1;
    int64_t quotient = position / d;
    int64_t remainder = position % d;
    if (remainder < 0) {
        remainder += d;
        --quotient;
    }
    if (remainder >= d - remainder)
        ++quotient;
    return quotient * d;
}

void TFramesNotifier::SetAlarm(int slot, int64_t time)
{
    alarms_[slot].time = time;
    alarms_[slot].armed = true;
}

void TFramesNotifier::SetAlarmWindow(int slot, HWND window)
{
    alarms_[slot].window = window;
}

TVideoData TFramesNotifier::VideoData() const
{
    const std::lock_guard lock(TextMutex());
    return videoData_;
}

QString TFramesNotifier::ReadTimeText(uintptr_t address)
{
    const std::lock_guard lock(TextMutex());
    return *reinterpret_cast<const QString *>(address);
}

HRESULT TFramesNotifier::CheckInputType(const MediaType &)
{
    return S_OK;
}

HRESULT TFramesNotifier::StartStreaming()
{
    resetOrigin_ = true;
    const std::lock_guard lock(TextMutex());
    lastTimeText_.clear();
    return S_OK;
}

HRESULT TFramesNotifier::SetMediaType(PIN_DIRECTION direction, const MediaType &type)
{
    if (direction != PINDIR_INPUT)
        return S_OK;
    int64_t frameDuration;
    {
        const std::lock_guard lock(TextMutex());
        videoData_ = DescribeVideoType(type);
        if (videoData_.AvgTimePerFrame == 0)
            videoData_.AvgTimePerFrame = DefaultFrameDuration;
        frameDuration = videoData_.AvgTimePerFrame;
    }
    MessageWindow::SendMessage(FrameWindow, WM_FRAMEDURATION, Low32(frameDuration));
    return S_OK;
}

// A segment from zero takes its first picture as the zero. A segment from elsewhere (a seek)
// places its pictures itself, so it cancels a pending reset: else the first picture decoded from
// the key frame before the target, stamped before the segment, would become the zero.
HRESULT TFramesNotifier::NewSegment(REFERENCE_TIME start, REFERENCE_TIME, double)
{
    segmentStart_ = start;
    resetOrigin_ = start == 0;
    return S_OK;
}

// No message may be sent to the UI thread while it waits for this filter to stop.
HRESULT TFramesNotifier::OnInactive()
{
    const bool wasActive = active_.exchange(false);
    const HRESULT hr = TransInPlaceFilter::OnInactive();
    active_ = wasActive;
    return hr;
}

HRESULT TFramesNotifier::Transform(Sample &sample)
{
    if (sample.AttachedMediaType())
        SetMediaType(PINDIR_OUTPUT, *sample.AttachedMediaType());
    const int64_t start = sample.HasTime() ? sample.Start() : 0;
    if (resetOrigin_)
        origin_ = start;
    const int64_t frameDuration = FrameDuration;
    const int64_t currentTime = AlignToFrame(start + segmentStart_ - origin_, frameDuration);
    CurrentTime = currentTime;
    CheckAlarms(currentTime, frameDuration);
    const StoredText text = StoreTimeText(currentTime, frameDuration);
    const auto address = reinterpret_cast<uintptr_t>(text.slot);
    if (active_) {
        if (text.changed)
            MessageWindow::SendMessage(InlayWindow, WM_INCRUSTTIME, address);
        MessageWindow::PostMessage(FrameWindow, WM_FRAMETIME, address);
    }
    resetOrigin_ = false;
    return PassSamples ? S_OK : S_FALSE;
}

void TFramesNotifier::CheckAlarms(int64_t currentTime, int64_t frameDuration)
{
    for (Alarm &alarm : alarms_) {
        const int64_t time = alarm.time;
        if (alarm.armed && time - frameDuration / 2 < currentTime && alarm.armed.exchange(false))
            MessageWindow::SendMessage(alarm.window, WM_FRAMEALARM, Low32(time), Low32(currentTime));
    }
}

// The next ring slot receives the picture's position text; the slot stays valid until the ring
// has turned once more, long enough for a posted message to be read.
TFramesNotifier::StoredText TFramesNotifier::StoreTimeText(int64_t currentTime, int64_t frameDuration)
{
    const std::lock_guard lock(TextMutex());
    timeIndex_ = (timeIndex_ + 1) % RingSize;
    QString &slot = timeTexts_[timeIndex_];
    slot = PositionText(currentTime, frameDuration);
    const bool changed = slot != lastTimeText_;
    lastTimeText_ = slot;
    return {&slot, changed};
}
