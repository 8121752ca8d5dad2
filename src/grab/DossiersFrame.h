#pragma once

#include <QFrame>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class QSpinBox;
class QToolButton;
class TBooleanAction;
class TCustomKSActionList;
class TIntegerAction;
class TWidestringAction;

// The image settings panel: where images are saved and how they are named and encoded. Every
// control writes its setting through the action, and every apply of a setting writes back into
// its control, so the panel, scripts, the command line and the stored preferences always agree.
// UI thread only.
class TDossiersFrame : public QFrame
{
    Q_OBJECT
  public:
    // The settings are those of `mainList`, the main window's list.
    explicit TDossiersFrame(const TCustomKSActionList &mainList, QWidget *parent = nullptr);

    QLineEdit *deDossierSave;
    QToolButton *deDossierSaveBrowse;
    QRadioButton *rbUtiliserRacine, *rbUtiliserNomVideo;
    QLineEdit *NomRacineEdit;
    QCheckBox *cbLimiterLongueur;
    QLineEdit *RacineLengthEdit;
    QRadioButton *rbTimestamp, *rbNumero;
    QSpinBox *DigitsEdit;
    QSpinBox *seNextNum;
    QGroupBox *rgExtension;
    QRadioButton *rbBmp, *rbJpeg;
    QSlider *TrackBar1;
    QLabel *labQuality;

  private:
    void CreateControls();
    void WriteControlsToSettings();
    void ShowSettingsInControls();
    void BrowseFolder();

    TWidestringAction *waDossierSave_, *waDefaultRacine_;
    TIntegerAction *iaNomFichierImage_, *iaRacineLength_, *iaImageAjouter_, *iaDigits_, *iaNextNum_,
        *iaImageExtension_, *iaJpegCompressionQuality_;
    TBooleanAction *baLimiterLongueur_;
};
