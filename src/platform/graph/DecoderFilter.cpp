#include "DecoderFilter.h"

#include "CodecMediaType.h"
#include "platform/core/MessageWindow.h"

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/intreadwrite.h>
}

class DecoderFilter::In : public InputPin
{
  public:
    explicit In(DecoderFilter &filter) : InputPin(filter, "In"), filter_(filter) {}

    HRESULT CheckMediaType(const MediaType &type) const override
    {
        return CodecMediaType::CodecId(type) == filter_.codec_.id ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT Receive(const SamplePtr &sample) override { return filter_.Receive(sample); }
    HRESULT BeginFlush() override
    {
        InputPin::BeginFlush();
        return filter_.output_->DeliverBeginFlush();
    }
    HRESULT EndFlush() override
    {
        filter_.EndFlush();
        InputPin::EndFlush();
        return filter_.output_->DeliverEndFlush();
    }
    HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override
    {
        InputPin::NewSegment(start, stop, rate);
        return filter_.output_->DeliverNewSegment(start, stop, rate);
    }
    HRESULT EndOfStream() override { return filter_.EndOfStream(); }

  protected:
    HRESULT CompleteConnect(Pin &peer) override
    {
        MediaType type;
        ConnectionMediaType(type);
        return filter_.SetInputType(type, peer);
    }
    void BreakConnect() override
    {
        if (filter_.output_->IsConnected())
            filter_.output_->Disconnect();
    }

  private:
    DecoderFilter &filter_;
};

class DecoderFilter::Out : public OutputPin
{
  public:
    explicit Out(DecoderFilter &filter) : OutputPin(filter, "Out"), filter_(filter) {}

    std::vector<MediaType> MediaTypes() const override
    {
        if (!filter_.input_->IsConnected())
            return {};
        return filter_.OutputTypes(*filter_.parameters_);
    }
    HRESULT CheckMediaType(const MediaType &type) const override
    {
        for (const MediaType &offered : MediaTypes())
            if (offered == type)
                return S_OK;
        return VFW_E_TYPE_NOT_ACCEPTED;
    }

  private:
    DecoderFilter &filter_;
};

DecoderFilter::DecoderFilter(const Guid &classId, std::string name, const AVCodec &codec)
    : Filter(classId, std::move(name)), codec_(codec), input_(AddPin<In>(*this)), output_(AddPin<Out>(*this)),
      parameters_(avcodec_parameters_alloc())
{
}

DecoderFilter::~DecoderFilter()
{
    CloseCodec();
    avcodec_parameters_free(&parameters_);
}

HRESULT DecoderFilter::SetInputType(const MediaType &type, const Pin &peer)
{
    const auto *upstream = dynamic_cast<const OutputPin *>(&peer);
    const AVCodecParameters *given = upstream ? upstream->CodecParameters() : nullptr;
    if (!parameters_)
        return E_OUTOFMEMORY;
    if (given && given->codec_id == codec_.id)
        return avcodec_parameters_copy(parameters_, given) < 0 ? E_OUTOFMEMORY : S_OK;
    return CodecMediaType::ToParameters(type, *parameters_) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT DecoderFilter::OnActive()
{
    if (!input_->IsConnected())
        return S_OK;
    std::lock_guard lock(streamMutex_);
    context_ = avcodec_alloc_context3(&codec_);
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!context_ || !frame_ || !packet_ || avcodec_parameters_to_context(context_, parameters_) < 0) {
        CloseCodec();
        return E_OUTOFMEMORY;
    }
    context_->pkt_timebase = AVRational{1, 10'000'000};
    context_->thread_count = threadCount_;
    context_->thread_type = FF_THREAD_FRAME | FF_THREAD_SLICE;
    if (avcodec_open2(context_, &codec_, nullptr) < 0) {
        CloseCodec();
        return VFW_E_UNSUPPORTED_STREAM;
    }
    return S_OK;
}

HRESULT DecoderFilter::OnInactive()
{
    // The streaming thread may be inside the codec, or blocked sending a message to a window of
    // this thread further down; wait for it while delivering such messages.
    std::unique_lock lock(streamMutex_, std::defer_lock);
    MessageWindow::WaitDeliveringSent([&] { return lock.try_lock(); }, -1);
    CloseCodec();
    ResetConversion();
    return S_OK;
}

void DecoderFilter::CloseCodec()
{
    avcodec_free_context(&context_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
}

HRESULT DecoderFilter::Receive(const SamplePtr &sample)
{
    std::lock_guard lock(streamMutex_);
    if (input_->IsFlushing() || State() == State_Stopped || !context_)
        return S_FALSE;
    av_packet_unref(packet_);
    ShareSample(sample);
    packet_->pts = sample->HasTime() ? sample->Start() : AV_NOPTS_VALUE;
    packet_->flags = sample->IsSyncPoint() ? AV_PKT_FLAG_KEY : 0;
    context_->skip_frame =
        sample->HasTime() && PassedOver(sample->Start()) ? AVDISCARD_NONREF : AVDISCARD_DEFAULT;
    if (sample->DiscardAtStart() || sample->DiscardAtEnd())
        if (uint8_t *skip = av_packet_new_side_data(packet_, AV_PKT_DATA_SKIP_SAMPLES, 10)) {
            AV_WL32(skip, sample->DiscardAtStart());
            AV_WL32(skip + 4, sample->DiscardAtEnd());
        }
    const HRESULT hr = Decode(packet_);
    av_packet_unref(packet_);
    return hr;
}

// Points packet_ at the sample's data. When the buffer has the zeroed tail libavcodec reads past
// the end, the packet shares the sample (which stays alive while the codec holds the packet), so
// the codec takes it without a copy; otherwise libavcodec copies it.
void DecoderFilter::ShareSample(const SamplePtr &sample)
{
    packet_->data = sample->Data();
    packet_->size = int(sample->ActualLength());
    const uint8_t *tail = sample->Data() + sample->ActualLength();
    if (sample->Capacity() < sample->ActualLength() + AV_INPUT_BUFFER_PADDING_SIZE ||
        std::any_of(tail, tail + AV_INPUT_BUFFER_PADDING_SIZE, [](uint8_t b) { return b != 0; }))
        return;
    auto *owner = new SamplePtr(sample);
    packet_->buf = av_buffer_create(
        sample->Data(), int(sample->Capacity()),
        [](void *opaque, uint8_t *) { delete static_cast<SamplePtr *>(opaque); }, owner,
        AV_BUFFER_FLAG_READONLY);
    if (!packet_->buf)
        delete owner;
}

// Streaming thread: whether `start` (in the segment) lies before the time a seek goes to.
bool DecoderFilter::PassedOver(REFERENCE_TIME start) const
{
    return input_->SegmentStart() + start < skipBefore_;
}

HRESULT DecoderFilter::Decode(const AVPacket *packet)
{
    const int sent = avcodec_send_packet(context_, packet);
    if (sent < 0 && sent != AVERROR(EAGAIN) && sent != AVERROR_EOF && packet)
        return S_OK; // a damaged packet: skipped
    for (;;) {
        const int got = avcodec_receive_frame(context_, frame_);
        if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
            return S_OK;
        if (got < 0)
            return S_OK; // a damaged picture: the next may decode
        const int64_t pts = frame_->best_effort_timestamp;
        // Pictures a seek passes over are not converted or delivered.
        if (pts != AV_NOPTS_VALUE && PassedOver(pts)) {
            av_frame_unref(frame_);
            continue;
        }
        const HRESULT hr = DeliverFrame(*frame_, pts == AV_NOPTS_VALUE ? NoTime : pts);
        av_frame_unref(frame_);
        if (hr != S_OK && hr != VFW_E_NOT_CONNECTED)
            return hr;
    }
}

HRESULT DecoderFilter::EndOfStream()
{
    {
        std::lock_guard lock(streamMutex_);
        if (context_ && !input_->IsFlushing() && State() != State_Stopped) {
            Decode(nullptr);
            avcodec_flush_buffers(context_);
        }
    }
    return output_->DeliverEndOfStream();
}

void DecoderFilter::EndFlush()
{
    std::lock_guard lock(streamMutex_);
    if (context_)
        avcodec_flush_buffers(context_);
    ResetConversion();
}
