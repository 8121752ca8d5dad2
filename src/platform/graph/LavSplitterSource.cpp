#include "LavSplitterSource.h"

#include "CodecMediaType.h"
#include "MediaGuids.h"
#include "SamplePool.h"
#include "StreamingOutputPin.h"

#include <algorithm>
#include <cstring>
#include <utility>

extern "C" {
#include <libavformat/avformat.h>
}

namespace
{

constexpr AVRational HnsBase{1, 10'000'000};
// Consecutive read failures after which a damaged file is taken to have ended.
constexpr int MaxReadFailures = 64;

} // namespace

// One stream's output: its compressed type, its codec parameters and a pool of packet buffers.
class LavSplitterSource::StreamPin : public StreamingOutputPin
{
  public:
    StreamPin(LavSplitterSource &owner, std::string name, MediaType type, const AVCodecParameters *codec)
        : StreamingOutputPin(owner, std::move(name)), type_(std::move(type)), codec_(codec)
    {
    }

    std::vector<MediaType> MediaTypes() const override { return {type_}; }
    HRESULT CheckMediaType(const MediaType &type) const override
    {
        return type == type_ ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    const AVCodecParameters *CodecParameters() const override { return codec_; }

    SamplePool pool;
    bool ended = false;      // reading thread only: end of stream queued
    bool discontinue = true; // reading thread only: the next sample follows a seek

  private:
    const MediaType type_;
    const AVCodecParameters *codec_;
};

LavSplitterSource::LavSplitterSource() : Filter(CLSID_LAVSplitterSource, "LAV Splitter Source") {}

LavSplitterSource::~LavSplitterSource()
{
    StopReader(false);
    avformat_close_input(&format_);
}

HRESULT LavSplitterSource::Load(const std::string &path, const MediaType *)
{
    if (format_)
        return E_UNEXPECTED;
    format_ = avformat_alloc_context();
    if (!format_)
        return E_OUTOFMEMORY;
    format_->interrupt_callback = {
        [](void *self) { return int(static_cast<LavSplitterSource *>(self)->stopReading_.load()); }, this};
    int err = avformat_open_input(&format_, path.c_str(), nullptr, nullptr);
    if (err < 0)
        return err == AVERROR(ENOENT) ? E_FILE_NOT_FOUND : VFW_E_UNKNOWN_FILE_TYPE;
    if (avformat_find_stream_info(format_, nullptr) < 0) {
        avformat_close_input(&format_);
        return VFW_E_INVALID_FILE_FORMAT;
    }
    int videos = 0, audios = 0;
    pinByStream_.assign(format_->nb_streams, nullptr);
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        AVStream *stream = format_->streams[i];
        MediaType type;
        if (!CodecMediaType::FromParameters(*stream->codecpar, av_guess_frame_rate(format_, stream, nullptr),
                                            av_guess_sample_aspect_ratio(format_, stream, nullptr), type))
            continue;
        const bool video = type.majortype == MEDIATYPE_Video;
        int &count = video ? videos : audios;
        std::string name = video ? "Video" : "Audio";
        if (count++ > 0)
            name += " " + std::to_string(count);
        pinByStream_[i] = AddPin<StreamPin>(*this, name, type, stream->codecpar);
        pins_.push_back(pinByStream_[i]);
    }
    if (pins_.empty()) {
        avformat_close_input(&format_);
        return VFW_E_UNSUPPORTED_STREAM;
    }
    if (format_->duration > 0)
        duration_ = av_rescale_q(format_->duration, AV_TIME_BASE_Q, HnsBase);
    for (unsigned i = 0; i < format_->nb_streams; ++i)
        if (pinByStream_[i] && format_->streams[i]->duration > 0)
            duration_ = std::max(duration_, av_rescale_q(format_->streams[i]->duration,
                                                         format_->streams[i]->time_base, HnsBase));
    stop_ = duration_;
    path_ = path;
    return S_OK;
}

HRESULT LavSplitterSource::GetCurFile(std::string &path) const
{
    path = path_;
    return format_ ? S_OK : E_FAIL;
}

HRESULT LavSplitterSource::GetCapabilities(uint32_t &capabilities)
{
    capabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
                   AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;
    return S_OK;
}

HRESULT LavSplitterSource::SetPositions(REFERENCE_TIME *current, uint32_t currentFlags, REFERENCE_TIME *stop,
                                        uint32_t stopFlags)
{
    auto resolve = [](REFERENCE_TIME *value, uint32_t flags, REFERENCE_TIME old, REFERENCE_TIME &out) {
        switch (flags & AM_SEEKING_PositioningBitsMask) {
        case AM_SEEKING_AbsolutePositioning:
            out = *value;
            return true;
        case AM_SEEKING_RelativePositioning:
        case AM_SEEKING_IncrementalPositioning:
            out = old + *value;
            return true;
        default:
            return false;
        }
    };
    REFERENCE_TIME newStop = stop_;
    if (stop)
        resolve(stop, stopFlags, stop_, newStop);
    stop_ = std::max<REFERENCE_TIME>(newStop, 0);
    REFERENCE_TIME target = start_;
    if (!current || !resolve(current, currentFlags, start_, target))
        return S_OK;
    target = std::max<REFERENCE_TIME>(target, 0);
    if (State() == State_Stopped) {
        start_ = target;
        return S_OK;
    }
    StopReader(true);
    start_ = target;
    StartReader();
    return S_OK;
}

HRESULT LavSplitterSource::GetCurrentPosition(REFERENCE_TIME &position)
{
    position = start_;
    return S_OK;
}

HRESULT LavSplitterSource::GetStopPosition(REFERENCE_TIME &position)
{
    position = stop_;
    return S_OK;
}

HRESULT LavSplitterSource::GetDuration(REFERENCE_TIME &duration)
{
    duration = duration_;
    return format_ ? S_OK : E_FAIL;
}

HRESULT LavSplitterSource::SetRate(double rate)
{
    if (rate <= 0)
        return E_INVALIDARG;
    rate_ = rate;
    return S_OK;
}

HRESULT LavSplitterSource::GetRate(double &rate)
{
    rate = rate_;
    return S_OK;
}

HRESULT LavSplitterSource::OnActive()
{
    if (!format_)
        return VFW_E_NOT_CONNECTED;
    for (StreamPin *pin : pins_)
        pin->StartStreaming();
    StartReader();
    return S_OK;
}

HRESULT LavSplitterSource::OnInactive()
{
    StopReader(false);
    return S_OK;
}

void LavSplitterSource::StartReader()
{
    stopReading_ = false;
    reader_ = std::thread(&LavSplitterSource::ReaderMain, this);
}

void LavSplitterSource::StopReader(bool flush)
{
    stopReading_ = true;
    for (StreamPin *pin : pins_)
        flush ? pin->BeginFlush() : pin->StopStreaming();
    if (reader_.joinable())
        reader_.join();
    if (flush)
        for (StreamPin *pin : pins_)
            pin->EndFlush();
}

REFERENCE_TIME LavSplitterSource::MediaTime(int64_t timestamp, int streamIndex) const
{
    const REFERENCE_TIME origin = format_->start_time == AV_NOPTS_VALUE
                                      ? 0
                                      : av_rescale_q(format_->start_time, AV_TIME_BASE_Q, HnsBase);
    return av_rescale_q(timestamp, format_->streams[streamIndex]->time_base, HnsBase) - origin;
}

// Puts the file at the key frame at or before `target` (media time).
void LavSplitterSource::Position(REFERENCE_TIME target)
{
    int64_t at = av_rescale_q(target, HnsBase, AV_TIME_BASE_Q);
    if (format_->start_time != AV_NOPTS_VALUE)
        at += format_->start_time;
    if (av_seek_frame(format_, -1, at, AVSEEK_FLAG_BACKWARD) < 0)
        av_seek_frame(format_, -1, format_->start_time == AV_NOPTS_VALUE ? 0 : format_->start_time,
                      AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
}

// The reading thread: positions the file, announces the segment, then queues packets until the
// end, the stop position or a stop.
void LavSplitterSource::ReaderMain()
{
    Position(start_);
    for (StreamPin *pin : pins_) {
        pin->ended = !pin->IsConnected();
        pin->discontinue = true;
        pin->QueueNewSegment(start_, stop_, rate_);
    }
    AVPacket *packet = av_packet_alloc();
    int failures = 0;
    const REFERENCE_TIME segmentLength = stop_ - start_;
    while (packet && !stopReading_) {
        const int err = av_read_frame(format_, packet);
        if (err == AVERROR(EAGAIN))
            continue;
        if (err < 0) {
            if (err == AVERROR_EOF || stopReading_ || ++failures > MaxReadFailures || avio_feof(format_->pb))
                break;
            continue;
        }
        failures = 0;
        StreamPin *pin =
            packet->stream_index < int(pinByStream_.size()) ? pinByStream_[packet->stream_index] : nullptr;
        if (pin && !pin->ended) {
            auto sample = pin->pool.Get(size_t(packet->size));
            std::memcpy(sample->Data(), packet->data, size_t(packet->size));
            sample->SetActualLength(size_t(packet->size));
            const int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (stamp != AV_NOPTS_VALUE) {
                const REFERENCE_TIME start = MediaTime(stamp, packet->stream_index) - start_;
                const REFERENCE_TIME length = av_rescale_q(
                    packet->duration, format_->streams[packet->stream_index]->time_base, HnsBase);
                sample->SetTime(start, start + std::max<REFERENCE_TIME>(length, 1));
            }
            sample->SetSyncPoint(packet->flags & AV_PKT_FLAG_KEY);
            sample->SetDiscontinuity(std::exchange(pin->discontinue, false));
            // A stream ends before its first packet decoded past the stop position.
            if (sample->HasTime() && packet->dts != AV_NOPTS_VALUE &&
                MediaTime(packet->dts, packet->stream_index) - start_ > segmentLength) {
                pin->ended = true;
                pin->QueueEndOfStream();
            } else if (!pin->QueueSample(std::move(sample)) && stopReading_) {
                break;
            }
        }
        av_packet_unref(packet);
        if (std::all_of(pins_.begin(), pins_.end(), [](StreamPin *p) { return p->ended; }))
            break;
    }
    av_packet_free(&packet);
    if (!stopReading_)
        for (StreamPin *pin : pins_)
            if (!pin->ended)
                pin->QueueEndOfStream();
}
