#include "NavMan.h"

#include "framework/ActionCatalogue.h"
#include "framework/CheckAction.h"
#include "framework/IntegerAction.h"
#include "framework/NopeAction.h"
#include "framework/WidestringAction.h"
#include "media/AvSource.h"
#include "media/FramesNotifier.h"
#include "media/PositionText.h"
#include "media/StreamMessages.h"
#include "platform/graph/DecoderFilter.h"
#include "platform/graph/KeyFrameIndex.h"
#include "platform/graph/MediaGuids.h"
#include "platform/graph/RendererFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>
#include <QWidget>

TNavMan::TNavMan(QObject *owner) : TDVMan(owner) {}

bool TNavMan::SeekPrecision() const
{
    return seekPrecision_ && seekPrecision_->Checked();
}

// --- Seeking --------------------------------------------------------------------------------

void TNavMan::ShowSeeking(bool seeking)
{
    if (Quiet)
        return;
    if (positionEdit_) {
        QFont font = positionEdit_->font();
        font.setItalic(seeking);
        positionEdit_->setFont(font);
        QPalette palette = positionEdit_->palette();
        palette.setColor(QPalette::Text, seeking ? QColor(0xC0, 0xC0, 0xC0) : QColor(Qt::black));
        positionEdit_->setPalette(palette);
    }
    const TDisplayEvent &event = seeking ? OnDisplaySeek : OnDisplayNormal;
    if (event)
        event();
}

// Runs `seek` unless another one is under way, with the position field showing it.
void TNavMan::RunSeek(const std::function<void()> &seek)
{
    if (seeking_)
        return;
    seeking_ = true;
    ShowSeeking(true);
    seek();
    ShowSeeking(false);
    seeking_ = false;
}

void TNavMan::Seek(bool wait, int64_t position)
{
    if (position >= EndLimit - FrameDuration)
        position = EndLimit - FrameDuration;
    if (position < StartLimit)
        position = StartLimit;
    RunSeek([&] { SeekCore(wait, position); });
}

void TNavMan::SeekCore(bool wait, int64_t position)
{
    try {
        const int state = GraphState();
        const bool playing = state == 3 && FramesNotifier;
        const bool wasActive = playing && FramesNotifier->Active();
        Pause();
        if (onAbsolutePosition)
            onAbsolutePosition(position);
        if (playing)
            FramesNotifier->SetActive(false);
        ApplyPosition(position);
        if (playing)
            FramesNotifier->SetActive(wasActive);
        if (wait)
            WaitRendererSettled();
        if (state == 3)
            Play();
        else
            Pause();
    } catch (...) {
        // A refused command leaves the displays as they were.
    }
}

void TNavMan::ApplyPosition(int64_t position)
{
    if (MediaSeeking->SetTimeFormat(TIME_FORMAT_MEDIA_TIME) != S_OK)
        return;
    uint32_t capabilities = 0;
    if (MediaSeeking->GetCapabilities(capabilities) == E_FAIL || !(capabilities & AM_SEEKING_CanSeekAbsolute))
        return;
    REFERENCE_TIME current = position, stop = INT64_MAX;
    MediaSeeking->SetPositions(&current, AM_SEEKING_AbsolutePositioning, &stop,
                               AM_SEEKING_AbsolutePositioning);
}

void TNavMan::PreciseSeek(int64_t target)
{
    if (target == 0)
        GoStart();
    else if (target >= Duration - FrameDuration)
        GoEnd();
    else if (!FramesNotifier)
        Seek(true, target); // no video: the graph's own position is all there is
    else
        PreciseCore(target);
}

// Whether decoding on from the picture on screen reaches `target` sooner than a seek, which
// starts at the key frame before the target: so when no key frame lies between them. Without the
// container's index, only for a short way.
bool TNavMan::DecodesOnTo(int64_t target) const
{
    const int64_t current = FramesNotifier->CurrentTime;
    if (target <= current || GraphState() != 2)
        return false;
    for (const FilterPtr &filter : GraphBuilder->Filters()) {
        REFERENCE_TIME key;
        if (const auto *index = filter->Query<KeyFrameIndex>();
            index && index->KeyFrameAtOrBefore(target, key))
            return key <= current;
    }
    return target - current <= DecodeOnWithoutIndex;
}

// Every renderer lets go of what it holds and takes the first sample from `mediaTime` on.
void TNavMan::SkipRenderersTo(int64_t mediaTime)
{
    for (const FilterPtr &filter : GraphBuilder->Filters())
        if (auto *renderer = dynamic_cast<::RendererFilter *>(filter.get()))
            renderer->SkipTo(mediaTime);
}

// Decoders leave out the pictures before `mediaTime` nothing refers to (NoTime: none).
void TNavMan::SkipUnreferencedBefore(int64_t mediaTime)
{
    for (const FilterPtr &filter : GraphBuilder->Filters())
        if (auto *decoder = dynamic_cast<DecoderFilter *>(filter.get()))
            decoder->SkipUnreferencedBefore(mediaTime);
}

// The graph is paused. Ahead within the same group of pictures the stream simply decodes on;
// otherwise it is positioned at the target, so the source starts at the key frame before it and
// the segment at the target itself, sound before it is dropped by the audio renderer, and a later
// play goes on from the target without replaying what lies before it. Either way pictures before
// the target are held back and the alarm lets the target through.
void TNavMan::PreciseCore(int64_t target)
{
    RunSeek([&] { HoldBackTo(target); });
}

void TNavMan::HoldBackTo(int64_t target)
{
    try {
        Pause();
        const bool decodeOn = DecodesOnTo(target);
        FramesNotifier->PassSamples = false;
        FramesNotifier->SetAlarmWindow(0, Handle());
        FramesNotifier->SetAlarm(0, target);
        waitingForTarget_ = true;
        if (onAbsolutePosition)
            onAbsolutePosition(target);
        SkipUnreferencedBefore(target - FrameDuration / 2);
        if (decodeOn)
            SkipRenderersTo(target - FrameDuration / 2);
        else
            ApplyPosition(target);
        WaitForTarget();
    } catch (...) {
    }
    SkipUnreferencedBefore(DecoderFilter::NoTime);
    FramesNotifier->ClearAlarm(0);
    FramesNotifier->PassSamples = true;
    waitingForTarget_ = false;
}

// Until the paused renderer holds a picture after the seek's flush: the target, the only one the
// frames notifier lets through. The renderer also settles when the stream ends before the target,
// and the time-out ends the wait whatever happens.
void TNavMan::WaitForTarget()
{
    auto settled = [this] {
        FILTER_STATE state;
        return !RendererFilter || RendererFilter->GetState(0, state) != VFW_S_STATE_INTERMEDIATE;
    };
    MessageWindow::WaitDeliveringSent(settled, PreciseSeekTimeoutMs);
}

// --- Positions and displays ------------------------------------------------------------------

int64_t TNavMan::CurrentPosition()
{
    int64_t position = 0;
    if (FramesNotifier) {
        position = FramesNotifier->CurrentTime;
    } else if (MediaSeeking->GetCurrentPosition(position) != S_OK) {
        return 0;
    }
    const QString text = PositionText(position, FrameDuration);
    if (text == LastPositionText)
        return position;
    LastPositionText = text;
    if (positionEdit_ || slider_ || OnDisplayTime || OnKPosition) {
        if (SliderFollows && slider_)
            slider_->setValue(int(position / SliderUnit));
        if (OnKPosition && EndLimit > StartLimit)
            OnKPosition(int((position - StartLimit) * SliderUnit / (EndLimit - StartLimit)));
        if (onTime)
            onTime(position);
    }
    return position;
}

void TNavMan::ShowFrameTime(const QString &text)
{
    if (positionEdit_ || slider_ || OnDisplayTime || OnKPosition) {
        if (OnDisplayTime)
            OnDisplayTime(text);
        if (EditFollows && positionEdit_)
            positionEdit_->setText(text);
    }
    CurrentPosition();
}

void TNavMan::GoTo(int64_t position)
{
    if (SeekPrecision())
        PreciseSeek(position);
    else
        Seek(true, position);
}

void TNavMan::Forward(int64_t step)
{
    int64_t position = CurrentPosition() + step;
    if (position >= EndLimit)
        position = EndLimit;
    if (position < StartLimit)
        position = StartLimit;
    GoTo(position);
}

void TNavMan::Back(int64_t step)
{
    int64_t position = CurrentPosition() - step;
    if (position < StartLimit)
        position = StartLimit;
    GoTo(position);
}

void TNavMan::GoStart()
{
    Seek(true, StartLimit);
}

// The ordinary seek lands on the key frame before the last position; with precise positioning
// the last frame itself is shown.
void TNavMan::GoEnd()
{
    const int64_t last = EndLimit - FrameDuration;
    if (SeekPrecision() && FramesNotifier && last > StartLimit)
        PreciseCore(last);
    else
        Seek(true, EndLimit);
}

void TNavMan::GoToText(const QString &text)
{
    GoTo(ParsePositionText(text, FrameDuration));
}

void TNavMan::Redisplay()
{
    if (Quiet)
        return;
    Quiet = true;
    if (GraphState() == 2 && FramesNotifier) {
        if (SeekPrecision())
            PreciseSeek(FramesNotifier->CurrentTime);
        else
            Seek(false, FramesNotifier->CurrentTime);
    }
    Quiet = false;
}

void TNavMan::SetRange(bool go, int64_t start, int64_t stop)
{
    EndLimit = stop - FrameDuration;
    StartLimit = start;
    const int64_t last = Duration - FrameDuration;
    if (EndLimit < 0)
        EndLimit = last;
    if (last < StartLimit)
        StartLimit = last;
    if (StartLimit < 0)
        StartLimit = 0;
    if (last < EndLimit)
        EndLimit = last;
    if (EndLimit < StartLimit)
        EndLimit = StartLimit;
    if (go) {
        Seek(true, StartLimit);
        return;
    }
    int64_t position = 0;
    MediaSeeking->GetCurrentPosition(position);
    Seek(true, std::clamp(position, StartLimit, EndLimit));
}

void TNavMan::ReReadLength()
{
    Duration = 0;
    if (MediaSeeking->GetDuration(Duration) != S_OK)
        Duration = 0;
    StartLimit = 0;
    SetFrameDuration(1);
}

void TNavMan::SetFrameDuration(int64_t value)
{
    if (value == 0)
        return;
    FrameDuration = value;
    if (FramesNotifier)
        FramesNotifier->FrameDuration = value;
    EndLimit = Duration - value;
    if (OnDuration)
        OnDuration(PositionText(Duration, value));
    if (slider_)
        slider_->setMaximum(int(EndLimit / SliderUnit));
}

void TNavMan::SetReferenceSource(TavSource *source)
{
    if (referenceSource_ && referenceSource_->Notifier())
        referenceSource_->Notifier()->SetNotifyDuration(false);
    referenceSource_ = source;
    if (source && source->Notifier()) {
        source->Notifier()->SetDurationWindow(Handle());
        source->Notifier()->SetNotifyDuration(true);
    }
}

bool TNavMan::Stop()
{
    const bool wasActive = FramesNotifier && FramesNotifier->Active();
    if (FramesNotifier)
        FramesNotifier->SetActive(false);
    const bool stopped = TDVMan::Stop();
    if (FramesNotifier)
        FramesNotifier->SetActive(wasActive);
    return stopped;
}

void TNavMan::FreeRunning(bool on)
{
    const int state = GraphState();
    GraphBuilder->Stop();
    if (onVitesse)
        onVitesse(on);
    if (on)
        GraphBuilder->SetSyncSource(nullptr);
    else
        GraphBuilder->SetDefaultSyncSource();
    GraphBuilder->Run();
    if (state != 3)
        GraphBuilder->Pause();
    WaitGraphSettled();
}

LRESULT TNavMan::WndProc(uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_FRAMETIME:
        ShowFrameTime(TFramesNotifier::ReadTimeText(wParam));
        return 0;
    case WM_FRAMEDURATION:
        SetFrameDuration(int64_t(int32_t(uint32_t(wParam))));
        return 0;
    case WM_FRAMEALARM:
        if (FramesNotifier)
            FramesNotifier->PassSamples = true;
        waitingForTarget_ = false;
        return 0;
    default:
        return TDVMan::WndProc(msg, wParam, lParam);
    }
}

// --- Position field and slider ---------------------------------------------------------------

void TNavMan::SetPositionEdit(QLineEdit *edit)
{
    if (positionEdit_)
        positionEdit_->removeEventFilter(this);
    positionEdit_ = edit;
    EditFollows = edit != nullptr;
    if (edit)
        edit->installEventFilter(this);
}

bool TNavMan::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != positionEdit_)
        return TDVMan::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn)
        EditFollows = false;
    else if (event->type() == QEvent::FocusOut)
        EditFollows = true;
    else if (event->type() == QEvent::KeyPress && PositionTyping) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            GoToText(positionEdit_->text());
            // The focus moves on to the next control, as a dialog's Enter would.
            QMetaObject::invokeMethod(
                positionEdit_,
                [edit = positionEdit_] {
                    if (edit && edit->nextInFocusChain())
                        edit->nextInFocusChain()->setFocus(Qt::TabFocusReason);
                },
                Qt::QueuedConnection);
            return true;
        }
    }
    return false;
}

void TNavMan::SetSlider(QSlider *slider)
{
    if (slider_)
        slider_->disconnect(this);
    slider_ = slider;
    if (!slider)
        return;
    slider->setMinimum(int(StartLimit / SliderUnit));
    slider->setMaximum(int(EndLimit / SliderUnit));
    SliderFollows = true;
    connect(slider, &QSlider::sliderPressed, this, [this] { SliderFollows = false; });
    connect(slider, &QSlider::sliderReleased, this, [this] {
        SliderFollows = true;
        Seek(true, int64_t(slider_->value()) * SliderUnit);
    });
    connect(slider, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove && !slider_->isSliderDown())
            Seek(true, int64_t(slider_->sliderPosition()) * SliderUnit);
    });
}

// --- Actions ---------------------------------------------------------------------------------

void TNavMan::CreateActions()
{
    ActionCatalogue::CreateActions(*this, ActionCatalogue::List::NavMan);
}

void TNavMan::LinkActions()
{
    seekPrecision_ = qobject_cast<TCheckAction *>(FindByInternalId(QStringLiteral("caSeekPrecision")));
    const std::pair<const char *, const char *> secondary[] = {
        {"naReculeDebut", "Ctrl+Shift+Home"},      {"naRecule10Minutes", "Ctrl+Shift+PgDown"},
        {"naRecule10Secondes", "Ctrl+Shift+Down"}, {"naRecule10Frames", "Ctrl+Shift+Left"},
        {"naAvanceFin", "Ctrl+Shift+End"},         {"naAvance10Minutes", "Ctrl+Shift+PgUp"},
        {"naAvance10Secondes", "Ctrl+Shift+Up"},   {"naAvance10Frames", "Ctrl+Shift+Right"},
    };
    for (const auto &[name, keys] : secondary)
        if (TCustomAbstractAction *action = FindByInternalId(QLatin1String(name)))
            action->SetSecondaryShortcuts({QLatin1String(keys)});
}

void TNavMan::InitNope(const char *name, const char *caption, const char *hint, std::function<void()> handler)
{
    auto *action = qobject_cast<TNopeAction *>(FindByInternalId(QLatin1String(name)));
    if (!action)
        return;
    action->SetCaption(QString::fromUtf8(caption));
    action->SetHint(QString::fromUtf8(hint));
    action->InternalApply = std::move(handler);
}

void TNavMan::InitCheck(const char *name, std::pair<const char *, const char *> captions,
                        std::pair<const char *, const char *> hints, std::function<void()> onTrue,
                        std::function<void()> onFalse)
{
    auto *action = qobject_cast<TCheckAction *>(FindByInternalId(QLatin1String(name)));
    if (!action)
        return;
    action->SetTrueCaption(QString::fromUtf8(captions.first));
    action->SetFalseCaption(QString::fromUtf8(captions.second));
    action->SetTrueHint(QString::fromUtf8(hints.first));
    action->SetFalseHint(QString::fromUtf8(hints.second));
    action->InternalTrueApply = std::move(onTrue);
    action->InternalFalseApply = std::move(onFalse);
}

void TNavMan::InitActions()
{
    InitCheck(
        "caPlay", {"Pause", "Play"}, {"Set Pause", "Play the video and/or Audio Stream"}, [this] { Play(); },
        [this] { Pause(); });
    InitNope("naReculeDebut", "Start", "Move back to start", [this] { GoStart(); });
    InitNope("naReculeTrack", "", "Move back to the previous scene", nullptr);
    InitNope("naRecule10Minutes", "", "Go Back ten minutes", [this] { Back(TenMinutes); });
    InitNope("naReculeMinute", "", "Move back of a minute", [this] { Back(OneMinute); });
    InitNope("naRecule10Secondes", "", "Go back ten seconds", [this] { Back(TenSeconds); });
    InitNope("naReculeSeconde", "", "Move back of a second", [this] { Back(OneSecond); });
    InitNope("naRecule10Frames", "", "Go back ten frames", [this] { Back(10 * FrameDuration); });
    InitNope("naReculeFrame", "", "Go back a frame", [this] { Back(FrameDuration); });
    InitNope("naAvanceFin", "", "Move to the end", [this] { GoEnd(); });
    InitNope("naAvanceTrack", "", "Move forward to the next scene", nullptr);
    InitNope("naAvance10Minutes", "", "Move forward ten minutes", [this] { Forward(TenMinutes); });
    InitNope("naAvanceMinute", "", "Advance of a minute", [this] { Forward(OneMinute); });
    InitNope("naAvance10Secondes", "", "Move forward ten seconds", [this] { Forward(TenSeconds); });
    InitNope("naAvanceSeconde", "", "Move forward one second", [this] { Forward(OneSecond); });
    InitNope("naAvance10Frames", "", "Move forward ten frames", [this] { Forward(10 * FrameDuration); });
    InitNope("naAvanceFrame", "", "Move forward one frame", [this] { Forward(FrameDuration); });
    InitCheck(
        "caVitesseCompatible", {"Compatible speed", "Normal Speed"},
        {"Play video with highest speed compatible with the ressources of the CPU",
         "Play video at normal speed"},
        [this] { FreeRunning(true); }, [this] { FreeRunning(false); });
    if (seekPrecision_) {
        seekPrecision_->SetTrueHint(QStringLiteral("Disable the precise navigation in the video"));
        seekPrecision_->SetFalseHint(QStringLiteral("Enable accurate navigation in the video"));
    }
    if (auto *prepos = qobject_cast<TIntegerAction *>(FindByInternalId(QStringLiteral("iaSeekPrepos")))) {
        prepos->SetHint(QStringLiteral("Timeout used for a precise position (in milliseconds)"));
        // Milliseconds to 100 ns, multiplied in 32 bits.
        prepos->InternalApply = [this](const int &ms) { SeekPrepos = int32_t(uint32_t(ms) * 10000u); };
    }
    if (auto *position =
            qobject_cast<TWidestringAction *>(FindByInternalId(QStringLiteral("waStrPosition")))) {
        position->SetHint(
            QStringLiteral("Select a position in hh: mm: ss: ff (and then press Enter) to play the video. "));
        position->InternalApply = [this](const QString &text) { GoToText(text); };
    }
}
