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
#include <libavutil/intreadwrite.h>
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

LavSplitterSource::LavSplitterSource(const Guid &classId, std::string name, const char *demuxer)
    : Filter(classId, std::move(name)), demuxer_(demuxer)
{
}

LavSplitterSource::~LavSplitterSource()
{
    StopReader(false);
    DropPending();
    avformat_close_input(&format_);
}

HRESULT LavSplitterSource::Load(const std::string &path, const MediaType *)
{
    if (format_)
        return E_UNEXPECTED;
    format_ = avformat_alloc_context();
    if (!format_)
        return E_OUTOFMEMORY;
    // Packets of reordered video without their own presentation time get one from libavformat.
    format_->flags |= AVFMT_FLAG_GENPTS;
    format_->interrupt_callback = {
        [](void *self) { return int(static_cast<LavSplitterSource *>(self)->stopReading_.load()); }, this};
    const AVInputFormat *container = demuxer_ ? av_find_input_format(demuxer_) : nullptr;
    int err = avformat_open_input(&format_, path.c_str(), container, nullptr);
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
    IndexKeyFrames();
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
    if (stop && resolve(stop, stopFlags, stop_, newStop)) {
        stop_ = std::max<REFERENCE_TIME>(newStop, 0);
        stopSet_ = true;
    }
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

// The connected video stream seeks are aligned on, or -1.
int LavSplitterSource::VideoStream() const
{
    for (size_t i = 0; i < pinByStream_.size(); ++i)
        if (pinByStream_[i] && pinByStream_[i]->IsConnected() &&
            format_->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_VIDEO)
            return int(i);
    return -1;
}

bool LavSplitterSource::ReadPacket(AVPacket *packet)
{
    int failures = 0;
    while (!stopReading_) {
        const int err = av_read_frame(format_, packet);
        atFirstPacket_ = false;
        if (err >= 0)
            return true;
        if (err == AVERROR_EOF || ++failures > MaxReadFailures || (format_->pb && avio_feof(format_->pb)))
            return false;
    }
    return false;
}

// Files without a complete index may put a seek after the key frame wanted: each retry seeks
// further back, until the first video key frame read lies at or before the target. A retry may
// land too far back; reading on then finds the nearest key frame.
bool LavSplitterSource::Position(REFERENCE_TIME target)
{
    DropPending();
    const int video = VideoStream();
    const int64_t origin = format_->start_time == AV_NOPTS_VALUE ? 0 : format_->start_time;
    for (REFERENCE_TIME back :
         std::initializer_list<REFERENCE_TIME>{0, 10'000'000, 40'000'000, 160'000'000, INT64_MAX / 2}) {
        const REFERENCE_TIME at = back >= target ? 0 : target - back;
        if (at == 0)
            Rewind();
        else if (av_seek_frame(format_, -1, av_rescale_q(at, HnsBase, AV_TIME_BASE_Q) + origin,
                               AVSEEK_FLAG_BACKWARD) < 0)
            continue;
        if (video < 0 || target == 0)
            return true;
        AVPacket *key = av_packet_alloc();
        if (!key || !ReadKeyFrame(video, key) || (at > 0 && PacketTime(*key) > target)) {
            av_packet_free(&key);
            continue;
        }
        pending_.push_back(key);
        if (back > 0)
            ReadOnToNearestKeyFrame(video, target);
        return true;
    }
    return false;
}

// Back to the first packet. Streams whose time stamps may jump (MPEG program and transport
// streams) are found by scanning, which can land past the first pictures, so they go back to
// their first byte instead.
void LavSplitterSource::Rewind()
{
    // Nothing read yet: no seek. Some demuxers seek by a frame size they learnt from the last
    // packet probed (raw DV that switches from PAL to NTSC), which would cut the first frame.
    if (atFirstPacket_)
        return;
    if ((format_->iformat->flags & AVFMT_TS_DISCONT) && av_seek_frame(format_, -1, 0, AVSEEK_FLAG_BYTE) >= 0)
        return;
    const int64_t origin = format_->start_time == AV_NOPTS_VALUE ? 0 : format_->start_time;
    if (av_seek_frame(format_, -1, origin, AVSEEK_FLAG_BACKWARD) < 0)
        av_seek_frame(format_, -1, origin, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
}

// Reads up to the next key frame of the video stream; what comes before it cannot be decoded,
// and sound before it is not needed.
bool LavSplitterSource::ReadKeyFrame(int video, AVPacket *packet)
{
    while (ReadPacket(packet)) {
        if (packet->stream_index == video && (packet->flags & AV_PKT_FLAG_KEY))
            return true;
        av_packet_unref(packet);
    }
    return false;
}

// With the packets from a key frame at or before the target pending, reads on while the video
// has not passed the target; each later key frame at or before it replaces what is pending.
void LavSplitterSource::ReadOnToNearestKeyFrame(int video, REFERENCE_TIME target)
{
    for (;;) {
        AVPacket *packet = av_packet_alloc();
        if (!packet || !ReadPacket(packet)) {
            av_packet_free(&packet);
            return;
        }
        const bool isVideo = packet->stream_index == video;
        if (isVideo && (packet->flags & AV_PKT_FLAG_KEY) && PacketTime(*packet) <= target)
            DropPending();
        pending_.push_back(packet);
        if (isVideo && packet->dts != AV_NOPTS_VALUE && MediaTime(packet->dts, video) > target)
            return;
    }
}

void LavSplitterSource::DropPending()
{
    for (AVPacket *packet : pending_)
        av_packet_free(&packet);
    pending_.clear();
}

// The next packet: a pending one, else one read from the file.
bool LavSplitterSource::NextPacket(AVPacket *packet)
{
    if (pending_.empty())
        return ReadPacket(packet);
    av_packet_move_ref(packet, pending_.front());
    av_packet_free(&pending_.front());
    pending_.pop_front();
    return true;
}

// Media time of a packet's presentation (or, without one, its decoding).
REFERENCE_TIME LavSplitterSource::PacketTime(const AVPacket &packet) const
{
    const int64_t stamp = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
    return stamp == AV_NOPTS_VALUE ? INT64_MIN : MediaTime(stamp, packet.stream_index);
}

// Queues a packet on its pin with its time relative to the segment.
bool LavSplitterSource::Dispatch(const AVPacket &packet)
{
    StreamPin *pin =
        packet.stream_index < int(pinByStream_.size()) ? pinByStream_[packet.stream_index] : nullptr;
    if (!pin || pin->ended)
        return true;
    const AVStream &stream = *format_->streams[packet.stream_index];
    // A stream ends before its first packet decoded past the stop position.
    if (stopSet_ && packet.dts != AV_NOPTS_VALUE && MediaTime(packet.dts, packet.stream_index) > stop_) {
        pin->ended = true;
        pin->QueueEndOfStream();
        return true;
    }
    // With the zeroed tail a decoder needs, so it can take the buffer without copying it.
    SamplePtr sample = pin->pool.Get(size_t(packet.size) + AV_INPUT_BUFFER_PADDING_SIZE);
    std::memcpy(sample->Data(), packet.data, size_t(packet.size));
    std::memset(sample->Data() + packet.size, 0, AV_INPUT_BUFFER_PADDING_SIZE);
    sample->SetActualLength(size_t(packet.size));
    if (packet.pts != AV_NOPTS_VALUE) {
        const REFERENCE_TIME start = MediaTime(packet.pts, packet.stream_index) - start_;
        const REFERENCE_TIME length = av_rescale_q(packet.duration, stream.time_base, HnsBase);
        sample->SetTime(start, start + std::max<REFERENCE_TIME>(length, 1));
    }
    sample->SetSyncPoint(packet.flags & AV_PKT_FLAG_KEY);
    sample->SetDiscontinuity(std::exchange(pin->discontinue, false));
    size_t skipSize = 0;
    if (const uint8_t *skip = av_packet_get_side_data(&packet, AV_PKT_DATA_SKIP_SAMPLES, &skipSize);
        skip && skipSize >= 8)
        sample->SetDiscard(AV_RL32(skip), AV_RL32(skip + 4));
    return pin->QueueSample(std::move(sample)) || !stopReading_;
}

// The reading thread: positions the file, announces the segment, then queues packets until the
// end, the stop position or a stop.
void LavSplitterSource::ReaderMain()
{
    for (StreamPin *pin : pins_) {
        pin->ended = !pin->IsConnected();
        pin->discontinue = true;
        pin->QueueNewSegment(start_, stopSet_ ? stop_.load() : INT64_MAX, rate_);
    }
    AVPacket *packet = av_packet_alloc();
    bool reading = packet && Position(start_) && NextPacket(packet);
    while (reading && !stopReading_) {
        reading = Dispatch(*packet);
        av_packet_unref(packet);
        if (std::all_of(pins_.begin(), pins_.end(), [](StreamPin *p) { return p->ended; }))
            break;
        reading = reading && NextPacket(packet);
    }
    av_packet_free(&packet);
    DropPending();
    if (!stopReading_)
        for (StreamPin *pin : pins_)
            if (!pin->ended)
                pin->QueueEndOfStream();
}

// The key frames the container's index lists for the first video stream, copied once: the
// reading thread may add to the index later.
void LavSplitterSource::IndexKeyFrames()
{
    for (unsigned i = 0; i < format_->nb_streams; ++i) {
        AVStream *stream = format_->streams[i];
        if (!pinByStream_[i] || stream->codecpar->codec_type != AVMEDIA_TYPE_VIDEO)
            continue;
        for (int e = 0; e < avformat_index_get_entries_count(stream); ++e) {
            const AVIndexEntry *entry = avformat_index_get_entry(stream, e);
            if (entry->flags & AVINDEX_KEYFRAME)
                keyFrames_.push_back(MediaTime(entry->timestamp, int(i)));
        }
        std::sort(keyFrames_.begin(), keyFrames_.end());
        return;
    }
}

bool LavSplitterSource::KeyFrameAtOrBefore(REFERENCE_TIME time, REFERENCE_TIME &key) const
{
    const auto after = std::upper_bound(keyFrames_.begin(), keyFrames_.end(), time);
    if (after == keyFrames_.begin())
        return false;
    key = *std::prev(after);
    return true;
}
