#include "platform/graph/AudioOutput.h"

#include <gtest/gtest.h>

#include <thread>

namespace
{

WAVEFORMATEX Pcm16Stereo(uint32_t rate)
{
    WAVEFORMATEX f;
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 2;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = 16;
    f.nBlockAlign = 4;
    f.nAvgBytesPerSec = rate * 4;
    return f;
}

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

} // namespace

TEST(AudioOutput, BothDevicesPlayInRealTime)
{
    for (auto device : {AudioOutput::Device::Null, AudioOutput::Device::System}) {
        auto out = AudioOutput::Open(Pcm16Stereo(48000), device);
        ASSERT_TRUE(out);
        std::vector<uint8_t> second(48000 * 4, 0);
        const auto start = std::chrono::steady_clock::now();
        out->Play();
        ASSERT_TRUE(out->Write(second.data(), second.size()));
        // The buffer holds a quarter second, so writing one second takes about three quarters.
        const double took = Seconds(std::chrono::steady_clock::now() - start);
        EXPECT_GT(took, 0.6) << (out->IsNullDevice() ? "null" : "system");
        EXPECT_LT(took, 1.2);
        const double played = double(out->PlayedFrames()) / 48000;
        EXPECT_NEAR(played, took, 0.15);
    }
}

TEST(AudioOutput, PausedClockStandsStillAndFlushWakesABlockedWriter)
{
    auto out = AudioOutput::Open(Pcm16Stereo(8000), AudioOutput::Device::Null);
    ASSERT_TRUE(out);
    std::vector<uint8_t> data(8000 * 4, 0); // a second: more than the buffer
    bool completed = true;
    std::thread writer([&] { completed = out->Write(data.data(), data.size()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(out->PlayedFrames(), 0) << "nothing plays before Play";
    const auto start = std::chrono::steady_clock::now();
    out->Flush();
    writer.join();
    EXPECT_FALSE(completed);
    EXPECT_LT(Seconds(std::chrono::steady_clock::now() - start), 0.1);
}

TEST(AudioOutput, VolumeMapsHundredthsOfADecibelToGain)
{
    EXPECT_FLOAT_EQ(AudioOutput::Gain(0), 1.0f);
    EXPECT_NEAR(AudioOutput::Gain(-2000), 0.1f, 1e-6);
    EXPECT_NEAR(AudioOutput::Gain(-752), 0.4207f, 1e-3);
    EXPECT_EQ(AudioOutput::Gain(-10000), 0.0f);
    EXPECT_EQ(AudioOutput::Gain(-20000), 0.0f);
    EXPECT_FLOAT_EQ(AudioOutput::Gain(500), 1.0f);
    auto out = AudioOutput::Open(Pcm16Stereo(8000), AudioOutput::Device::Null);
    out->SetVolume(-12000);
    EXPECT_EQ(out->Volume(), -10000);
    WAVEFORMATEX bad = Pcm16Stereo(8000);
    bad.wBitsPerSample = 24;
    EXPECT_FALSE(AudioOutput::Open(bad));
}
