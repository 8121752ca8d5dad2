// The main window names, grabs, copies and saves still images: real preferences in a portable
// INI file, real files on disk, the real clipboard; the picture comes from a source serving a
// fixed frame, as the video manager will.
#include "GrabWindow.h"

#include "grab/ExtraireFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>

TEST_F(GrabWindow, NextNameFollowsEverySetting)
{
    struct Case {
        const char *what;
        std::function<void(GrabWindow &)> set;
        const char *name;
    } cases[] = {
        {"defaults", [](GrabWindow &) {}, "Kestrin_0.00.00.00.bmp"},
        {"number", [](GrabWindow &w) { w.Command("naAjouterNumero").Apply(); }, "Kestrin_001.bmp"},
        {"number 7 of 3 digits",
         [](GrabWindow &w) {
             w.Number("iaImageAjouter").SetValue(1);
             w.Number("iaNextNum").SetValue(7);
         },
         "Kestrin_007.bmp"},
        {"frame 37 at 25 per second, JPEG",
         [](GrabWindow &w) {
             w.source.time = 37 * 400'000;
             w.source.frameDuration = 400'000;
             w.Command("naJpegExtension").Apply();
         },
         "Kestrin_0.00.01.12.jpg"},
        {"thirtieth frame at 30 per second",
         [](GrabWindow &w) {
             w.source.time = 9'999'990;
             w.source.frameDuration = 333'333;
             w.Command("naAjouterTimeStamp").Apply();
         },
         "Kestrin_0.00.01.00.bmp"},
        {"video name cut to 8",
         [](GrabWindow &w) {
             w.Number("iaImageAjouter").SetValue(1);
             w.Number("iaNextNum").SetValue(7);
             w.Number("iaNomFichierImage").SetValue(1);
             w.Flag("baLimiterLongueur").SetValue(true);
         },
         "holiday._007.bmp"},
        {"video name cut to 0",
         [](GrabWindow &w) {
             w.Number("iaImageAjouter").SetValue(1);
             w.Number("iaNomFichierImage").SetValue(1);
             w.Flag("baLimiterLongueur").SetValue(true);
             w.Number("iaRacineLength").SetValue(0);
         },
         "_001.bmp"},
        {"extension set to 2 by a script",
         [](GrabWindow &w) {
             w.Number("iaImageAjouter").SetValue(1);
             w.Number("iaImageExtension").SetValue(2);
         },
         "Kestrin_001.jpg"},
        {"own root, 5 digits",
         [](GrabWindow &w) {
             w.Text("waDefaultRacine").SetValue("Dune");
             w.Number("iaImageAjouter").SetValue(1);
             w.Number("iaDigits").SetValue(5);
         },
         "Dune_00001.bmp"},
        {"an unknown suffix choice keeps the last name",
         [](GrabWindow &w) {
             w.Command("naAjouterNumero").Apply();
             w.Number("iaImageAjouter").SetValue(5);
             w.Number("iaNextNum").SetValue(9);
         },
         "Kestrin_001.bmp"},
    };
    for (const Case &c : cases) {
        StartCase();
        c.set(*this);
        EXPECT_EQ(form->NextImagePath(), Pictures() + c.name) << c.what;
        EXPECT_EQ(form->ImageLab->text(), form->NextImagePath()) << c.what;
    }
}

TEST_F(GrabWindow, NumberTextFollowsTheNumberAndDigitsAndIsAnnounced)
{
    QStringList announced;
    QObject::connect(form.get(), &TShowForm::NumberTextChanged, [&](const QString &t) { announced << t; });
    Number("iaNextNum").SetValue(0);
    Number("iaDigits").SetValue(1);
    Number("iaNextNum").SetValue(100);
    EXPECT_EQ(announced, (QStringList{"000", "0", "100"}));
    EXPECT_EQ(form->NumberText(), "100");
}

TEST_F(GrabWindow, NextNameIsGreenWhenItsFileExistsAndMaroonOtherwise)
{
    Command("naAjouterNumero").Apply();
    EXPECT_EQ(form->ImageLab->palette().color(QPalette::WindowText), QColor(128, 0, 0));
    QFile existing(Pictures() + "Kestrin_001.bmp");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    form->RebuildNextImageName();
    EXPECT_EQ(form->ImageLab->palette().color(QPalette::WindowText), QColor(0, 128, 0));
}

TEST_F(GrabWindow, GrabSavesTheFrameAtItsDisplayAspectAndShowsTheThumbnail)
{
    const struct {
        const char *command;
        QSize aspect; // what the video window reports after the command
        int forced;
        QSize saved;
    } cases[] = {
        {"naForcer16x9", {16, 9}, 2, {720, 405}},
        {"naForcer4x3", {4, 3}, 1, {720, 540}},
        {"naForcerNative", {720, 576}, 3, {720, 576}},
        {"naForcerNormal", {0, 0}, 0, {720, 576}},
    };
    EXPECT_EQ(source.forced, 0) << "the stored setting reaches a source set after loading";
    Command("naAjouterNumero").Apply();
    int number = 1;
    for (const auto &c : cases) {
        Command(c.command).Apply();
        EXPECT_EQ(source.forced, c.forced) << c.command;
        EXPECT_EQ(Number("iaForcerAspectRatio").Value(), c.forced) << c.command;
        source.aspect = c.aspect;
        Command("naGrab").Apply();
        const QString name = QString("Kestrin_%1.bmp").arg(number++, 3, 10, QChar('0'));
        const QImage saved(Pictures() + name);
        EXPECT_EQ(saved.size(), c.saved) << c.command;
        EXPECT_EQ(form->CapturedFrame().size(), QSize(720, 576)) << c.command;
        EXPECT_EQ(saved.pixel(5, 5), qRgb(220, 0, 0)) << c.command;
        EXPECT_EQ(form->ExtraireFrame->labsnapname->text(), name);
        EXPECT_EQ(form->ExtraireFrame->labImagetteTaille->text(),
                  QString("%1 x %2").arg(c.saved.width()).arg(c.saved.height()));
    }
    EXPECT_EQ(Number("iaNextNum").Value(), 5);
    EXPECT_EQ(form->ExtraireFrame->SnapLab->text(), "0:00:01:12");
    EXPECT_EQ(form->ExtraireFrame->labsnapname->toolTip(), Saved);
    EXPECT_EQ(form->ExtraireFrame->labsnapname->palette().color(QPalette::Window), QColor(192, 220, 192));
    EXPECT_EQ(Number("iaPanneauActif").Value(), 2);
    EXPECT_TRUE(form->ExtraireFrame->isVisibleTo(form.get()));
    EXPECT_FALSE(form->ExtraireFrame->Bevel3->isVisibleTo(form.get()));
    EXPECT_EQ(source.waits, 4) << "each capture waits for a fresh frame";
}

TEST_F(GrabWindow, CopyGivesTheUnscaledFrameAndTheNameLabelSavesItUnderConsecutiveNumbers)
{
    Command("naAjouterNumero").Apply();
    Command("naCopy").Apply();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(720, 576));
    EXPECT_EQ(form->Snapshot().size(), QSize(720, 405));
    EXPECT_FALSE(form->SnapshotSaved());
    EXPECT_EQ(form->ExtraireFrame->labsnapname->toolTip(), Unsaved);
    EXPECT_EQ(form->ExtraireFrame->labsnapname->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(QDir(Pictures()).isEmpty()) << "a copy writes nothing";
    EXPECT_EQ(Number("iaNextNum").Value(), 1);

    source.frame.fill(Qt::white); // the video moves on; the snapshot stays
    Click(form->ExtraireFrame->labsnapname);
    Click(form->ExtraireFrame->labsnapname);
    const QImage first(Pictures() + "Kestrin_001.bmp"), second(Pictures() + "Kestrin_002.bmp");
    ASSERT_EQ(first.size(), QSize(720, 405));
    EXPECT_EQ(first, second);
    EXPECT_EQ(first.pixel(5, 5), qRgb(220, 0, 0));
    EXPECT_EQ(Number("iaNextNum").Value(), 3);
    EXPECT_TRUE(form->SnapshotSaved());
    EXPECT_EQ(form->ExtraireFrame->labsnapname->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(GrabWindow, OverwriteQuestionAnswers)
{
    const struct {
        const char *answer;
        bool replaced, aborted, stillConfirming;
        int nextNumber;
    } cases[] = {
        {"Yes", true, false, true, 2},
        {"No", false, false, true, 1},
        {"Cancel", false, true, true, 1},
        {"Yes to All", true, false, false, 2},
    };
    for (const auto &c : cases) {
        StartCase();
        Command("naAjouterNumero").Apply();
        const QString path = Pictures() + "Kestrin_001.bmp";
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old picture");
        old.close();
        dialogs->answers = {c.answer};
        Command("naGrab").Apply();
        ASSERT_EQ(dialogs->questions.size(), 1) << c.answer;
        EXPECT_EQ(dialogs->questions.first(),
                  "The file " + path +
                      " already exists. Do yout want to replace it?\n\nClick on \"Yes to All\" to stop being "
                      "prompted.");
        EXPECT_EQ(Contents(path) != "old picture", c.replaced) << c.answer;
        EXPECT_EQ(AbortFlag, c.aborted) << c.answer;
        EXPECT_EQ(Flag("baConfirmerImage").Value(), c.stillConfirming) << c.answer;
        EXPECT_EQ(Number("iaNextNum").Value(), c.nextNumber) << c.answer;
        EXPECT_EQ(form->SnapshotSaved(), c.replaced) << c.answer;
    }
}

TEST_F(GrabWindow, YesToAllStopsTheQuestionsAndIsStored)
{
    Command("naAjouterNumero").Apply();
    Command("naGrab").Apply();
    Number("iaNextNum").SetValue(1);
    source.frame.fill(Qt::white);
    dialogs->answers = {"Yes to All"};
    Command("naGrab").Apply();
    Number("iaNextNum").SetValue(1);
    source.frame.fill(Qt::black);
    Command("naGrab").Apply();
    EXPECT_EQ(dialogs->questions.size(), 1) << "no question after Yes to All";
    EXPECT_EQ(QImage(Pictures() + "Kestrin_001.bmp").pixel(3, 3), qRgb(0, 0, 0)) << "overwritten silently";

    ASSERT_TRUE(form->gp.SaveAtClosing());
    form = OpenWindow();
    EXPECT_FALSE(Flag("baConfirmerImage").Value()) << "the choice survives a restart";
}

TEST_F(GrabWindow, AFailedWriteKeepsTheNumberAndTheUnsavedState)
{
    const QString folder = dir.filePath("not yet") + "/";
    Text("waDossierSave").SetValue(folder);
    Command("naAjouterNumero").Apply();
    Command("naGrab").Apply();
    ASSERT_EQ(dialogs->messages.size(), 1);
    const QString prefix = QString("Cannot create file \"%1Kestrin_001.bmp\". ").arg(folder);
    EXPECT_TRUE(dialogs->messages.first().startsWith(prefix)) << dialogs->messages.first().toStdString();
    EXPECT_GT(dialogs->messages.first().size(), prefix.size()) << "the system's reason follows";
    EXPECT_EQ(Number("iaNextNum").Value(), 1);
    EXPECT_FALSE(form->SnapshotSaved());
    EXPECT_EQ(form->ExtraireFrame->labsnapname->toolTip(), Unsaved);
    EXPECT_FALSE(QDir(folder).exists()) << "the folder is not created";

    ASSERT_TRUE(QDir().mkpath(folder)); // the user mends the folder and clicks the name
    Click(form->ExtraireFrame->labsnapname);
    EXPECT_EQ(QImage(folder + "Kestrin_001.bmp").size(), QSize(720, 405));
    EXPECT_EQ(Number("iaNextNum").Value(), 2);
}

TEST_F(GrabWindow, JpegSnapshotsDecodeWithThePicture)
{
    Command("naJpegExtension").Apply();
    Command("naAjouterNumero").Apply();
    for (int quality : {1, 50, 100}) {
        Number("iaJpegCompressionQuality").SetValue(quality);
        Command("naGrab").Apply();
    }
    for (int n = 1; n <= 3; ++n) {
        const QString path = Pictures() + QString("Kestrin_00%1.jpg").arg(n);
        EXPECT_TRUE(Contents(path).startsWith("\xFF\xD8\xFF")) << n;
        const QImage decoded(path, "JPEG");
        ASSERT_EQ(decoded.size(), QSize(720, 405)) << n;
        EXPECT_GT(qRed(decoded.pixel(100, 200)), 150) << n;
        EXPECT_GT(qBlue(decoded.pixel(600, 200)), 150) << n;
    }
    EXPECT_LT(Contents(Pictures() + "Kestrin_001.jpg").size(),
              Contents(Pictures() + "Kestrin_003.jpg").size());
}

TEST_F(GrabWindow, DeinterlacingCorrectsTheCapturedFrameBeforeScaling)
{
    for (int x = 100; x < 110; ++x) // a comb tooth on odd row 201
        source.frame.setPixel(x, 201, qRgb(255, 255, 255));
    source.aspect = {720, 576};
    Command("naCopy").Apply();
    EXPECT_EQ(form->CapturedFrame().pixel(105, 201), qRgb(255, 255, 255));

    Flag("baImageDeinterlacer").SetValue(true);
    Command("naCopy").Apply();
    EXPECT_EQ(form->CapturedFrame().pixel(105, 201), qRgb(220, 0, 0));
    EXPECT_EQ(QImage(form->Snapshot()).pixel(105, 201), qRgb(220, 0, 0));
    EXPECT_EQ(QApplication::clipboard()->image().pixel(105, 201), qRgb(220, 0, 0));
}

TEST_F(GrabWindow, WithoutAPictureFromTheRendererTheLastFrameOrTheBlankSnapshotIsSaved)
{
    Command("naAjouterNumero").Apply();
    source.deliver = false;
    Command("naGrab").Apply();
    const QImage blank(Pictures() + "Kestrin_001.bmp");
    EXPECT_EQ(blank.size(), QSize(720, 405)) << "the blank snapshot of the opened video";
    EXPECT_EQ(blank.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_TRUE(form->ExtraireFrame->labsnapname->text().isEmpty()) << "the thumbnail is not touched";

    source.deliver = true;
    Command("naGrab").Apply();
    source.deliver = false;
    Command("naGrab").Apply();
    EXPECT_EQ(QImage(Pictures() + "Kestrin_003.bmp"), QImage(Pictures() + "Kestrin_002.bmp"));
    EXPECT_EQ(QImage(Pictures() + "Kestrin_003.bmp").pixel(5, 5), qRgb(220, 0, 0));

    // The last frame belongs to its video: the next one starts blank.
    Flag("baRAZWhenOpenFile").SetValue(false);
    form->VideoOpened("/videos/next.avi", true, {720, 405});
    Command("naGrab").Apply();
    EXPECT_EQ(QImage(Pictures() + "Kestrin_004.bmp").pixel(5, 5), qRgb(0, 0, 0));
}

TEST_F(GrabWindow, OpeningAndClosingVideosSwitchTheGrabCommandsAndTheNumbering)
{
    auto &grab = Command("naGrab");
    auto &sliders = Get<TCheckAction>("caSliders");
    Command("naAjouterNumero").Apply();
    Number("iaNextNum").SetValue(9);
    Flag("baRAZWhenOpenFile").SetValue(false);
    form->VideoOpened("/videos/second.mpg", true, {768, 576});
    EXPECT_EQ(Number("iaNextNum").Value(), 9);
    Flag("baRAZWhenOpenFile").SetValue(true);
    Number("iaNomFichierImage").SetValue(1);
    form->VideoOpened("/videos/third.mpg", true, {768, 576});
    EXPECT_EQ(Number("iaNextNum").Value(), 1);
    EXPECT_EQ(form->NextImagePath(), Pictures() + "third_001.bmp");
    EXPECT_TRUE(grab.isEnabled());
    EXPECT_TRUE(form->ImageLab->isVisibleTo(form.get()));
    Command("naGrab").Apply();

    sliders.SetChecked(true);
    form->VideoOpened("/videos/sound.wav", false, {});
    EXPECT_FALSE(grab.isEnabled());
    EXPECT_FALSE(Command("naCopy").isEnabled());
    EXPECT_FALSE(sliders.Checked());
    EXPECT_FALSE(sliders.isEnabled());
    EXPECT_FALSE(form->ImageLab->isVisibleTo(form.get()));

    form->VideoOpened("/videos/third.mpg", true, {768, 576});
    form->VideoClosed();
    EXPECT_FALSE(grab.isEnabled());
    EXPECT_TRUE(form->ExtraireFrame->labsnapname->text().isEmpty());
    EXPECT_TRUE(form->ExtraireFrame->labImagetteTaille->text().isEmpty());
    EXPECT_TRUE(form->ExtraireFrame->Thumbnail->pixmap().isNull());
    EXPECT_TRUE(form->ExtraireFrame->Bevel3->isVisibleTo(form.get()));
    EXPECT_EQ(form->NextImagePath(), Pictures() + "third_001.bmp") << "closing leaves the name";
}

TEST_F(GrabWindow, BeforeAnyVideoTheGrabCommandsAreOffAndNothingIsWritten)
{
    form = OpenWindow();
    Text("waDossierSave").SetValue(Pictures());
    EXPECT_FALSE(Command("naGrab").isEnabled());
    EXPECT_FALSE(Command("naCopy").isEnabled());
    Command("naGrab").Apply(); // as a script may
    EXPECT_TRUE(QDir(Pictures()).isEmpty());
    EXPECT_TRUE(dialogs->messages.isEmpty());
    EXPECT_EQ(Number("iaNextNum").Value(), 1);
}

TEST_F(GrabWindow, ClicksOnTheVideoAndOnTheThumbnail)
{
    const struct {
        bool sauverQuandClic, sliders;
        bool saved, copied;
    } cases[] = {
        {true, false, true, false},
        {false, false, false, true},
        {true, true, false, false},
    };
    for (const auto &c : cases) {
        StartCase();
        QApplication::clipboard()->clear();
        Flag("baSauverQuandClic").SetValue(c.sauverQuandClic);
        Get<TCheckAction>("caSliders").SetChecked(c.sliders);
        SendLeftButton(form->videoPanel, QEvent::MouseButtonPress);
        EXPECT_EQ(!QDir(Pictures()).isEmpty(), c.saved) << c.sauverQuandClic << c.sliders;
        SendLeftButton(form->videoPanel, QEvent::MouseButtonRelease);
        EXPECT_EQ(QDir(Pictures()).entryList(QDir::Files).size(), c.saved ? 1 : 0) << "the press grabs, once";
        EXPECT_EQ(!QApplication::clipboard()->image().isNull(), c.copied) << c.sauverQuandClic << c.sliders;
    }

    auto &position = Get<TWidestringAction>("waStrPosition", L::NavMan);
    position.SetValue("0:00:09:00");
    Click(form->ExtraireFrame->Thumbnail);
    EXPECT_EQ(position.Value(), "0:00:09:00") << "no snapshot, no position";
    Command("naCopy").Apply();
    Click(form->ExtraireFrame->Thumbnail);
    EXPECT_EQ(position.Value(), "0:00:01:12");
}
