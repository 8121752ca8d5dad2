#include "GrabWindow.h"

#include "files/FichierMan.h"
#include "framework/IniPreferencesMan.h"
#include "support/FfmpegFrames.h"
#include "support/MediaFacts.h"
#include "support/ProcessEvents.h"
#include "support/TestMedia.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>

namespace
{

class OpenAndGrab : public GrabWindow
{
  protected:
    // A window with its own grab source (the renderer), saving into Pictures().
    void Open(const QString &path)
    {
        form = OpenWindow();
        Text("waDossierSave").SetValue(Pictures());
        ASSERT_TRUE(form->ficmanOpenFile(path));
    }
    QStringList Saved() const { return QDir(Pictures()).entryList(QDir::Files, QDir::Name); }
};

} // namespace

// A grab at a typed position saves exactly that frame, scaled to the display aspect: FFmpeg's
// decode of the same frame, scaled to the same size, is the nearest of its neighbours and nearly
// equal.
TEST_F(OpenAndGrab, SavesTheExactFrameAtTheDisplayAspect)
{
    const struct {
        const char *file;
        const char *position;
        int frame;
        QSize saved;
    } cases[] = {
        {MediaFacts::H264Aac.file, "0:00:03:07", 82, {640, 360}},
        {MediaFacts::Mpeg2Ps.file, "0:00:01:13", 38, {720, 405}},
        {MediaFacts::H264VorbisMkv.file, "0:00:02:15", 75, {320, 240}},
        {MediaFacts::DvPalType2.file, "0:00:01:05", 30, {720, 405}},
        {MediaFacts::Wmv2Wmv.file,
         "0:00:02:01",
         51,
         {MediaFacts::Wmv2Wmv.video->width, MediaFacts::Wmv2Wmv.video->height}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        StartCase();
        const QString path = TestMedia::Path(c.file);
        Open(path);
        Get<TWidestringAction>("waStrPosition", L::NavMan).SetValue(c.position);
        Get<TNopeAction>("naGrab").Apply();
        const QStringList saved = Saved();
        ASSERT_EQ(saved.size(), 1);
        EXPECT_EQ(saved[0], QString("Kestrin_%1.bmp").arg(QString(c.position).replace(':', '.')));
        const QImage image(Pictures() + saved[0]);
        ASSERT_EQ(image.size(), c.saved);
        const auto reference = FfmpegFrames(path, c.frame - 1, 3, c.saved);
        ASSERT_EQ(reference.size(), 3u);
        const double here = MeanDifference(image, reference[1]);
        EXPECT_LT(here, 6.0);
        EXPECT_LT(here, MeanDifference(image, reference[0]));
        EXPECT_LT(here, MeanDifference(image, reference[2]));
    }
}

// A PAL 16:9 DV frame is saved 720 x 405, the clipboard gets it unscaled, and forced native
// keeps the stored size.
TEST_F(OpenAndGrab, CopyIsUnscaledAndNativeKeepsTheStoredSize)
{
    Open(TestMedia::Path(MediaFacts::DvPalType1.file));
    EXPECT_EQ(form->Snapshot().size(), QSize(720, 405)) << "blank, at the size the picture is shown";
    Get<TNopeAction>("naCopy").Apply();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(720, 576));
    EXPECT_EQ(form->Snapshot().size(), QSize(720, 405));
    Get<TNopeAction>("naForcerNative").Apply();
    Get<TNopeAction>("naGrab").Apply();
    ASSERT_EQ(Saved().size(), 1);
    EXPECT_EQ(QImage(Pictures() + Saved()[0]).size(), QSize(720, 576));
}

// Closing forgets the video: grabs are disabled until the next one.
TEST_F(OpenAndGrab, ClosingDisablesGrabs)
{
    Open(TestMedia::Path(MediaFacts::H264Aac.file));
    EXPECT_TRUE(Get<TNopeAction>("naGrab").isEnabled());
    form->ficmanCloseFile(TestMedia::Path(MediaFacts::H264Aac.file));
    EXPECT_FALSE(Get<TNopeAction>("naGrab").isEnabled());
    EXPECT_TRUE(form->ficmanOpenFile(TestMedia::Path(MediaFacts::Mpeg2Ps.file)));
    EXPECT_TRUE(Get<TNopeAction>("naGrab").isEnabled());
}

// The title bar names the video, in navy once it is open; the information bar tells its format
// and decoder; the window's caption keeps the program's name. Closing empties and hides them.
TEST_F(OpenAndGrab, TheTitleAndTheInformationBarFollowTheVideo)
{
    const QString caption = form->windowTitle();
    Open(TestMedia::Path(MediaFacts::H264Aac.file));
    EXPECT_EQ(form->EnCoursLab->text(), QString(MediaFacts::H264Aac.file));
    EXPECT_EQ(form->EnCoursLab->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_TRUE(form->PanelHaut->isVisibleTo(form.get()));
    ProcessEventsFor(100); // the format comes in a posted message
    EXPECT_TRUE(form->labFormatVideo->text().contains("640x360"))
        << form->labFormatVideo->text().toStdString();
    EXPECT_EQ(form->labFormatVideo->toolTip(), form->labFormatVideo->text());
    EXPECT_FALSE(form->labDecoderVideo->text().isEmpty());
    EXPECT_NE(form->labDecoderVideo->text(), "No Video Decoder");
    EXPECT_EQ(form->windowTitle(), caption);
    EXPECT_TRUE(caption.contains(" by ")) << caption.toStdString();

    form->ficmanCloseFile(TestMedia::Path(MediaFacts::H264Aac.file));
    EXPECT_TRUE(form->EnCoursLab->text().isEmpty());
    EXPECT_FALSE(form->PanelHaut->isVisibleTo(form.get()));
    EXPECT_EQ(form->windowTitle(), caption);
}

// The window only opens videos and makes no file of its own: a stored video that is missing at
// start keeps its name, and opens again at the next start once it is back.
TEST_F(OpenAndGrab, AMissingLastVideoIsRememberedUntilItIsBack)
{
    const QString video = folder + "clip.mp4";
    ASSERT_TRUE(QFile::copy(TestMedia::Path(MediaFacts::H264Aac.file), video));
    form = OpenWindow();
    Get<TWidestringAction>("waOpenFile", L::ficman).SetValue(video);
    ASSERT_EQ(form->VideoPath(), video);
    ASSERT_TRUE(form->gp.SaveAtClosing());

    ASSERT_TRUE(QFile::rename(video, video + ".away"));
    form = OpenWindow();
    EXPECT_TRUE(form->VideoPath().isEmpty());
    EXPECT_EQ(form->ficman->CurrentName(), video);
    ASSERT_TRUE(form->gp.SaveAtClosing());

    ASSERT_TRUE(QFile::rename(video + ".away", video));
    form = OpenWindow();
    EXPECT_EQ(form->VideoPath(), video);
    for (const char *command : {"naNewFile", "naSaveFile", "waSaveFileAs"}) {
        const QAction *action = form->ActionList(L::ficman).FindByInternalId(command);
        ASSERT_NE(action, nullptr) << command;
        EXPECT_FALSE(action->isVisible()) << command;
        EXPECT_FALSE(action->isEnabled()) << command;
    }
}

// The decoder chosen for a stream type is kept in the preferences section "VideoDecoders".
TEST_F(OpenAndGrab, DecoderChoicesAreStored)
{
    Open(TestMedia::Path(MediaFacts::Mpeg2Ps.file));
    ASSERT_TRUE(form->gp.SaveAtClosing());
    form.reset();
    TIniPreferencesMan ini(folder + "Kestrin.ini");
    ASSERT_TRUE(ini.OpenKey("VideoDecoders", false));
    QStringList links;
    ASSERT_TRUE(ini.GetKeyNames(links));
    ASSERT_FALSE(links.isEmpty());
    bool mpeg2 = false;
    for (const QString &link : links) {
        ASSERT_TRUE(ini.OpenKey(link, false));
        QString subtype, name;
        ini.ReadString("subtype", subtype);
        ini.ReadString("name", name);
        mpeg2 = mpeg2 || (subtype == "{E06D8026-DB46-11CF-B4D1-00805F6CBBEA}" && name.contains("mpeg"));
        ini.CloseKey();
    }
    EXPECT_TRUE(mpeg2) << links.join(' ').toStdString();
}
