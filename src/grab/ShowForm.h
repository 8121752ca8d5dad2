#pragma once

#include "grab/Deinterlacer.h"

#include "framework/ActionCatalogue.h"
#include "framework/KSActionList.h"
#include "framework/KSSwitch.h"
#include "framework/TessalyPreferences.h"
#include "media/MediaFactory.h"

#include <QImage>
#include <QMainWindow>

#include <map>

class QFrame;
class QLabel;
class QLineEdit;
class QSlider;
class TFichierMan;
class TNavMan;
class TVideoGrabSource;
class TVideoMan;
class RegistryStore;
class TBooleanAction;
class TCheckAction;
class TDossiersFrame;
class TExtraireFrame;
class TGrabSource;
class TIntegerAction;
class TNopeAction;
class TWidestringAction;

// The main window: it owns the preferences component and the program's action lists with the
// command-line switch, loads the preferences when first shown and saves them when it closes.
// It names, grabs, copies and saves the still images: the thumbnail panel shows the last
// snapshot, the bottom bar the name the next image will get. UI thread only.
class TShowForm : public QMainWindow
{
    Q_OBJECT
  public:
    // `programFolder` (ending with "/") is where the portable INI file lives.
    explicit TShowForm(const QString &programFolder, RegistryStore *registry = nullptr);
    ~TShowForm() override;

    TTessalyPreferences gp;
    TKSSwitch &Switch() { return switch_; }
    TCustomKSActionList &ActionList(ActionCatalogue::List which) { return *lists_.at(which); }

    // The managers the window owns: navigation (the playback graph), video, media sources.
    TNavMan *NavMan;
    TVideoMan *vidman;
    TFichierMan *ficman;
    TMediaFactory MediaFactory;

    // The file manager's events: a file to open (true when it could be shown), the current file
    // closing, and whether a file may be opened by its extension (lower case, with its dot).
    bool ficmanOpenFile(const QString &path);
    void ficmanCloseFile(const QString &path);
    static bool ficmanTestExtension(const QString &lowerext, const QString &filename);
    const QString &VideoPath() const { return videoPath_; }

    // Where grabs take their pictures from; nullptr (the start) grabs nothing. Not owned; it
    // must outlive the window or be replaced first. A new source is handed the forced aspect
    // setting at once, as it may come after the preferences were loaded.
    void SetGrabSource(TGrabSource *source);
    // A video was opened (`pictureSize`: its picture's size in the video window) or closed:
    // enables or disables the grab commands, shows or hides the next-name label, renames, and
    // forgets the captured frame; on opening restarts the numbering when asked to and blanks the
    // snapshot; on closing clears the thumbnail.
    void VideoOpened(const QString &path, bool hasVideoStream, const QSize &pictureSize);
    void VideoClosed();

    // The parts of the next image's name and its full path, as last rebuilt.
    const QString &ImageRoot() const { return imageRoot_; }
    QString NumberText() const;
    const QString &NextImagePath() const { return nextImagePath_; }
    // Recomputes the root and the next path from the settings and shows the path.
    void RebuildNextImageName();

    // The last grabbed picture at output size (24-bit), the frame it came from at the video's
    // stored size, and whether the snapshot has been written since it was taken.
    const QImage &Snapshot() const { return snapshot_; }
    const QImage &CapturedFrame() const { return capturedFrame_; }
    bool SnapshotSaved() const { return snapshotSaved_; }

    // Renames, takes the picture from the grab source and shows it (GrabFrame).
    void Capture();
    // The grab after the picture is taken: `native` (a null image when the renderer delivered
    // none, which keeps the previous frame) is deinterlaced when that option is on and kept as
    // the captured frame, stretched to `displayAspect` into the snapshot, and shown in the
    // thumbnail panel with `positionText`; that panel becomes the active one. Nothing is shown
    // while no frame was ever captured.
    void GrabFrame(const QImage &native, const QSize &displayAspect, const QString &positionText);
    // Writes the snapshot under the next path, asking first when that file exists and the
    // confirmation is on. Cancel raises the AbortFlag.
    void SaveSnapshotConfirmed();
    // Writes the snapshot as BMP or JPEG; on success marks it saved and advances the number.
    // A failure shows the reason and changes nothing. False also when nothing was grabbed yet.
    bool WriteSnapshot();
    // A left press on the video with a video open and the inlay sliders hidden: grabs or copies.
    void ClickOnVideo();
    // Shows the next image, or an earlier one of the same root, or the folder, in the file manager.
    void OpenSaveFolder();

    QFrame *PanelTitre;     // title bar
    QLabel *EnCoursLab;     // title bar: the video's file name
    QFrame *PanelHaut;      // information bar over the video
    QLabel *labFormatVideo; // information bar: what the managers report
    QLabel *labDecoderVideo;
    QLabel *labFormatAudio;
    QLabel *labDecoderAudio;
    QWidget *videoPanel;     // the video area
    QLineEdit *PositionEdit; // navigation strip: position of the picture on screen
    QSlider *PositionSlider;
    QLabel *DureeLab;                // navigation strip: length of the media
    TDossiersFrame *SaveImagesFrame; // side panel 1: image settings
    TExtraireFrame *ExtraireFrame;   // side panel 2: thumbnail
    QFrame *panelImage;              // bottom bar
    QLabel *ImageLab;                // next image name

  signals:
    // The number of the next image, as the inlay shows it, has changed.
    void NumberTextChanged(const QString &numberText);

  protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void CreateLists();
    void CreateManagers();
    void ReleaseMedia();
    void ShowMediaControls(bool shown);
    void LoadPreferences(TTessalyPreferences &store);
    void SavePreferences(TTessalyPreferences &store);
    void InKey(TTessalyPreferences &store, const QString &key,
               std::initializer_list<ActionCatalogue::List> lists, bool load);

    void CreatePanels();
    void CreateTitleAndInformationBars(QWidget *client);
    void LayoutPanels();
    void LayoutInformationBar();
    void ShowTitle(const QString &text, const QColor &color);
    void LinkActions();
    void HookNamingActions();
    void HookSettingCommands();
    void HookGrabActions();
    void SetGrabCommandsEnabled(bool enabled);
    void ShowNextImageName();
    QString TimeStampText() const;
    bool ConfirmOverwrite();
    void AdvanceNumber();
    void Grab();
    void Copy();
    void ShowPanel(int panel);
    void ReturnToSnapshotPosition();

    TKSSwitch switch_;
    std::map<ActionCatalogue::List, TCustomKSActionList *> lists_;
    std::unique_ptr<TVideoGrabSource> grabSource_;
    QWidget *navigationStrip_ = nullptr;
    bool shownOnce_ = false;

    // The settings and commands the window serves, found in its lists.
    struct Actions {
        TWidestringAction *waDossierSave, *waDefaultRacine, *waStrPosition;
        TIntegerAction *iaNomFichierImage, *iaRacineLength, *iaImageAjouter, *iaDigits, *iaNextNum,
            *iaImageExtension, *iaJpegCompressionQuality, *iaForcerAspectRatio, *iaPanneauActif, *iaLeftFrame;
        TBooleanAction *baLimiterLongueur, *baConfirmerImage, *baRAZWhenOpenFile, *baImageDeinterlacer,
            *baSauverQuandClic;
        TNopeAction *naGrab, *naCopy, *naShowExtraireFrame, *naShowSaveImagesFrame, *naAjouterTimeStamp,
            *naAjouterNumero, *naJpegExtension, *naBmpExtension, *naForcerNormal, *naForcer4x3, *naForcer16x9,
            *naForcerNative;
        TCheckAction *caIntervalloShow, *caSliders, *caFullscreen, *caPlay;
    } a_{};

    TGrabSource *source_ = nullptr;
    QString videoPath_;
    bool videoStream_ = false;
    QString imageRoot_;
    QString nextImagePath_;
    QImage capturedFrame_;
    QImage snapshot_;
    bool snapshotSaved_ = false;
    TDeinterlacer deinterlacer_;
};
