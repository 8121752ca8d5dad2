#include "DossiersFrame.h"

#include "grab/FindAction.h"
#include "grab/ImageName.h"

#include "framework/BooleanAction.h"
#include "framework/IntegerAction.h"
#include "framework/WidestringAction.h"
#include "platform/shell/DialogService.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace
{

// Shows `text` unless the edit already holds it, so typing keeps its cursor.
void ShowText(QLineEdit *edit, const QString &text)
{
    if (edit->text() == text)
        return;
    const QSignalBlocker quiet(edit);
    edit->setText(text);
}

void ShowNumber(QSpinBox *box, int value)
{
    const QSignalBlocker quiet(box);
    box->setValue(value);
}

// Checks the button of a two-way choice that matches `value` (0 or 1); any other value
// checks neither.
void ShowChoice(QRadioButton *zero, QRadioButton *one, int value)
{
    const QSignalBlocker quietZero(zero), quietOne(one);
    zero->setAutoExclusive(false);
    one->setAutoExclusive(false);
    zero->setChecked(value == 0);
    one->setChecked(value == 1);
    zero->setAutoExclusive(true);
    one->setAutoExclusive(true);
}

// A choice's buttons set `setting` to 0 or 1 when they become checked.
void WriteChoice(QRadioButton *zero, QRadioButton *one, TIntegerAction *setting)
{
    QObject::connect(zero, &QRadioButton::toggled, [setting](bool on) {
        if (on)
            setting->SetValue(0);
    });
    QObject::connect(one, &QRadioButton::toggled, [setting](bool on) {
        if (on)
            setting->SetValue(1);
    });
}

QSpinBox *NewSpinBox(QWidget *parent, int minimum, int maximum)
{
    auto *box = new QSpinBox(parent);
    box->setRange(minimum, maximum);
    return box;
}

} // namespace

TDossiersFrame::TDossiersFrame(const TCustomKSActionList &mainList, QWidget *parent)
    : QFrame(parent), waDossierSave_(FindAction<TWidestringAction>(mainList, "waDossierSave")),
      waDefaultRacine_(FindAction<TWidestringAction>(mainList, "waDefaultRacine")),
      iaNomFichierImage_(FindAction<TIntegerAction>(mainList, "iaNomFichierImage")),
      iaRacineLength_(FindAction<TIntegerAction>(mainList, "iaRacineLength")),
      iaImageAjouter_(FindAction<TIntegerAction>(mainList, "iaImageAjouter")),
      iaDigits_(FindAction<TIntegerAction>(mainList, "iaDigits")),
      iaNextNum_(FindAction<TIntegerAction>(mainList, "iaNextNum")),
      iaImageExtension_(FindAction<TIntegerAction>(mainList, "iaImageExtension")),
      iaJpegCompressionQuality_(FindAction<TIntegerAction>(mainList, "iaJpegCompressionQuality")),
      baLimiterLongueur_(FindAction<TBooleanAction>(mainList, "baLimiterLongueur"))
{
    setObjectName(QStringLiteral("SaveImagesFrame"));
    CreateControls();
    WriteControlsToSettings();
    ShowSettingsInControls();
}

void TDossiersFrame::CreateControls()
{
    auto *folderBox = new QGroupBox(QStringLiteral("Save the images in"), this);
    deDossierSave = new QLineEdit(folderBox);
    deDossierSaveBrowse = new QToolButton(folderBox);
    deDossierSaveBrowse->setText(QStringLiteral("..."));
    auto *folderLayout = new QHBoxLayout(folderBox);
    folderLayout->addWidget(deDossierSave);
    folderLayout->addWidget(deDossierSaveBrowse);

    auto *rootBox = new QGroupBox(QStringLiteral("Name the images after"), this);
    rbUtiliserRacine = new QRadioButton(QStringLiteral("the root"), rootBox);
    NomRacineEdit = new QLineEdit(rootBox);
    rbUtiliserNomVideo = new QRadioButton(QStringLiteral("the video's name"), rootBox);
    cbLimiterLongueur = new QCheckBox(QStringLiteral("cut to"), rootBox);
    RacineLengthEdit = new QLineEdit(rootBox);
    auto *rootLayout = new QGridLayout(rootBox);
    rootLayout->addWidget(rbUtiliserRacine, 0, 0);
    rootLayout->addWidget(NomRacineEdit, 0, 1);
    rootLayout->addWidget(rbUtiliserNomVideo, 1, 0, 1, 2);
    rootLayout->addWidget(cbLimiterLongueur, 2, 0);
    rootLayout->addWidget(RacineLengthEdit, 2, 1);

    auto *suffixBox = new QGroupBox(QStringLiteral("Then add"), this);
    rbTimestamp = new QRadioButton(QStringLiteral("the time stamp"), suffixBox);
    rbNumero = new QRadioButton(QStringLiteral("the number"), suffixBox);
    DigitsEdit = NewSpinBox(suffixBox, 1, 16);
    seNextNum = NewSpinBox(suffixBox, 0, 999999);
    auto *suffixLayout = new QGridLayout(suffixBox);
    suffixLayout->addWidget(rbTimestamp, 0, 0, 1, 2);
    suffixLayout->addWidget(rbNumero, 1, 0, 1, 2);
    suffixLayout->addWidget(new QLabel(QStringLiteral("Digits"), suffixBox), 2, 0);
    suffixLayout->addWidget(DigitsEdit, 2, 1);
    suffixLayout->addWidget(new QLabel(QStringLiteral("Next number"), suffixBox), 3, 0);
    suffixLayout->addWidget(seNextNum, 3, 1);

    rgExtension = new QGroupBox(QStringLiteral("File type"), this);
    rbBmp = new QRadioButton(QStringLiteral("bmp"), rgExtension);
    rbJpeg = new QRadioButton(QStringLiteral("jpeg"), rgExtension);
    TrackBar1 = new QSlider(Qt::Horizontal, rgExtension);
    TrackBar1->setRange(1, 100);
    labQuality = new QLabel(rgExtension);
    auto *extensionLayout = new QGridLayout(rgExtension);
    extensionLayout->addWidget(rbBmp, 0, 0);
    extensionLayout->addWidget(rbJpeg, 0, 1);
    extensionLayout->addWidget(TrackBar1, 1, 0);
    extensionLayout->addWidget(labQuality, 1, 1);

    auto *layout = new QVBoxLayout(this);
    for (QGroupBox *box : {folderBox, rootBox, suffixBox, rgExtension})
        layout->addWidget(box);
    layout->addStretch();
}

void TDossiersFrame::WriteControlsToSettings()
{
    connect(deDossierSave, &QLineEdit::editingFinished, this,
            [this] { waDossierSave_->SetValue(deDossierSave->text()); });
    connect(deDossierSaveBrowse, &QToolButton::clicked, this, &TDossiersFrame::BrowseFolder);
    WriteChoice(rbUtiliserRacine, rbUtiliserNomVideo, iaNomFichierImage_);
    connect(NomRacineEdit, &QLineEdit::textChanged, this,
            [this](const QString &text) { waDefaultRacine_->SetValue(text); });
    connect(cbLimiterLongueur, &QCheckBox::toggled, this,
            [this](bool on) { baLimiterLongueur_->SetValue(on); });
    connect(RacineLengthEdit, &QLineEdit::textChanged, this, [this](const QString &text) {
        bool ok = false;
        const int length = text.trimmed().toInt(&ok);
        iaRacineLength_->SetValue(ok ? length : 0);
    });
    WriteChoice(rbTimestamp, rbNumero, iaImageAjouter_);
    connect(DigitsEdit, &QSpinBox::valueChanged, this, [this](int digits) { iaDigits_->SetValue(digits); });
    connect(seNextNum, &QSpinBox::valueChanged, this, [this](int number) { iaNextNum_->SetValue(number); });
    WriteChoice(rbBmp, rbJpeg, iaImageExtension_);
    connect(TrackBar1, &QSlider::valueChanged, this,
            [this](int quality) { iaJpegCompressionQuality_->SetValue(quality); });
}

void TDossiersFrame::ShowSettingsInControls()
{
    waDossierSave_->OnAfterApply = [this](const QString &folder) { ShowText(deDossierSave, folder); };
    iaNomFichierImage_->OnAfterApply = [this](int v) { ShowChoice(rbUtiliserRacine, rbUtiliserNomVideo, v); };
    waDefaultRacine_->OnAfterApply = [this](const QString &root) { ShowText(NomRacineEdit, root); };
    baLimiterLongueur_->OnAfterApply = [this](bool on) {
        const QSignalBlocker quiet(cbLimiterLongueur);
        cbLimiterLongueur->setChecked(on);
    };
    iaRacineLength_->OnAfterApply = [this](int length) {
        // Typing "x" sets 0; the field keeps what was typed unless the value really differs.
        bool ok = false;
        const int shown = RacineLengthEdit->text().trimmed().toInt(&ok);
        if ((ok ? shown : 0) != length)
            ShowText(RacineLengthEdit, QString::number(length));
    };
    iaImageAjouter_->OnAfterApply = [this](int v) { ShowChoice(rbTimestamp, rbNumero, v); };
    iaDigits_->OnAfterApply = [this](int digits) { ShowNumber(DigitsEdit, digits); };
    iaNextNum_->OnAfterApply = [this](int number) { ShowNumber(seNextNum, number); };
    iaImageExtension_->OnAfterApply = [this](int v) {
        ShowChoice(rbBmp, rbJpeg, ImageName::IsJpeg(v) ? 1 : 0);
    };
    iaJpegCompressionQuality_->OnAfterApply = [this](int quality) {
        const QSignalBlocker quiet(TrackBar1);
        TrackBar1->setValue(quality);
        labQuality->setText(QString::number(quality));
    };
}

void TDossiersFrame::BrowseFolder()
{
    const QString folder = DialogService::Current().FolderName(this, QStringLiteral("Save the images in"),
                                                               waDossierSave_->Value());
    if (!folder.isEmpty())
        waDossierSave_->SetValue(ImageName::FolderWithSeparator(folder));
}
