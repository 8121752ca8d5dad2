#include "media/Notifier.h"
#include "StreamRig.h"
#include "media/StreamMessages.h"
#include "platform/core/DateTimeFormat.h"
#include "platform/graph/AsyncFileSource.h"
#include "platform/graph/AviSplitter.h"
#include "platform/graph/ClassRegistry.h"
#include "platform/graph/GraphEvents.h"
#include "platform/graph/LavSplitterSource.h"
#include "platform/graph/NullAudioRenderer.h"
#include "platform/graph/NullVideoRenderer.h"
#include "support/MediaFacts.h"
#include "support/QStringPrinter.h"
#include "support/TestMedia.h"

#include <QFile>

#include <gtest/gtest.h>

#include <random>

namespace
{

// A notifier the test hands samples to directly.
class FeedingNotifier : public TNotifier
{
  public:
    HRESULT Feed(Sample &sample) { return Transform(sample); }
};

// A filter with one output pin offering one media type.
class TypedSource : public Filter
{
  public:
    explicit TypedSource(MediaType type)
        : Filter(GUID_NULL, "Typed"), out_(AddPin<Out>(*this, std::move(type)))
    {
    }
    HRESULT Connect(Filter &to) { return out_->Connect(*static_cast<InputPin *>(to.GetPin(0))); }

  private:
    class Out : public OutputPin
    {
      public:
        Out(Filter &owner, MediaType type) : OutputPin(owner, "Out"), type_(std::move(type)) {}
        std::vector<MediaType> MediaTypes() const override { return {type_}; }
        HRESULT CheckMediaType(const MediaType &type) const override { return type == type_ ? S_OK : E_FAIL; }

      private:
        MediaType type_;
    };
    Out *out_;
};

// Everything a notifier tells its windows, copied as a manager would copy it.
struct Inbox {
    std::vector<TVideoData> videos;
    std::vector<TframeData> frames;
    std::vector<TframeData> datecodes;
    std::vector<TframeData> timecodes;
    int inlays = 0;
    MessageWindow window{
        [this](uint32_t msg, WPARAM wParam, LPARAM lParam) { return Take(msg, wParam, lParam); }};

    LRESULT Take(uint32_t msg, WPARAM wParam, LPARAM lParam)
    {
        switch (msg) {
        case WM_VIDEODATA:
            if (wParam == VideoDataPosted)
                videos.push_back(TNotifier::ReadVideoData(lParam));
            break;
        case WM_FRAMEDATA:
            frames.push_back(TNotifier::ReadFrameData(lParam));
            break;
        case WM_DATECODE:
            datecodes.push_back(TNotifier::ReadFrameData(lParam));
            break;
        case WM_TIMECODE:
            timecodes.push_back(TNotifier::ReadFrameData(lParam));
            break;
        case WM_INCRUSTDV:
            ++inlays;
            break;
        }
        return 0;
    }

    void Listen(TNotifier &notifier)
    {
        const HWND h = window.Handle();
        notifier.SetVideoWindow(h);
        notifier.SetAudioWindow(h);
        notifier.SetDatecodeWindow(h);
        notifier.SetTimecodeWindow(h);
        notifier.SetInlayWindow(h);
        notifier.SetNotifyVideo(true);
        notifier.SetNotifyAudio(true);
        notifier.SetNotifyDatecode(true);
        notifier.SetNotifyTimecode(true);
    }
};

// "10:20:30:00" or "01:02:03;04" as the notifier writes a time code.
QString TimecodeText(const char *facts)
{
    int h, m, s, f;
    std::sscanf(facts, "%d:%d:%d%*c%d", &h, &m, &s, &f);
    return QString::asprintf("%d:%.2d:%.2d:%.2d", h, m, s, f);
}

TDateTime Recorded(const MediaFacts::DvFacts &dv, int second)
{
    return EncodeDate(dv.year, dv.month, dv.day) + EncodeTime(dv.hour, dv.minute, second, 0);
}

} // namespace

// FFmpeg wrote a recording date, time and time code into every DV frame of the test clips; a
// notifier in a playing graph reads them frame by frame through whichever parser the container
// calls for: DV video from a raw file or a type-2 AVI, interleaved DV from a type-1 AVI.
TEST(NotifierInAGraph, DvClipsGiveRecordingDateAndTimecodeAsTheyPlay)
{
    using namespace MediaFacts;
    struct Case {
        StreamRig::Source source;
        const ClipFacts &clip;
        const DvFacts &dv;
        const char *description;
    } cases[] = {
        {StreamRig::Source::Lav, DvPal, DvPalFacts, "DV Type 2 Pal (16x9)"},
        {StreamRig::Source::Lav, DvNtsc, DvNtscFacts, "DV Type 2 NTSC (4x3)"},
        {StreamRig::Source::Avi, DvPalType2, DvPalFacts, "DV Type 2 Pal (16x9)"},
        {StreamRig::Source::Avi, DvPalType1, DvPalFacts, "DV type1 Pal  (16x9) "},
        {StreamRig::Source::Avi, DvNtscType1, DvNtscFacts, "DV type1 NTSC  (4x3) "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.clip.file);
        StreamRig rig;
        auto notifier = std::make_shared<TNotifier>();
        Inbox inbox;
        inbox.Listen(*notifier);
        ASSERT_EQ(rig.Open(TestMedia::Path(c.clip.file), c.source), S_OK);
        ASSERT_EQ(rig.Insert(notifier, *rig.FirstPin()), S_OK);
        ASSERT_TRUE(rig.PlayToEnd(StreamRig::Clock::Real, 20000));

        // One message per change. The ring slots they point at may already hold a later frame
        // when a message is read (the stream can run 24 frames ahead of the UI thread), so only
        // the range and the last are certain here; FeedsFrameByFrame checks each frame.
        ASSERT_EQ(inbox.timecodes.size(), size_t(c.clip.video->frames));
        ASSERT_EQ(inbox.datecodes.size(), size_t(c.dv.lastSecond - c.dv.second + 1));
        const QString first = TimecodeText(c.dv.firstTimecode), last = TimecodeText(c.dv.lastTimecode);
        for (const TframeData &t : inbox.timecodes)
            EXPECT_TRUE(t.TimecodeValid && first <= t.TimecodeText && t.TimecodeText <= last)
                << t.TimecodeText.toStdString();
        EXPECT_EQ(inbox.timecodes.back().TimecodeText, last);
        for (const TframeData &d : inbox.datecodes) {
            EXPECT_TRUE(d.DateValid);
            EXPECT_GE(d.Datecode, Recorded(c.dv, c.dv.second) - 1e-9);
            EXPECT_EQ(d.DatecodeText, FormatDateTime("dddddd - tt", d.Datecode));
        }
        EXPECT_DOUBLE_EQ(inbox.datecodes.back().Datecode, Recorded(c.dv, c.dv.lastSecond));
        ASSERT_FALSE(inbox.videos.empty());
        EXPECT_EQ(inbox.videos.back().Description, c.description);
        EXPECT_EQ(inbox.videos.back().AspectCode, c.dv.displayMode == 2 ? 1 : 0);
        if (c.clip.file == DvPalType1.file) {
            ASSERT_FALSE(inbox.frames.empty());
            EXPECT_EQ(inbox.frames.back().AudioText, QStringLiteral("DV 48000Hz 16bits stéréo"));
        }
    }
}

// Fed one DV frame at a time, as the video parser and as the interleaved parser, the notifier
// reports each frame's time code and each new recording second as it comes.
TEST(Notifier, ReadsDvFramesOneByOne)
{
    using namespace MediaFacts;
    QFile file(TestMedia::Path(DvPal.file));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const int frames = int(bytes.size() / DvFrameBytes625);
    ASSERT_EQ(frames, DvPal.video->frames);
    for (const Guid &format : {FORMAT_VideoInfo, FORMAT_DvInfo}) {
        FeedingNotifier notifier;
        Inbox inbox;
        inbox.Listen(notifier);
        TypedSource source(
            {MEDIATYPE_Video, MEDIASUBTYPE_dvsd, false, false, 0, format, std::vector<uint8_t>(88)});
        ASSERT_EQ(source.Connect(notifier), S_OK);
        for (int i = 0; i < frames; ++i) {
            Sample sample(DvFrameBytes625);
            std::memcpy(sample.Data(), bytes.constData() + i * DvFrameBytes625, DvFrameBytes625);
            sample.SetActualLength(DvFrameBytes625);
            ASSERT_EQ(notifier.Feed(sample), S_OK);
            StreamRig::PumpUntil([] { return true; }, 0);
            ASSERT_EQ(inbox.timecodes.size(), size_t(i + 1));
            const int frame = i % 25, second = 30 + i / 25;
            EXPECT_EQ(inbox.timecodes.back().TimecodeText,
                      QString::asprintf("10:20:%.2d:%.2d", second, frame));
            EXPECT_DOUBLE_EQ(inbox.datecodes.back().Datecode,
                             Recorded(DvPalFacts, DvPalFacts.second + i / 25));
        }
        EXPECT_EQ(inbox.datecodes.size(), 2u);
    }
}

// The MPEG-2 sequence headers refine what the container said of the picture.
TEST(NotifierInAGraph, Mpeg2SequenceHeadersRefineTheVideoRecord)
{
    StreamRig rig;
    auto notifier = std::make_shared<TNotifier>();
    Inbox inbox;
    inbox.Listen(*notifier);
    ASSERT_EQ(rig.Open(TestMedia::Path(MediaFacts::Mpeg2Ps.file), StreamRig::Source::Lav), S_OK);
    ASSERT_EQ(rig.Insert(notifier, *rig.FirstPin()), S_OK);
    ASSERT_TRUE(rig.PlayToEnd(StreamRig::Clock::Free, 20000));
    ASSERT_FALSE(inbox.videos.empty());
    const TVideoData &v = inbox.videos.back();
    EXPECT_EQ(v.Width, 720);
    EXPECT_EQ(v.Height, 576);
    EXPECT_EQ(v.AspectCode, 1);
    EXPECT_DOUBLE_EQ(v.Fps, 25.0);
    EXPECT_EQ(v.Description, QStringLiteral("MPEG2 (16x9)"));
}

// Real camcorder frames, some damaged, one file switching from PAL to NTSC: the notifier reads
// what the packs hold and never stumbles.
TEST(NotifierInAGraph, RealCamcorderFrames)
{
    struct Case {
        const char *file;
        const char *firstTimecode;
        const char *firstDatecode; // yyyy-mm-dd hh:nn:ss, or "N/A"
    } cases[] = {
        {"dv-real/sony_good_quality.dv", "0:00:02:17", "2024-07-08 19:55:58"},
        {"dv-real/sony_drop_frame.dv", "N/A", "N/A"},
        {"dv-real/1.dv", "0:00:03:02", "2008-09-28 10:29:53"},
        {"dv-real/dv_dsf_1_stype_1.dv", "1:00:05:10", "N/A"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        StreamRig rig;
        auto notifier = std::make_shared<TNotifier>();
        Inbox inbox;
        inbox.Listen(*notifier);
        ASSERT_EQ(rig.Open(TestMedia::SharedPath(c.file), StreamRig::Source::Lav), S_OK);
        ASSERT_EQ(rig.Insert(notifier, *rig.FirstPin()), S_OK);
        ASSERT_TRUE(rig.PlayToEnd(StreamRig::Clock::Real, 20000));
        ASSERT_FALSE(inbox.timecodes.empty());
        EXPECT_EQ(inbox.timecodes.front().TimecodeText, c.firstTimecode);
        ASSERT_FALSE(inbox.datecodes.empty());
        const TframeData &d = inbox.datecodes.front();
        EXPECT_EQ(d.DateValid ? FormatDateTime("yyyy-mm-dd hh:nn:ss", d.Datecode) : d.DatecodeText,
                  c.firstDatecode);
    }
}

// The splice of a PAL and an NTSC recording: the video record follows the frames.
TEST(NotifierInAGraph, DvVideoFollowsASystemSwitch)
{
    StreamRig rig;
    auto notifier = std::make_shared<TNotifier>();
    Inbox inbox;
    inbox.Listen(*notifier);
    ASSERT_EQ(rig.Open(TestMedia::SharedPath("dv-real/1.dv"), StreamRig::Source::Lav), S_OK);
    ASSERT_EQ(rig.Insert(notifier, *rig.FirstPin()), S_OK);
    ASSERT_TRUE(rig.PlayToEnd(StreamRig::Clock::Real, 20000));
    ASSERT_GE(inbox.videos.size(), 2u) << "the connection's type, then the first sample's";
    EXPECT_EQ(inbox.videos[1].Description, QStringLiteral("DV Type 2 Pal (4x3)"));
    // The size does not change, so nothing is posted; the record holds the new system.
    EXPECT_EQ(notifier->CurVideo().Description, QStringLiteral("DV Type 2 NTSC (4x3)"));
    EXPECT_NEAR(notifier->CurVideo().Fps, 29.97, 0.01);
}

// Inlay records go out with every sample while the inlay switch is on, and once more when it is
// switched off; the ring of 24 slotAddresses is reused from its first slot.
TEST(Notifier, InlaySwitchAndRing)
{
    TNotifier notifier;
    Inbox inbox;
    notifier.SetInlayWindow(inbox.window.Handle());
    notifier.SetNotifyInlay(true);
    notifier.SetNotifyInlay(false);
    EXPECT_EQ(inbox.inlays, 2);
    EXPECT_FALSE(notifier.Active()) << "the inlay switch alone does not activate the notifier";

    std::vector<uintptr_t> slotAddresses;
    MessageWindow ring([&](uint32_t, WPARAM wParam, LPARAM) {
        slotAddresses.push_back(wParam);
        return 0;
    });
    notifier.SetInlayWindow(ring.Handle());
    for (int i = 0; i < TNotifier::RingSize + 1; ++i)
        notifier.SetNotifyInlay(true);
    ASSERT_EQ(slotAddresses.size(), size_t(TNotifier::RingSize + 1));
    EXPECT_EQ(slotAddresses.front(), slotAddresses.back());
    EXPECT_NE(slotAddresses[0], slotAddresses[1]);
}

// Random and mangled samples of every parsed kind pass through the notifier untouched.
TEST(Notifier, SurvivesRandomSamples)
{
    struct Kind {
        Guid subtype, formattype;
        size_t formatBytes;
    } kinds[] = {
        {MEDIASUBTYPE_MPEG2_VIDEO, FORMAT_MPEG2Video, 200},
        {MEDIASUBTYPE_dvsd, FORMAT_VideoInfo, 88},
        {MEDIASUBTYPE_dvsd, FORMAT_DvInfo, 32},
    };
    QFile real(TestMedia::SharedPath("dv-real/1.dv"));
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const QByteArray frame = real.read(144000);
    std::mt19937 random(2024);
    for (const Kind &kind : kinds) {
        FeedingNotifier notifier;
        Inbox inbox;
        inbox.Listen(notifier);
        notifier.SetNotifyInlay(true);
        TypedSource source({MEDIATYPE_Video, kind.subtype, false, false, 0, kind.formattype,
                            std::vector<uint8_t>(kind.formatBytes)});
        ASSERT_EQ(source.Connect(notifier), S_OK);
        for (int i = 0; i < 300; ++i) {
            Sample sample;
            const size_t sizes[] = {0, 7, 8, 119999, 120000, 144000, size_t(random() % 150000)};
            sample.Reserve(std::max<size_t>(1, sizes[i % 7]));
            sample.SetActualLength(sizes[i % 7]);
            for (size_t b = 0; b < sample.ActualLength(); ++b)
                sample.Data()[b] = b < size_t(frame.size()) && i % 2 ? uint8_t(frame[b]) : uint8_t(random());
            for (int flips = 0; flips < 50 && sample.ActualLength(); ++flips)
                sample.Data()[random() % sample.ActualLength()] = uint8_t(random());
            ASSERT_EQ(notifier.Feed(sample), S_OK);
        }
        StreamRig::PumpUntil([] { return true; }, 0);
        EXPECT_EQ(inbox.inlays, 301);
    }
}
