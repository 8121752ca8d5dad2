#pragma once

#include "DecoderFilter.h"
#include "SamplePool.h"

struct SwrContext;

// A libavcodec audio decoder giving interleaved PCM: 32-bit float when the codec decodes to
// floating point or to more than 16 bits, else 16-bit integers (either is offered; the other
// second). The channel count and rate of the connection are kept for the whole stream: libswresample
// converts every frame to them, so a stream that changes layout midway still plays.
class AudioDecoderFilter : public DecoderFilter
{
  public:
    AudioDecoderFilter(const Guid &classId, std::string name, const AVCodec &codec);
    ~AudioDecoderFilter() override;

  protected:
    std::vector<MediaType> OutputTypes(const AVCodecParameters &input) const override;
    HRESULT DeliverFrame(const AVFrame &frame, REFERENCE_TIME start) override;
    void ResetConversion() override;

  private:
    // Streaming thread only.
    SwrContext *resampler_ = nullptr;
    int resamplerFormat_ = -1, resamplerRate_ = 0; // input side of resampler_
    uint64_t resamplerLayout_ = 0;
    SamplePool pool_;
    REFERENCE_TIME next_ = 0;
};
