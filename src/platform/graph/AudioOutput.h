#pragma once

#include "MediaType.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

// Sound output for the audio renderer: an SDL2 device when one opens, else a silent null device
// that consumes samples in real time, so playback keeps its pace on a machine without sound.
// Write() is called by the renderer's streaming thread; everything else by any thread. The clock
// is the number of sample frames the device has consumed, which is what the listener hears.
class AudioOutput
{
  public:
    enum class Device { System, Null };
    // Opens an output for 16-bit PCM or 32-bit float samples: the system's device when asked for
    // and available, else the null device. nullptr only for a format neither output takes.
    static std::unique_ptr<AudioOutput> Open(const WAVEFORMATEX &format, Device device = Device::System);
    // The linear gain of an attenuation in hundredths of a decibel (-10000 is silence).
    static float Gain(int32_t attenuation);
    virtual ~AudioOutput();

    // Blocks while more than the buffer's worth waits to be played; returns false when woken
    // by Flush() or Close() before all bytes were taken.
    bool Write(const uint8_t *data, size_t bytes);
    // Discards what waits, wakes a blocked writer.
    void Flush();
    void Play();
    void Pause();
    // Attenuation in hundredths of a decibel: -10000 silent .. 0 full.
    void SetVolume(int32_t attenuation);
    int32_t Volume() const;
    // Sample frames consumed since the output opened (or since the last ResetPlayed).
    int64_t PlayedFrames() const;
    void ResetPlayed();
    bool IsNullDevice() const { return nullDevice_; }
    const WAVEFORMATEX &Format() const { return format_; }

  protected:
    AudioOutput(const WAVEFORMATEX &format, bool nullDevice);
    // Device side: takes up to `bytes` bytes into `out` (gain applied), silence for the rest.
    void Consume(uint8_t *out, size_t bytes);
    virtual void DevicePause(bool paused) = 0;

  private:
    void ApplyGain(uint8_t *data, size_t bytes) const;
    void AdvanceNullDevice(std::unique_lock<std::mutex> &lock) const;

    WAVEFORMATEX format_;
    const bool nullDevice_;
    mutable std::mutex mutex_;
    std::condition_variable space_;
    mutable std::deque<uint8_t> pending_; // written, not yet played
    size_t capacity_;                     // bytes of about a quarter second
    mutable int64_t playedBytes_ = 0;
    uint64_t flushGeneration_ = 0;
    bool playing_ = false;
    int32_t attenuation_ = 0;
    float gain_ = 1.0f;
    // Null device: consumption follows the monotonic clock while playing.
    mutable std::chrono::steady_clock::time_point nullAnchor_;
};
