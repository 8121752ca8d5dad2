#include "VideoDecoderFilter.h"

#include "MediaGuids.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/cpu.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace
{

// What the input's format block says of the picture: aspect and frame duration.
void ReadPicture(const MediaType &type, uint32_t &aspectX, uint32_t &aspectY, REFERENCE_TIME &frameDuration)
{
    VIDEOINFOHEADER2 vih2;
    VIDEOINFOHEADER vih;
    if ((type.formattype == FORMAT_VideoInfo2 || type.formattype == FORMAT_MPEG2Video) &&
        type.ReadFormat(vih2)) {
        aspectX = vih2.dwPictAspectRatioX;
        aspectY = vih2.dwPictAspectRatioY;
        frameDuration = vih2.AvgTimePerFrame;
    } else if ((type.formattype == FORMAT_VideoInfo || type.formattype == FORMAT_MPEGVideo) &&
               type.ReadFormat(vih)) {
        frameDuration = vih.AvgTimePerFrame;
    }
}

} // namespace

VideoDecoderFilter::VideoDecoderFilter(const Guid &classId, std::string name, const AVCodec &codec)
    : DecoderFilter(classId, std::move(name), codec), pool_(8)
{
}

VideoDecoderFilter::~VideoDecoderFilter()
{
    sws_freeContext(scaler_);
}

std::vector<MediaType> VideoDecoderFilter::RgbTypes(int width, int height, uint32_t aspectX, uint32_t aspectY,
                                                    REFERENCE_TIME frameDuration)
{
    BITMAPINFOHEADER bmi;
    bmi.biWidth = width;
    bmi.biHeight = -height;
    bmi.biBitCount = 32;
    bmi.biSizeImage = uint32_t(width) * uint32_t(height) * 4;
    const RECT rect{0, 0, width, height};
    MediaType type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_RGB32;
    type.bFixedSizeSamples = true;
    type.lSampleSize = bmi.biSizeImage;

    VIDEOINFOHEADER2 vih2;
    vih2.rcSource = vih2.rcTarget = rect;
    vih2.AvgTimePerFrame = frameDuration;
    vih2.dwPictAspectRatioX = aspectX ? aspectX : uint32_t(width);
    vih2.dwPictAspectRatioY = aspectY ? aspectY : uint32_t(height);
    vih2.bmiHeader = bmi;
    MediaType withAspect = type;
    withAspect.SetFormat(FORMAT_VideoInfo2, vih2);

    VIDEOINFOHEADER vih;
    vih.rcSource = vih.rcTarget = rect;
    vih.AvgTimePerFrame = frameDuration;
    vih.bmiHeader = bmi;
    type.SetFormat(FORMAT_VideoInfo, vih);
    return {withAspect, type};
}

std::vector<MediaType> VideoDecoderFilter::OutputTypes(const AVCodecParameters &input) const
{
    MediaType inputType;
    uint32_t aspectX = 0, aspectY = 0;
    REFERENCE_TIME frameDuration = 0;
    if (Input()->ConnectionMediaType(inputType) == S_OK)
        ReadPicture(inputType, aspectX, aspectY, frameDuration);
    if (input.width <= 0 || input.height <= 0)
        return {};
    return RgbTypes(input.width, input.height, aspectX, aspectY, frameDuration);
}

HRESULT VideoDecoderFilter::DeliverFrame(const AVFrame &frame, REFERENCE_TIME start)
{
    const int width = frame.width, height = frame.height;
    if (!PrepareScaler(width, height, frame.format))
        return S_OK; // a picture that cannot be converted is dropped
    const int stride = width * 4;
    SamplePtr sample = pool_.Get(size_t(stride) * size_t(height));
    uint8_t *planes[4] = {sample->Data(), nullptr, nullptr, nullptr};
    const int strides[4] = {stride, 0, 0, 0};
    sws_scale(scaler_, frame.data, frame.linesize, 0, height, planes, strides);
    sample->SetActualLength(size_t(stride) * size_t(height));

    MediaType connected;
    Output()->ConnectionMediaType(connected);
    uint32_t aspectX = 0, aspectY = 0;
    REFERENCE_TIME typeDuration = 0;
    ReadPicture(connected, aspectX, aspectY, typeDuration);
    const REFERENCE_TIME duration = frame.pkt_duration > 0 ? frame.pkt_duration : typeDuration;
    if (start == NoTime)
        start = next_;
    next_ = start + std::max<REFERENCE_TIME>(duration, 1);
    sample->SetTime(start, next_);
    sample->SetSyncPoint(true);

    // A picture of another size than the connection's carries its own type.
    BITMAPINFOHEADER expected;
    const int connectedWidth = ReadBitmapHeader(connected, expected) ? expected.biWidth : 0;
    const int connectedHeight = ReadBitmapHeader(connected, expected) ? -expected.biHeight : 0;
    const int lastWidth = width_ ? width_ : connectedWidth, lastHeight = height_ ? height_ : connectedHeight;
    if (width != lastWidth || height != lastHeight)
        sample->SetMediaType(
            RgbTypes(width, height, 0, 0, typeDuration)[connected.formattype == FORMAT_VideoInfo]);
    width_ = width;
    height_ = height;
    return Output()->Deliver(sample);
}

// A converter for pictures of this size and format, using as many threads as the decoder.
bool VideoDecoderFilter::PrepareScaler(int width, int height, int format)
{
    if (scaler_ && width == scalerWidth_ && height == scalerHeight_ && format == scalerFormat_)
        return true;
    sws_freeContext(scaler_);
    scaler_ = nullptr;
    if (width <= 0 || height <= 0 || format < 0)
        return false;
    SwsContext *made = sws_alloc_context();
    const int threads = ThreadCount() > 0 ? ThreadCount() : av_cpu_count();
    const bool set =
        made && av_opt_set_int(made, "srcw", width, 0) >= 0 && av_opt_set_int(made, "srch", height, 0) >= 0 &&
        av_opt_set_int(made, "src_format", format, 0) >= 0 && av_opt_set_int(made, "dstw", width, 0) >= 0 &&
        av_opt_set_int(made, "dsth", height, 0) >= 0 &&
        av_opt_set_int(made, "dst_format", AV_PIX_FMT_BGRA, 0) >= 0 &&
        av_opt_set_int(made, "sws_flags", SWS_BICUBIC, 0) >= 0 &&
        av_opt_set_int(made, "threads", threads, 0) >= 0;
    if (!set || sws_init_context(made, nullptr, nullptr) < 0) {
        sws_freeContext(made);
        return false;
    }
    scaler_ = made;
    scalerWidth_ = width;
    scalerHeight_ = height;
    scalerFormat_ = format;
    return true;
}

void VideoDecoderFilter::ResetConversion()
{
    next_ = 0;
    width_ = height_ = 0;
}
