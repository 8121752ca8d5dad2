#pragma once

#include "media/DecoderLinks.h"
#include "media/FramesNotifier.h"
#include "media/VideoData.h"
#include "output/WindowLessMan.h"
#include "platform/core/DateTime.h"
#include "platform/graph/GraphBuilderCallback.h"

#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <array>
#include <functional>
#include <set>

class TavSource;
class TGrapheMan;
class TLinkEdit;
class TNavMan;

// The inlay values the main window sends (wParam of WM_INCRUSTSYSDATE, WM_INCRUSTNUMBER,
// WM_INCRUSTFILENAME).
struct TIncrustSysDate {
    bool Present = false;
    TDateTime SysDate = 0;
};
struct TIncrustNumero {
    bool Present = false;
    QString Number;
};
struct TIncrustFileName {
    bool Present = false;
    QString FilePath;
};

// The windowless renderer's manager extended with the video stream of the media on show: it
// connects a source's video stream to the renderer through a decoder it searches for (and lets
// the user cycle to another), puts the frames notifier in front of the renderer, derives the
// display aspect from the stream, shows a message panel when there is no video or it cannot be
// decoded, expands the inlay patterns, and copies the picture on screen for the grab command.
// UI thread only; streaming threads reach it through its hidden window.
class TVideoMan : public TWindowLessMan, public GraphBuilderCallback
{
    Q_OBJECT
  public:
    using TNotifyStringEvent = std::function<void(const QString &text)>;
    using TErrorPanelEvent = std::function<QString()>;

    static constexpr const char *NoVideoDecoderName = "No Video Decoder";

    explicit TVideoMan(QObject *owner = nullptr);
    ~TVideoMan() override;

    TNotifyStringEvent OnNotifyVideoDecoder;
    TNotifyStringEvent OnNotifyVideoFormat;
    TErrorPanelEvent OnNoVideoStream;
    TErrorPanelEvent OnBadVideoStream;
    int leHeight = 32;

    // The graph manager the sources connect to (the navigation manager).
    void SetGrapheMan(TGrapheMan *manager) { grapheMan_ = manager; }

    // 0 no video, 1 video shown, 2 video present but not decodable.
    int VideoState() const { return videoState_; }
    TavSource *CurrentSource() const { return source_; }
    const QString &DecoderName() const { return decoderName_; }
    const Guid &DecoderClassId() const { return decoderClassId_; }
    const TVideoData &VideoData() const { return videoData_; }
    TFramesNotifier &FramesNotifier() const { return *framesNotifier_; }

    bool ConnectVideo(TavSource *source);
    bool DisconnectVideo(bool showPanel);
    void ResetDecoderSearch();
    bool NextDecoder();

    std::vector<TFilterRec *> DecoderCandidates;
    void SetPostFilter(TFilterRec *record) { postFilter_ = record; }
    bool UseFramesNotifier = true;
    // Class ids (brace form) automatic connection must not choose.
    const std::set<QString> &ExcludedDecoders() const { return excluded_; }

    int ForcedAspect() const { return forcedAspect_; }
    // 0 from the stream, 1 4:3, 2 16:9, 3 the picture's stored size.
    void SetForcedAspect(int mode);
    void SetDateOffset(double days) { dateOffset_ = days; }

    // The eight inlay patterns and their %D formats; the main window writes lines 0 and 1.
    std::array<QString, KInsertLineCount> InsertPatterns;
    std::array<QString, KInsertLineCount> DateFormats;
    void ComposeInsertLines();

    // The picture on screen at its native size, with the inlay as shown; false when none.
    bool GrabCurrentImage(QImage &bitmap);

    HRESULT SelectedFilter(const Guid &classId) override;
    // The host control; the panel matching the video state is shown on it.
    void SetWindow(QWidget *control) override;

  protected:
    LRESULT WndProc(uint32_t msg, WPARAM wParam, LPARAM lParam) override;
    void CreateActions() override;
    void InitActions() override;
    void CreateWindowControls() override;
    void Layout() override;
    void PaintVideo() override;

  private:
    bool ConnectSource();
    bool ConnectChain();
    bool TryNextCandidate();
    bool TryDecoder(TFilterRec *record);
    bool IntelligentConnect();
    void NoteDecoder(const QString &name, bool isPrivate, TFilterRec *record);
    HRESULT InsertFilterBefore(Filter &filter, Pin &input);
    bool InsertFramesNotifier();
    bool InsertPostFilter();
    void ExcludeDecoder(const Guid &classId);
    void ApplyAspect(const TVideoData &data);
    void NotifyFormat(const TVideoData &data);
    void ShowNoVideo();
    void ShowBadVideo();
    void ShowVideo();
    void ShowPanel(const QString &text, const QImage &picture);
    void ClearInlayValues();
    QString ExpandPattern(const QString &pattern, const QString &dateFormat) const;
    Pin *StreamOutput() const;
    Pin *RendererInput() const;
    Graph *ManagerGraph() const;

    TGrapheMan *grapheMan_ = nullptr;
    TavSource *source_ = nullptr;
    int videoState_ = 0;
    int searchState_ = 0;
    int candidateIndex_ = -1;
    bool searchedWithoutExclusions_ = false;
    TFilterRec *preferredDecoder_ = nullptr;
    TFilterRec *postFilter_ = nullptr;
    std::set<QString> excluded_;
    MediaTypeKey mediaTypeKey_{};
    Filter *decoderFilter_ = nullptr;
    Guid decoderClassId_;
    QString decoderName_;
    std::shared_ptr<TFramesNotifier> framesNotifier_;
    int rememberedState_ = 0; // graph state NextDecoder returns to: 0 none, 2 paused, 3 running

    TVideoData videoData_;
    int forcedAspect_ = 0;

    // Inlay values, each with its present mark.
    bool dvDatePresent_ = false, timecodePresent_ = false, timePresent_ = false, sysDatePresent_ = false,
         numberPresent_ = false, fileNamePresent_ = false;
    TDateTime dvDate_ = 0, sysDate_ = 0;
    QString timecode_, time_, number_, fileName_, folder_, extension_;
    double dateOffset_ = 0;

    QPointer<TLinkEdit> panelText_;
    QPointer<QLabel> panelPicture_;
};
