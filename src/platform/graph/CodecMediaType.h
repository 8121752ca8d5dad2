#pragma once

#include "MediaType.h"

#include <vector>

extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/rational.h>
}

struct AVCodecParameters;

// The media types a splitter offers for FFmpeg's compressed streams, and back.
//
// Known codecs get the subtypes and format blocks a DirectShow splitter would give them (FOURCC
// subtypes, VIDEOINFOHEADER2 / MPEG2VIDEOINFO / MPEG1VIDEOINFO / VIDEOINFOHEADER for DV /
// WAVEFORMATEX); other codecs a subtype made from the codec's name, so every stream FFmpeg can
// decode has a type a decoder class declares. Codec data (extradata) follows VIDEOINFOHEADER2 and
// WAVEFORMATEX, and fills the sequence header of MPEG1VIDEOINFO and MPEG2VIDEOINFO (for H.264 in
// its stored 'avcC' form, with the NAL length size in dwFlags).
class CodecMediaType
{
  public:
    // The type for a stream; false for streams other than video and audio.
    static bool FromParameters(const AVCodecParameters &codec, AVRational frameRate, AVRational sampleAspect,
                               MediaType &type);
    // Every subtype FromParameters() may give for the codec (the first is the usual one).
    static std::vector<Guid> Subtypes(AVCodecID codec);
    // The codec a type names, AV_CODEC_ID_NONE when none.
    static AVCodecID CodecId(const MediaType &type);
    // Rebuilds decoder parameters (codec, picture size, sample format fields, extradata) from a
    // type; false when the type names no codec.
    static bool ToParameters(const MediaType &type, AVCodecParameters &codec);
};
