#include "media/MediaFactory.h"
#include "media/AudioSource.h"
#include "media/DVDevice.h"
#include "media/FilterRecs.h"
#include "media/GrapheMan.h"
#include "media/Notifier.h"
#include "media/StreamDevice.h"
#include "media/StreamMessages.h"
#include "media/VideoSource.h"
#include "platform/graph/AsyncFileSource.h"
#include "platform/graph/AviSplitter.h"
#include "platform/graph/NullAudioRenderer.h"
#include "platform/graph/NullVideoRenderer.h"
#include "support/QStringPrinter.h"
#include "support/TestMedia.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace
{

QString Clip(const char *name)
{
    return TestMedia::Path(name);
}

const TFilterRec *Record(const Guid &classId, const char *name)
{
    return FilterRecs().FindOrAdd(classId, name, false);
}

// Runs the UI thread's events (and so the notifiers' messages) until `done` or the time-out.
bool WaitUntil(const std::function<bool()> &done, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A manager's hidden window as the notifiers see it: keeps the last video and frame records.
class Receiver
{
  public:
    Receiver()
        : window_([this](uint32_t msg, WPARAM, LPARAM lParam) {
              if (msg == WM_VIDEODATA)
                  video = TNotifier::ReadVideoData(lParam);
              else if (msg == WM_FRAMEDATA)
                  frame = TNotifier::ReadFrameData(lParam);
              return LRESULT(0);
          })
    {
    }
    HWND Handle() const { return window_.Handle(); }

    std::optional<TVideoData> video;
    std::optional<TframeData> frame;

  private:
    MessageWindow window_;
};

class MediaFactoryTest : public ::testing::Test
{
  protected:
    void SetUp() override { factory.SetGrapheMan(&manager); }

    Graph &GraphOf() { return *manager.GraphBuilder; }
    bool InGraph(const char *name) { return GraphOf().FindFilterByName(name) != nullptr; }

    TGrapheMan manager;
    TMediaFactory factory;
};

// ---- Device trees ----

struct TreeCase {
    const char *file;
    const char *source;
    const char *splitter; // nullptr: the source splits the file itself
    int video;
    int audio;
};

TEST_F(MediaFactoryTest, EachClipGivesOneDeviceWithASourcePerStream)
{
    const TreeCase cases[] = {
        {"h264_aac.mp4", "LAV Splitter Source", nullptr, 1, 1},
        {"h264_2aac.mp4", "LAV Splitter Source", nullptr, 1, 2},
        {"mpeg2_mp2.mpg", "LAV Splitter Source", nullptr, 1, 1},
        {"mpeg2_mp2.ts", "LAV Splitter Source", nullptr, 1, 1},
        {"dv_pal_16x9.dv", "LAV Splitter Source", nullptr, 1, 1},
        {"dv_ntsc_4x3_type1.avi", "LAV Splitter Source", nullptr, 1, 1},
        {"dv_pal_16x9_type2.avi", "LAV Splitter Source", nullptr, 1, 1},
        {"h264_vorbis_2997.mkv", "LAV Splitter Source", nullptr, 1, 1},
        {"wmv2_wma2.wmv", "LAV Splitter Source", nullptr, 1, 1},
        {"wmv2_wma2.asf", "LAV Splitter Source", nullptr, 1, 1},
        {"tone_1khz.wav", "File Source (Async.)", "Wave Parser", 0, 1},
    };
    for (const TreeCase &c : cases) {
        SCOPED_TRACE(c.file);
        TFileDevice *device = factory.GetDevice(Clip(c.file));
        ASSERT_NE(device, nullptr);
        EXPECT_TRUE(device->Ready());
        EXPECT_EQ(device->Name(), c.file);
        EXPECT_EQ(device->FileName(), Clip(c.file));
        EXPECT_EQ(device->SourceRec()->Name, c.source);
        EXPECT_EQ(device->SplitterRec() ? device->SplitterRec()->Name : QString(), c.splitter);
        EXPECT_EQ(device->VideoCount(), c.video);
        EXPECT_EQ(device->AudioCount(), c.audio);
        EXPECT_EQ(device->DVCount(), 0);
        EXPECT_EQ(device->StreamCount(), 0);
        // Probing leaves nothing connected.
        EXPECT_EQ(device->Manager(), nullptr);
        EXPECT_EQ(device->OutputFilter(), nullptr);
        for (int i = 0; i < device->AudioCount(); ++i) {
            const TAudioSource *audio = device->AudioSource(i);
            EXPECT_EQ(audio->Parent(), device);
            EXPECT_EQ(audio->Number(), i + 1);
        }
        EXPECT_EQ(device->VideoSource(device->VideoCount()), nullptr);
        EXPECT_EQ(device->AudioSource(-1), nullptr);
    }
}

TEST_F(MediaFactoryTest, SecondStreamOfAKindIsNumberedInItsDisplayName)
{
    TFileDevice *device = factory.GetDevice(Clip("h264_2aac.mp4"));
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(device->AudioCount(), 2);
    EXPECT_EQ(device->AudioSource(0)->DisplayName(), "h264_2aac.mp4");
    EXPECT_EQ(device->AudioSource(1)->DisplayName(), "h264_2aac.mp4 #2");
    EXPECT_EQ(device->AudioSource(1)->Name(), "h264_2aac.mp4");
    EXPECT_EQ(device->VideoSource(0)->DisplayName(), "h264_2aac.mp4");
}

TEST_F(MediaFactoryTest, TypeOneDvThroughTheAviSplitterIsADvDeviceWithPictureAndSound)
{
    const QString path = Clip("dv_pal_16x9_type1.avi");
    TFileDevice device(path, Record(CLSID_AsyncReader, "File Source (Async.)"),
                       Record(CLSID_AviSplitter, "AVI Splitter"));
    ASSERT_TRUE(device.Ready());
    ASSERT_EQ(device.DVCount(), 1);
    const TMediaDevice &dv = *device.DVDevices()[0];
    EXPECT_EQ(dv.Name(), "dv_pal_16x9_type1.avi");
    EXPECT_EQ(dv.Number(), 1);
    EXPECT_EQ(dv.Parent(), &device);
    EXPECT_TRUE(dv.Ready());
    EXPECT_EQ(dv.VideoCount(), 1);
    EXPECT_EQ(dv.AudioCount(), 1);
    // The DV device's streams are the file's streams.
    ASSERT_EQ(device.VideoCount(), 1);
    ASSERT_EQ(device.AudioCount(), 1);
    EXPECT_EQ(device.VideoSource(0), dv.VideoSource(0));
    EXPECT_EQ(device.AudioSource(0), dv.AudioSource(0));
    EXPECT_EQ(device.VideoSource(0)->Parent(), &dv);
}

TEST_F(MediaFactoryTest, ByteStreamSourceGivesAStreamDeviceAndNoSources)
{
    factory.SetSourceRec(Record(CLSID_AsyncReader, "File Source (Async.)"));
    TFileDevice *device = factory.GetDevice(Clip("dv_pal_16x9_type2.avi"));
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->Ready());
    EXPECT_EQ(device->StreamCount(), 1);
    EXPECT_EQ(device->DVCount(), 0);
    EXPECT_EQ(device->VideoCount(), 0);
    EXPECT_EQ(device->AudioCount(), 0);

    // Back to the default source, with a fresh probe rather than the cached byte-stream device.
    factory.SetSourceRec(nullptr);
    device = factory.GetDevice(Clip("dv_pal_16x9_type2.avi"));
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->SourceRec()->Name, "LAV Splitter Source");
    EXPECT_EQ(device->StreamCount(), 0);
    EXPECT_EQ(device->VideoCount(), 1);
}

// ---- Cache and extensions ----

TEST_F(MediaFactoryTest, CacheReturnsTheSameDeviceForNamesDifferingInCase)
{
    const QString path = Clip("h264_aac.mp4");
    TFileDevice *device = factory.GetDevice(path);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(factory.GetDevice(path), device);
    EXPECT_EQ(factory.GetDevice(path.toUpper()), device);
    EXPECT_EQ(factory.GetDevice(path.toLower()), device);
}

TEST_F(MediaFactoryTest, ExtensionChoosesTheTriesWhateverItsCase)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.mp4"));
    const QString target = Clip("h264_aac.mp4");
    struct Case {
        const char *name;
        bool media;
    };
    const Case cases[] = {
        {"CLIP.MP4", true}, {"Clip.Mkv", true},      {"clip.txt", false},
        {"clip", false},    {"clip.mp4.bak", false}, {"folder.mp4/clip", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString link = dir.filePath(c.name);
        ASSERT_TRUE(QFile::link(target, link));
        TFileDevice *device = factory.GetDevice(link);
        if (!c.media) {
            EXPECT_EQ(device, nullptr);
            continue;
        }
        ASSERT_NE(device, nullptr);
        EXPECT_TRUE(device->Ready());
        EXPECT_EQ(device->VideoCount(), 1);
    }
}

TEST(MediaFactoryWithoutManagerTest, GivesNoDeviceUntilAManagerIsSet)
{
    TMediaFactory factory;
    EXPECT_EQ(factory.GetDevice(Clip("h264_aac.mp4")), nullptr);
    TGrapheMan manager;
    factory.SetGrapheMan(&manager);
    TFileDevice *device = factory.GetDevice(Clip("h264_aac.mp4"));
    ASSERT_NE(device, nullptr);
    EXPECT_TRUE(device->Ready());
}

// ---- Bad input ----

TEST_F(MediaFactoryTest, DamagedOrMissingFilesGiveADeviceThatIsNotReady)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile junk(dir.filePath("junk.avi"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, '\x5A'));
    junk.close();
    // An MP4 cut before its index holds nothing a source can read.
    const QString cases[] = {Clip("empty.mp4"), Clip("truncated_no_index.mp4"), dir.filePath("junk.avi"),
                             dir.filePath("missing.mpg"), dir.filePath("missing.wav")};
    for (const QString &path : cases) {
        SCOPED_TRACE(path.toStdString());
        TFileDevice *device = factory.GetDevice(path);
        ASSERT_NE(device, nullptr);
        EXPECT_FALSE(device->Ready());
        EXPECT_EQ(device->VideoCount() + device->AudioCount() + device->DVCount() + device->StreamCount(), 0);
    }
}

TEST_F(MediaFactoryTest, TruncatedOrCorruptedClipsStillYieldTheirStreams)
{
    for (const char *file : {"truncated_index_first.mp4", "garbage_middle.mpg", "truncated.dv"}) {
        SCOPED_TRACE(file);
        TFileDevice *device = factory.GetDevice(Clip(file));
        ASSERT_NE(device, nullptr);
        EXPECT_TRUE(device->Ready());
        EXPECT_EQ(device->VideoCount(), 1);
        EXPECT_EQ(device->AudioCount(), 1);
    }
}

// ---- Placeholders ----

TEST_F(MediaFactoryTest, PlaceholdersAreNeverConnected)
{
    EXPECT_EQ(TVideoSource::NoVideo().Name(), "No Video");
    EXPECT_EQ(TAudioSource::NoAudio().Name(), "No Audio");
    EXPECT_EQ(TDVDevice::NoDV().Name(), "No DV");
    EXPECT_EQ(TStreamDevice::NoStream().Name(), "No Stream");
    EXPECT_EQ(TVideoSource::NoVideo().Notifier(), nullptr);
    EXPECT_EQ(TDVDevice::NoDV().DVNotifier(), nullptr);
    EXPECT_FALSE(TDVDevice::NoDV().Ready());
    EXPECT_FALSE(TVideoSource::NoVideo().ConnectTo(manager, NullWindow));
    EXPECT_FALSE(TAudioSource::NoAudio().ConnectTo(manager, NullWindow));
    EXPECT_EQ(TVideoSource::NoVideo().Manager(), nullptr);
    EXPECT_TRUE(manager.ConnectedVideoSources.empty());
    EXPECT_TRUE(manager.ConnectedAudioSources.empty());
    EXPECT_FALSE(TVideoSource::NoVideo().DisconnectFrom());
}

// ---- Connecting sources ----

TEST_F(MediaFactoryTest, ConnectedVideoSourceDeliversPicturesThroughItsNotifier)
{
    TFileDevice *device = factory.GetDevice(Clip("h264_aac.mp4"));
    ASSERT_NE(device, nullptr);
    TVideoSource *video = device->VideoSource(0);
    ASSERT_NE(video, nullptr);
    Receiver receiver;
    ASSERT_TRUE(video->ConnectTo(manager, receiver.Handle()));
    EXPECT_EQ(video->Manager(), &manager);
    EXPECT_EQ(device->Manager(), &manager);
    EXPECT_EQ(video->StreamNotifier(), video->Notifier());
    EXPECT_EQ(video->StreamTypes().majortype, MEDIATYPE_Video);
    EXPECT_FALSE(video->StreamTypes().subtype.IsNull());
    EXPECT_EQ(manager.ConnectedVideoSources, std::vector<TavSource *>{video});
    EXPECT_TRUE(video->ConnectTo(manager, receiver.Handle())); // already connected
    EXPECT_EQ(manager.ConnectedVideoSources.size(), 1u);

    auto renderer = std::make_shared<NullVideoRenderer>();
    ASSERT_EQ(GraphOf().AddFilter(renderer, "Renderer"), S_OK);
    ASSERT_EQ(GraphOf().Connect(*video->Notifier()->Output(), *renderer->GetPin(0)), S_OK);
    ASSERT_EQ(GraphOf().SetSyncSource(nullptr), S_OK);
    ASSERT_TRUE(SUCCEEDED(GraphOf().Run()));
    EXPECT_TRUE(WaitUntil([&] { return receiver.video && renderer->Stats().rendered >= 10; }));
    GraphOf().Stop();
    ASSERT_TRUE(receiver.video.has_value());
    EXPECT_EQ(receiver.video->Width, 640);
    EXPECT_EQ(receiver.video->Height, 360);

    ASSERT_TRUE(video->DisconnectFrom());
    EXPECT_EQ(video->Manager(), nullptr);
    EXPECT_TRUE(manager.ConnectedVideoSources.empty());
    EXPECT_FALSE(InGraph("Video Source Notifier"));
    // No other stream of the file is connected: its source goes too.
    EXPECT_EQ(device->Manager(), nullptr);
    EXPECT_FALSE(InGraph("LAV Splitter Source"));
    EXPECT_FALSE(video->DisconnectFrom());
}

TEST_F(MediaFactoryTest, ConnectedAudioSourceReportsTheFileCodecAndFormat)
{
    TFileDevice *device = factory.GetDevice(Clip("tone_1khz.wav"));
    ASSERT_NE(device, nullptr);
    TAudioSource *audio = device->AudioSource(0);
    ASSERT_NE(audio, nullptr);
    Receiver receiver;
    ASSERT_TRUE(audio->ConnectTo(manager, receiver.Handle()));
    EXPECT_TRUE(InGraph("File Source (Async.)"));
    EXPECT_TRUE(InGraph("Wave Parser"));
    EXPECT_TRUE(InGraph("Audio Source Notifier"));
    EXPECT_EQ(manager.ConnectedAudioSources, std::vector<TavSource *>{audio});

    auto renderer = std::make_shared<NullAudioRenderer>();
    ASSERT_EQ(GraphOf().AddFilter(renderer, "Renderer"), S_OK);
    ASSERT_EQ(GraphOf().Connect(*audio->Notifier()->Output(), *renderer->GetPin(0)), S_OK);
    ASSERT_EQ(GraphOf().SetSyncSource(nullptr), S_OK);
    ASSERT_TRUE(SUCCEEDED(GraphOf().Run()));
    EXPECT_TRUE(WaitUntil([&] { return receiver.frame.has_value(); }));
    GraphOf().Stop();
    ASSERT_TRUE(receiver.frame.has_value());
    EXPECT_EQ(receiver.frame->AudioCodec, "PCM");
    EXPECT_EQ(receiver.frame->SamplesPerSec, 48000);
    EXPECT_EQ(receiver.frame->Channels, 2);

    ASSERT_TRUE(audio->DisconnectFrom());
    EXPECT_TRUE(manager.ConnectedAudioSources.empty());
    EXPECT_FALSE(InGraph("Wave Parser"));
    EXPECT_FALSE(InGraph("File Source (Async.)"));
}

TEST_F(MediaFactoryTest, TwoStreamsOfOneFileConnectToTheirOwnPinsAndShareTheDevice)
{
    TFileDevice *device = factory.GetDevice(Clip("h264_2aac.mp4"));
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(device->AudioCount(), 2);
    TAudioSource *english = device->AudioSource(0);
    TAudioSource *german = device->AudioSource(1);
    ASSERT_TRUE(english->ConnectTo(manager, NullWindow));
    ASSERT_TRUE(german->ConnectTo(manager, NullWindow));
    EXPECT_EQ(manager.ConnectedAudioSources.size(), 2u);
    // Each notifier sits on its own stream: mono English, stereo German.
    for (auto [source, channels] : {std::pair{english, 1}, std::pair{german, 2}}) {
        MediaType type;
        ASSERT_EQ(source->Notifier()->Input()->ConnectionMediaType(type), S_OK);
        WAVEFORMATEX wave;
        ASSERT_TRUE(type.ReadFormat(wave));
        EXPECT_EQ(wave.nChannels, channels);
    }

    // The file stays in the graph while one of its streams is connected.
    ASSERT_TRUE(english->DisconnectFrom());
    EXPECT_EQ(device->Manager(), &manager);
    EXPECT_TRUE(InGraph("LAV Splitter Source"));
    ASSERT_TRUE(german->DisconnectFrom());
    EXPECT_EQ(device->Manager(), nullptr);
    EXPECT_FALSE(InGraph("LAV Splitter Source"));
}

TEST_F(MediaFactoryTest, DvDeviceSourceIsReadByTheDeviceNotifier)
{
    TFileDevice device(Clip("dv_pal_16x9_type1.avi"), Record(CLSID_AsyncReader, "File Source (Async.)"),
                       Record(CLSID_AviSplitter, "AVI Splitter"));
    ASSERT_EQ(device.DVCount(), 1);
    auto &dv = static_cast<TDVDevice &>(*device.DVDevices()[0]);
    TVideoSource *video = device.VideoSource(0);
    Receiver receiver;
    ASSERT_TRUE(video->ConnectTo(manager, receiver.Handle()));
    EXPECT_EQ(video->StreamNotifier(), dv.DVNotifier());
    EXPECT_TRUE(dv.DVNotifier()->NotifyVideo());
    for (const char *name : {"File Source (Async.)", "AVI Splitter", "DV Notifier", "DV Splitter"})
        EXPECT_TRUE(InGraph(name)) << name;

    auto renderer = std::make_shared<NullVideoRenderer>();
    ASSERT_EQ(GraphOf().AddFilter(renderer, "Renderer"), S_OK);
    ASSERT_EQ(GraphOf().Connect(*video->Notifier()->Output(), *renderer->GetPin(0)), S_OK);
    ASSERT_EQ(GraphOf().SetSyncSource(nullptr), S_OK);
    ASSERT_TRUE(SUCCEEDED(GraphOf().Run()));
    EXPECT_TRUE(WaitUntil([&] { return receiver.video && renderer->Stats().rendered >= 5; }));
    GraphOf().Stop();
    ASSERT_TRUE(receiver.video.has_value());
    EXPECT_EQ(receiver.video->Width, 720);
    EXPECT_EQ(receiver.video->Height, 576);

    ASSERT_TRUE(video->DisconnectFrom());
    // The DV notifier no longer reports to a manager the source has left.
    EXPECT_FALSE(dv.DVNotifier()->NotifyVideo());
    for (const char *name : {"File Source (Async.)", "AVI Splitter", "DV Notifier", "DV Splitter"})
        EXPECT_FALSE(InGraph(name)) << name;
    EXPECT_EQ(dv.Manager(), nullptr);
    EXPECT_EQ(device.Manager(), nullptr);
}

TEST_F(MediaFactoryTest, FreeingConnectedDevicesLeavesNoSourceListedWithTheManager)
{
    TFileDevice *device = factory.GetDevice(Clip("h264_aac.mp4"));
    ASSERT_NE(device, nullptr);
    ASSERT_TRUE(device->VideoSource(0)->ConnectTo(manager, NullWindow));
    ASSERT_TRUE(device->AudioSource(0)->ConnectTo(manager, NullWindow));
    factory.ClearCache();
    EXPECT_TRUE(manager.ConnectedVideoSources.empty());
    EXPECT_TRUE(manager.ConnectedAudioSources.empty());
}

} // namespace
