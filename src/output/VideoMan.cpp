#include "VideoMan.h"

#include "PackedDib.h"

#include "framework/ActionCatalogue.h"
#include "framework/LinkEdit.h"
#include "framework/NopeAction.h"
#include "media/FilterQueries.h"
#include "media/GraphWalks.h"
#include "media/NavMan.h"
#include "media/StreamMessages.h"
#include "media/VideoSource.h"
#include "platform/core/DateTimeFormat.h"
#include "platform/graph/DecoderFilter.h"
#include "platform/graph/VideoMixingRenderer.h"

#include <QFileInfo>
#include <QPainter>
#include <QThread>

namespace
{

// The platform decoder that automatic connection must not pick for H.264.
const Guid DtvDvdDecoder = *Guid::FromString("{212690FB-83E5-4526-8FD7-74478B7939CD}");
const Guid H264Variant = *Guid::FromString("{8D2D71CB-243F-45E3-B2D8-5FD7967EC09B}");

QString GuidText(const Guid &guid)
{
    return QString::fromStdString(guid.ToString());
}

bool IsH264(const Guid &subtype)
{
    const QString code = QString::fromLatin1(reinterpret_cast<const char *>(&subtype.Data1), 4).toLower();
    return code == QLatin1String("h264") || code == QLatin1String("avc1") || subtype == H264Variant;
}

// The 192 x 192 pictures of the message panel: a film frame, crossed out for "no video", with a
// warning sign for "cannot be decoded".
QImage PanelPicture(bool bad)
{
    QImage picture(192, 192, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 6));
    p.setBrush(QColor(0xE0, 0xE0, 0xE0));
    p.drawRoundedRect(QRectF(24, 48, 144, 96), 10, 10);
    p.setBrush(QColor(0x40, 0x40, 0x40));
    for (int x = 36; x < 168; x += 24) {
        p.drawRect(QRectF(x, 56, 10, 8));
        p.drawRect(QRectF(x, 128, 10, 8));
    }
    if (bad) {
        p.setPen(QPen(QColor(0xC0, 0x80, 0x00), 6));
        p.setBrush(QColor(0xFF, 0xD0, 0x40));
        p.drawPolygon(QPolygonF({QPointF(96, 62), QPointF(132, 128), QPointF(60, 128)}));
        p.setPen(QPen(Qt::black, 8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(96, 82), QPointF(96, 106));
        p.drawPoint(QPointF(96, 118));
    } else {
        p.setPen(QPen(QColor(0xC0, 0x00, 0x00), 12, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(32, 32), QPointF(160, 160));
    }
    return picture;
}

} // namespace

TVideoMan::TVideoMan(QObject *owner)
    : TWindowLessMan(owner), framesNotifier_(std::make_shared<TFramesNotifier>()),
      source_(&TVideoSource::NoVideo())
{
    CreateWindowControls();
}

TVideoMan::~TVideoMan()
{
    delete panelText_;
    delete panelPicture_;
}

// --- Connecting ------------------------------------------------------------------------------

Graph *TVideoMan::ManagerGraph() const
{
    return grapheMan_ ? grapheMan_->GraphBuilder : nullptr;
}

Pin *TVideoMan::StreamOutput() const
{
    return source_ && source_->NotifierFilter() ? source_->StreamNotifier()->Output() : nullptr;
}

Pin *TVideoMan::RendererInput() const
{
    return Renderer() ? Renderer()->GetPin(0) : nullptr;
}

bool TVideoMan::ConnectVideo(TavSource *source)
{
    if (!source)
        source = &TVideoSource::NoVideo();
    if (source == source_ && videoState_ == 1)
        return true;
    ClearVideoControl();
    source_ = source;
    if (source == &TVideoSource::NoVideo()) {
        ShowNoVideo();
        return false;
    }
    bool connected = false;
    try {
        connected = ConnectSource();
    } catch (...) {
        connected = false;
    }
    if (Graph *graph = ManagerGraph())
        graph->SetCallback(nullptr);
    if (connected) {
        ShowVideo();
    } else {
        DisconnectVideo(true);
        ShowBadVideo();
    }
    return connected;
}

bool TVideoMan::ConnectSource()
{
    if (!grapheMan_ || !Renderer())
        return false;
    grapheMan_->RendererFilter = Renderer().get();
    if (!source_->ConnectTo(*grapheMan_, Handle()))
        return false;
    SetGraph(nullptr);
    SetGraph(grapheMan_->GraphBuilder);
    grapheMan_->GraphBuilder->SetCallback(this);
    auto *nav = qobject_cast<TNavMan *>(grapheMan_);
    if (nav) {
        nav->FramesNotifier = framesNotifier_.get();
        framesNotifier_->FrameWindow = nav->Handle();
        framesNotifier_->SetActive(true);
    }
    const TAcceptedTypes &types = source_->StreamTypes();
    mediaTypeKey_ = {types.majortype, types.subtype, types.formattype};
    preferredDecoder_ = VideoDecoderLinks().GetDecoder(mediaTypeKey_);
    if (!ConnectChain())
        return false;
    if (OnNotifyVideoDecoder)
        OnNotifyVideoDecoder(decoderName_);
    videoState_ = 1;
    source_->StreamNotifier()->SetNotifyVideo(true);
    if (auto *dv = qobject_cast<TDVMan *>(grapheMan_)) {
        if (!dynamic_cast<TVideoSource *>(dv->DatecodeSource()))
            dv->SetDatecodeSource(source_);
        if (!dynamic_cast<TVideoSource *>(dv->TimecodeSource()))
            dv->SetTimecodeSource(source_);
        if (!dynamic_cast<TVideoSource *>(dv->SceneSource()))
            dv->SetSceneSource(source_);
    }
    if (nav) {
        nav->ReReadLength();
        // The frames notifier told its frame duration while connecting; the length was re-read
        // since, so it is given again rather than waiting for the first picture.
        nav->SetFrameDuration(framesNotifier_->VideoData().AvgTimePerFrame);
        if (!dynamic_cast<TVideoSource *>(nav->ReferenceSource()))
            nav->SetReferenceSource(source_);
    }
    grapheMan_->RemoveUnconnectedFilters();
    return true;
}

// The decoder search: the remembered and candidate decoders first, then the graph's own choice.
// A stream that no decoder takes fails after one pass with the exclusions emptied.
bool TVideoMan::ConnectChain()
{
    bool chained = false;
    for (int pass = 0; pass < 2 && !chained; ++pass) {
        if (searchState_ <= 1) {
            chained = TryNextCandidate();
            if (chained)
                break;
            searchState_ = 2;
            MediaType type;
            if (source_->StreamNotifier()->Input()->ConnectionMediaType(type) == S_OK && IsH264(type.subtype))
                excluded_.insert(GuidText(DtvDvdDecoder));
        }
        chained = IntelligentConnect();
        if (!chained) {
            excluded_.clear();
            searchState_ = 1;
        }
    }
    if (!chained)
        return false;
    if (postFilter_ && postFilter_->ClassId != GUID_NULL && postFilter_->ClassId != decoderClassId_)
        InsertPostFilter();
    return !UseFramesNotifier || InsertFramesNotifier();
}

bool TVideoMan::TryNextCandidate()
{
    if (searchState_ == 0) {
        searchState_ = 1;
        if (preferredDecoder_ && preferredDecoder_->ClassId != GUID_NULL && TryDecoder(preferredDecoder_))
            return true;
    }
    for (++candidateIndex_; candidateIndex_ < int(DecoderCandidates.size()); ++candidateIndex_)
        if (TryDecoder(DecoderCandidates[size_t(candidateIndex_)]))
            return true;
    candidateIndex_ = -1;
    return false;
}

// Puts the record's filter between the stream and the renderer. Our graph prefers no filter
// already added, so the two connections are made through it explicitly.
bool TVideoMan::TryDecoder(TFilterRec *record)
{
    if (!record || record->ClassId == GUID_NULL)
        return IntelligentConnect();
    Graph &graph = *ManagerGraph();
    FilterPtr filter = CreateFilter(*record);
    if (!filter || FAILED(graph.AddFilter(filter, record->Name.toStdString())))
        return false;
    Pin *in = nullptr, *out = nullptr;
    const CaptureGraphBuilder &pins = *grapheMan_->CaptureBuilder;
    pins.FindPin(*filter, PINDIR_INPUT, GUID_NULL, GUID_NULL, false, 0, in);
    pins.FindPin(*filter, PINDIR_OUTPUT, GUID_NULL, GUID_NULL, false, 0, out);
    const bool connected = in && out && SUCCEEDED(graph.Connect(*StreamOutput(), *in)) &&
                           SUCCEEDED(graph.Connect(*out, *RendererInput()));
    if (!connected || !AnyPinConnected(filter.get())) {
        RemoveBetween(Renderer().get(), source_->StreamNotifier(), graph);
        return false;
    }
    NoteDecoder(record->Name, record->IsPrivate, record);
    return true;
}

bool TVideoMan::IntelligentConnect()
{
    Graph &graph = *ManagerGraph();
    if (FAILED(graph.Connect(*StreamOutput(), *RendererInput())))
        return false;
    Filter &first = StreamOutput()->ConnectedTo()->Owner();
    const QString name = QString::fromStdString(first.Name());
    NoteDecoder(name == QLatin1String("KS VideoWindow") ? QString::fromLatin1(NoVideoDecoderName) : name,
                false, nullptr);
    return true;
}

// The filter now fed by the stream notifier is the decoder in use; the links remember its record
// for the stream's type.
void TVideoMan::NoteDecoder(const QString &name, bool isPrivate, TFilterRec *record)
{
    decoderFilter_ = &StreamOutput()->ConnectedTo()->Owner();
    decoderClassId_ = decoderFilter_ == Renderer().get() ? GUID_NULL : decoderFilter_->ClassId();
    // One decoding thread per core. FFmpeg's own count is one more, which keeps one more picture
    // in flight: each seek waits for it, and it holds another frame of memory.
    if (auto *decoder = dynamic_cast<DecoderFilter *>(decoderFilter_))
        decoder->SetThreadCount(QThread::idealThreadCount());
    decoderName_ = name;
    if (!record)
        record = FilterRecs().FindOrAdd(decoderClassId_, name, isPrivate);
    VideoDecoderLinks().SetDecoder(mediaTypeKey_, record);
}

HRESULT TVideoMan::InsertFilterBefore(Filter &filter, Pin &input)
{
    Pin *upstream = input.ConnectedTo();
    if (!upstream)
        return VFW_E_NOT_CONNECTED;
    Graph &graph = *ManagerGraph();
    MediaType type;
    input.ConnectionMediaType(type);
    graph.Disconnect(input);
    HRESULT hr = E_FAIL;
    if (filter.PinCount() >= 2) {
        graph.ConnectDirect(*upstream, *filter.GetPin(0));
        graph.ConnectDirect(*filter.GetPin(1), input);
        if (!filter.GetPin(0)->IsConnected())
            graph.ConnectDirect(*upstream, *filter.GetPin(0));
        if (filter.GetPin(0)->IsConnected() && filter.GetPin(1)->IsConnected())
            hr = S_OK;
    }
    if (FAILED(hr)) {
        for (Pin *pin : filter.Pins())
            graph.Disconnect(*pin);
        graph.ConnectDirect(*upstream, input, &type);
    }
    return hr;
}

bool TVideoMan::InsertFramesNotifier()
{
    Graph &graph = *ManagerGraph();
    graph.AddFilter(framesNotifier_, "Frames Notifier");
    if (SUCCEEDED(InsertFilterBefore(*framesNotifier_, *RendererInput())))
        return true;
    RemoveBetween(Renderer().get(), source_->StreamNotifier(), graph);
    ExcludeDecoder(decoderClassId_);
    graph.RemoveFilter(*framesNotifier_);
    return false;
}

bool TVideoMan::InsertPostFilter()
{
    FilterPtr filter = CreateFilter(*postFilter_);
    if (!filter || FAILED(ManagerGraph()->AddFilter(filter, postFilter_->Name.toStdString())))
        return false;
    return SUCCEEDED(InsertFilterBefore(*filter, *RendererInput()));
}

void TVideoMan::ExcludeDecoder(const Guid &classId)
{
    excluded_.insert(GuidText(classId));
}

HRESULT TVideoMan::SelectedFilter(const Guid &classId)
{
    return excluded_.count(GuidText(classId)) ? E_FAIL : S_OK;
}

bool TVideoMan::DisconnectVideo(bool showPanel)
{
    ClearVideoControl();
    if (grapheMan_ && source_ && source_ != &TVideoSource::NoVideo()) {
        try {
            if (auto *dv = qobject_cast<TDVMan *>(grapheMan_)) {
                if (dv->DatecodeSource() == source_)
                    dv->SetDatecodeSource(nullptr);
                if (dv->TimecodeSource() == source_)
                    dv->SetTimecodeSource(nullptr);
                if (dv->SceneSource() == source_)
                    dv->SetSceneSource(nullptr);
            }
            if (auto *nav = qobject_cast<TNavMan *>(grapheMan_); nav && nav->ReferenceSource() == source_)
                nav->SetReferenceSource(nullptr);
            if (source_->StreamNotifier() &&
                RemoveBetween(Renderer().get(), source_->StreamNotifier(), *grapheMan_->GraphBuilder))
                source_->DisconnectFrom();
            decoderFilter_ = nullptr;
        } catch (...) {
        }
    }
    if (OnNotifyVideoDecoder)
        OnNotifyVideoDecoder(QString::fromLatin1(NoVideoDecoderName));
    if (OnNotifyVideoFormat)
        OnNotifyVideoFormat(QStringLiteral("No Video"));
    source_ = &TVideoSource::NoVideo();
    videoState_ = 0;
    if (showPanel)
        ShowNoVideo();
    if (auto *nav = qobject_cast<TNavMan *>(grapheMan_))
        nav->ReReadLength();
    ClearInlayValues();
    return true;
}

void TVideoMan::ResetDecoderSearch()
{
    if (source_ && source_->StreamNotifier())
        source_->StreamNotifier()->ResetNotifier();
    excluded_.clear();
    candidateIndex_ = -1;
    searchState_ = 0;
}

bool TVideoMan::NextDecoder()
{
    if (!grapheMan_ || !source_ || source_ == &TVideoSource::NoVideo())
        return false;
    try {
        TavSource *source = source_;
        if (searchState_ == 2) {
            ExcludeDecoder(decoderClassId_);
            VideoDecoderLinks().Forget(mediaTypeKey_);
        }
        framesNotifier_->SetActive(false);
        const int state = grapheMan_->GraphState();
        if (state != 1) {
            rememberedState_ = state;
            grapheMan_->GraphBuilder->Stop();
        }
        DisconnectVideo(false);
        SetGraph(nullptr);
        SetGraph(grapheMan_->GraphBuilder);
        grapheMan_->RemoveUnconnectedFilters();
        const bool connected = ConnectVideo(source);
        if (connected) {
            grapheMan_->GraphBuilder->Run();
            if (rememberedState_ != 3)
                grapheMan_->GraphBuilder->Pause();
            grapheMan_->WaitGraphSettled();
        }
        return connected;
    } catch (...) {
        return false;
    }
}

// --- Aspect and format -----------------------------------------------------------------------

void TVideoMan::SetForcedAspect(int mode)
{
    forcedAspect_ = mode;
    ApplyAspect(videoData_);
}

void TVideoMan::ApplyAspect(const TVideoData &data)
{
    if (videoState_ != 1)
        return;
    const int width = std::abs(data.Width), height = std::abs(data.Height);
    switch (forcedAspect_) {
    case 1:
        return SetAspect(4, 3);
    case 2:
        return SetAspect(16, 9);
    case 3:
        return SetAspect(width, height);
    default:
        break;
    }
    switch (data.AspectCode) {
    case 0:
        return SetAspect(4, 3);
    case 1:
        return SetAspect(16, 9);
    case 3:
        return SetAspect(data.PictureAspectX, data.PictureAspectY);
    default:
        return SetAspect(width, height);
    }
}

void TVideoMan::NotifyFormat(const TVideoData &data)
{
    if (OnNotifyVideoFormat)
        OnNotifyVideoFormat(data.Description + QStringLiteral(" - ") + data.SizeText);
}

// --- Capture -----------------------------------------------------------------------------------

bool TVideoMan::GrabCurrentImage(QImage &bitmap)
{
    try {
        std::vector<uint8_t> dib;
        if (!Renderer() || FAILED(Renderer()->GetCurrentImage(dib)))
            return false;
        QImage image = ImageFromPackedDib(std::move(dib));
        if (image.isNull())
            return false;
        bitmap = std::move(image);
        return true;
    } catch (...) {
        return false;
    }
}

// --- Inlay -------------------------------------------------------------------------------------

void TVideoMan::ClearInlayValues()
{
    dvDatePresent_ = timecodePresent_ = sysDatePresent_ = numberPresent_ = timePresent_ = false;
}

// Placeholders in a fixed order, each replacing every occurrence in the text the previous ones
// left: a file name holding "%P" gets the folder, one holding "%N" keeps it.
QString TVideoMan::ExpandPattern(const QString &pattern, const QString &dateFormat) const
{
    QString text = pattern;
    auto replace = [&text](const char *placeholder, bool present, const QString &value) {
        text.replace(QLatin1String(placeholder), present ? value : QString(), Qt::CaseInsensitive);
    };
    replace("%D", dvDatePresent_, FormatDateTime(dateFormat, dvDate_ + dateOffset_));
    replace("%T", timecodePresent_, timecode_);
    replace("%S", timePresent_, time_);
    replace("%R", sysDatePresent_, FormatDateTime(QString(), sysDate_));
    replace("%N", numberPresent_, number_);
    replace("%F", fileNamePresent_, fileName_);
    replace("%P", fileNamePresent_, folder_);
    replace("%E", fileNamePresent_, extension_);
    return text;
}

void TVideoMan::ComposeInsertLines()
{
    for (int i = 0; i < KInsertLineCount; ++i) {
        TInsertLine &line = InsertLines[size_t(i)];
        line.Visible = !InsertPatterns[size_t(i)].isEmpty();
        line.Text =
            line.Visible ? ExpandPattern(InsertPatterns[size_t(i)], DateFormats[size_t(i)]) : QString();
    }
    RefreshInsert();
}

LRESULT TVideoMan::WndProc(uint32_t msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_VIDEODATA: {
        const TVideoData data = TNotifier::ReadVideoData(lParam);
        MessageWindow::ReplyMessage(0);
        videoData_ = data;
        if (wParam == VideoDataPosted)
            NotifyFormat(data);
        else
            ApplyAspect(data);
        return 0;
    }
    case WM_INCRUSTDV: {
        const TIncrustDV dv = TNotifier::ReadInlay(wParam);
        dvDatePresent_ = dv.DateValid;
        timecodePresent_ = dv.TimecodeValid;
        dvDate_ = dv.Datecode;
        timecode_ = dv.TimecodeText;
        break;
    }
    case WM_INCRUSTTIME:
        timePresent_ = true;
        time_ = TFramesNotifier::ReadTimeText(wParam);
        break;
    case WM_INCRUSTSYSDATE: {
        const auto &sysDate = *reinterpret_cast<const TIncrustSysDate *>(wParam);
        sysDatePresent_ = sysDate.Present;
        sysDate_ = sysDate.SysDate;
        break;
    }
    case WM_INCRUSTNUMBER: {
        const auto &number = *reinterpret_cast<const TIncrustNumero *>(wParam);
        numberPresent_ = number.Present;
        number_ = number.Number;
        break;
    }
    case WM_INCRUSTFILENAME: {
        const auto &file = *reinterpret_cast<const TIncrustFileName *>(wParam);
        const QFileInfo info(file.FilePath);
        fileNamePresent_ = file.Present;
        fileName_ = info.completeBaseName();
        folder_ = file.FilePath.left(file.FilePath.lastIndexOf(QLatin1Char('/')) + 1);
        extension_ = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
        break;
    }
    default:
        return TWindowLessMan::WndProc(msg, wParam, lParam);
    }
    ComposeInsertLines();
    return 0;
}

// --- Actions -----------------------------------------------------------------------------------

void TVideoMan::CreateActions()
{
    TWindowLessMan::CreateActions();
    ActionCatalogue::CreateAction(*this, ActionCatalogue::List::vidman, QStringLiteral("naNextDecoderVideo"));
}

void TVideoMan::InitActions()
{
    TWindowLessMan::InitActions();
    if (auto *next = qobject_cast<TNopeAction *>(FindByInternalId(QStringLiteral("naNextDecoderVideo")))) {
        next->SetHint(QStringLiteral("Looks for another Video decoder for the current video."));
        next->InternalApply = [this] { NextDecoder(); };
    }
}

// --- Message panel -----------------------------------------------------------------------------

void TVideoMan::CreateWindowControls()
{
    auto *text = new TLinkEdit();
    text->setFrameShape(QFrame::NoFrame);
    // A label: no scroll bars, and the control's own colour behind the text.
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text->viewport()->setAutoFillBackground(false);
    text->setReadOnly(true);
    text->setFocusPolicy(Qt::NoFocus);
    text->hide();
    panelText_ = text;
    auto *picture = new QLabel();
    picture->setFixedSize(192, 192);
    picture->hide();
    panelPicture_ = picture;
}

void TVideoMan::SetWindow(QWidget *control)
{
    if (!panelText_ || !panelPicture_)
        CreateWindowControls();
    panelText_->setParent(control);
    panelPicture_->setParent(control);
    TWindowLessMan::SetWindow(control);
    if (!VideoControl())
        return;
    if (videoState_ == 1)
        ShowVideo();
    else if (videoState_ == 2)
        ShowBadVideo();
    else
        ShowNoVideo();
}

void TVideoMan::ShowPanel(const QString &text, const QImage &picture)
{
    panelText_->SetRichText(text);
    panelPicture_->setPixmap(QPixmap::fromImage(picture));
    Layout();
}

void TVideoMan::ShowNoVideo()
{
    videoState_ = 0;
    ShowPanel(OnNoVideoStream
                  ? OnNoVideoStream()
                  : QStringLiteral("<color blue>No video stream has been connected</color><br center>"),
              PanelPicture(false));
}

void TVideoMan::ShowBadVideo()
{
    videoState_ = 2;
    ShowPanel(OnBadVideoStream ? OnBadVideoStream()
                               : QStringLiteral("The video stream cannot be decoded<br center>"),
              PanelPicture(true));
}

void TVideoMan::ShowVideo()
{
    videoState_ = 1;
    panelText_->hide();
    panelPicture_->hide();
    TWindowLessMan::Layout();
}

void TVideoMan::Layout()
{
    QWidget *control = VideoControl();
    if (!control || !panelText_ || !panelPicture_)
        return;
    PaintBorders();
    const bool panel = videoState_ != 1;
    panelPicture_->move((control->width() - 192) / 2, panelPicture_->y());
    panelText_->setGeometry(8, control->height() - leHeight - 8, control->width() - 16, leHeight);
    panelPicture_->move(panelPicture_->x(), (panelText_->y() - 192) / 2);
    panelPicture_->setVisible(panel);
    panelText_->setVisible(panel && control->width() > 16);
    if (!panel)
        TWindowLessMan::Layout();
    panelText_->update();
}

void TVideoMan::PaintVideo()
{
    if (videoState_ == 0)
        ShowNoVideo();
    else if (videoState_ == 1)
        TWindowLessMan::PaintVideo();
    else
        ShowBadVideo();
}
