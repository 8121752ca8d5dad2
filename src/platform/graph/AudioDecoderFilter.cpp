#include "AudioDecoderFilter.h"

#include "MediaGuids.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

namespace
{

MediaType PcmType(int channels, int rate, bool isFloat)
{
    WAVEFORMATEX wfx;
    wfx.wFormatTag = isFloat ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM;
    wfx.nChannels = uint16_t(channels);
    wfx.nSamplesPerSec = uint32_t(rate);
    wfx.wBitsPerSample = isFloat ? 32 : 16;
    wfx.nBlockAlign = uint16_t(channels * wfx.wBitsPerSample / 8);
    wfx.nAvgBytesPerSec = wfx.nSamplesPerSec * wfx.nBlockAlign;
    MediaType type;
    type.majortype = MEDIATYPE_Audio;
    type.subtype = isFloat ? MEDIASUBTYPE_IEEE_FLOAT : MEDIASUBTYPE_PCM;
    type.bFixedSizeSamples = true;
    type.lSampleSize = wfx.nBlockAlign;
    type.SetFormat(FORMAT_WaveFormatEx, wfx);
    return type;
}

bool DecodesToFloat(AVSampleFormat format)
{
    switch (av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
    case AV_SAMPLE_FMT_S16:
        return false;
    default:
        return true;
    }
}

} // namespace

AudioDecoderFilter::AudioDecoderFilter(const Guid &classId, std::string name, const AVCodec &codec)
    : DecoderFilter(classId, std::move(name), codec), pool_(32)
{
}

AudioDecoderFilter::~AudioDecoderFilter()
{
    swr_free(&resampler_);
}

std::vector<MediaType> AudioDecoderFilter::OutputTypes(const AVCodecParameters &input) const
{
    const int channels = input.ch_layout.nb_channels;
    if (channels <= 0 || input.sample_rate <= 0)
        return {};
    AVSampleFormat decoded = AVSampleFormat(input.format);
    if (decoded == AV_SAMPLE_FMT_NONE && Codec().sample_fmts)
        decoded = Codec().sample_fmts[0];
    const bool isFloat = decoded == AV_SAMPLE_FMT_NONE || DecodesToFloat(decoded);
    return {PcmType(channels, input.sample_rate, isFloat), PcmType(channels, input.sample_rate, !isFloat)};
}

HRESULT AudioDecoderFilter::DeliverFrame(const AVFrame &frame, REFERENCE_TIME start)
{
    MediaType connected;
    WAVEFORMATEX wfx;
    if (Output()->ConnectionMediaType(connected) != S_OK || !connected.ReadFormat(wfx) || wfx.nChannels == 0)
        return VFW_E_NOT_CONNECTED;
    const bool isFloat = connected.subtype == MEDIASUBTYPE_IEEE_FLOAT;
    const uint64_t layout = frame.ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? frame.ch_layout.u.mask : 0;
    if (!resampler_ || frame.format != resamplerFormat_ || frame.sample_rate != resamplerRate_ ||
        layout != resamplerLayout_) {
        swr_free(&resampler_);
        AVChannelLayout out;
        av_channel_layout_default(&out, wfx.nChannels);
        AVChannelLayout in;
        if (av_channel_layout_copy(&in, &frame.ch_layout) < 0 || !av_channel_layout_check(&in))
            av_channel_layout_default(&in, std::max(frame.ch_layout.nb_channels, 1));
        swr_alloc_set_opts2(&resampler_, &out, isFloat ? AV_SAMPLE_FMT_FLT : AV_SAMPLE_FMT_S16,
                            int(wfx.nSamplesPerSec), &in, AVSampleFormat(frame.format), frame.sample_rate, 0,
                            nullptr);
        av_channel_layout_uninit(&in);
        av_channel_layout_uninit(&out);
        if (!resampler_ || swr_init(resampler_) < 0) {
            swr_free(&resampler_);
            return S_OK; // sound in a shape that cannot be converted is dropped
        }
        resamplerFormat_ = frame.format;
        resamplerRate_ = frame.sample_rate;
        resamplerLayout_ = layout;
    }
    const int capacity = swr_get_out_samples(resampler_, frame.nb_samples);
    if (capacity <= 0)
        return S_OK;
    SamplePtr sample = pool_.Get(size_t(capacity) * wfx.nBlockAlign);
    uint8_t *out = sample->Data();
    const int got = swr_convert(resampler_, &out, capacity, const_cast<const uint8_t **>(frame.extended_data),
                                frame.nb_samples);
    if (got <= 0)
        return S_OK;
    sample->SetActualLength(size_t(got) * wfx.nBlockAlign);
    if (start == NoTime)
        start = next_;
    next_ = start + av_rescale(got, 10'000'000, wfx.nSamplesPerSec);
    sample->SetTime(start, next_);
    sample->SetSyncPoint(true);
    return Output()->Deliver(sample);
}

void AudioDecoderFilter::ResetConversion()
{
    swr_free(&resampler_);
    next_ = 0;
}
