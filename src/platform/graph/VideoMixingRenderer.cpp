#include "VideoMixingRenderer.h"

#include "MediaGuids.h"

#include <QPainter>
#include <QWidget>

#include <cstdlib>
#include <cstring>

const Guid VideoMixingRenderer::ClassId{
    0x51B4ABF3, 0x748F, 0x4E3B, {0xA2, 0x76, 0xC8, 0x28, 0x33, 0x0E, 0x92, 0x6A}};

// The child widget of the clipping window that shows the picture over the destination rectangle.
class VideoSurface : public QWidget
{
  public:
    VideoSurface(QWidget *parent, const VideoMixingRenderer &renderer) : QWidget(parent), renderer_(renderer)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_TransparentForMouseEvents); // clicks belong to the host
    }

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        const QImage picture = renderer_.ComposedPicture();
        if (picture.isNull())
            return;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(renderer_.PictureTarget(size()), picture);
    }

  private:
    const VideoMixingRenderer &renderer_;
};

struct VideoMixingRenderer::RepaintRelay : QObject {
    QPointer<VideoSurface> surface;
};

VideoMixingRenderer::VideoMixingRenderer()
    : RendererFilter(ClassId, "Video Mixing Renderer 9"), relay_(std::make_unique<RepaintRelay>())
{
}

VideoMixingRenderer::~VideoMixingRenderer()
{
    delete surface_.data();
}

namespace
{

// The bitmap header of a 32-bit RGB type and its picture aspect (the picture's own size when
// the type states none).
bool ReadPictureFormat(const MediaType &type, BITMAPINFOHEADER &bmi, int &aspectX, int &aspectY)
{
    if (!ReadBitmapHeader(type, bmi))
        return false;
    VIDEOINFOHEADER2 vih2;
    const bool stated = type.formattype == FORMAT_VideoInfo2 && type.ReadFormat(vih2) &&
                        vih2.dwPictAspectRatioX > 0 && vih2.dwPictAspectRatioY > 0;
    aspectX = stated ? int(vih2.dwPictAspectRatioX) : bmi.biWidth;
    aspectY = stated ? int(vih2.dwPictAspectRatioY) : std::abs(bmi.biHeight);
    return bmi.biBitCount == 32 && bmi.biWidth > 0 && bmi.biHeight != 0;
}

} // namespace

HRESULT VideoMixingRenderer::CheckMediaType(const MediaType &type) const
{
    BITMAPINFOHEADER bmi;
    int ax, ay;
    const bool rgb = type.subtype == MEDIASUBTYPE_RGB32 || type.subtype == MEDIASUBTYPE_ARGB32;
    return type.majortype == MEDIATYPE_Video && rgb && ReadPictureFormat(type, bmi, ax, ay)
               ? S_OK
               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT VideoMixingRenderer::SetMediaType(const MediaType &type)
{
    BITMAPINFOHEADER bmi;
    std::lock_guard lock(pictureMutex_);
    ReadPictureFormat(type, bmi, aspectX_, aspectY_);
    width_ = bmi.biWidth;
    height_ = std::abs(bmi.biHeight);
    bottomUp_ = bmi.biHeight > 0;
    picture_ = QImage();
    return S_OK;
}

void VideoMixingRenderer::TakePicture(const SamplePtr &sample)
{
    std::lock_guard lock(pictureMutex_);
    const size_t rowBytes = size_t(width_) * 4;
    if (width_ <= 0 || sample->ActualLength() < rowBytes * size_t(height_))
        return;
    if (!bottomUp_) {
        // Top-down rows are the picture as it stands: keep the sample instead of copying it. The
        // image holds a reference that returns the sample to its pool when the last copy goes.
        picture_ = QImage(
            sample->Data(), width_, height_, qsizetype(rowBytes), QImage::Format_RGB32,
            [](void *held) { delete static_cast<SamplePtr *>(held); }, new SamplePtr(sample));
        return;
    }
    if (picture_.width() != width_ || picture_.height() != height_ || !picture_.isDetached())
        picture_ = QImage(width_, height_, QImage::Format_RGB32);
    for (int y = 0; y < height_; ++y)
        std::memcpy(picture_.scanLine(y), sample->Data() + size_t(height_ - 1 - y) * rowBytes, rowBytes);
}

HRESULT VideoMixingRenderer::Render(const SamplePtr &sample)
{
    TakePicture(sample);
    ++framesDrawn_;
    RequestRepaint();
    return S_OK;
}

void VideoMixingRenderer::ShowPreroll(const SamplePtr &sample)
{
    TakePicture(sample);
    RequestRepaint();
}

HRESULT VideoMixingRenderer::OnActive()
{
    framesDrawn_ = 0;
    return RendererFilter::OnActive();
}

void VideoMixingRenderer::RequestRepaint()
{
    // Streaming thread: hop to the UI thread, where the surface may be touched.
    RepaintRelay *relay = relay_.get();
    QMetaObject::invokeMethod(
        relay,
        [relay] {
            if (relay->surface)
                relay->surface->update();
        },
        Qt::QueuedConnection);
}

QImage VideoMixingRenderer::ComposedPicture() const
{
    QImage picture;
    {
        std::lock_guard lock(pictureMutex_);
        picture = picture_; // shared: the streaming thread detaches before writing again
    }
    return picture.isNull() ? picture : mixer_.Compose(picture);
}

QRect VideoMixingRenderer::PictureTarget(const QSize &surface) const
{
    const QRect whole(QPoint(0, 0), surface);
    std::lock_guard lock(pictureMutex_);
    if (aspectMode_ != VMR9ARMode_LetterBox || aspectX_ <= 0 || aspectY_ <= 0)
        return whole;
    QRect fitted(QPoint(0, 0), QSize(aspectX_, aspectY_).scaled(surface, Qt::KeepAspectRatio));
    fitted.moveCenter(whole.center());
    return fitted;
}

HRESULT VideoMixingRenderer::GetCurrentImage(std::vector<uint8_t> &dib) const
{
    const QImage picture = ComposedPicture();
    if (picture.isNull())
        return Input()->IsConnected() ? E_FAIL : VFW_E_NOT_CONNECTED;
    dib = VideoMixer::PackedDib(picture);
    return S_OK;
}

HRESULT VideoMixingRenderer::SetVideoClippingWindow(QWidget *window)
{
    if (window == window_)
        return S_OK;
    delete surface_.data();
    window_ = window;
    if (window) {
        surface_ = new VideoSurface(window, *this);
        relay_->surface = surface_;
        PlaceSurface();
        surface_->show();
    }
    return S_OK;
}

HRESULT VideoMixingRenderer::SetVideoPosition(const RECT *, const RECT *destination)
{
    if (destination)
        destination_ = *destination;
    PlaceSurface();
    return S_OK;
}

void VideoMixingRenderer::PlaceSurface()
{
    if (!surface_)
        return;
    surface_->setGeometry(destination_.left, destination_.top, destination_.right - destination_.left,
                          destination_.bottom - destination_.top);
    surface_->raise();
    surface_->update();
}

HRESULT VideoMixingRenderer::RepaintVideo(QWidget *window)
{
    if (!window || window != window_)
        return E_INVALIDARG;
    if (surface_)
        surface_->repaint();
    return S_OK;
}

HRESULT VideoMixingRenderer::DisplayModeChanged()
{
    PlaceSurface();
    return S_OK;
}

HRESULT VideoMixingRenderer::GetNativeVideoSize(int32_t &width, int32_t &height, int32_t &aspectX,
                                                int32_t &aspectY) const
{
    std::lock_guard lock(pictureMutex_);
    if (width_ <= 0)
        return VFW_E_NOT_CONNECTED;
    width = width_;
    height = height_;
    aspectX = aspectX_;
    aspectY = aspectY_;
    return S_OK;
}

HRESULT VideoMixingRenderer::SetAspectRatioMode(uint32_t mode)
{
    if (mode != VMR9ARMode_None && mode != VMR9ARMode_LetterBox)
        return E_INVALIDARG;
    aspectMode_ = mode;
    if (surface_)
        surface_->update();
    return S_OK;
}

HRESULT VideoMixingRenderer::SetOutputRect(uint32_t stream, const NORMALIZEDRECT &rect)
{
    const HRESULT hr = mixer_.SetOutputRect(stream, rect);
    if (surface_)
        surface_->update();
    return hr;
}

HRESULT VideoMixingRenderer::SetAlphaBitmap(const VMR9AlphaBitmap &block)
{
    const HRESULT hr = mixer_.SetAlphaBitmap(block);
    if (surface_)
        surface_->update();
    return hr;
}

HRESULT VideoMixingRenderer::SetMonitor(int index)
{
    if (index < 0)
        return E_INVALIDARG;
    monitor_ = index;
    return S_OK;
}

QWidget *VideoMixingRenderer::VideoClippingWindow() const
{
    return window_;
}
