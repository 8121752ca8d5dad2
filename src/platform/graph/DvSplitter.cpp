#include "DvSplitter.h"

#include "DvDifAudio.h"
#include "MediaGuids.h"

#include <cstring>

namespace
{
constexpr uint32_t FourCCDvsd = 'd' | 'v' << 8 | 's' << 16 | 'd' << 24;

// DVINFO keeps each pack's four data bytes as a little-endian DWORD: byte n of the pack is bits
// 8(n-1) to 8n-1.
int PackByte(uint32_t pack, int n)
{
    return static_cast<int>(pack >> (8 * (n - 1)) & 0xff);
}

bool Is625(const DVINFO &info)
{
    return (PackByte(info.dwDVVAuxSrc, 3) & 0x20) != 0;
}

int AudioRate(const DVINFO &info)
{
    static constexpr int rates[] = {48000, 44100, 32000};
    const int code = PackByte(info.dwDVAAuxSrc, 4) >> 3 & 0x07;
    return code < 3 ? rates[code] : 48000;
}

MediaType VideoType(bool system625)
{
    VIDEOINFOHEADER info;
    const int height = system625 ? 576 : 480;
    info.rcSource = info.rcTarget = {0, 0, 720, height};
    info.AvgTimePerFrame = system625 ? 400000 : 333667;
    info.bmiHeader.biWidth = 720;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = FourCCDvsd;
    info.bmiHeader.biSizeImage =
        static_cast<uint32_t>(system625 ? DvDifAudio::FrameBytes625 : DvDifAudio::FrameBytes525);
    info.dwBitRate = info.bmiHeader.biSizeImage * 8 * (system625 ? 25 : 30);
    MediaType type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_dvsd;
    type.bFixedSizeSamples = true;
    type.lSampleSize = info.bmiHeader.biSizeImage;
    type.SetFormat(FORMAT_VideoInfo, info);
    return type;
}

MediaType AudioType(int samplesPerSec)
{
    WAVEFORMATEX wave;
    wave.wFormatTag = WAVE_FORMAT_PCM;
    wave.nChannels = 2;
    wave.nSamplesPerSec = static_cast<uint32_t>(samplesPerSec);
    wave.wBitsPerSample = 16;
    wave.nBlockAlign = 4;
    wave.nAvgBytesPerSec = wave.nSamplesPerSec * 4;
    MediaType type;
    type.majortype = MEDIATYPE_Audio;
    type.subtype = MEDIASUBTYPE_PCM;
    type.bFixedSizeSamples = true;
    type.lSampleSize = 4;
    type.SetFormat(FORMAT_WaveFormatEx, wave);
    return type;
}
} // namespace

class DvSplitter::Out : public StreamingOutputPin
{
  public:
    Out(Filter &owner, std::string name, MediaType type)
        : StreamingOutputPin(owner, std::move(name)), type_(std::move(type))
    {
    }

    std::vector<MediaType> MediaTypes() const override { return {type_}; }
    HRESULT CheckMediaType(const MediaType &type) const override
    {
        return MediaTypeMatches(type, type_) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    // UI thread, while this pin is not connected.
    void SetType(MediaType type) { type_ = std::move(type); }

  private:
    MediaType type_;
};

class DvSplitter::In : public InputPin
{
  public:
    explicit In(DvSplitter &owner) : InputPin(owner, "Input"), splitter_(owner) {}

    HRESULT CheckMediaType(const MediaType &type) const override
    {
        DVINFO info;
        return type.majortype == MEDIATYPE_Interleaved && type.formattype == FORMAT_DvInfo &&
                       type.ReadFormat(info)
                   ? S_OK
                   : VFW_E_TYPE_NOT_ACCEPTED;
    }

    HRESULT Receive(const SamplePtr &sample) override
    {
        if (IsFlushing() || splitter_.State() == State_Stopped)
            return S_FALSE;
        return splitter_.ProcessFrame(sample);
    }

    HRESULT BeginFlush() override
    {
        InputPin::BeginFlush();
        for (Out *out : {splitter_.video_, splitter_.audio_})
            out->BeginFlush();
        return S_OK;
    }

    HRESULT EndFlush() override
    {
        for (Out *out : {splitter_.video_, splitter_.audio_})
            out->EndFlush();
        return InputPin::EndFlush();
    }

    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override
    {
        InputPin::NewSegment(start, stop, rate);
        for (Out *out : {splitter_.video_, splitter_.audio_})
            out->QueueNewSegment(start, stop, rate);
        return S_OK;
    }

    HRESULT EndOfStream() override
    {
        InputPin::EndOfStream();
        for (Out *out : {splitter_.video_, splitter_.audio_})
            out->QueueEndOfStream();
        return S_OK;
    }

  protected:
    HRESULT SetMediaType(const MediaType &type) override
    {
        splitter_.SetInputType(type);
        return S_OK;
    }

  private:
    DvSplitter &splitter_;
};

DvSplitter::DvSplitter() : Filter(CLSID_DVSplitter, "DV Splitter")
{
    in_ = AddPin<In>(*this);
    video_ = AddPin<Out>(*this, "DVVidOut0", VideoType(true));
    audio_ = AddPin<Out>(*this, "AudOut00", AudioType(samplesPerSec_));
}

void DvSplitter::SetInputType(const MediaType &type)
{
    DVINFO info;
    if (!type.ReadFormat(info))
        return;
    samplesPerSec_ = AudioRate(info);
    video_->SetType(VideoType(Is625(info)));
    audio_->SetType(AudioType(samplesPerSec_));
}

HRESULT DvSplitter::OnActive()
{
    video_->StartStreaming();
    audio_->StartStreaming();
    return S_OK;
}

HRESULT DvSplitter::OnInactive()
{
    video_->StopStreaming();
    audio_->StopStreaming();
    return S_OK;
}

HRESULT DvSplitter::ProcessFrame(const SamplePtr &frame)
{
    if (video_->IsConnected())
        video_->QueueSample(frame);
    if (!audio_->IsConnected())
        return S_OK;
    const auto format = DvDifAudio::ReadFormat(frame->Data(), frame->ActualLength());
    if (!format || format->samplesPerSec != samplesPerSec_)
        return S_OK;
    const std::vector<int16_t> pcm = DvDifAudio::Decode(frame->Data(), frame->ActualLength());
    auto sound = std::make_shared<Sample>(pcm.size() * sizeof(int16_t));
    std::memcpy(sound->Data(), pcm.data(), pcm.size() * sizeof(int16_t));
    sound->SetActualLength(pcm.size() * sizeof(int16_t));
    if (frame->HasTime())
        sound->SetTime(frame->Start(), frame->Stop());
    sound->SetSyncPoint(true);
    sound->SetDiscontinuity(frame->IsDiscontinuity());
    sound->SetPreroll(frame->IsPreroll());
    audio_->QueueSample(sound);
    return S_OK;
}
