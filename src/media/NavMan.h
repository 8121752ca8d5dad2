#pragma once

#include "media/DVMan.h"

#include <QLineEdit>
#include <QPointer>
#include <QSlider>
#include <QString>
class TCheckAction;
class TFramesNotifier;

// The program's graph manager ("NavMan"): it plays and pauses, moves through the media by
// frames, seconds, minutes and to either end, goes to a typed position, follows a slider and
// shows the position of the picture on screen. Positions are media times in 100 ns units; one
// frame is the video stream's average time per frame, learnt from the notifiers' messages.
//
// A precise seek lands on the exact frame: pictures are held back in the frames notifier, the
// graph is positioned at the target (the source starts at the key frame before it) and, paused,
// decodes up to it; the frames notifier's alarm lets the target picture through, the paused
// renderer keeps it and no later picture can pass it. Every wait is bounded. UI thread only.
class TNavMan : public TDVMan
{
    Q_OBJECT
  public:
    using TAbsolutePositionEvent = std::function<void(int64_t rt)>;
    using TKPositionEvent = std::function<void(int pos)>;
    using TDisplayTimeEvent = std::function<void(const QString &atimeStr)>;
    using TDurationEvent = std::function<void(const QString &aDurationStr)>;
    using TDisplayEvent = std::function<void()>;
    using TTimeEvent = std::function<void(int64_t rt)>;
    using TVitesseEvent = std::function<void(bool isVitesseMaxi)>;

    static constexpr int64_t TenMinutes = 6'000'000'000;
    static constexpr int64_t OneMinute = 600'000'000;
    static constexpr int64_t TenSeconds = 100'000'000;
    static constexpr int64_t OneSecond = 10'000'000;
    static constexpr int SliderUnit = 1024; // 100 ns units per slider step
    // Longest a precise seek waits for its target picture (decoding a long group of pictures at
    // high resolution on a slow machine stays well inside it).
    static constexpr int PreciseSeekTimeoutMs = 30000;
    // How far a precise seek decodes on instead of seeking when the source has no key frame index.
    static constexpr int64_t DecodeOnWithoutIndex = 10'000'000;

    explicit TNavMan(QObject *owner = nullptr);

    int64_t FrameDuration = 0;
    int64_t Duration = 0;
    int64_t StartLimit = 0;
    int64_t EndLimit = INT64_MAX;
    int64_t SeekPrepos = 10'000'000;
    // Set by the video manager when it connects a stream; not owned.
    TFramesNotifier *FramesNotifier = nullptr;
    QString LastPositionText;
    bool Quiet = false;
    bool PositionTyping = false;
    bool EditFollows = false;
    bool SliderFollows = false;

    TAbsolutePositionEvent onAbsolutePosition;
    TKPositionEvent OnKPosition;
    TDisplayTimeEvent OnDisplayTime;
    TDurationEvent OnDuration;
    TDisplayEvent OnDisplaySeek;
    TDisplayEvent OnDisplayNormal;
    TTimeEvent onTime;
    TVitesseEvent onVitesse;

    QLineEdit *PositionEdit() const { return positionEdit_; }
    void SetPositionEdit(QLineEdit *edit);
    QSlider *Slider() const { return slider_; }
    void SetSlider(QSlider *slider);
    TavSource *ReferenceSource() const { return referenceSource_; }
    void SetReferenceSource(TavSource *source);

    // The ordinary seek, clamped to the limits; with `wait`, until the renderer has settled.
    void Seek(bool wait, int64_t position);
    // To the exact frame at `target`; the graph ends paused on it.
    void PreciseSeek(int64_t target);
    // The position of the picture on screen; refreshes the displays when it changed.
    int64_t CurrentPosition();
    void GoStart();
    void GoEnd();
    void Forward(int64_t step);
    void Back(int64_t step);
    void GoToText(const QString &text);
    void SetRange(bool go, int64_t start, int64_t stop);
    void ReReadLength();
    void SetFrameDuration(int64_t value);
    void Redisplay();
    // Plays without a reference clock (as fast as the machine allows) when on.
    void FreeRunning(bool on);
    bool Stop() override;

    // Whether positioning goes to exact frames (the "SeekPrecision" setting).
    bool SeekPrecision() const;

  protected:
    LRESULT WndProc(uint32_t msg, WPARAM wParam, LPARAM lParam) override;
    void CreateActions() override;
    void LinkActions() override;
    void InitActions() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void SeekCore(bool wait, int64_t position);
    void ApplyPosition(int64_t position);
    void RunSeek(const std::function<void()> &seek);
    void PreciseCore(int64_t target);
    void HoldBackTo(int64_t target);
    bool DecodesOnTo(int64_t target) const;
    void SkipRenderersTo(int64_t mediaTime);
    void SkipUnreferencedBefore(int64_t mediaTime);
    void WaitForTarget();
    void ShowSeeking(bool seeking);
    void ShowFrameTime(const QString &text);
    void GoTo(int64_t position);
    void InitNope(const char *name, const char *caption, const char *hint, std::function<void()> handler);
    // Captions and hints as (checked, unchecked).
    void InitCheck(const char *name, std::pair<const char *, const char *> captions,
                   std::pair<const char *, const char *> hints, std::function<void()> onTrue,
                   std::function<void()> onFalse);

    bool seeking_ = false;
    bool waitingForTarget_ = false;
    TavSource *referenceSource_ = nullptr;
    QPointer<QLineEdit> positionEdit_;
    QPointer<QSlider> slider_;
    TCheckAction *seekPrecision_ = nullptr;
};
