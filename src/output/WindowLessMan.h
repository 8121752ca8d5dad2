#pragma once

#include "FitToAspect.h"
#include "InsertLine.h"

#include "framework/Color.h"
#include "framework/Font.h"
#include "framework/KSActionComponent.h"
#include "framework/Rect.h"
#include "platform/core/Guid.h"
#include "platform/graph/VideoMixer.h"

#include <QImage>
#include <QPoint>
#include <QPointer>

#include <memory>

class Graph;
class QScreen;
class QTimer;
class QWidget;
class TCheckAction;
class Tplaque;
class VideoMixingRenderer;

// Sent to the component when the display configuration changed; the renderer then re-reads it.
inline constexpr uint32_t WM_DISPLAYCHANGE = 0x007E;

// The manager of everything the user sees of the video: it owns the windowless renderer and
// places the picture inside its host control (`window`) with a border band around it, on the
// full-screen surface or in the detached preview window; it flips the picture and draws the inlay,
// up to eight lines of outlined text laid over the picture by the renderer's mixer at the video's
// native size, so the inlay scales and moves with the picture wherever it is shown.
//
// Every setting is also one of the component's actions (created from the action catalogue), so
// it is stored, scripted and given on the command line. The video manager derives from it: it
// overrides the virtual operations (calling these first) and fills InsertLines.
//
// UI thread only: streaming threads reach the component through its hidden message window.
class TWindowLessMan : public TKSActionComponent
{
    Q_OBJECT
  public:
    // The identity the component reports for itself, apart from its renderer's.
    static const Guid ClassId;

    explicit TWindowLessMan(QObject *owner = nullptr);
    ~TWindowLessMan() override;

    // The renderer, outside any graph until SetGraph; none when it could not be made, in which
    // case every operation on it is skipped.
    const std::shared_ptr<VideoMixingRenderer> &Renderer() const { return renderer_; }
    // Moves the renderer into `graph` (none: out of its graph), under the name "KS VideoWindow".
    // A graph that is destroyed lets go of the renderer by itself.
    void SetGraph(Graph *graph);

    // The host control of the video, watched for destruction.
    QWidget *window() const { return window_; }
    virtual void SetWindow(QWidget *control);
    // The control the picture is currently placed in: `window`, or the preview window while the
    // video is detached.
    QWidget *VideoControl() const { return videoControl_; }
    Tplaque *FullScreenSurface() const { return plaque_; }
    QWidget *PreviewForm() const { return previewForm_; }
    QTimer *HintTimer() const { return hintTimer_; }

    // Geometry: the picture's rectangle in the video control and on the full-screen surface,
    // fitted to the display aspect (0, 0 while unknown: the whole box inside the border).
    EdgeRect WindowRect() const { return windowRect_; }
    EdgeRect FullScreenRect() const { return fullScreenRect_; }
    int DisplayAspectX() const { return displayAspectX_; }
    int DisplayAspectY() const { return displayAspectY_; }
    void SetAspect(int x, int y);
    // Recomputes the rectangle of the active mode and applies it. Runs when the video control is
    // resized.
    virtual void Layout();
    void ApplyWindowLayout();
    void ApplyFullScreenLayout();
    // Repaints the video control's bands: its own colour out to the border, the border colour
    // around WindowRect.
    void PaintBorders();
    // Shows the video control empty, in its own colour, until the next window layout.
    void ClearVideoControl();
    // Has the renderer repaint the picture in `control` at once (nothing for none).
    void RepaintOn(QWidget *control);
    virtual void PaintVideo();

    // Modes, each driven by its action.
    bool FullScreen() const { return fullScreen_; }
    void SetFullScreen(bool on);
    bool Detached() const { return detached_; }
    void SetPreviewForm(bool on);
    bool FlipVertical() const { return flipVertical_; }
    void SetFlipVertical(bool on);
    bool FlipHorizontal() const { return flipHorizontal_; }
    void SetFlipHorizontal(bool on);
    void ApplyFlips();

    int WinBorderWidth() const { return winBorderWidth_; }
    void SetWinBorderWidth(int width);
    int FullBorderWidth() const { return fullBorderWidth_; }
    void SetFullBorderWidth(int width);
    TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(TColor color);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor color);
    bool KeepAspectratio() const { return keepAspectratio_; }
    void SetKeepAspectratio(bool on);

    // The inlay settings; each redraws the inlay while it is shown.
    int InsertBorderWidth() const { return insertBorderWidth_; }
    void SetInsertBorderWidth(int width);
    TColor InsertBorderColor() const { return insertBorderColor_; }
    void SetInsertBorderColor(TColor color);
    double InsertTransparency() const { return insertTransparency_; }
    void SetInsertTransparency(double alpha);
    TColor InsertTransparentColor() const { return insertTransparentColor_; }
    void SetInsertTransparentColor(TColor color);
    bool InsertAntiAliasing() const { return insertAntiAliasing_; }
    void SetInsertAntiAliasing(bool on);
    // 0 left, 1 right, 2 centre (TAlignment), given to every line; other values are kept but
    // change nothing.
    int InsertAlignLines() const { return insertAlignLines_; }
    void SetInsertAlignLines(int alignment);
    const TFont &InsertFont() const { return insertFont_; }
    void SetInsertFont(const TFont &font);
    // The anchor of the inlay in ten-thousandths of the picture's width and height.
    QPoint InsertPosition() const { return insertPosition_; }
    void SetInsertPosition(const QPoint &position);
    // While on, the inlay's font size follows the picture's native size.
    bool InsertAutoSize() const { return insertAutoSize_; }
    void SetInsertAutoSize(bool on);

    // The inlay: shown or hidden, redrawn, and what was drawn last.
    bool InsertShown() const { return insertShown_; }
    void ShowInsert(bool on);
    // Notes the frames drawn so far, then redraws the inlay if it is shown.
    void RefreshInsert();
    // Draws the visible lines on a bitmap of the picture's native size and hands it to the mixer.
    // Without a picture size (no stream connected) nothing is drawn.
    void DrawInsert();
    // Takes the inlay off the picture; false when the mixer refused.
    bool HideInsert();
    const QImage &InsertBitmap() const { return insertBitmap_; }
    // The font the lines are drawn in: InsertFont, with the automatic size while that is on.
    const TFont &InsertCanvasFont() const { return canvasFont_; }
    // Frames drawn by the renderer when the inlay was last refreshed, and now.
    int LastRefreshFrames() const { return lastRefreshFrames_; }
    int FramesDrawn() const;

    // The eight lines of the inlay; the video manager writes them and then calls RefreshInsert.
    TInsertLines InsertLines;

  protected:
    LRESULT WndProc(uint32_t msg, WPARAM wParam, LPARAM lParam) override;
    void CreateActions() override;
    void LinkActions() override;
    void InitActions() override;
    // Makes the controls the component hosts in `window`; run again when `window` is destroyed.
    virtual void CreateWindowControls() {}
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void SetVideoControl(QWidget *control);
    void OnWindowDestroyed();
    void HideHint();
    void SetTimerInterval(int ms);
    void PaintBands(QWidget &control);
    QScreen *MonitorOfVideoControl() const;
    template <class A> A *Own(const char *internalId) const;
    template <class A, class T> void Hook(const char *internalId, void (TWindowLessMan::*setter)(T));
    // An empty caption shows the action's script name in that state.
    void HookCheck(const char *internalId, const QString &trueCaption, const QString &falseCaption,
                   void (TWindowLessMan::*setter)(bool));
    void HookPreviewSave();

    std::shared_ptr<VideoMixingRenderer> renderer_;

    QPointer<QWidget> window_;
    QPointer<QWidget> videoControl_;
    Tplaque *plaque_;
    QWidget *previewForm_;
    QTimer *hintTimer_;
    TCheckAction *caFullscreen_ = nullptr;
    TCheckAction *caPreviewform_ = nullptr;

    EdgeRect windowRect_, fullScreenRect_;
    TRect previewRect_;
    int displayAspectX_ = 0, displayAspectY_ = 0;
    bool fullScreen_ = false, detached_ = false, flipVertical_ = false, flipHorizontal_ = false;
    bool cleared_ = false; // the video control shows nothing but its own colour

    int winBorderWidth_ = 8, fullBorderWidth_ = 8;
    TColor borderColor_ = clSilver, backColor_ = clBlack;
    bool keepAspectratio_ = false;

    int insertBorderWidth_ = 2;
    TColor insertBorderColor_ = clBlack;
    double insertTransparency_ = 1.0;
    TColor insertTransparentColor_ = clFuchsia;
    bool insertAntiAliasing_ = true;
    int insertAlignLines_ = taLeftJustify;
    TFont insertFont_;
    TFont canvasFont_;
    QPoint insertPosition_;
    bool insertAutoSize_ = false;
    bool insertShown_ = false;
    int lastRefreshFrames_ = 0;
    QImage insertBitmap_;
    VMR9AlphaBitmap alphaBitmap_; // the block last handed to the mixer
};
