#pragma once

#include "media/FrameData.h"
#include "media/VideoData.h"
#include "platform/core/MessageWindow.h"
#include "platform/graph/TransInPlaceFilter.h"

#include <QString>
#include <array>
#include <atomic>
#include <mutex>

// The three GUIDs a notifier accepts on its input; null GUIDs accept anything.
struct TAcceptedTypes {
    Guid majortype;
    Guid subtype;
    Guid formattype;
};

// A pass-through filter on every opened stream. It reads the stream's format and, for DV and
// MPEG-2 video, the bytes of each sample, and tells the managers on the UI thread about the video
// format, the audio format, the DV recording date and time code, and the inlay's DV facts through
// their hidden windows. Samples always pass on unchanged.
//
// Threads: configuration (setters, ResetNotifier) runs on the UI thread; Transform on the upstream
// streaming thread. The records the messages point at are written under a mutex shared by every
// notifier, and receivers copy them with the Read* functions below, which take the same mutex:
// a posted record may be rewritten by the next sample while the UI thread reads it.
class TNotifier : public TransInPlaceFilter
{
  public:
    static const Guid ClassId;
    static constexpr int RingSize = 24;

    TNotifier();

    // Switches off the four stream switches, restores the initial texts and the default datecode
    // format. The inlay and duration switches, the windows and Active stay as they are.
    void ResetNotifier();

    void SetVideoWindow(HWND window) { videoWindow_ = window; }
    void SetAudioWindow(HWND window) { audioWindow_ = window; }
    void SetDatecodeWindow(HWND window) { datecodeWindow_ = window; }
    void SetTimecodeWindow(HWND window) { timecodeWindow_ = window; }
    void SetInlayWindow(HWND window) { inlayWindow_ = window; }
    void SetDurationWindow(HWND window) { durationWindow_ = window; }

    // Any of these four also makes the notifier active for the rest of its life.
    void SetNotifyVideo(bool on);
    void SetNotifyAudio(bool on);
    void SetNotifyDatecode(bool on);
    void SetNotifyTimecode(bool on);
    // Sends the inlay record once at once, whatever the new value.
    void SetNotifyInlay(bool on);
    void SetNotifyDuration(bool on) { notifyDuration_ = on; }

    bool NotifyVideo() const { return notifyVideo_; }
    bool NotifyAudio() const { return notifyAudio_; }
    bool NotifyDatecode() const { return notifyDatecode_; }
    bool NotifyTimecode() const { return notifyTimecode_; }
    bool NotifyInlay() const { return notifyInlay_; }
    bool NotifyDuration() const { return notifyDuration_; }
    bool Active() const { return active_; }

    void SetDvType1(bool on) { dvType1_ = on; }
    void SetDatecodeFormat(const QString &format);
    // The codec name of an audio stream, given by the source that connects it.
    void SetAudioCodec(const QString &codec);

    TAcceptedTypes AcceptedTypes() const;
    // Copies of the live records. Any thread.
    TVideoData CurVideo() const;
    TframeData CurFrame() const;

    // Copies of the records that messages point at (lParam of WM_VIDEODATA, WM_FRAMEDATA,
    // WM_DATECODE, WM_TIMECODE; wParam of WM_INCRUSTDV). Any thread.
    static TVideoData ReadVideoData(intptr_t address);
    static TframeData ReadFrameData(intptr_t address);
    static TIncrustDV ReadInlay(uintptr_t address);

  protected:
    HRESULT CheckInputType(const MediaType &type) override;
    HRESULT CheckTransform(const MediaType &input, const MediaType &output) override;
    HRESULT GetMediaType(int position, MediaType &type) override;
    HRESULT CompleteConnect(PIN_DIRECTION direction, Pin &pin) override;
    HRESULT SetMediaType(PIN_DIRECTION direction, const MediaType &type) override;
    HRESULT StartStreaming() override;
    HRESULT Transform(Sample &sample) override;

  private:
    void TakeInputType(const MediaType &type);
    bool ReadAudioFormat(const MediaType &type);
    void ParseSample(const Sample &sample, const TAcceptedTypes &accepted);
    void ParseMpeg2(const Sample &sample);
    void ParseDvVideo(const Sample &sample);
    void ParseDvInterleaved(const Sample &sample);
    void ReadDvPacks(const uint8_t *frame, size_t length);
    void NotifyChanges();

    void PostVideoData();
    void PostFrameData();
    void PostRingSlot(uint32_t msg, HWND window);
    void SendInlay();
    int NextRingIndex();
    void SetActiveSwitch(std::atomic<bool> &flag, bool on);

    // Guards the records below against the UI thread's copies; never held while sending.
    static std::mutex &RecordMutex();

    TVideoData curVideo_;
    TVideoData prevVideo_;
    TframeData curFrame_;
    TframeData prevFrame_;
    TAcceptedTypes accepted_;
    QString datecodeFormat_;
    std::array<TframeData, RingSize> frameRing_;
    std::array<TIncrustDV, RingSize> inlayRing_;
    int ringIndex_ = 0; // 0 after a reset, then 1..24; streaming thread (UI thread for inlay toggles)

    // Single values written by the UI thread and read by the streaming thread.
    std::atomic<bool> dvType1_{false};
    std::atomic<bool> firstSample_{false};
    std::atomic<bool> active_{false};
    std::atomic<bool> notifyVideo_{false};
    std::atomic<bool> notifyAudio_{false};
    std::atomic<bool> notifyDatecode_{false};
    std::atomic<bool> notifyTimecode_{false};
    std::atomic<bool> notifyInlay_{false};
    std::atomic<bool> notifyDuration_{false};
    std::atomic<HWND> videoWindow_{NullWindow};
    std::atomic<HWND> audioWindow_{NullWindow};
    std::atomic<HWND> datecodeWindow_{NullWindow};
    std::atomic<HWND> timecodeWindow_{NullWindow};
    std::atomic<HWND> inlayWindow_{NullWindow};
    std::atomic<HWND> durationWindow_{NullWindow};
};
