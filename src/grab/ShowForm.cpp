#include "ShowForm.h"

#include "grab/AbortFlag.h"
#include "grab/DossiersFrame.h"
#include "grab/ExtraireFrame.h"
#include "grab/FindAction.h"
#include "grab/GrabSource.h"
#include "grab/ImageName.h"
#include "grab/SnapshotScaler.h"
#include "grab/SnapshotWriter.h"
#include "grab/VideoGrabSource.h"

#include "files/FichierMan.h"
#include "framework/BooleanAction.h"
#include "framework/CheckAction.h"
#include "framework/IntegerAction.h"
#include "framework/NopeAction.h"
#include "framework/ProgramIdentity.h"
#include "framework/WidestringAction.h"
#include "media/DecoderLinks.h"
#include "media/NavMan.h"
#include "media/VideoSource.h"
#include "output/VideoMan.h"
#include "platform/shell/DesktopShell.h"
#include "platform/shell/DialogService.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSlider>
#include <QUrl>

#include <climits>

using L = ActionCatalogue::List;

namespace
{

constexpr int SidePanelWidth = 276;
constexpr int SidePanelTop = 56; // below the title bar
constexpr int TitleBarHeight = 26;
constexpr int InformationBarTop = 28;
constexpr int InformationLineHeight = 14; // two lines: formats above, decoders below
constexpr int BottomBarHeight = 26;
constexpr int BottomBarFromBottom = 24;
constexpr int ThumbnailPanelMargin = 80; // the thumbnail panel is this much shorter than the window
constexpr int NavigationStripHeight = 28;
constexpr int PanelGap = 4;
// The active-panel values of the image settings and of the thumbnail.
constexpr int ImageSettingsPanel = 1;
constexpr int ThumbnailPanel = 2;

const QColor ExistingNameColor(0, 128, 0);
const QColor NewNameColor(128, 0, 0);
const QColor LoadingTitleColor(128, 128, 128);
const QColor TitleColor(0, 0, 128);

enum OverwriteAnswer { Yes, No, Cancel, YesToAll };

bool IsLeft(const QEvent *event, QEvent::Type type)
{
    return event->type() == type && static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton;
}

bool IsLeftClick(const QEvent *event)
{
    return IsLeft(event, QEvent::MouseButtonRelease);
}

void SetTextColor(QLabel *label, const QColor &color)
{
    QPalette look = label->palette();
    look.setColor(QPalette::WindowText, color);
    label->setPalette(look);
}

QLabel *NewInformationLabel(QWidget *bar, Qt::Alignment alignment)
{
    auto *label = new QLabel(bar);
    label->setAlignment(alignment | Qt::AlignVCenter);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    return label;
}

} // namespace

TShowForm::TShowForm(const QString &programFolder, RegistryStore *registry)
    : gp(QStringLiteral("Kestrin"), programFolder, registry), switch_(this)
{
    setWindowTitle(QStringLiteral("%1 by %2").arg(ProgramIdentity::Title(), ProgramIdentity::Maker()));
    resize(960, 640);
    gp.version = ProgramIdentity::Title() + QStringLiteral(" by ") + ProgramIdentity::Maker();
    gp.OnLoadPrefs = [this](TTessalyPreferences &store) { LoadPreferences(store); };
    gp.OnSavePrefs = [this](TTessalyPreferences &store) { SavePreferences(store); };
    switch_.MainWindow = this;
    CreateLists();
    LinkActions();
    CreatePanels();
    HookNamingActions();
    HookSettingCommands();
    HookGrabActions();
    CreateManagers();
}

TShowForm::~TShowForm()
{
    // The graph goes before the sources the factory owns and the renderer the video manager owns.
    SetGrabSource(nullptr);
    ReleaseMedia();
    vidman->SetGraph(nullptr);
    NavMan->GraphBuilder->Clear();
}

void TShowForm::CreateLists()
{
    // Hook order of the switch: the main window's lists; the script window's take no switches.
    const L order[] = {L::am,     L::gpal,   L::vidman,    L::audman,
                       L::NavMan, L::ficman, L::al_script, L::ficman_script};
    for (L which : order) {
        TCustomKSActionList *list = nullptr;
        if (which == L::NavMan) {
            list = NavMan = new TNavMan(this);
            NavMan->Loaded();
        } else if (which == L::vidman) {
            list = vidman = new TVideoMan(this);
            vidman->Loaded();
        } else if (which == L::ficman) {
            list = ficman = new TFichierMan(which, this);
            ficman->Loaded();
        } else {
            list = new TKSActionList(this);
            ActionCatalogue::CreateActions(*list, which);
        }
        list->setObjectName(ActionCatalogue::ListName(which));
        if (which != L::al_script && which != L::ficman_script)
            list->SetSwitch(&switch_);
        lists_[which] = list;
    }
}

void TShowForm::InKey(TTessalyPreferences &store, const QString &key, std::initializer_list<L> lists,
                      bool load)
{
    store.OpenKey(key);
    for (L which : lists) {
        if (load)
            lists_.at(which)->LoadFromPrefs(store);
        else
            lists_.at(which)->SaveToPrefs(store);
    }
    store.CloseKey();
}

void TShowForm::LoadPreferences(TTessalyPreferences &store)
{
    InKey(store, QStringLiteral("ScriptForm"), {L::al_script, L::ficman_script}, true);
    InKey(store, QStringLiteral("ShowForm"), {L::am, L::vidman, L::audman, L::NavMan, L::gpal, L::ficman},
          true);
    if (store.OpenKey(QStringLiteral("VideoDecoders")))
        VideoDecoderLinks().LoadLinks(store.Backend());
    store.CloseKey();
}

void TShowForm::SavePreferences(TTessalyPreferences &store)
{
    InKey(store, QStringLiteral("ShowForm"), {L::ficman, L::gpal, L::NavMan, L::audman, L::vidman, L::am},
          false);
    if (store.OpenKey(QStringLiteral("VideoDecoders")))
        VideoDecoderLinks().SaveLinks(store.Backend());
    store.CloseKey();
    InKey(store, QStringLiteral("ScriptForm"), {L::ficman_script, L::al_script}, false);
}

void TShowForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!std::exchange(shownOnce_, true)) {
        gp.LoadAtStart();
        switch_.WindowShown();
    }
}

void TShowForm::closeEvent(QCloseEvent *event)
{
    if (gp.SaveAtClosing())
        event->accept();
    else
        event->ignore();
}

bool TShowForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        LayoutPanels();
    else if ((watched == panelImage || watched == ImageLab) && IsLeftClick(event))
        OpenSaveFolder();
    else if ((watched == PanelTitre || watched == EnCoursLab) && IsLeftClick(event) && !videoPath_.isEmpty())
        DesktopShell::RevealInFileManager(videoPath_);
    else if (watched == videoPanel && IsLeft(event, QEvent::MouseButtonPress))
        ClickOnVideo();
    return QMainWindow::eventFilter(watched, event);
}

void TShowForm::CreatePanels()
{
    auto *client = new QWidget(this);
    setCentralWidget(client);
    client->installEventFilter(this);
    CreateTitleAndInformationBars(client);
    SaveImagesFrame = new TDossiersFrame(ActionList(L::gpal), client);
    SaveImagesFrame->hide();
    ExtraireFrame = new TExtraireFrame(client);
    ExtraireFrame->hide();
    videoPanel = new QWidget(client);
    videoPanel->setObjectName(QStringLiteral("videoPanel"));
    videoPanel->installEventFilter(this);
    navigationStrip_ = new QWidget(client);
    PositionEdit = new QLineEdit(navigationStrip_);
    PositionEdit->setObjectName(QStringLiteral("PositionEdit"));
    PositionSlider = new QSlider(Qt::Horizontal, navigationStrip_);
    DureeLab = new QLabel(navigationStrip_);
    navigationStrip_->hide(); // until a video is open
    panelImage = new QFrame(client);
    panelImage->setObjectName(QStringLiteral("panelImage"));
    panelImage->installEventFilter(this);
    ImageLab = new QLabel(panelImage);
    ImageLab->setObjectName(QStringLiteral("ImageLab"));
    ImageLab->setCursor(Qt::PointingHandCursor);
    ImageLab->installEventFilter(this);
    ImageLab->hide(); // until a video is open
    connect(ExtraireFrame, &TExtraireFrame::SnapNameClicked, this, &TShowForm::SaveSnapshotConfirmed);
    connect(ExtraireFrame, &TExtraireFrame::ThumbnailClicked, this, &TShowForm::ReturnToSnapshotPosition);
}

// The title bar names the video on show; a click on it shows the file in the file manager. The
// information bar, hidden until a video opens, tells the video's format and decoder on the left
// and the sound's on the right.
void TShowForm::CreateTitleAndInformationBars(QWidget *client)
{
    PanelTitre = new QFrame(client);
    PanelTitre->setFrameShape(QFrame::StyledPanel);
    PanelTitre->setCursor(Qt::PointingHandCursor);
    PanelTitre->installEventFilter(this);
    EnCoursLab = new QLabel(PanelTitre);
    EnCoursLab->setObjectName(QStringLiteral("EnCoursLab"));
    QFont bold = EnCoursLab->font();
    bold.setBold(true);
    EnCoursLab->setFont(bold);
    EnCoursLab->installEventFilter(this);
    PanelHaut = new QFrame(client);
    PanelHaut->setObjectName(QStringLiteral("PanelHaut"));
    labFormatVideo = NewInformationLabel(PanelHaut, Qt::AlignLeft);
    labDecoderVideo = NewInformationLabel(PanelHaut, Qt::AlignLeft);
    labFormatAudio = NewInformationLabel(PanelHaut, Qt::AlignRight);
    labDecoderAudio = NewInformationLabel(PanelHaut, Qt::AlignRight);
    PanelHaut->hide();
}

void TShowForm::ShowTitle(const QString &text, const QColor &color)
{
    EnCoursLab->setText(text);
    SetTextColor(EnCoursLab, color);
}

void TShowForm::LayoutInformationBar()
{
    const int half = PanelHaut->width() / 2;
    labFormatVideo->setGeometry(2, 0, half - 4, InformationLineHeight);
    labDecoderVideo->setGeometry(2, InformationLineHeight, half - 4, InformationLineHeight);
    labFormatAudio->setGeometry(half - 2, 0, half - 4, InformationLineHeight);
    labDecoderAudio->setGeometry(half - 2, InformationLineHeight, half - 4, InformationLineHeight);
}

void TShowForm::LayoutPanels()
{
    const QSize client = centralWidget()->size();
    const QRect sidePanel(a_.iaLeftFrame->Value(), SidePanelTop, SidePanelWidth,
                          client.height() - ThumbnailPanelMargin);
    SaveImagesFrame->setGeometry(sidePanel);
    ExtraireFrame->setGeometry(sidePanel);
    panelImage->setGeometry(0, client.height() - BottomBarFromBottom, client.width(), BottomBarHeight);
    // The video fills what the side panel leaves, above the navigation strip.
    const bool panelLeft = sidePanel.center().x() < client.width() / 2;
    const int videoLeft = panelLeft ? sidePanel.right() + 1 + PanelGap : PanelGap;
    const int videoRight = panelLeft ? client.width() - PanelGap : sidePanel.left() - PanelGap;
    const int stripTop = panelImage->y() - NavigationStripHeight - PanelGap;
    const int videoWidth = std::max(0, videoRight - videoLeft);
    PanelTitre->setGeometry(0, 0, client.width(), TitleBarHeight);
    EnCoursLab->setGeometry(PanelTitre->rect().adjusted(8, 0, -8, 0));
    PanelHaut->setGeometry(videoLeft, InformationBarTop, videoWidth, 2 * InformationLineHeight);
    LayoutInformationBar();
    const int videoTop = PanelHaut->geometry().bottom() + 1 + PanelGap;
    videoPanel->setGeometry(videoLeft, videoTop, videoWidth, std::max(0, stripTop - PanelGap - videoTop));
    navigationStrip_->setGeometry(videoLeft, stripTop, videoPanel->width(), NavigationStripHeight);
    PositionEdit->setGeometry(0, 2, 96, NavigationStripHeight - 4);
    DureeLab->setGeometry(navigationStrip_->width() - 88, 2, 88, NavigationStripHeight - 4);
    PositionSlider->setGeometry(104, 2, std::max(0, navigationStrip_->width() - 200),
                                NavigationStripHeight - 4);
    ImageLab->setGeometry(panelImage->rect().adjusted(4, 0, -4, 0));
}

void TShowForm::LinkActions()
{
    const TCustomKSActionList &main = ActionList(L::gpal);
    a_.waDossierSave = FindAction<TWidestringAction>(main, "waDossierSave");
    a_.waDefaultRacine = FindAction<TWidestringAction>(main, "waDefaultRacine");
    a_.waStrPosition = FindAction<TWidestringAction>(ActionList(L::NavMan), "waStrPosition");
    a_.iaNomFichierImage = FindAction<TIntegerAction>(main, "iaNomFichierImage");
    a_.iaRacineLength = FindAction<TIntegerAction>(main, "iaRacineLength");
    a_.iaImageAjouter = FindAction<TIntegerAction>(main, "iaImageAjouter");
    a_.iaDigits = FindAction<TIntegerAction>(main, "iaDigits");
    a_.iaNextNum = FindAction<TIntegerAction>(main, "iaNextNum");
    a_.iaImageExtension = FindAction<TIntegerAction>(main, "iaImageExtension");
    a_.iaJpegCompressionQuality = FindAction<TIntegerAction>(main, "iaJpegCompressionQuality");
    a_.iaForcerAspectRatio = FindAction<TIntegerAction>(main, "iaForcerAspectRatio");
    a_.iaPanneauActif = FindAction<TIntegerAction>(main, "iaPanneauActif");
    a_.iaLeftFrame = FindAction<TIntegerAction>(main, "iaLeftFrame");
    a_.baLimiterLongueur = FindAction<TBooleanAction>(main, "baLimiterLongueur");
    a_.baConfirmerImage = FindAction<TBooleanAction>(main, "baConfirmerImage");
    a_.baRAZWhenOpenFile = FindAction<TBooleanAction>(main, "baRAZWhenOpenFile");
    a_.baImageDeinterlacer = FindAction<TBooleanAction>(main, "baImageDeinterlacer");
    a_.baSauverQuandClic = FindAction<TBooleanAction>(main, "baSauverQuandClic");
    a_.naGrab = FindAction<TNopeAction>(main, "naGrab");
    a_.naCopy = FindAction<TNopeAction>(main, "naCopy");
    a_.naShowExtraireFrame = FindAction<TNopeAction>(main, "naShowExtraireFrame");
    a_.naShowSaveImagesFrame = FindAction<TNopeAction>(main, "naShowSaveImagesFrame");
    a_.naAjouterTimeStamp = FindAction<TNopeAction>(main, "naAjouterTimeStamp");
    a_.naAjouterNumero = FindAction<TNopeAction>(main, "naAjouterNumero");
    a_.naJpegExtension = FindAction<TNopeAction>(main, "naJpegExtension");
    a_.naBmpExtension = FindAction<TNopeAction>(main, "naBmpExtension");
    a_.naForcerNormal = FindAction<TNopeAction>(main, "naForcerNormal");
    a_.naForcer4x3 = FindAction<TNopeAction>(main, "naForcer4x3");
    a_.naForcer16x9 = FindAction<TNopeAction>(main, "naForcer16x9");
    a_.naForcerNative = FindAction<TNopeAction>(main, "naForcerNative");
    a_.caIntervalloShow = FindAction<TCheckAction>(main, "caIntervalloShow");
    a_.caSliders = FindAction<TCheckAction>(main, "caSliders");
    a_.caFullscreen = FindAction<TCheckAction>(ActionList(L::vidman), "caFullscreen");
    a_.caPlay = FindAction<TCheckAction>(ActionList(L::NavMan), "caPlay");
}

void TShowForm::HookNamingActions()
{
    a_.waDossierSave->InternalDefault = [](QString &folder) {
        folder = ImageName::DefaultPicturesFolder();
        return true;
    };
    auto rebuild = [this] { RebuildNextImageName(); };
    auto renumber = [this] {
        emit NumberTextChanged(NumberText());
        RebuildNextImageName();
    };
    for (TWidestringAction *text : {a_.waDossierSave, a_.waDefaultRacine})
        text->InternalApply = [rebuild](const QString &) { rebuild(); };
    for (TIntegerAction *number :
         {a_.iaNomFichierImage, a_.iaRacineLength, a_.iaImageAjouter, a_.iaImageExtension})
        number->InternalApply = [rebuild](int) { rebuild(); };
    a_.baLimiterLongueur->InternalApply = [rebuild](bool) { rebuild(); };
    for (TIntegerAction *number : {a_.iaDigits, a_.iaNextNum})
        number->InternalApply = [renumber](int) { renumber(); };
}

void TShowForm::HookSettingCommands()
{
    // Commands that only set an integer setting; they carry no state of their own.
    const struct {
        TNopeAction *command;
        TIntegerAction *setting;
        int value;
    } setters[] = {
        {a_.naAjouterTimeStamp, a_.iaImageAjouter, 0},  {a_.naAjouterNumero, a_.iaImageAjouter, 1},
        {a_.naBmpExtension, a_.iaImageExtension, 0},    {a_.naJpegExtension, a_.iaImageExtension, 1},
        {a_.naForcerNormal, a_.iaForcerAspectRatio, 0}, {a_.naForcer4x3, a_.iaForcerAspectRatio, 1},
        {a_.naForcer16x9, a_.iaForcerAspectRatio, 2},   {a_.naForcerNative, a_.iaForcerAspectRatio, 3},
    };
    for (const auto &s : setters)
        s.command->InternalApply = [setting = s.setting, value = s.value] { setting->SetValue(value); };
}

void TShowForm::HookGrabActions()
{
    a_.naGrab->InternalApply = [this] { Grab(); };
    a_.naCopy->InternalApply = [this] { Copy(); };
    a_.naShowExtraireFrame->InternalApply = [this] { a_.iaPanneauActif->SetValue(ThumbnailPanel); };
    a_.naShowSaveImagesFrame->InternalApply = [this] { a_.iaPanneauActif->SetValue(ImageSettingsPanel); };
    a_.iaPanneauActif->InternalApply = [this](int panel) { ShowPanel(panel); };
    a_.iaForcerAspectRatio->InternalApply = [this](int mode) {
        if (source_)
            source_->SetForcedAspect(mode);
    };
    // Nothing to grab until a video is open.
    a_.naGrab->setEnabled(false);
    a_.naCopy->setEnabled(false);
}

void TShowForm::SetGrabSource(TGrabSource *source)
{
    source_ = source;
    if (source_)
        source_->SetForcedAspect(a_.iaForcerAspectRatio->Value());
}

void TShowForm::ShowPanel(int panel)
{
    const std::pair<QWidget *, int> panels[] = {{SaveImagesFrame, ImageSettingsPanel},
                                                {ExtraireFrame, ThumbnailPanel}};
    for (const auto &[widget, number] : panels) {
        widget->setVisible(panel == number);
        if (panel == number)
            widget->raise();
    }
}

void TShowForm::SetGrabCommandsEnabled(bool enabled)
{
    if (!enabled && a_.caSliders->Checked())
        a_.caSliders->SetChecked(false);
    for (QAction *command :
         std::initializer_list<QAction *>{a_.naGrab, a_.naCopy, a_.caIntervalloShow, a_.caSliders})
        command->setEnabled(enabled);
    if (enabled)
        a_.caFullscreen->setEnabled(true);
}

void TShowForm::VideoOpened(const QString &path, bool hasVideoStream, const QSize &pictureSize)
{
    videoPath_ = path;
    videoStream_ = hasVideoStream;
    SetGrabCommandsEnabled(hasVideoStream);
    ImageLab->setVisible(hasVideoStream);
    RebuildNextImageName();
    // A frame of the previous video must not be saved under this one's name.
    capturedFrame_ = QImage();
    snapshot_ = QImage(pictureSize, QImage::Format_RGB888);
    snapshot_.fill(Qt::black);
    snapshotSaved_ = false;
    ExtraireFrame->SetPictureSize(pictureSize);
    if (a_.baRAZWhenOpenFile->Value())
        a_.iaNextNum->SetValue(1);
}

void TShowForm::VideoClosed()
{
    videoPath_.clear();
    videoStream_ = false;
    SetGrabCommandsEnabled(false);
    ImageLab->hide();
    capturedFrame_ = QImage();
    ExtraireFrame->Clear();
}

QString TShowForm::NumberText() const
{
    return ImageName::NumberText(a_.iaNextNum->Value(), a_.iaDigits->Value());
}

QString TShowForm::TimeStampText() const
{
    return source_ ? ImageName::TimeStampText(source_->CurrentTime(), source_->FrameDuration())
                   : ImageName::TimeStampText(0, 0);
}

void TShowForm::RebuildNextImageName()
{
    imageRoot_ = ImageName::Root(a_.iaNomFichierImage->Value(), a_.waDefaultRacine->Value(), videoPath_,
                                 a_.baLimiterLongueur->Value(), a_.iaRacineLength->Value());
    const int ajouter = a_.iaImageAjouter->Value();
    // Any other value keeps the last path whole, extension included.
    if (ajouter == 0 || ajouter == 1)
        nextImagePath_ = ImageName::Compose(a_.waDossierSave->Value(), imageRoot_,
                                            ajouter == 1 ? NumberText() : TimeStampText(),
                                            ImageName::IsJpeg(a_.iaImageExtension->Value()));
    ShowNextImageName();
}

void TShowForm::ShowNextImageName()
{
    ImageLab->setText(nextImagePath_);
    SetTextColor(ImageLab, QFileInfo::exists(nextImagePath_) ? ExistingNameColor : NewNameColor);
}

void TShowForm::Capture()
{
    if (source_)
        source_->WaitForFreshFrame();
    RebuildNextImageName();
    if (!videoStream_ || !source_) {
        capturedFrame_ = QImage();
        return;
    }
    QImage frame;
    source_->GrabCurrentImage(frame);
    GrabFrame(frame, source_->DisplayAspect(), source_->PositionText());
}

void TShowForm::GrabFrame(const QImage &native, const QSize &displayAspect, const QString &positionText)
{
    if (!native.isNull())
        capturedFrame_ = native;
    if (a_.baImageDeinterlacer->Value())
        capturedFrame_ = deinterlacer_.Deinterlace(capturedFrame_);
    if (capturedFrame_.height() == 0)
        return;
    snapshot_ = SnapshotScaler::Stretch(capturedFrame_, displayAspect);
    snapshotSaved_ = false;
    ExtraireFrame->ShowSnapshot(snapshot_, positionText, QFileInfo(nextImagePath_).fileName());
    a_.iaPanneauActif->SetValue(ThumbnailPanel);
}

void TShowForm::Grab()
{
    if (a_.iaPanneauActif->Value() != ThumbnailPanel)
        a_.naShowExtraireFrame->Apply();
    Capture();
    SaveSnapshotConfirmed();
    ExtraireFrame->SetEmptyOutlineVisible(false);
}

void TShowForm::Copy()
{
    Capture();
    if (!capturedFrame_.isNull())
        QGuiApplication::clipboard()->setImage(capturedFrame_);
}

void TShowForm::ClickOnVideo()
{
    if (!videoStream_ || a_.caSliders->Checked())
        return;
    if (a_.baSauverQuandClic->Value())
        a_.naGrab->Apply();
    else
        a_.naCopy->Apply();
}

void TShowForm::ReturnToSnapshotPosition()
{
    const QString position = ExtraireFrame->SnapLab->text();
    if (!position.isEmpty())
        a_.waStrPosition->SetValue(position);
}

bool TShowForm::ConfirmOverwrite()
{
    DialogService::Question question;
    question.title = QStringLiteral("Warning");
    question.text = QStringLiteral("The file %1 already exists. Do yout want to replace it?\n\n"
                                   "Click on \"Yes to All\" to stop being prompted.")
                        .arg(nextImagePath_);
    question.choices = {{Yes, QStringLiteral("Yes")},
                        {No, QStringLiteral("No")},
                        {Cancel, QStringLiteral("Cancel")},
                        {YesToAll, QStringLiteral("Yes to All")}};
    question.defaultChoice = No; // closing the question keeps the file
    question.headlessAnswer = No;
    switch (DialogService::Current().Ask(question)) {
    case Yes:
        return true;
    case YesToAll:
        a_.baConfirmerImage->SetValue(false);
        return true;
    case Cancel:
        AbortFlag = true;
        return false;
    default:
        return false;
    }
}

void TShowForm::SaveSnapshotConfirmed()
{
    if (QFileInfo::exists(nextImagePath_) && a_.baConfirmerImage->Value() && !ConfirmOverwrite())
        return;
    WriteSnapshot();
}

bool TShowForm::WriteSnapshot()
{
    if (snapshot_.isNull())
        return false;
    const auto format = ImageName::IsJpeg(a_.iaImageExtension->Value()) ? SnapshotWriter::Format::Jpeg
                                                                        : SnapshotWriter::Format::Bmp;
    const SnapshotWriter::Result result =
        SnapshotWriter::Write(snapshot_, nextImagePath_, format, a_.iaJpegCompressionQuality->Value());
    if (!result.ok) {
        DialogService::Current().Inform(ProgramIdentity::Title(), result.error);
        return false;
    }
    snapshotSaved_ = true;
    ExtraireFrame->MarkSaved(true);
    AdvanceNumber();
    return true;
}

void TShowForm::AdvanceNumber()
{
    // The largest number stays: the next save then asks before replacing its file.
    const int next = a_.iaNextNum->Value();
    a_.iaNextNum->SetValue(next < INT_MAX ? next + 1 : next);
}

void TShowForm::OpenSaveFolder()
{
    const ImageName::SaveFolderView view =
        ImageName::FindSaveFolderView(nextImagePath_, a_.waDossierSave->Value(), imageRoot_);
    if (view.kind == ImageName::SaveFolderView::SelectFile)
        DesktopShell::RevealInFileManager(view.path);
    else if (view.kind == ImageName::SaveFolderView::OpenFolder)
        DesktopShell::OpenAddress(QUrl::fromLocalFile(view.path).toString());
}

// --- The video on show -------------------------------------------------------------------------

void TShowForm::CreateManagers()
{
    vidman->SetWindow(videoPanel);
    vidman->SetGrapheMan(NavMan);
    MediaFactory.SetGrapheMan(NavMan);
    NavMan->SetPositionEdit(PositionEdit);
    NavMan->SetSlider(PositionSlider);
    NavMan->PositionTyping = true;
    NavMan->OnDuration = [this](const QString &text) { DureeLab->setText(text); };
    NavMan->OnGraphCompleted = [this] {
        NavMan->CurrentPosition();
        a_.caPlay->SetChecked(false);
    };
    vidman->OnNotifyVideoFormat = [this](const QString &text) {
        labFormatVideo->setText(text);
        labFormatVideo->setToolTip(text);
    };
    vidman->OnNotifyVideoDecoder = [this](const QString &text) { labDecoderVideo->setText(text); };
    // The window only opens and closes videos: it makes no new file and saves none.
    ficman->ExistingOnly = true;
    for (const char *command : {"naNewFile", "naSaveFile", "waSaveFileAs"}) {
        auto *action = FindAction<TCustomAbstractAction>(ActionList(L::ficman), command);
        action->setVisible(false);
        action->setEnabled(false);
    }
    ficman->OnOpenFile = [this](const QString &path) { return ficmanOpenFile(path); };
    ficman->OnCloseFile = [this](const QString &path) { ficmanCloseFile(path); };
    ficman->OnTestExtension = &TShowForm::ficmanTestExtension;
    grabSource_ = std::make_unique<TVideoGrabSource>(*vidman, *NavMan);
    SetGrabSource(grabSource_.get());
}

bool TShowForm::ficmanTestExtension(const QString &lowerext, const QString &)
{
    static const QStringList extensions = {".avi", ".ivf", ".mpg", ".mpeg", ".m1v", ".mp2", ".mpe",
                                           ".wmv", ".asf", ".mts", ".m2ts", ".ts",  ".vob", ".mkv",
                                           ".mov", ".mp4", ".3g2", ".m4v",  ".m2v", ".dv",  ".dif"};
    return extensions.contains(lowerext);
}

// The managers let go of the media on show; the graph keeps only what another stream still uses.
void TShowForm::ReleaseMedia()
{
    vidman->DisconnectVideo(false);
    vidman->ResetDecoderSearch();
}

void TShowForm::ShowMediaControls(bool shown)
{
    PanelHaut->setVisible(shown);
    navigationStrip_->setVisible(shown);
}

// Opens the video: its sources from the factory, the video stream through the video manager, the
// navigation at its start, then the grab side renamed for it. An error leaves the window where
// the steps reached.
bool TShowForm::ficmanOpenFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    try {
        ShowTitle(QStringLiteral("Loading ") + name, LoadingTitleColor);
        const bool playing = a_.caPlay->Checked();
        NavMan->Quiet = true;
        NavMan->Stop();
        QCoreApplication::processEvents();
        ReleaseMedia();
        TFileDevice *device = MediaFactory.GetDevice(path);
        const bool video = device && device->VideoCount() > 0 && vidman->ConnectVideo(device->VideoSource(0));
        vidman->FramesNotifier().InlayWindow = vidman->Handle();
        if (video) {
            NavMan->RemoveUnconnectedFilters();
            NavMan->SetRange(true, -1, -1);
            NavMan->WaitRendererSettled();
            vidman->FramesNotifier().SetActive(true);
        }
        NavMan->Quiet = false;
        ShowMediaControls(video);
        a_.caPlay->SetPlainChecked(playing && video);
        if (playing && video)
            NavMan->Play();
        const TVideoData &data = vidman->VideoData();
        const QSize stored(std::abs(data.Width), std::abs(data.Height));
        VideoOpened(path, video,
                    SnapshotScaler::OutputSize(stored, {vidman->DisplayAspectX(), vidman->DisplayAspectY()}));
        ShowTitle(name, TitleColor);
        return video;
    } catch (...) {
        NavMan->Quiet = false;
        return false;
    }
}

void TShowForm::ficmanCloseFile(const QString &)
{
    ShowTitle(QString(), TitleColor);
    a_.caPlay->SetPlainChecked(false);
    NavMan->Stop();
    vidman->DisconnectVideo(true);
    vidman->ResetDecoderSearch();
    vidman->SetGraph(nullptr);
    NavMan->GraphBuilder->Clear();
    ShowMediaControls(false);
    VideoClosed();
}
