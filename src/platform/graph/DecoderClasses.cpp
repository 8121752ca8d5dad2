#include "DecoderClasses.h"

#include "AudioDecoderFilter.h"
#include "CodecMediaType.h"
#include "MediaGuids.h"
#include "NameGuid.h"
#include "VideoDecoderFilter.h"

#include <string>

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace
{

bool IsHardware(const AVCodec &codec)
{
    if (codec.capabilities & AV_CODEC_CAP_HARDWARE)
        return true;
    const std::string_view name = codec.name;
    for (std::string_view suffix : {"_cuvid", "_qsv", "_mediacodec", "_v4l2m2m", "_mmal", "_rkmpp", "_vdpau",
                                    "_crystalhd", "_amf", "_vaapi", "_videotoolbox"})
        if (name.size() > suffix.size() && name.substr(name.size() - suffix.size()) == suffix)
            return true;
    return false;
}

uint32_t MeritOf(const AVCodec &codec)
{
    if (IsHardware(codec) || (codec.capabilities & AV_CODEC_CAP_EXPERIMENTAL))
        return MERIT_DO_NOT_USE;
    return codec.wrapper_name ? MERIT_UNLIKELY : MERIT_NORMAL;
}

} // namespace

Guid DecoderClassId(std::string_view decoderName)
{
    return NameGuid("kestrin.decoder", decoderName);
}

void RegisterDecoderClasses(ClassRegistry &registry)
{
    void *iterator = nullptr;
    while (const AVCodec *codec = av_codec_iterate(&iterator)) {
        if (!av_codec_is_decoder(codec))
            continue;
        const bool video = codec->type == AVMEDIA_TYPE_VIDEO;
        if (!video && codec->type != AVMEDIA_TYPE_AUDIO)
            continue;
        FilterClass decoder;
        decoder.classId = DecoderClassId(codec->name);
        decoder.name =
            std::string(video ? "FFmpeg Video Decoder (" : "FFmpeg Audio Decoder (") + codec->name + ")";
        decoder.merit = MeritOf(*codec);
        const Guid major = video ? MEDIATYPE_Video : MEDIATYPE_Audio;
        for (const Guid &subtype : CodecMediaType::Subtypes(codec->id))
            decoder.inputs.push_back({major, subtype});
        decoder.outputs.push_back({major, GUID_NULL});
        const std::string name = decoder.name;
        const Guid classId = decoder.classId;
        decoder.create = [codec, name, classId, video]() -> std::shared_ptr<Filter> {
            if (video)
                return std::make_shared<VideoDecoderFilter>(classId, name, *codec);
            return std::make_shared<AudioDecoderFilter>(classId, name, *codec);
        };
        registry.Register(std::move(decoder));
    }
}
