#include "Notifier.h"

#include "media/DvPacks.h"
#include "media/MediaTypeText.h"
#include "media/Mpeg2Header.h"
#include "media/StreamMessages.h"
#include "platform/core/DateTimeFormat.h"
#include "platform/graph/MediaGuids.h"

namespace
{

const QString DefaultDatecodeFormat = QStringLiteral("dddddd - tt");

bool SameOrNull(const Guid &accepted, const Guid &offered)
{
    return accepted == GUID_NULL || accepted == offered;
}

bool VideoChanged(const TVideoData &a, const TVideoData &b)
{
    return a.Width != b.Width || a.Height != b.Height || a.AspectX != b.AspectX || a.AspectY != b.AspectY ||
           a.AspectCode != b.AspectCode;
}

bool AudioChanged(const TframeData &a, const TframeData &b)
{
    return a.AudioCodec != b.AudioCodec || a.Channels != b.Channels || a.BitsPerSample != b.BitsPerSample ||
           a.SamplesPerSec != b.SamplesPerSec || a.AudioBitRate != b.AudioBitRate;
}

bool DatecodeChanged(const TframeData &a, const TframeData &b)
{
    return a.DateValid != b.DateValid || a.Datecode != b.Datecode || a.DatecodeText != b.DatecodeText;
}

bool TimecodeChanged(const TframeData &a, const TframeData &b)
{
    return a.TimecodeValid != b.TimecodeValid || a.TimecodeText != b.TimecodeText;
}

const char *AspectSuffix(int aspectCode)
{
    return aspectCode == 1 ? " (16x9)" : " (4x3)";
}

// The recording date-time of the packs: valid only as a whole; a valid date with an invalid time
// still moves the datecode to that midnight, an invalid date keeps the previous datecode.
void ApplyRecordingDate(const TDvRecDate &date, TframeData &frame)
{
    if (date.Year < 0) {
        frame.Datecode = 0;
        frame.DateValid = false;
        return;
    }
    TDateTime day = 0;
    TDateTime value = 0;
    const bool dateOk = TryEncodeDate(date.Year, date.Month, date.Day, day);
    frame.DateValid =
        TryEncodeDateTime(date.Year, date.Month, date.Day, date.Hour, date.Minute, date.Second, 0, value);
    if (frame.DateValid)
        frame.Datecode = value;
    else if (dateOk)
        frame.Datecode = day;
}

void ApplyTimecode(const std::array<uint8_t, 4> &timecode, TframeData &frame)
{
    frame.TimecodeValid = timecode[0] < 0x80;
    if (!frame.TimecodeValid) {
        frame.TimecodeText = QStringLiteral("N/A");
        return;
    }
    frame.Timecode = timecode;
    frame.TimecodeText =
        QString::asprintf("%d:%.2d:%.2d:%.2d", timecode[0], timecode[1], timecode[2], timecode[3]);
}

} // namespace

const Guid TNotifier::ClassId{0x6B1E3C20, 0x41D7, 0x4F0A, {0x9C, 0x52, 0x3E, 0x7A, 0x10, 0x8D, 0x24, 0x01}};

TNotifier::TNotifier() : TransInPlaceFilter(ClassId, "Marvo Tessaly's Notifier")
{
    ResetNotifier();
    notifyDuration_ = false;
}

std::mutex &TNotifier::RecordMutex()
{
    static std::mutex mutex;
    return mutex;
}

void TNotifier::ResetNotifier()
{
    notifyVideo_ = false;
    notifyAudio_ = false;
    notifyDatecode_ = false;
    notifyTimecode_ = false;
    const std::lock_guard lock(RecordMutex());
    datecodeFormat_ = DefaultDatecodeFormat;
    curFrame_.DateValid = false;
    curFrame_.TimecodeValid = false;
    curFrame_.DatecodeText = QStringLiteral("No Datecode");
    curFrame_.TimecodeText = QStringLiteral("No Timecode");
    curFrame_.AudioCodec.clear();
    curVideo_.SubtypeName.clear();
    ringIndex_ = 0;
}

void TNotifier::SetActiveSwitch(std::atomic<bool> &flag, bool on)
{
    flag = on;
    active_ = true;
}

void TNotifier::SetNotifyVideo(bool on)
{
    SetActiveSwitch(notifyVideo_, on);
}

void TNotifier::SetNotifyAudio(bool on)
{
    SetActiveSwitch(notifyAudio_, on);
}

void TNotifier::SetNotifyDatecode(bool on)
{
    SetActiveSwitch(notifyDatecode_, on);
}

void TNotifier::SetNotifyTimecode(bool on)
{
    SetActiveSwitch(notifyTimecode_, on);
}

void TNotifier::SetNotifyInlay(bool on)
{
    notifyInlay_ = on;
    SendInlay();
}

void TNotifier::SetDatecodeFormat(const QString &format)
{
    const std::lock_guard lock(RecordMutex());
    datecodeFormat_ = format;
}

void TNotifier::SetAudioCodec(const QString &codec)
{
    const std::lock_guard lock(RecordMutex());
    curFrame_.AudioCodec = codec;
}

TAcceptedTypes TNotifier::AcceptedTypes() const
{
    const std::lock_guard lock(RecordMutex());
    return accepted_;
}

TVideoData TNotifier::CurVideo() const
{
    const std::lock_guard lock(RecordMutex());
    return curVideo_;
}

TframeData TNotifier::CurFrame() const
{
    const std::lock_guard lock(RecordMutex());
    return curFrame_;
}

TVideoData TNotifier::ReadVideoData(intptr_t address)
{
    const std::lock_guard lock(RecordMutex());
    return *reinterpret_cast<const TVideoData *>(address);
}

TframeData TNotifier::ReadFrameData(intptr_t address)
{
    const std::lock_guard lock(RecordMutex());
    return *reinterpret_cast<const TframeData *>(address);
}

TIncrustDV TNotifier::ReadInlay(uintptr_t address)
{
    const std::lock_guard lock(RecordMutex());
    return *reinterpret_cast<const TIncrustDV *>(address);
}

HRESULT TNotifier::CheckInputType(const MediaType &type)
{
    const TAcceptedTypes accepted = AcceptedTypes();
    const bool ok = SameOrNull(accepted.majortype, type.majortype) &&
                    SameOrNull(accepted.subtype, type.subtype) &&
                    SameOrNull(accepted.formattype, type.formattype);
    return ok ? S_OK : E_FAIL;
}

HRESULT TNotifier::CheckTransform(const MediaType &input, const MediaType &output)
{
    return input.majortype == output.majortype && input.subtype == output.subtype ? S_OK
                                                                                  : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT TNotifier::GetMediaType(int position, MediaType &type)
{
    if (position < 0)
        return E_INVALIDARG;
    if (position > 0 || !Input()->IsConnected())
        return VFW_S_NO_MORE_ITEMS;
    return Input()->ConnectionMediaType(type);
}

HRESULT TNotifier::CompleteConnect(PIN_DIRECTION, Pin &pin)
{
    MediaType type;
    if (pin.ConnectionMediaType(type) == S_OK) {
        const std::lock_guard lock(RecordMutex());
        accepted_ = {type.majortype, type.subtype, type.formattype};
    }
    return S_OK;
}

HRESULT TNotifier::SetMediaType(PIN_DIRECTION direction, const MediaType &type)
{
    if (direction == PINDIR_INPUT)
        TakeInputType(type);
    return S_OK;
}

HRESULT TNotifier::StartStreaming()
{
    MediaType type;
    if (Input()->ConnectionMediaType(type) == S_OK) {
        const std::lock_guard lock(RecordMutex());
        accepted_ = {type.majortype, type.subtype, type.formattype};
    }
    firstSample_ = true;
    return S_OK;
}

// The stream's format replaces the video record; a DV-info stream's aspect is unknown until a
// frame has been read. Runs on the UI thread while connecting, on the streaming thread when a
// sample brings a new type.
void TNotifier::TakeInputType(const MediaType &type)
{
    {
        const std::lock_guard lock(RecordMutex());
        curVideo_ = DescribeVideoType(type);
        if (type.formattype == FORMAT_DvInfo && type.format.size() >= 32 && notifyVideo_)
            curVideo_.AspectCode = 2;
    }
    if (curVideo_.Valid && (notifyVideo_ || notifyDatecode_ || notifyTimecode_))
        PostVideoData();
    if (ReadAudioFormat(type) && notifyAudio_)
        PostFrameData();
}

bool TNotifier::ReadAudioFormat(const MediaType &type)
{
    WAVEFORMATEX wave;
    if (type.formattype != FORMAT_WaveFormatEx || type.format.size() < 18 || !type.ReadFormat(wave))
        return false;
    const std::lock_guard lock(RecordMutex());
    TframeData &f = curFrame_;
    f.Channels = wave.nChannels;
    f.SamplesPerSec = static_cast<int32_t>(wave.nSamplesPerSec);
    f.AudioBitRate = static_cast<int32_t>(wave.nAvgBytesPerSec * 8);
    f.BitsPerSample = wave.wBitsPerSample;
    f.AudioText = f.AudioCodec;
    if (f.SamplesPerSec > 0)
        f.AudioText += QStringLiteral(" %1Hz").arg(f.SamplesPerSec);
    if (f.BitsPerSample > 0)
        f.AudioText += QStringLiteral(" %1bits ").arg(f.BitsPerSample);
    else if (f.AudioBitRate > 0)
        f.AudioText += QStringLiteral(" %1Kb/s").arg(f.AudioBitRate / 1000);
    if (f.Channels == 1)
        f.AudioText += QStringLiteral(" mono");
    else if (f.Channels == 2)
        f.AudioText += QStringLiteral(" stereo");
    else
        f.AudioText += QStringLiteral(" %1 channels").arg(f.Channels);
    return true;
}

HRESULT TNotifier::Transform(Sample &sample)
{
    if (!active_)
        return S_OK;
    {
        const std::lock_guard lock(RecordMutex());
        prevFrame_ = curFrame_;
        prevVideo_ = curVideo_;
        ParseSample(sample, accepted_);
    }
    if (notifyVideo_ && VideoChanged(curVideo_, prevVideo_))
        PostVideoData();
    if (notifyAudio_ && AudioChanged(curFrame_, prevFrame_))
        PostFrameData();
    if (firstSample_) {
        PostFrameData();
        PostVideoData();
    } else if (sample.AttachedMediaType()) {
        TakeInputType(*sample.AttachedMediaType());
    }
    if (notifyDatecode_ && DatecodeChanged(curFrame_, prevFrame_))
        PostRingSlot(WM_DATECODE, datecodeWindow_);
    if (notifyTimecode_ && TimecodeChanged(curFrame_, prevFrame_))
        PostRingSlot(WM_TIMECODE, timecodeWindow_);
    firstSample_ = false;
    if (notifyInlay_)
        SendInlay();
    return S_OK;
}

// Under RecordMutex.
void TNotifier::ParseSample(const Sample &sample, const TAcceptedTypes &accepted)
{
    const bool dvSubtype = accepted.subtype == MEDIASUBTYPE_dvsd ||
                           accepted.subtype == MediaGuids::FourCC(MediaGuids::Code("dvcp"));
    if (accepted.formattype == FORMAT_MPEG2Video && accepted.subtype == MEDIASUBTYPE_MPEG2_VIDEO)
        ParseMpeg2(sample);
    else if ((accepted.formattype == FORMAT_VideoInfo || accepted.formattype == FORMAT_VideoInfo2) &&
             dvSubtype)
        ParseDvVideo(sample);
    else if (accepted.formattype == FORMAT_DvInfo)
        ParseDvInterleaved(sample);
}

void TNotifier::ParseMpeg2(const Sample &sample)
{
    const uint8_t *data = sample.Data();
    if (!MpegHeaderValid(data, sample.ActualLength()))
        return;
    curVideo_.Width = MpegWidth(data);
    curVideo_.Height = MpegHeight(data);
    curVideo_.AspectCode = static_cast<uint8_t>(MpegAspect(data));
    curVideo_.Fps = MpegFrameRate(data);
    curVideo_.Description = QStringLiteral("MPEG2");
    if (curVideo_.AspectCode < 2)
        curVideo_.Description += QLatin1String(AspectSuffix(curVideo_.AspectCode));
}

void TNotifier::ParseDvVideo(const Sample &sample)
{
    const size_t length = sample.ActualLength();
    if (length != DvFrameSize625 && length != DvFrameSize525)
        return;
    curVideo_.Description = dvType1_ ? QStringLiteral("DV type 1") : curVideo_.SubtypeName;
    if (length == DvFrameSize625) {
        curVideo_.Description += QStringLiteral(" Pal");
        curVideo_.Fps = 25;
    } else {
        curVideo_.Description += QStringLiteral(" NTSC");
        curVideo_.Fps = 30000.0 / 1001.0;
    }
    curVideo_.AspectCode = DvIsWide(sample.Data(), length) ? 1 : 0;
    curVideo_.Description += QLatin1String(AspectSuffix(curVideo_.AspectCode));
    ReadDvPacks(sample.Data(), length);
}

// Interleaved DV: every fact of the picture and the sound from the frame's packs. Samples
// shorter than the ten sequences the pack readers look at are passed on unread.
void TNotifier::ParseDvInterleaved(const Sample &sample)
{
    const uint8_t *frame = sample.Data();
    const size_t length = sample.ActualLength();
    if (length < DvFrameSize525)
        return;
    curVideo_.Description = QStringLiteral("DV type1 ");
    switch (DvSystem(frame, length)) {
    case 0:
        curVideo_.Width = 720;
        curVideo_.Height = 576;
        curVideo_.Fps = 25;
        curVideo_.Description += QStringLiteral("Pal ");
        curVideo_.SizeText = QStringLiteral("720x576 - 25 fps");
        break;
    case 1:
        curVideo_.Width = 720;
        curVideo_.Height = 480;
        curVideo_.Fps = 30000.0 / 1001.0;
        curVideo_.Description += QStringLiteral("NTSC ");
        curVideo_.SizeText = QStringLiteral("720x480 - 29.97 fps");
        break;
    default:
        break;
    }
    curVideo_.AspectCode = DvIsWide(frame, length) ? 1 : 0;
    curVideo_.Description +=
        curVideo_.AspectCode == 1 ? QStringLiteral(" (16x9) ") : QStringLiteral(" (4x3) ");
    curFrame_.SamplesPerSec = DvAudioSampleRate(frame, length);
    curFrame_.BitsPerSample = DvAudioBits(frame, length);
    if (curFrame_.SamplesPerSec < 0 || curFrame_.BitsPerSample < 0)
        curFrame_.AudioText = QStringLiteral("DV (no audio information)");
    else
        curFrame_.AudioText =
            QStringLiteral("DV %1Hz %2bits stéréo").arg(curFrame_.SamplesPerSec).arg(curFrame_.BitsPerSample);
    ReadDvPacks(frame, length);
}

void TNotifier::ReadDvPacks(const uint8_t *frame, size_t length)
{
    ApplyRecordingDate(FirstDvRecordingDate(frame, length), curFrame_);
    curFrame_.DatecodeText =
        curFrame_.DateValid ? FormatDateTime(datecodeFormat_, curFrame_.Datecode) : QStringLiteral("N/A");
    ApplyTimecode(FirstDvTimecode(frame, length), curFrame_);
}

void TNotifier::PostVideoData()
{
    const auto address = reinterpret_cast<intptr_t>(&curVideo_);
    if (notifyVideo_) {
        MessageWindow::SendMessage(videoWindow_, WM_VIDEODATA, VideoDataSent, address);
        MessageWindow::PostMessage(videoWindow_, WM_VIDEODATA, VideoDataPosted, address);
    }
    if (notifyDuration_)
        MessageWindow::PostMessage(durationWindow_, WM_FRAMEDURATION,
                                   static_cast<uint32_t>(static_cast<uint64_t>(curVideo_.AvgTimePerFrame)));
}

void TNotifier::PostFrameData()
{
    if (notifyAudio_)
        MessageWindow::PostMessage(audioWindow_, WM_FRAMEDATA, FrameDataPosted,
                                   reinterpret_cast<intptr_t>(&curFrame_));
}

// Under RecordMutex: the ring position shared by datecode, timecode and inlay notifications.
int TNotifier::NextRingIndex()
{
    ringIndex_ = ringIndex_ % RingSize + 1;
    return ringIndex_;
}

void TNotifier::PostRingSlot(uint32_t msg, HWND window)
{
    TframeData *slot;
    {
        const std::lock_guard lock(RecordMutex());
        slot = &frameRing_[NextRingIndex() - 1];
        *slot = curFrame_;
    }
    MessageWindow::PostMessage(window, msg, 0, reinterpret_cast<intptr_t>(slot));
}

void TNotifier::SendInlay()
{
    TIncrustDV *slot;
    {
        const std::lock_guard lock(RecordMutex());
        slot = &inlayRing_[NextRingIndex() - 1];
        *slot = {curFrame_.DateValid, curFrame_.TimecodeValid, curFrame_.Datecode, curFrame_.TimecodeText};
    }
    MessageWindow::SendMessage(inlayWindow_, WM_INCRUSTDV, reinterpret_cast<uintptr_t>(slot), 0);
}
