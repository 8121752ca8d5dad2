#pragma once

#include "RendererFilter.h"
#include "VideoMixer.h"

#include <QImage>
#include <QPointer>

#include <atomic>
#include <memory>
#include <mutex>

class QWidget;
class VideoSurface;

// The windowless video renderer: takes 32-bit RGB pictures, keeps the current one and draws it,
// composed by its mixer (flips, alpha bitmap), scaled with smooth filtering into a destination
// rectangle of a clipping window (any widget). Pictures are presented on time against the graph
// clock; a paused graph shows its preroll picture. The streaming thread only copies the picture
// and asks the UI thread to repaint, so painting never blocks it for longer than that copy.
//
// The windowless-control, mixer, monitor and quality operations are for the UI thread; the
// current image may be asked from any thread.
class VideoMixingRenderer final : public RendererFilter
{
  public:
    // {51B4ABF3-748F-4E3B-A276-C828330E926A}
    static const Guid ClassId;
    static constexpr uint32_t VMR9ARMode_None = 0;
    static constexpr uint32_t VMR9ARMode_LetterBox = 1;

    VideoMixingRenderer();
    ~VideoMixingRenderer() override;

    HRESULT SetVideoClippingWindow(QWidget *window);
    QWidget *VideoClippingWindow() const;
    // Either rectangle may be null; the source rectangle is kept but the whole picture is shown.
    HRESULT SetVideoPosition(const RECT *source, const RECT *destination);
    RECT VideoDestination() const { return destination_; }
    HRESULT RepaintVideo(QWidget *window);
    HRESULT DisplayModeChanged();
    // Width and height of the pictures of the connection, and their picture aspect ratio.
    HRESULT GetNativeVideoSize(int32_t &width, int32_t &height, int32_t &aspectX, int32_t &aspectY) const;
    // A packed DIB (BITMAPINFOHEADER, 32-bit bottom-up pixels) of the current picture at native
    // size, as the mixer composes it. VFW_E_NOT_CONNECTED or E_FAIL when there is no picture.
    // UI thread, like the mixer settings it composes with.
    HRESULT GetCurrentImage(std::vector<uint8_t> &dib) const;
    HRESULT SetAspectRatioMode(uint32_t mode);
    uint32_t AspectRatioMode() const { return aspectMode_; }

    HRESULT SetOutputRect(uint32_t stream, const NORMALIZEDRECT &rect);
    HRESULT SetAlphaBitmap(const VMR9AlphaBitmap &block);
    HRESULT SetMonitor(int index);
    int Monitor() const { return monitor_; }
    // Pictures presented while running since the stream started. Any thread.
    int FramesDrawn() const { return framesDrawn_; }

    // UI thread: what the surface paints (composed picture, its target inside the surface).
    QImage ComposedPicture() const;
    QRect PictureTarget(const QSize &surface) const;

  protected:
    HRESULT CheckMediaType(const MediaType &type) const override;
    HRESULT SetMediaType(const MediaType &type) override;
    HRESULT Render(const SamplePtr &sample) override;
    void ShowPreroll(const SamplePtr &sample) override;
    HRESULT OnActive() override;

  private:
    void TakePicture(const SamplePtr &sample);
    void PlaceSurface();
    void RequestRepaint();

    // Guards the current picture and the format: written by the streaming thread, read by the
    // UI thread and grabs.
    mutable std::mutex pictureMutex_;
    QImage picture_;
    int width_ = 0, height_ = 0;
    bool bottomUp_ = true;
    int aspectX_ = 0, aspectY_ = 0;
    std::atomic<int> framesDrawn_{0};

    // UI thread only.
    VideoMixer mixer_;
    QPointer<QWidget> window_;
    QPointer<VideoSurface> surface_;
    // Lives on the UI thread and is deleted with the renderer, which drops repaint requests
    // still queued to it; the streaming thread queues them there, never to `this`.
    struct RepaintRelay;
    RECT destination_{};
    uint32_t aspectMode_ = VMR9ARMode_None;
    int monitor_ = 0;
    std::unique_ptr<RepaintRelay> relay_;
};
