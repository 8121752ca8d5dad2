#pragma once

#include "Filter.h"
#include "InputPin.h"
#include "OutputPin.h"

#include <atomic>
#include <mutex>

struct AVCodec;
struct AVCodecContext;
struct AVCodecParameters;
struct AVFrame;
struct AVPacket;

// The base of the libavcodec decoders: one compressed input, one uncompressed output. The input
// takes the types CodecMediaType gives for the decoder's codec and prefers the upstream pin's
// codec parameters to those it rebuilds from the type. The codec opens when the filter becomes
// active and closes when it stops.
//
// Samples are decoded on the upstream streaming thread and the pictures or sounds delivered on
// it. A packet the codec refuses is skipped (the codec conceals what it can), so a damaged stream
// never stops the graph. End of stream drains the codec first; a flush empties it.
class DecoderFilter : public Filter
{
  public:
    static constexpr REFERENCE_TIME NoTime = INT64_MIN;

    DecoderFilter(const Guid &classId, std::string name, const AVCodec &codec);
    ~DecoderFilter() override;

    InputPin *Input() const { return input_; }
    OutputPin *Output() const { return output_; }
    const AVCodec &Codec() const { return codec_; }

    // libavcodec threads for the next start: 1 decodes on the streaming thread alone, 0 lets
    // FFmpeg choose, more sets the count; frame and slice threading as the codec supports.
    // UI thread, while stopped.
    void SetThreadCount(int count) { threadCount_ = count; }
    int ThreadCount() const { return threadCount_; }

    // Any thread. Pictures that start before `mediaTime` are not delivered, and those of them no
    // other picture refers to not even decoded: on the way to a seek's target they would only be
    // thrown away. NoTime delivers every picture again.
    void SkipUnreferencedBefore(REFERENCE_TIME mediaTime) { skipBefore_ = mediaTime; }

  protected:
    // The output types for the connected input, most preferred first; empty while the input is
    // not connected. UI thread.
    virtual std::vector<MediaType> OutputTypes(const AVCodecParameters &input) const = 0;
    // Streaming thread: converts a decoded frame into a sample and delivers it. `start` is the
    // frame's time in the segment (100 ns), NoTime when the stream gave it none.
    virtual HRESULT DeliverFrame(const AVFrame &frame, REFERENCE_TIME start) = 0;
    // Streaming thread / UI thread while stopped: forget conversion state at a flush or stop.
    virtual void ResetConversion() {}

    const AVCodecParameters &InputParameters() const { return *parameters_; }
    const AVCodecContext *Context() const { return context_; }

    HRESULT OnActive() override;
    HRESULT OnInactive() override;

  private:
    class In;
    class Out;
    HRESULT Receive(const SamplePtr &sample);
    bool PassedOver(REFERENCE_TIME start) const;
    HRESULT EndOfStream();
    void EndFlush();
    HRESULT SetInputType(const MediaType &type, const Pin &peer);
    // Under streamMutex_: sends `packet` (nullptr drains) and delivers every frame it gives.
    HRESULT Decode(const AVPacket *packet);
    void ShareSample(const SamplePtr &sample);
    void CloseCodec();

    const AVCodec &codec_;
    InputPin *input_;
    OutputPin *output_;
    AVCodecParameters *parameters_;
    int threadCount_ = 1;
    std::atomic<REFERENCE_TIME> skipBefore_{NoTime};

    std::mutex streamMutex_; // held by the streaming thread while it uses the codec
    AVCodecContext *context_ = nullptr;
    AVFrame *frame_ = nullptr;
    AVPacket *packet_ = nullptr;
};
