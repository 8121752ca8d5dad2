#include "AviSplitter.h"

#include "AsyncReader.h"
#include "MediaGuids.h"
#include "StreamingOutputPin.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{
constexpr REFERENCE_TIME UnitsPerSecond = 10'000'000;

Guid FourCCGuid(uint32_t code)
{
    return MediaGuids::FourCC(code);
}

// The type a stream's pin offers, from its header and stored format.
MediaType StreamType(const AviRiffParser::Stream &stream)
{
    MediaType type;
    type.format = stream.format;
    if (stream.type == AviRiffParser::FourCC("vids") && stream.format.size() >= sizeof(BITMAPINFOHEADER)) {
        BITMAPINFOHEADER bitmap;
        std::memcpy(&bitmap, stream.format.data(), sizeof bitmap);
        VIDEOINFOHEADER info;
        info.bmiHeader = bitmap;
        if (stream.rate)
            info.AvgTimePerFrame = REFERENCE_TIME(stream.scale) * UnitsPerSecond / stream.rate;
        type.majortype = MEDIATYPE_Video;
        type.subtype = bitmap.biCompression ? FourCCGuid(bitmap.biCompression) : MEDIASUBTYPE_RGB24;
        const std::vector<uint8_t> extra(stream.format.begin() + sizeof bitmap, stream.format.end());
        type.SetFormat(FORMAT_VideoInfo, info, extra);
    } else if (stream.type == AviRiffParser::FourCC("auds") && stream.format.size() >= 16) {
        type.majortype = MEDIATYPE_Audio;
        type.subtype = FourCCGuid(uint32_t(stream.format[0] | stream.format[1] << 8));
        type.formattype = FORMAT_WaveFormatEx;
        type.format.resize(std::max(type.format.size(), sizeof(WAVEFORMATEX)), 0);
    } else if (stream.type == AviRiffParser::FourCC("iavs") && stream.format.size() >= sizeof(DVINFO)) {
        type.majortype = MEDIATYPE_Interleaved;
        type.subtype = FourCCGuid(stream.handler ? stream.handler : AviRiffParser::FourCC("dvsd"));
        type.formattype = FORMAT_DvInfo;
    } else if (stream.type == AviRiffParser::FourCC("txts")) {
        type.majortype = MEDIATYPE_Text;
        type.subtype = GUID_NULL;
        type.formattype = FORMAT_None;
        type.format.clear();
    }
    return type;
}

// Chunk start times: one tick of scale/rate per chunk, or per sample when samples have a fixed size.
std::vector<REFERENCE_TIME> ChunkTimes(const AviRiffParser::Stream &stream)
{
    std::vector<REFERENCE_TIME> times;
    times.reserve(stream.chunks.size() + 1);
    const double tick = stream.rate ? double(stream.scale) * UnitsPerSecond / stream.rate : 0.0;
    uint64_t units = stream.start;
    for (const AviRiffParser::Chunk &chunk : stream.chunks) {
        times.push_back(REFERENCE_TIME(double(units) * tick));
        units += stream.sampleSize ? chunk.size / stream.sampleSize : 1;
    }
    times.push_back(REFERENCE_TIME(double(units) * tick));
    return times;
}
} // namespace

class AviSplitter::Out : public StreamingOutputPin
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

  private:
    MediaType type_;
};

class AviSplitter::In : public InputPin
{
  public:
    explicit In(AviSplitter &owner) : InputPin(owner, "input pin"), splitter_(owner) {}
    HRESULT CheckMediaType(const MediaType &type) const override
    {
        return type.majortype == MEDIATYPE_Stream &&
                       (type.subtype.IsNull() || type.subtype == MEDIASUBTYPE_Avi)
                   ? S_OK
                   : VFW_E_TYPE_NOT_ACCEPTED;
    }
    // Samples are pulled, never pushed.
    HRESULT Receive(const SamplePtr &) override { return E_UNEXPECTED; }

  protected:
    HRESULT CompleteConnect(Pin &peer) override
    {
        auto *reader = dynamic_cast<AsyncReader *>(&peer);
        return reader ? splitter_.Open(*reader) : VFW_E_TYPE_NOT_ACCEPTED;
    }

  private:
    AviSplitter &splitter_;
};

AviSplitter::AviSplitter() : Filter(CLSID_AviSplitter, "AVI Splitter")
{
    in_ = AddPin<In>(*this);
}

AviSplitter::~AviSplitter()
{
    StopReader(false);
}

HRESULT AviSplitter::Open(AsyncReader &reader)
{
    int64_t total = 0, available = 0;
    if (FAILED(reader.Length(total, available)) || total <= 0)
        return VFW_E_INVALID_FILE_FORMAT;
    AviRiffParser parser;
    const bool opened =
        parser.Open(uint64_t(total), [&reader](uint64_t offset, uint32_t length, uint8_t *out) {
            int32_t read = 0;
            return length <= uint32_t(std::numeric_limits<int32_t>::max()) &&
                   reader.SyncRead(int64_t(offset), int32_t(length), out, read) == S_OK;
        });
    if (!opened)
        return VFW_E_INVALID_FILE_FORMAT;
    if (!tracks_.empty()) // the pins of an earlier connection stay; the file must fit them
        return parser.Streams().size() == parser_.Streams().size() ? S_OK : VFW_E_INVALID_FILE_FORMAT;
    parser_ = std::move(parser);
    reader_ = &reader;
    for (const AviRiffParser::Stream &stream : parser_.Streams())
        AddTrack(stream);
    for (std::size_t t = 0; t < tracks_.size(); ++t) {
        for (std::size_t c = 0; c < parser_.Streams()[t].chunks.size(); ++c)
            fileOrder_.push_back({t, c});
    }
    std::sort(fileOrder_.begin(), fileOrder_.end(), [this](const Step &a, const Step &b) {
        return parser_.Streams()[a.track].chunks[a.chunk].offset <
               parser_.Streams()[b.track].chunks[b.chunk].offset;
    });
    const int primary = PrimaryTrack();
    for (const Track &track : tracks_)
        duration_ = std::max(duration_, track.times.back());
    if (primary >= 0)
        duration_ = tracks_[primary].times.back();
    stop_ = duration_;
    return S_OK;
}

void AviSplitter::AddTrack(const AviRiffParser::Stream &stream)
{
    Track track;
    track.times = ChunkTimes(stream);
    const MediaType type = StreamType(stream);
    if (!type.majortype.IsNull())
        track.pin = AddPin<Out>(*this, "Stream " + std::to_string(tracks_.size()), type);
    tracks_.push_back(std::move(track));
}

int AviSplitter::PrimaryTrack() const
{
    for (std::size_t t = 0; t < tracks_.size(); ++t) {
        const uint32_t type = parser_.Streams()[t].type;
        if (tracks_[t].pin &&
            (type == AviRiffParser::FourCC("vids") || type == AviRiffParser::FourCC("iavs")))
            return int(t);
    }
    return -1;
}

std::vector<std::size_t> AviSplitter::FirstChunks(REFERENCE_TIME target) const
{
    REFERENCE_TIME from = target;
    const int primary = PrimaryTrack();
    std::vector<std::size_t> first(tracks_.size(), 0);
    if (primary >= 0) {
        const auto &chunks = parser_.Streams()[primary].chunks;
        const auto &times = tracks_[primary].times;
        std::size_t key = 0;
        for (std::size_t c = 0; c < chunks.size() && times[c] <= target; ++c) {
            if (chunks[c].keyFrame)
                key = c;
        }
        first[primary] = key;
        from = chunks.empty() ? target : times[key];
    }
    for (std::size_t t = 0; t < tracks_.size(); ++t) {
        if (int(t) == primary)
            continue;
        const auto &times = tracks_[t].times;
        // The chunk holding `from`: the last one starting at or before it.
        const auto after = std::upper_bound(times.begin(), times.end() - 1, from);
        first[t] = after == times.begin() ? 0 : std::size_t(after - times.begin() - 1);
    }
    return first;
}

HRESULT AviSplitter::OnActive()
{
    if (!reader_)
        return VFW_E_NOT_CONNECTED;
    for (Track &track : tracks_) {
        if (track.pin && track.pin->IsConnected())
            track.pin->StartStreaming();
    }
    StartReader();
    return S_OK;
}

HRESULT AviSplitter::OnInactive()
{
    StopReader(false);
    return S_OK;
}

void AviSplitter::StartReader()
{
    stopReading_ = false;
    thread_ = std::thread([this] { ReaderMain(); });
}

void AviSplitter::StopReader(bool flush)
{
    stopReading_ = true;
    for (Track &track : tracks_) {
        if (track.pin && track.pin->IsConnected()) {
            if (flush)
                track.pin->BeginFlush();
            else
                track.pin->StopStreaming();
        }
    }
    if (thread_.joinable())
        thread_.join();
    if (flush) {
        for (Track &track : tracks_) {
            if (track.pin && track.pin->IsConnected())
                track.pin->EndFlush();
        }
    }
}

void AviSplitter::ReaderMain()
{
    const REFERENCE_TIME start = start_;
    const std::vector<std::size_t> first = FirstChunks(start);
    for (Track &track : tracks_) {
        if (track.pin && track.pin->IsConnected())
            track.pin->QueueNewSegment(start, stop_, 1.0);
    }
    std::vector<uint8_t> data;
    for (const Step &step : fileOrder_) {
        if (stopReading_)
            return;
        Track &track = tracks_[step.track];
        if (step.chunk < first[step.track] || !track.pin || !track.pin->IsConnected())
            continue;
        const AviRiffParser::Chunk &chunk = parser_.Streams()[step.track].chunks[step.chunk];
        if (track.times[step.chunk] >= stop_ || chunk.size == 0 || !parser_.ReadChunk(chunk, data))
            continue;
        auto sample = std::make_shared<Sample>(data.size());
        std::memcpy(sample->Data(), data.data(), data.size());
        sample->SetActualLength(data.size());
        sample->SetTime(track.times[step.chunk] - start, track.times[step.chunk + 1] - start);
        sample->SetSyncPoint(chunk.keyFrame);
        sample->SetDiscontinuity(step.chunk == first[step.track]);
        track.pin->QueueSample(std::move(sample));
    }
    for (Track &track : tracks_) {
        if (track.pin && track.pin->IsConnected() && !stopReading_)
            track.pin->QueueEndOfStream();
    }
}

HRESULT AviSplitter::GetCapabilities(uint32_t &capabilities)
{
    capabilities = AM_SEEKING_CanSeekAbsolute | AM_SEEKING_CanSeekForwards | AM_SEEKING_CanSeekBackwards |
                   AM_SEEKING_CanGetCurrentPos | AM_SEEKING_CanGetStopPos | AM_SEEKING_CanGetDuration;
    return S_OK;
}

HRESULT AviSplitter::SetPositions(REFERENCE_TIME *current, uint32_t currentFlags, REFERENCE_TIME *stop,
                                  uint32_t stopFlags)
{
    const bool moveStart =
        current && (currentFlags & AM_SEEKING_PositioningBitsMask) == AM_SEEKING_AbsolutePositioning;
    const bool moveStop =
        stop && (stopFlags & AM_SEEKING_PositioningBitsMask) == AM_SEEKING_AbsolutePositioning;
    if (!moveStart && !moveStop)
        return S_OK;
    const bool streaming = thread_.joinable();
    if (streaming)
        StopReader(true);
    if (moveStart)
        start_ = std::clamp<REFERENCE_TIME>(*current, 0, duration_);
    if (moveStop)
        stop_ = std::clamp<REFERENCE_TIME>(*stop, 0, duration_);
    if (streaming)
        StartReader();
    return S_OK;
}

HRESULT AviSplitter::GetCurrentPosition(REFERENCE_TIME &position)
{
    position = start_;
    return S_OK;
}

HRESULT AviSplitter::GetStopPosition(REFERENCE_TIME &position)
{
    position = stop_;
    return S_OK;
}

HRESULT AviSplitter::GetDuration(REFERENCE_TIME &duration)
{
    duration = duration_;
    return S_OK;
}

HRESULT AviSplitter::SetRate(double rate)
{
    return rate == 1.0 ? S_OK : E_INVALIDARG;
}

HRESULT AviSplitter::GetRate(double &rate)
{
    rate = 1.0;
    return S_OK;
}
