#pragma once

#include "media/VideoData.h"
#include "platform/core/MessageWindow.h"
#include "platform/graph/TransInPlaceFilter.h"

#include <QString>
#include <array>
#include <atomic>
#include <mutex>

// A pass-through filter just in front of the video renderer. For every decoded picture it works
// out the picture's media position in whole frames and its position text, tells the navigation
// manager (posted, per picture) and the inlay (sent, when the text changed), fires position
// alarms, and can hold pictures back from the renderer while a precise seek runs.
//
// Positions are aligned to the *nearest* whole frame: container times are rounded (milliseconds,
// 90 kHz ticks, 333,667 for 29.97 fps) and a picture stamped a hair early must not be named after
// the frame before it.
//
// Threads: Transform and NewSegment run on the upstream streaming thread; the setters and the
// readers of CurrentTime, PassSamples and FrameDuration on the UI thread. All shared values are
// atomics; the ring of position texts is guarded, and receivers of the messages copy a text with
// ReadTimeText.
class TFramesNotifier : public TransInPlaceFilter
{
  public:
    static const Guid ClassId;
    static constexpr int RingSize = 100;
    static constexpr int AlarmSlots = 2;

    TFramesNotifier();

    void SetActive(bool on) { active_ = on; }
    bool Active() const { return active_; }
    void SetAlarm(int slot, int64_t time);
    void SetAlarmWindow(int slot, HWND window);
    void ClearAlarm(int slot) { alarms_[slot].armed = false; }
    bool AlarmArmed(int slot) const { return alarms_[slot].armed; }

    // False keeps pictures from reaching the renderer.
    std::atomic<bool> PassSamples{true};
    // Length of one frame, 100 ns; the navigation manager sets it whenever it learns it.
    std::atomic<int64_t> FrameDuration{1};
    std::atomic<HWND> FrameWindow{NullWindow};
    std::atomic<HWND> InlayWindow{NullWindow};
    // Position of the last picture, a whole multiple of FrameDuration.
    std::atomic<int64_t> CurrentTime{0};

    // The description of the input type. UI thread (it is set while connecting).
    TVideoData VideoData() const;

    // The text a WM_INCRUSTTIME or WM_FRAMETIME wParam points at. Any thread.
    static QString ReadTimeText(uintptr_t address);

    // `position` aligned to the nearest whole multiple of `frameDuration` (taken as 1 when not
    // positive); ties go up. Pure.
    static int64_t AlignToFrame(int64_t position, int64_t frameDuration);

  protected:
    HRESULT CheckInputType(const MediaType &type) override;
    HRESULT StartStreaming() override;
    HRESULT SetMediaType(PIN_DIRECTION direction, const MediaType &type) override;
    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;
    HRESULT Transform(Sample &sample) override;
    HRESULT OnInactive() override;

  private:
    struct Alarm {
        std::atomic<int64_t> time{0};
        std::atomic<HWND> window{NullWindow};
        std::atomic<bool> armed{false};
    };

    struct StoredText {
        const QString *slot;
        bool changed; // differs from the text sent last
    };

    void CheckAlarms(int64_t currentTime, int64_t frameDuration);
    StoredText StoreTimeText(int64_t currentTime, int64_t frameDuration);

    static std::mutex &TextMutex();

    std::atomic<bool> active_{false};
    std::atomic<int64_t> segmentStart_{0};
    std::atomic<int64_t> origin_{0};
    std::atomic<bool> resetOrigin_{false};
    std::array<Alarm, AlarmSlots> alarms_;

    // Under TextMutex.
    std::array<QString, RingSize> timeTexts_;
    int timeIndex_ = 0;
    QString lastTimeText_;
    TVideoData videoData_;
};
