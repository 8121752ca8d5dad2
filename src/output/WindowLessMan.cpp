#include "WindowLessMan.h"

#include "OutlinedText.h"
#include "Plaque.h"

#include "framework/ActionCatalogue.h"
#include "framework/CheckAction.h"
#include "framework/ColorAction.h"
#include "framework/DoubleAction.h"
#include "framework/FontAction.h"
#include "framework/IntegerAction.h"
#include "framework/PointAction.h"
#include "framework/RectAction.h"
#include "platform/graph/ClassRegistry.h"
#include "platform/graph/Graph.h"
#include "platform/graph/VideoMixingRenderer.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdint>

// {6F1B8E52-3C47-4A0D-9B2E-71D5C8A4E390}
const Guid TWindowLessMan::ClassId{
    0x6F1B8E52, 0x3C47, 0x4A0D, {0x9B, 0x2E, 0x71, 0xD5, 0xC8, 0xA4, 0xE3, 0x90}};

namespace
{

// The actions of the video manager's list that this component serves, in list order.
const char *const KOwnActions[] = {
    "caFullscreen",         "caFlipVertical",       "caFlipHorizontal",
    "caPreviewform",        "caKeepAspectratio",    "iaFullBorderWidth",
    "iaInsertAlignLines",   "iaWinBorderWidth",     "iaBorderColor",
    "iaBackColor",          "caInsertTextOn",       "iaInsertBorderWidth",
    "iaInsertBorderColor",  "faInsertFont",         "iaInsertTransparentColor",
    "caInsertAntiAliasing", "daInsertTransparency", "paInsertPosition",
    "raPreviewSave",        "iaTimerInterval",
};

const TRect KDefaultPreviewRect{0, 0, 640, 480};
// The mixer's point filtering, for the inlay stretched with the picture.
constexpr uint32_t KPointFiltering = 0x20;
// Inlay anchors are kept within ten picture sizes of the picture, so the arithmetic stays in range.
constexpr int KMaxInsertPosition = 100000;
// Fonts larger than this many pixels are drawn at this size.
constexpr int KMaxFontPixels = 4096;

// Between the preview window's stored bounds and its geometry.
QRect ToQRect(const TRect &r)
{
    return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

TRect FromQRect(const QRect &r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

RECT ToRECT(const EdgeRect &r)
{
    return {r.left, r.top, r.right, r.bottom};
}

EdgeRect Inflate(const EdgeRect &r, int by)
{
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

// The band between `outer` and `inner` as four rectangles: left and right over the whole outer
// height, top and bottom between them.
void FillBand(QPainter &painter, const EdgeRect &outer, const EdgeRect &inner, const QColor &color)
{
    const EdgeRect parts[] = {
        {outer.left, outer.top, inner.left, outer.bottom},
        {inner.right, outer.top, outer.right, outer.bottom},
        {inner.left, outer.top, inner.right, inner.top},
        {inner.left, inner.bottom, inner.right, outer.bottom},
    };
    for (const EdgeRect &part : parts) {
        if (part.Width() > 0 && part.Height() > 0)
            painter.fillRect(part.ToQRect(), color);
    }
}

// The font in pixels: its size in points at its pixels per inch, rounded.
QFont ToQFont(const TFont &f)
{
    QFont font(f.Name);
    const int64_t ppi = f.PixelsPerInch > 0 ? f.PixelsPerInch : 96;
    font.setPixelSize(int(std::clamp<int64_t>((f.Size * ppi + 36) / 72, 1, KMaxFontPixels)));
    font.setBold(f.Bold);
    font.setItalic(f.Italic);
    font.setUnderline(f.Underline);
    font.setStrikeOut(f.StrikeOut);
    return font;
}

std::shared_ptr<VideoMixingRenderer> CreateRenderer()
{
    FilterPtr filter;
    if (FAILED(ClassRegistry::Default().CreateInstance(VideoMixingRenderer::ClassId, filter)))
        return nullptr;
    return std::dynamic_pointer_cast<VideoMixingRenderer>(filter);
}

} // namespace

TWindowLessMan::TWindowLessMan(QObject *owner)
    : TKSActionComponent(owner), renderer_(CreateRenderer()), plaque_(new Tplaque),
      previewForm_(new QWidget(nullptr, Qt::Window)), hintTimer_(new QTimer(this))
{
    // Neither window keeps the application running once the main window is closed.
    plaque_->setAttribute(Qt::WA_QuitOnClose, false);
    previewForm_->setAttribute(Qt::WA_QuitOnClose, false);
    previewRect_ = KDefaultPreviewRect;
    previewForm_->setGeometry(ToQRect(previewRect_));
    previewForm_->installEventFilter(this);
    connect(plaque_, &Tplaque::PanelQuitClicked, this, &TWindowLessMan::HideHint);
    // A closed surface would leave the picture nowhere: closing it leaves full screen.
    connect(plaque_, &Tplaque::Closed, this, [this] {
        if (fullScreen_ && caFullscreen_)
            caFullscreen_->SetChecked(false);
    });
    hintTimer_->setInterval(3000);
    hintTimer_->setSingleShot(true);
    connect(hintTimer_, &QTimer::timeout, this, &TWindowLessMan::HideHint);

    insertFont_.Name = QStringLiteral("Arial");
    insertFont_.Size = 16;
    insertFont_.Color = 0x800000; // navy
    canvasFont_ = insertFont_;
    InsertLines[0] = {QStringLiteral("Write an inlay"), true, taLeftJustify};
}

TWindowLessMan::~TWindowLessMan()
{
    if (videoControl_)
        videoControl_->removeEventFilter(this);
    SetGraph(nullptr);
    delete plaque_;
    delete previewForm_;
}

void TWindowLessMan::SetGraph(Graph *graph)
{
    if (!renderer_)
        return;
    Graph *current = renderer_->GetGraph();
    if (graph == current)
        return;
    if (current)
        current->RemoveFilter(*renderer_);
    if (!graph)
        return;
    graph->AddFilter(renderer_, "KS VideoWindow");
    // The active mode's layout: a graph made while in full screen keeps the picture there.
    if (fullScreen_)
        ApplyFullScreenLayout();
    else
        ApplyWindowLayout();
}

void TWindowLessMan::SetWindow(QWidget *control)
{
    if (window_)
        disconnect(window_, &QObject::destroyed, this, nullptr);
    window_ = control;
    if (control)
        connect(control, &QObject::destroyed, this, &TWindowLessMan::OnWindowDestroyed);
    // A detached video stays in the preview window; it comes back to the new host when embedded.
    if (!detached_)
        SetVideoControl(control);
}

void TWindowLessMan::OnWindowDestroyed()
{
    CreateWindowControls();
    window_ = nullptr;
    if (!detached_) {
        videoControl_ = nullptr; // being destroyed: nothing more to undo on it
        SetVideoControl(nullptr);
    }
}

void TWindowLessMan::SetVideoControl(QWidget *control)
{
    if (videoControl_ && videoControl_ != control) {
        videoControl_->removeEventFilter(this);
        videoControl_->update();
    }
    videoControl_ = control;
    if (!control)
        return;
    // Resizes lay the picture out again; paints draw the bands around it.
    control->installEventFilter(this);
    if (QScreen *screen = MonitorOfVideoControl()) {
        if (!fullScreen_) // a surface in full screen already covers its screen
            plaque_->setGeometry(screen->geometry());
        if (renderer_)
            renderer_->SetMonitor(int(QGuiApplication::screens().indexOf(screen)));
    }
    if (renderer_)
        renderer_->DisplayModeChanged();
    Layout();
}

QScreen *TWindowLessMan::MonitorOfVideoControl() const
{
    return videoControl_ ? videoControl_->screen() : QGuiApplication::primaryScreen();
}

void TWindowLessMan::SetAspect(int x, int y)
{
    displayAspectX_ = x;
    displayAspectY_ = y;
    Layout();
}

void TWindowLessMan::Layout()
{
    if (!videoControl_)
        return;
    if (fullScreen_) {
        const QScreen *screen = MonitorOfVideoControl();
        const QSize size = screen ? screen->geometry().size() : QSize();
        fullScreenRect_ = FitToAspect(displayAspectX_, displayAspectY_, {0, 0, size.width(), size.height()},
                                      fullBorderWidth_, true);
        ApplyFullScreenLayout();
    } else {
        windowRect_ =
            FitToAspect(displayAspectX_, displayAspectY_,
                        {0, 0, videoControl_->width(), videoControl_->height()}, winBorderWidth_, true);
        ApplyWindowLayout();
    }
}

void TWindowLessMan::ApplyWindowLayout()
{
    if (!videoControl_)
        return;
    cleared_ = false;
    if (renderer_) {
        renderer_->SetVideoClippingWindow(videoControl_);
        const RECT destination = ToRECT(windowRect_);
        renderer_->SetVideoPosition(nullptr, &destination);
    }
    PaintBorders();
    RepaintOn(videoControl_);
    ApplyFlips();
}

void TWindowLessMan::ApplyFullScreenLayout()
{
    plaque_->SetShapeColor(ColorToQColor(borderColor_));
    plaque_->Shape->setGeometry(Inflate(fullScreenRect_, fullBorderWidth_).ToQRect());
    plaque_->Shape->raise();
    if (renderer_) {
        renderer_->SetVideoClippingWindow(plaque_);
        const RECT destination = ToRECT(fullScreenRect_);
        renderer_->SetVideoPosition(nullptr, &destination);
    }
    // The hint stays above the picture while it is shown.
    if (!plaque_->PanelQuit->isHidden())
        plaque_->PanelQuit->raise();
    plaque_->raise();
    plaque_->update();
    RepaintOn(plaque_);
}

void TWindowLessMan::PaintBorders()
{
    if (videoControl_)
        videoControl_->update();
}

void TWindowLessMan::PaintBands(QWidget &control)
{
    QPainter painter(&control);
    const QColor own = control.palette().color(control.backgroundRole());
    if (cleared_) {
        painter.fillRect(control.rect(), own);
        return;
    }
    const EdgeRect framed = Inflate(windowRect_, winBorderWidth_);
    FillBand(painter, {0, 0, control.width(), control.height()}, framed, own);
    FillBand(painter, framed, windowRect_, ColorToQColor(borderColor_));
}

void TWindowLessMan::ClearVideoControl()
{
    if (!videoControl_)
        return;
    cleared_ = true;
    // The picture leaves the control until the next window layout places it again.
    if (renderer_ && renderer_->VideoClippingWindow() == videoControl_)
        renderer_->SetVideoClippingWindow(nullptr);
    videoControl_->repaint();
}

void TWindowLessMan::RepaintOn(QWidget *control)
{
    if (control && renderer_)
        renderer_->RepaintVideo(control);
}

void TWindowLessMan::PaintVideo()
{
    PaintBorders();
    RepaintOn(fullScreen_ ? plaque_ : videoControl_.data());
}

bool TWindowLessMan::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == videoControl_) {
        if (event->type() == QEvent::Resize)
            Layout();
        else if (event->type() == QEvent::Paint)
            PaintBands(*videoControl_);
    }
    if (watched == previewForm_ && event->type() == QEvent::Close && caPreviewform_)
        caPreviewform_->SetChecked(false); // closing the detached window embeds the video again
    return TKSActionComponent::eventFilter(watched, event);
}

LRESULT TWindowLessMan::WndProc(uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_DISPLAYCHANGE)
        return TKSActionComponent::WndProc(msg, wParam, lParam);
    if (renderer_)
        renderer_->DisplayModeChanged();
    return 0;
}

// Modes

void TWindowLessMan::SetFullScreen(bool on)
{
    fullScreen_ = on;
    QScreen *screen = MonitorOfVideoControl();
    if (on) {
        if (screen)
            plaque_->setGeometry(screen->geometry());
        plaque_->showFullScreen();
        plaque_->raise();
        plaque_->activateWindow();
        if (hintTimer_->interval() != 0) {
            plaque_->PanelQuit->show();
            plaque_->PanelQuit->raise();
            hintTimer_->start();
        } else {
            plaque_->PanelQuit->hide();
        }
    } else {
        plaque_->hide();
        hintTimer_->stop();
        if (renderer_ && screen)
            renderer_->SetMonitor(int(QGuiApplication::screens().indexOf(screen)));
        // The renderer re-reads the display once the surface is gone.
        MessageWindow::PostMessage(Handle(), WM_DISPLAYCHANGE);
    }
    Layout();
}

void TWindowLessMan::HideHint()
{
    hintTimer_->stop();
    plaque_->PanelQuit->hide();
    plaque_->repaint();
    RepaintOn(plaque_);
}

void TWindowLessMan::SetPreviewForm(bool on)
{
    detached_ = on;
    if (on) {
        previewForm_->setGeometry(ToQRect(previewRect_));
        previewForm_->show();
        previewForm_->raise();
        SetVideoControl(previewForm_);
    } else {
        previewRect_ = FromQRect(previewForm_->geometry());
        previewForm_->hide();
        SetVideoControl(window_);
    }
    Layout();
}

void TWindowLessMan::SetFlipVertical(bool on)
{
    flipVertical_ = on;
    ApplyFlips();
}

void TWindowLessMan::SetFlipHorizontal(bool on)
{
    flipHorizontal_ = on;
    ApplyFlips();
}

void TWindowLessMan::ApplyFlips()
{
    if (!renderer_)
        return;
    NORMALIZEDRECT output;
    output.left = flipHorizontal_ ? 1.0f : 0.0f;
    output.right = flipHorizontal_ ? 0.0f : 1.0f;
    output.top = flipVertical_ ? 1.0f : 0.0f;
    output.bottom = flipVertical_ ? 0.0f : 1.0f;
    renderer_->SetOutputRect(0, output);
}

// Settings of the picture's frame

void TWindowLessMan::SetWinBorderWidth(int width)
{
    winBorderWidth_ = width;
    if (!fullScreen_)
        Layout(); // the picture shrinks or grows with its border at once
}

void TWindowLessMan::SetFullBorderWidth(int width)
{
    fullBorderWidth_ = width;
    if (fullScreen_)
        Layout();
}

void TWindowLessMan::SetBorderColor(TColor color)
{
    borderColor_ = color;
    PaintBorders();
    if (fullScreen_)
        plaque_->SetShapeColor(ColorToQColor(color));
    RepaintOn(videoControl_);
}

void TWindowLessMan::SetBackColor(TColor color)
{
    backColor_ = color;
    plaque_->SetBackColor(ColorToQColor(color));
}

void TWindowLessMan::SetKeepAspectratio(bool on)
{
    keepAspectratio_ = on;
    if (renderer_)
        renderer_->SetAspectRatioMode(on ? VideoMixingRenderer::VMR9ARMode_LetterBox
                                         : VideoMixingRenderer::VMR9ARMode_None);
}

// The inlay

void TWindowLessMan::SetInsertBorderWidth(int width)
{
    insertBorderWidth_ = width;
    RefreshInsert();
}

void TWindowLessMan::SetInsertBorderColor(TColor color)
{
    insertBorderColor_ = color;
    RefreshInsert();
}

void TWindowLessMan::SetInsertTransparency(double alpha)
{
    insertTransparency_ = alpha;
    RefreshInsert();
}

void TWindowLessMan::SetInsertTransparentColor(TColor color)
{
    insertTransparentColor_ = color;
    RefreshInsert();
}

void TWindowLessMan::SetInsertAntiAliasing(bool on)
{
    insertAntiAliasing_ = on;
    RefreshInsert();
}

void TWindowLessMan::SetInsertAlignLines(int alignment)
{
    insertAlignLines_ = alignment;
    if (alignment < taLeftJustify || alignment > taCenter)
        return;
    for (TInsertLine &line : InsertLines)
        line.Alignment = TAlignment(alignment);
    RefreshInsert();
}

void TWindowLessMan::SetInsertFont(const TFont &font)
{
    insertFont_ = font;
    canvasFont_ = font;
    RefreshInsert();
}

void TWindowLessMan::SetInsertPosition(const QPoint &position)
{
    insertPosition_ = position;
    RefreshInsert();
}

void TWindowLessMan::SetInsertAutoSize(bool on)
{
    insertAutoSize_ = on;
    RefreshInsert();
}

void TWindowLessMan::ShowInsert(bool on)
{
    insertShown_ = on;
    if (on)
        DrawInsert();
    else
        HideInsert();
}

void TWindowLessMan::RefreshInsert()
{
    lastRefreshFrames_ = FramesDrawn();
    if (insertShown_)
        DrawInsert();
}

void TWindowLessMan::DrawInsert()
{
    insertShown_ = true;
    int32_t w = 0, h = 0, aspectX = 0, aspectY = 0;
    if (!renderer_ || FAILED(renderer_->GetNativeVideoSize(w, h, aspectX, aspectY)) || w <= 0 || h <= 0)
        return;
    if (insertBitmap_.size() != QSize(w, h))
        insertBitmap_ = QImage(w, h, QImage::Format_RGB32);
    if (insertAutoSize_)
        canvasFont_.Size = std::max(w / 36, h / 28);
    const auto scaled = [](int position, int size) {
        return int(int64_t(std::clamp(position, -KMaxInsertPosition, KMaxInsertPosition)) * size / 10000);
    };
    const QPoint anchor(scaled(insertPosition_.x(), w), scaled(insertPosition_.y(), h));
    const int outline = std::clamp(insertBorderWidth_, 0, KMaxOutlineWidth);
    insertBitmap_.fill(ColorToQColor(insertTransparentColor_));
    {
        QPainter canvas(&insertBitmap_);
        canvas.setFont(ToQFont(canvasFont_));
        canvas.setPen(ColorToQColor(canvasFont_.Color));
        const QColor outlineColor = ColorToQColor(insertBorderColor_);
        for (const TPlacedLine &line : PlaceInsertLines(InsertLines, canvas.fontMetrics(), anchor, outline))
            DrawOutlinedText(canvas, line.topLeft.x(), line.topLeft.y(), insertAntiAliasing_, outline,
                             outlineColor, InsertLines[size_t(line.index)].Text);
    }
    alphaBitmap_ = VMR9AlphaBitmap{};
    alphaBitmap_.dwFlags = VMR9AlphaBitmap_hDC | VMR9AlphaBitmap_SrcColorKey | VMR9AlphaBitmap_FilterMode;
    alphaBitmap_.hdc = &insertBitmap_;
    alphaBitmap_.rSrc = {0, 0, w, h};
    alphaBitmap_.rDest = {0.0f, 0.0f, 1.0f, 1.0f};
    alphaBitmap_.fAlpha = float(insertTransparency_);
    alphaBitmap_.clrSrcKey = ColorToRGB(insertTransparentColor_);
    alphaBitmap_.dwFilterMode = KPointFiltering;
    renderer_->SetAlphaBitmap(alphaBitmap_);
}

bool TWindowLessMan::HideInsert()
{
    insertShown_ = false;
    alphaBitmap_.dwFlags = VMR9AlphaBitmap_Disable;
    return renderer_ && SUCCEEDED(renderer_->SetAlphaBitmap(alphaBitmap_));
}

int TWindowLessMan::FramesDrawn() const
{
    return renderer_ ? renderer_->FramesDrawn() : 0;
}

void TWindowLessMan::SetTimerInterval(int ms)
{
    hintTimer_->setInterval(std::max(ms, 0));
}

// Actions

template <class A> A *TWindowLessMan::Own(const char *internalId) const
{
    return dynamic_cast<A *>(FindByInternalId(QLatin1String(internalId)));
}

template <class A, class T>
void TWindowLessMan::Hook(const char *internalId, void (TWindowLessMan::*setter)(T))
{
    if (A *action = Own<A>(internalId))
        action->InternalApply = [this, setter](const auto &value) { (this->*setter)(value); };
}

void TWindowLessMan::HookCheck(const char *internalId, const QString &trueCaption,
                               const QString &falseCaption, void (TWindowLessMan::*setter)(bool))
{
    auto *action = Own<TCheckAction>(internalId);
    if (!action)
        return;
    action->InternalTrueApply = [this, setter] { (this->*setter)(true); };
    action->InternalFalseApply = [this, setter] { (this->*setter)(false); };
    const QString own = action->ScriptName;
    const QString shownWhenTrue = trueCaption.isEmpty() ? own : trueCaption;
    const QString shownWhenFalse = falseCaption.isEmpty() ? own : falseCaption;
    action->SetTrueCaption(shownWhenTrue);
    action->SetFalseCaption(shownWhenFalse);
    action->SetTrueHint(shownWhenTrue);
    action->SetFalseHint(shownWhenFalse);
}

void TWindowLessMan::CreateActions()
{
    TKSActionComponent::CreateActions();
    for (const char *name : KOwnActions) {
        if (TCustomAbstractAction *action =
                ActionCatalogue::CreateAction(*this, ActionCatalogue::List::vidman, QLatin1String(name)))
            action->Category = QStringLiteral("cat_internal");
    }
}

void TWindowLessMan::LinkActions()
{
    TKSActionComponent::LinkActions();
    caFullscreen_ = Own<TCheckAction>("caFullscreen");
    caPreviewform_ = Own<TCheckAction>("caPreviewform");
}

void TWindowLessMan::InitActions()
{
    TKSActionComponent::InitActions();
    using M = TWindowLessMan;
    HookCheck("caFullscreen", QStringLiteral("Quit fullscreen"), QStringLiteral("Fullscreen"),
              &M::SetFullScreen);
    HookCheck("caFlipVertical", QStringLiteral("Flip vertical"), QStringLiteral("Flip Vertical"),
              &M::SetFlipVertical);
    HookCheck("caFlipHorizontal", QStringLiteral("Flip Horizontal"), QStringLiteral("Flip Horizontal"),
              &M::SetFlipHorizontal);
    HookCheck("caPreviewform", QStringLiteral("Embed the video"), QStringLiteral("Detach the video"),
              &M::SetPreviewForm);
    HookCheck("caInsertTextOn", QStringLiteral("Disable Inlay"), QStringLiteral("Enable inlay"),
              &M::ShowInsert);
    HookCheck("caKeepAspectratio", {}, {}, &M::SetKeepAspectratio);
    HookCheck("caInsertAntiAliasing", {}, {}, &M::SetInsertAntiAliasing);
    if (auto *keepAspect = Own<TCheckAction>("caKeepAspectratio"))
        keepAspect->setEnabled(false);

    Hook<TIntegerAction>("iaFullBorderWidth", &M::SetFullBorderWidth);
    Hook<TIntegerAction>("iaWinBorderWidth", &M::SetWinBorderWidth);
    Hook<TColorAction>("iaBorderColor", &M::SetBorderColor);
    Hook<TColorAction>("iaBackColor", &M::SetBackColor);
    Hook<TIntegerAction>("iaInsertBorderWidth", &M::SetInsertBorderWidth);
    Hook<TColorAction>("iaInsertBorderColor", &M::SetInsertBorderColor);
    Hook<TFontAction>("faInsertFont", &M::SetInsertFont);
    Hook<TColorAction>("iaInsertTransparentColor", &M::SetInsertTransparentColor);
    Hook<TDoubleAction>("daInsertTransparency", &M::SetInsertTransparency);
    Hook<TPointAction>("paInsertPosition", &M::SetInsertPosition);
    Hook<TIntegerAction>("iaTimerInterval", &M::SetTimerInterval);
    Hook<TIntegerAction>("iaInsertAlignLines", &M::SetInsertAlignLines);
    if (auto *align = Own<TIntegerAction>("iaInsertAlignLines")) {
        align->InternalBeforeSave = [this](int &value) {
            value = insertAlignLines_;
            return true;
        };
    }
    HookPreviewSave();

    // The full-screen surface and the detached window answer the component's shortcuts too.
    plaque_->addActions(QList<QAction *>(Actions().begin(), Actions().end()));
    previewForm_->addActions(QList<QAction *>(Actions().begin(), Actions().end()));
}

void TWindowLessMan::HookPreviewSave()
{
    auto *previewSave = Own<TRectAction>("raPreviewSave");
    if (!previewSave)
        return;
    previewSave->SetDefaultValue(KDefaultPreviewRect);
    previewSave->InternalApply = [this](const TRect &bounds) {
        previewRect_ = bounds;
        previewForm_->setGeometry(ToQRect(bounds));
    };
    previewSave->InternalBeforeSave = [this](TRect &bounds) {
        bounds = FromQRect(previewForm_->geometry());
        return true;
    };
}
