// The image settings panel and the settings it edits always agree, whichever side changes.
#include "GrabWindow.h"

#include "grab/DossiersFrame.h"
#include "grab/ExtraireFrame.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>

TEST_F(GrabWindow, ImageSettingsPanelShowsTheLoadedSettings)
{
    const TDossiersFrame &panel = *form->SaveImagesFrame;
    EXPECT_EQ(panel.deDossierSave->text(), Pictures());
    EXPECT_EQ(panel.NomRacineEdit->text(), "Kestrin");
    EXPECT_TRUE(panel.rbUtiliserRacine->isChecked());
    EXPECT_FALSE(panel.cbLimiterLongueur->isChecked());
    EXPECT_EQ(panel.RacineLengthEdit->text(), "8");
    EXPECT_TRUE(panel.rbTimestamp->isChecked());
    EXPECT_EQ(panel.DigitsEdit->value(), 3);
    EXPECT_EQ(panel.seNextNum->value(), 1);
    EXPECT_TRUE(panel.rbBmp->isChecked());
    EXPECT_EQ(panel.TrackBar1->value(), 50);
    EXPECT_EQ(panel.labQuality->text(), "50");

    Command("naShowSaveImagesFrame").Apply();
    EXPECT_EQ(Number("iaPanneauActif").Value(), 1);
    EXPECT_TRUE(panel.isVisibleTo(form.get()));
    EXPECT_FALSE(form->ExtraireFrame->isVisibleTo(form.get()));
}

TEST_F(GrabWindow, ImageSettingsPanelControlsSetTheirSettings)
{
    TDossiersFrame &panel = *form->SaveImagesFrame;
    const QString other = folder + "other/";
    panel.deDossierSave->setText(other);
    emit panel.deDossierSave->editingFinished();
    EXPECT_EQ(Text("waDossierSave").Value(), other);
    panel.NomRacineEdit->setText("Dune");
    EXPECT_EQ(Text("waDefaultRacine").Value(), "Dune");
    panel.rbUtiliserNomVideo->click();
    EXPECT_EQ(Number("iaNomFichierImage").Value(), 1);
    panel.cbLimiterLongueur->click();
    EXPECT_TRUE(Flag("baLimiterLongueur").Value());
    for (const auto &[typed, length] : {std::pair{"4", 4}, {" 6 ", 6}, {"x4", 0}, {"", 0}}) {
        panel.RacineLengthEdit->setText(typed);
        EXPECT_EQ(Number("iaRacineLength").Value(), length) << typed;
        EXPECT_EQ(panel.RacineLengthEdit->text(), typed) << "what was typed stays";
    }
    panel.RacineLengthEdit->setText("4");
    panel.rbNumero->click();
    EXPECT_EQ(Number("iaImageAjouter").Value(), 1);
    panel.DigitsEdit->setValue(5);
    EXPECT_EQ(Number("iaDigits").Value(), 5);
    panel.seNextNum->setValue(42);
    EXPECT_EQ(Number("iaNextNum").Value(), 42);
    panel.rbJpeg->click();
    EXPECT_EQ(Number("iaImageExtension").Value(), 1);
    panel.TrackBar1->setValue(80);
    EXPECT_EQ(Number("iaJpegCompressionQuality").Value(), 80);
    EXPECT_EQ(panel.labQuality->text(), "80");
    EXPECT_EQ(form->NextImagePath(), other + "holi_00042.jpg");

    dialogs->folderChoice = folder + "chosen";
    panel.deDossierSaveBrowse->click();
    EXPECT_EQ(Text("waDossierSave").Value(), folder + "chosen/") << "the chosen folder with its separator";
    EXPECT_EQ(panel.deDossierSave->text(), folder + "chosen/");
    dialogs->folderChoice.clear();
    panel.deDossierSaveBrowse->click();
    EXPECT_EQ(Text("waDossierSave").Value(), folder + "chosen/") << "a cancelled dialog changes nothing";
}

TEST_F(GrabWindow, ImageSettingsPanelFollowsSettingsChangedElsewhere)
{
    const TDossiersFrame &panel = *form->SaveImagesFrame;
    Text("waDossierSave").SetValue("/elsewhere/");
    EXPECT_EQ(panel.deDossierSave->text(), "/elsewhere/");
    Text("waDefaultRacine").SetValue("Mars");
    EXPECT_EQ(panel.NomRacineEdit->text(), "Mars");
    Number("iaNomFichierImage").SetValue(1);
    EXPECT_TRUE(panel.rbUtiliserNomVideo->isChecked());
    Flag("baLimiterLongueur").SetValue(true);
    EXPECT_TRUE(panel.cbLimiterLongueur->isChecked());
    Number("iaRacineLength").SetValue(12);
    EXPECT_EQ(panel.RacineLengthEdit->text(), "12");
    Command("naAjouterNumero").Apply();
    EXPECT_TRUE(panel.rbNumero->isChecked());
    Number("iaImageAjouter").SetValue(5);
    EXPECT_FALSE(panel.rbNumero->isChecked());
    EXPECT_FALSE(panel.rbTimestamp->isChecked());
    Number("iaDigits").SetValue(6);
    EXPECT_EQ(panel.DigitsEdit->value(), 6);
    Number("iaNextNum").SetValue(77);
    EXPECT_EQ(panel.seNextNum->value(), 77);
    Number("iaImageExtension").SetValue(2);
    EXPECT_TRUE(panel.rbJpeg->isChecked());
    Command("naBmpExtension").Apply();
    EXPECT_TRUE(panel.rbBmp->isChecked());
    Number("iaJpegCompressionQuality").SetValue(33);
    EXPECT_EQ(panel.TrackBar1->value(), 33);
    EXPECT_EQ(panel.labQuality->text(), "33");
    EXPECT_EQ(Number("iaNextNum").Value(), 77) << "showing a value never writes it back changed";
    EXPECT_EQ(Number("iaDigits").Value(), 6);
}
