#pragma once

#include <array>
#include <cstddef>
#include <optional>

// What tests/media/make-media.sh puts in each clip, so tests need not repeat the numbers.
// tests/mediagen checks every fact here against the files with ffprobe and by reading them.
namespace MediaFacts
{

struct Rational {
    int num;
    int den;
};

struct VideoFacts {
    const char *codec; // FFmpeg codec name
    int width;
    int height;
    Rational frameRate;
    Rational sampleAspect;
    Rational displayAspect;
    int frames;
};

struct AudioFacts {
    const char *codec; // FFmpeg codec name
    int sampleRate;
    int channels;
    const char *language = nullptr; // ISO 639-2 tag, when the clip sets one
};

struct ClipFacts {
    const char *file;   // name under TestMedia::Path
    const char *format; // FFmpeg demuxer name as ffprobe reports it
    double durationSeconds;
    std::optional<VideoFacts> video;
    std::array<std::optional<AudioFacts>, 2> audio; // in stream order, after the video
};

inline constexpr std::size_t DvFrameBytes625 = 144000; // 12 DIF sequences of 12000 bytes
inline constexpr std::size_t DvFrameBytes525 = 120000; // 10 DIF sequences

// The DV facts of a raw DV clip: recording date and time (UTC, as the VAUX and AAUX packs hold
// it) and SMPTE timecode, both advancing with every frame, and the VAUX display mode.
struct DvFacts {
    int year, month, day;
    int hour, minute, second;  // of the first frame
    int lastSecond;            // of the last frame
    const char *firstTimecode; // ';' before the frames marks drop-frame counting
    const char *lastTimecode;
    int displayMode; // DISP of the VAUX source control pack: 0 = 4:3, 2 = 16:9
    std::size_t frameBytes;
};

inline constexpr Rational Square{1, 1};

// Key frame interval of the long-GOP H.264 clips (h264_aac.mp4 and the benchmark clip).
inline constexpr int LongGopFrames = 250;

// H.264 + AAC, one 250-frame GOP with B-frames; testsrc2 moving pattern. The README's sample.
inline constexpr ClipFacts H264Aac{"h264_aac.mp4",
                                   "mov,mp4,m4a,3gp,3g2,mj2",
                                   10.0,
                                   VideoFacts{"h264", 640, 360, {25, 1}, Square, {16, 9}, 250},
                                   {AudioFacts{"aac", 44100, 1}, std::nullopt}};

// H.264 + two AAC streams: English mono 440 Hz, German stereo 880 Hz; frame counter.
inline constexpr ClipFacts H264TwoAac{
    "h264_2aac.mp4",
    "mov,mp4,m4a,3gp,3g2,mj2",
    4.0,
    VideoFacts{"h264", 320, 240, {25, 1}, Square, {4, 3}, 100},
    {AudioFacts{"aac", 48000, 1, "eng"}, AudioFacts{"aac", 48000, 2, "deu"}}};

// MPEG-2 video (GOP 12, two B-frames) at 720x576 shown 16:9, MP2 audio; frame counter.
inline constexpr VideoFacts Mpeg2Video{"mpeg2video", 720, 576, {25, 1}, {64, 45}, {16, 9}, 75};
inline constexpr AudioFacts Mp2Audio{"mp2", 48000, 2};
inline constexpr ClipFacts Mpeg2Ps{"mpeg2_mp2.mpg", "mpeg", 3.0, Mpeg2Video, {Mp2Audio, std::nullopt}};
inline constexpr ClipFacts Mpeg2Ts{"mpeg2_mp2.ts", "mpegts", 3.0, Mpeg2Video, {Mp2Audio, std::nullopt}};

// DV with 48 kHz 16-bit stereo audio; frame counter.
inline constexpr AudioFacts Pcm16Stereo48k{"pcm_s16le", 48000, 2};
inline constexpr VideoFacts DvPalVideo{"dvvideo", 720, 576, {25, 1}, {64, 45}, {16, 9}, 50};
inline constexpr VideoFacts DvNtscVideo{"dvvideo", 720, 480, {30000, 1001}, {8, 9}, {4, 3}, 60};

// 625/50 16:9, recorded 2024-03-14 15:09:26, timecode from 10:20:30:00.
inline constexpr ClipFacts DvPal{"dv_pal_16x9.dv", "dv", 2.0, DvPalVideo, {Pcm16Stereo48k, std::nullopt}};
inline constexpr DvFacts DvPalFacts{2024,           3, 14, 15, 9, 26, 27, "10:20:30:00", "10:20:31:24", 2,
                                    DvFrameBytes625};
// 525/60 4:3, recorded 2023-11-05 08:07:06, drop-frame timecode from 01:02:03;04.
inline constexpr ClipFacts DvNtsc{"dv_ntsc_4x3.dv", "dv", 2.002, DvNtscVideo, {Pcm16Stereo48k, std::nullopt}};
inline constexpr DvFacts DvNtscFacts{2023,           11, 5, 8, 7, 6, 7, "01:02:03;04", "01:02:05;03", 0,
                                     DvFrameBytes525};

// The same DV frames in AVI: type 2 (a 'vids' DV stream and an 'auds' PCM stream) and type 1
// (one 'iavs' stream, handler 'dvsd', DVINFO format, '00db' chunks, idx1 index).
inline constexpr ClipFacts DvPalType2{
    "dv_pal_16x9_type2.avi", "avi", 2.0, DvPalVideo, {Pcm16Stereo48k, std::nullopt}};
inline constexpr ClipFacts DvNtscType2{
    "dv_ntsc_4x3_type2.avi", "avi", 2.002, DvNtscVideo, {Pcm16Stereo48k, std::nullopt}};
inline constexpr ClipFacts DvPalType1{
    "dv_pal_16x9_type1.avi", "avi", 2.0, DvPalVideo, {Pcm16Stereo48k, std::nullopt}};
inline constexpr ClipFacts DvNtscType1{
    "dv_ntsc_4x3_type1.avi", "avi", 2.002, DvNtscVideo, {Pcm16Stereo48k, std::nullopt}};

// H.264 + Vorbis in Matroska at 30000/1001 fps. Stamps are whole milliseconds, video from 0, so
// frame n carries round(n * 1001 / 30): frame 1 at 33 ms lies before its exact 33.37 ms. The
// Vorbis stream starts 2 ms before zero (encoder priming).
inline constexpr ClipFacts H264VorbisMkv{"h264_vorbis_2997.mkv",
                                         "matroska,webm",
                                         5.005,
                                         VideoFacts{"h264", 320, 240, {30000, 1001}, Square, {4, 3}, 150},
                                         {AudioFacts{"vorbis", 48000, 2}, std::nullopt}};
inline constexpr int H264VorbisMkvAudioStartMs = -2;

// WMV2 + WMA2 in ASF, the same stream under both extensions; frame counter.
inline constexpr VideoFacts Wmv2Video{"wmv2", 320, 240, {25, 1}, Square, {4, 3}, 100};
inline constexpr AudioFacts Wma2Audio{"wmav2", 44100, 2};
inline constexpr ClipFacts Wmv2Wmv{"wmv2_wma2.wmv", "asf", 4.0, Wmv2Video, {Wma2Audio, std::nullopt}};
inline constexpr ClipFacts Wmv2Asf{"wmv2_wma2.asf", "asf", 4.0, Wmv2Video, {Wma2Audio, std::nullopt}};

// 1 kHz tone, PCM 16-bit stereo.
inline constexpr ClipFacts ToneWav{"tone_1khz.wav", "wav", 3.0, std::nullopt, {Pcm16Stereo48k, std::nullopt}};
inline constexpr int ToneWavFrequencyHz = 1000;

inline constexpr ClipFacts AllClips[] = {H264Aac,       H264TwoAac, Mpeg2Ps,     Mpeg2Ts,    DvPal,
                                         DvNtsc,        DvPalType2, DvNtscType2, DvPalType1, DvNtscType1,
                                         H264VorbisMkv, Wmv2Wmv,    Wmv2Asf,     ToneWav};

// Damaged files.
// h264_aac.mp4 with its index moved in front, cut in the middle of the media data: the index
// still says 10 s but only about half the packets are there.
inline constexpr const char *TruncatedIndexFirstMp4 = "truncated_index_first.mp4";
// h264_aac.mp4 cut in the middle of the media data; the index at the end is lost.
inline constexpr const char *TruncatedNoIndexMp4 = "truncated_no_index.mp4";
// mpeg2_mp2.mpg with 32 KiB of noise over its middle.
inline constexpr const char *GarbageMiddleMpg = "garbage_middle.mpg";
inline constexpr std::size_t GarbageBytes = 32768;
// Zero bytes.
inline constexpr const char *EmptyMp4 = "empty.mp4";
// dv_pal_16x9.dv: whole frames, then part of one more.
inline constexpr const char *TruncatedDv = "truncated.dv";
inline constexpr int TruncatedDvWholeFrames = 10;
inline constexpr std::size_t TruncatedDvPartialBytes = 50000;

// Made only by the bench_media target: 1080p H.264, GOP 250, two GOPs; moving pattern.
inline constexpr ClipFacts H264Bench1080p{"h264_1080p_gop250.mp4",
                                          "mov,mp4,m4a,3gp,3g2,mj2",
                                          20.0,
                                          VideoFacts{"h264", 1920, 1080, {25, 1}, Square, {16, 9}, 500},
                                          {AudioFacts{"aac", 48000, 1}, std::nullopt}};

} // namespace MediaFacts
