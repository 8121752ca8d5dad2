#include "AudioOutput.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{

bool IsFloat(const WAVEFORMATEX &f)
{
    return f.wFormatTag == WAVE_FORMAT_IEEE_FLOAT && f.wBitsPerSample == 32;
}

bool IsSupported(const WAVEFORMATEX &f)
{
    return f.nChannels > 0 && f.nSamplesPerSec > 0 && f.nBlockAlign > 0 &&
           (IsFloat(f) || (f.wFormatTag == WAVE_FORMAT_PCM && f.wBitsPerSample == 16));
}

// The silent output: nothing is heard, but samples leave at the format's rate.
class NullOutput final : public AudioOutput
{
  public:
    explicit NullOutput(const WAVEFORMATEX &f) : AudioOutput(f, true) {}
    ~NullOutput() override = default;

  protected:
    void DevicePause(bool) override {}
};

class SdlOutput final : public AudioOutput
{
  public:
    SdlOutput(const WAVEFORMATEX &f, SDL_AudioDeviceID device) : AudioOutput(f, false), device_(device) {}
    ~SdlOutput() override
    {
        SDL_CloseAudioDevice(device_);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    static std::unique_ptr<AudioOutput> TryOpen(const WAVEFORMATEX &f)
    {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return nullptr;
        SDL_AudioSpec wanted{};
        wanted.freq = int(f.nSamplesPerSec);
        wanted.format = IsFloat(f) ? AUDIO_F32SYS : AUDIO_S16SYS;
        wanted.channels = uint8_t(std::min<int>(f.nChannels, 8));
        wanted.samples = 1024;
        wanted.callback = &SdlOutput::Callback;
        auto output = std::unique_ptr<SdlOutput>(new SdlOutput(f, 0));
        wanted.userdata = output.get();
        SDL_AudioSpec got{};
        output->device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
        if (output->device_ == 0) {
            output.reset(); // its destructor balances the subsystem
            return nullptr;
        }
        return output;
    }

  protected:
    void DevicePause(bool paused) override { SDL_PauseAudioDevice(device_, paused ? 1 : 0); }

  private:
    static void Callback(void *self, Uint8 *stream, int length)
    {
        static_cast<SdlOutput *>(self)->Consume(stream, size_t(length));
    }

    SDL_AudioDeviceID device_;
};

} // namespace

std::unique_ptr<AudioOutput> AudioOutput::Open(const WAVEFORMATEX &format, Device device)
{
    if (!IsSupported(format))
        return nullptr;
    if (device == Device::System)
        if (auto sdl = SdlOutput::TryOpen(format))
            return sdl;
    return std::make_unique<NullOutput>(format);
}

float AudioOutput::Gain(int32_t attenuation)
{
    attenuation = std::clamp(attenuation, -10000, 0);
    return attenuation <= -10000 ? 0.0f : float(std::pow(10.0, attenuation / 2000.0));
}

AudioOutput::AudioOutput(const WAVEFORMATEX &format, bool nullDevice)
    : format_(format), nullDevice_(nullDevice),
      capacity_(std::max<size_t>(format.nBlockAlign, size_t(format.nSamplesPerSec) * format.nBlockAlign / 4))
{
}

AudioOutput::~AudioOutput() = default;

void AudioOutput::AdvanceNullDevice(std::unique_lock<std::mutex> &) const
{
    if (!nullDevice_ || !playing_)
        return;
    const auto now = std::chrono::steady_clock::now();
    const int64_t elapsedUs =
        std::chrono::duration_cast<std::chrono::microseconds>(now - nullAnchor_).count();
    const int64_t frames = elapsedUs * int64_t(format_.nSamplesPerSec) / 1000000;
    if (frames <= 0)
        return;
    // Only whole frames leave; the anchor moves by exactly their duration.
    const size_t bytes = size_t(frames) * format_.nBlockAlign;
    const size_t taken = std::min(bytes, pending_.size());
    pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(taken));
    playedBytes_ += int64_t(bytes); // silence is played too once the queue runs dry
    nullAnchor_ += std::chrono::microseconds(frames * 1000000 / int64_t(format_.nSamplesPerSec));
}

bool AudioOutput::Write(const uint8_t *data, size_t bytes)
{
    std::unique_lock lock(mutex_);
    const uint64_t generation = flushGeneration_;
    while (bytes > 0) {
        AdvanceNullDevice(lock);
        if (generation != flushGeneration_)
            return false;
        const size_t room = pending_.size() < capacity_ ? capacity_ - pending_.size() : 0;
        if (room == 0) {
            // The null device has no callback to wake us: poll at a few milliseconds.
            space_.wait_for(lock, std::chrono::milliseconds(nullDevice_ ? 2 : 20));
            continue;
        }
        const size_t n = std::min(room, bytes);
        pending_.insert(pending_.end(), data, data + n);
        data += n;
        bytes -= n;
    }
    return true;
}

void AudioOutput::Consume(uint8_t *out, size_t bytes)
{
    std::unique_lock lock(mutex_);
    const size_t n = std::min(bytes, pending_.size());
    std::copy_n(pending_.begin(), n, out);
    pending_.erase(pending_.begin(), pending_.begin() + std::ptrdiff_t(n));
    ApplyGain(out, n);
    std::memset(out + n, 0, bytes - n);
    playedBytes_ += int64_t(bytes);
    space_.notify_all();
}

void AudioOutput::ApplyGain(uint8_t *data, size_t bytes) const
{
    if (gain_ >= 1.0f)
        return;
    if (IsFloat(format_)) {
        for (size_t i = 0; i + 4 <= bytes; i += 4) {
            float s;
            std::memcpy(&s, data + i, 4);
            s *= gain_;
            std::memcpy(data + i, &s, 4);
        }
    } else {
        for (size_t i = 0; i + 2 <= bytes; i += 2) {
            int16_t s;
            std::memcpy(&s, data + i, 2);
            s = int16_t(std::lround(s * gain_));
            std::memcpy(data + i, &s, 2);
        }
    }
}

void AudioOutput::Flush()
{
    std::unique_lock lock(mutex_);
    AdvanceNullDevice(lock);
    pending_.clear();
    ++flushGeneration_;
    space_.notify_all();
}

void AudioOutput::Play()
{
    {
        std::unique_lock lock(mutex_);
        if (playing_)
            return;
        playing_ = true;
        nullAnchor_ = std::chrono::steady_clock::now();
    }
    DevicePause(false);
}

void AudioOutput::Pause()
{
    {
        std::unique_lock lock(mutex_);
        AdvanceNullDevice(lock);
        playing_ = false;
    }
    DevicePause(true);
}

void AudioOutput::SetVolume(int32_t attenuation)
{
    std::unique_lock lock(mutex_);
    attenuation_ = std::clamp(attenuation, -10000, 0);
    gain_ = Gain(attenuation_);
}

int32_t AudioOutput::Volume() const
{
    std::unique_lock lock(mutex_);
    return attenuation_;
}

int64_t AudioOutput::PlayedFrames() const
{
    std::unique_lock lock(mutex_);
    AdvanceNullDevice(lock);
    return playedBytes_ / format_.nBlockAlign;
}

void AudioOutput::ResetPlayed()
{
    std::unique_lock lock(mutex_);
    AdvanceNullDevice(lock);
    playedBytes_ = 0;
}
