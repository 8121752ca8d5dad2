#pragma once

#include "DecoderFilter.h"
#include "SamplePool.h"

struct SwsContext;

// A libavcodec video decoder giving 32-bit RGB pictures (MEDIASUBTYPE_RGB32, bytes B, G, R, X)
// with top-down rows: the format block's biHeight is negative and row 0 is the top of the
// picture. It offers VIDEOINFOHEADER2 (with the picture aspect) first, then VIDEOINFOHEADER.
// Each picture is converted once, by libswscale (bicubic chroma, as many threads as the
// decoder), straight into a pooled sample buffer; a
// picture of another size carries its new media type.
class VideoDecoderFilter : public DecoderFilter
{
  public:
    VideoDecoderFilter(const Guid &classId, std::string name, const AVCodec &codec);
    ~VideoDecoderFilter() override;

    // The RGB32 types for pictures of this size, aspect (x:y, 0 for square pixels) and frame
    // duration.
    static std::vector<MediaType> RgbTypes(int width, int height, uint32_t aspectX, uint32_t aspectY,
                                           REFERENCE_TIME frameDuration);

  protected:
    std::vector<MediaType> OutputTypes(const AVCodecParameters &input) const override;
    HRESULT DeliverFrame(const AVFrame &frame, REFERENCE_TIME start) override;
    void ResetConversion() override;

  private:
    bool PrepareScaler(int width, int height, int format);

    // Streaming thread only.
    SwsContext *scaler_ = nullptr;
    int scalerWidth_ = 0, scalerHeight_ = 0, scalerFormat_ = -1;
    SamplePool pool_;
    REFERENCE_TIME next_ = 0;    // where a picture without a time goes
    int width_ = 0, height_ = 0; // size of the pictures delivered, 0 before the first
};
