#include "FileManagerRig.h"

#include "framework/BooleanAction.h"
#include "framework/KSSwitch.h"
#include "framework/TessalyPreferences.h"
#include "platform/registry/RegistryStore.h"

#include <QWidget>

namespace
{

TEST_F(FileManagerTest, TheRecentListKeepsTenDistinctNamesNewestFirst)
{
    auto fm = MakeMain();
    QStringList all;
    for (int n = 1; n <= 11; ++n)
        all << Touch(QStringLiteral("f%1.mp4").arg(n, 2, 10, QLatin1Char('0')));
    for (int n = 0; n < 10; ++n)
        fm->OpenName(all[n]);
    const QStringList ten = {"f10.mp4", "f09.mp4", "f08.mp4", "f07.mp4", "f06.mp4",
                             "f05.mp4", "f04.mp4", "f03.mp4", "f02.mp4", "f01.mp4"};
    EXPECT_EQ(Recent(*fm), ten);

    fm->OpenName(all[9]);
    EXPECT_EQ(Recent(*fm), ten) << "the first name opened again";

    fm->OpenName(all[6]); // fourth
    EXPECT_EQ(Recent(*fm), QStringList({"f07.mp4", "f10.mp4", "f09.mp4", "f08.mp4", "f06.mp4", "f05.mp4",
                                        "f04.mp4", "f03.mp4", "f02.mp4", "f01.mp4"}));

    fm->OpenName(all[0]); // last
    EXPECT_EQ(Recent(*fm), QStringList({"f01.mp4", "f07.mp4", "f10.mp4", "f09.mp4", "f08.mp4", "f06.mp4",
                                        "f05.mp4", "f04.mp4", "f03.mp4", "f02.mp4"}));

    fm->OpenName(all[10]); // an eleventh name
    EXPECT_EQ(Recent(*fm), QStringList({"f11.mp4", "f01.mp4", "f07.mp4", "f10.mp4", "f09.mp4", "f08.mp4",
                                        "f06.mp4", "f05.mp4", "f04.mp4", "f03.mp4"}));
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(RecentEntry(*fm, i)->Caption(), QString::number(i) + " " + RecentAction(*fm, i)->Value());
}

TEST_F(FileManagerTest, NamesDifferingInLetterCaseAreTwoRecentFiles)
{
    auto fm = MakeMain();
    const QString upper = Touch("A.avi");
    const QString lower = Touch("a.avi");
    fm->OpenName(upper);
    fm->OpenName(lower);
    fm->OpenName(upper);
    EXPECT_EQ(Recent(*fm), Listed({"A.avi", "a.avi"}));
}

TEST_F(FileManagerTest, RecentEntriesOfVanishedFilesStayListedButHidden)
{
    auto fm = MakeMain();
    const QString gone = Touch("gone.mp4");
    fm->OpenName(gone);
    fm->OpenName(Touch("kept.mp4"));
    QFile::remove(gone);
    EXPECT_TRUE(RecentEntry(*fm, 2)->isVisible()) << "nothing looks until the entry changes";

    fm->OpenName(Touch("third.mp4"));
    EXPECT_EQ(Recent(*fm), Listed({"third.mp4", "kept.mp4", "gone.mp4"}));
    EXPECT_TRUE(RecentEntry(*fm, 2)->isVisible());
    EXPECT_FALSE(RecentEntry(*fm, 3)->isVisible());

    Touch("gone.mp4");
    fm->OpenName(Touch("fourth.mp4"));
    EXPECT_TRUE(RecentEntry(*fm, 4)->isVisible()) << "back once the file is";
}

TEST_F(FileManagerTest, ARecentEntryReplacesTheCurrentFile)
{
    auto fm = MakeScript();
    const QString first = Touch("first.txt");
    const QString second = Touch("second.txt");
    fm->OpenName(first);
    fm->OpenName(second);
    fm->Modified = true;
    log.clear();
    dialogs->labels = QStringList{"Yes"};

    RecentEntry(*fm, 2)->DoExecute();

    EXPECT_EQ(log, QStringList({"save second.txt", "close second.txt", "open first.txt"}));
    EXPECT_EQ(fm->CurrentName(), first);
    EXPECT_EQ(Recent(*fm), Listed({"first.txt", "second.txt"}));
}

struct ShortCase {
    QString text;
    int length;
    QString expected;
};

TEST(RecentCaptions, LongPathsAreShortenedFolderFirst)
{
    const QString longFolder = "/media/videos/holidays 2019/brittany/day one/camA/"; // 50 characters
    const QString eightyFolder = "/" + QString(69, 'd') + "/";                       // 71 characters
    const ShortCase cases[] = {
        {"/v/clip.mts", 50, "/v/clip.mts"},
        {longFolder + "clip_0001.mts", 50, longFolder.left(37) + ".../clip_0001.mts"},
        {eightyFolder + "clip1.mts", 50, eightyFolder.left(41) + ".../clip1.mts"},
        {"/v/" + QString(60, 'n'), 50, "/v/" + QString(46, 'n')},
        {"/a/b/c.txt", 8, "/a/b.../c.tx"},
        {"/a/b/c.txt", 0, ".../"},
        {"", 50, ""},
    };
    ASSERT_EQ(longFolder.size(), 50);
    for (const ShortCase &c : cases)
        EXPECT_EQ(TFichierMan::ShortenPath(c.text, c.length), c.expected)
            << c.text.toStdString() << " " << c.length;
    EXPECT_EQ(TFichierMan::ShortenPath(eightyFolder + "clip1.mts", 50).size(), 54);
}

TEST_F(FileManagerTest, ChangingTheCaptionLengthShortensEveryCaptionAndKeepsVisibility)
{
    auto fm = MakeMain();
    const QString clip = Touch("deep/er/clip.mp4");
    fm->OpenName(clip);
    const QString gone = PathOf("nowhere/clip.mp4");
    RecentAction(*fm, 2)->SetValue(gone);
    fm->SetRecentLength(12);
    EXPECT_EQ(RecentEntry(*fm, 1)->Caption(), "1 " + clip.left(4) + ".../clip.mp4");
    EXPECT_EQ(RecentEntry(*fm, 2)->Caption(), "2 " + clip.left(4) + ".../clip.mp4");
    EXPECT_TRUE(RecentEntry(*fm, 1)->isVisible());
    EXPECT_FALSE(RecentEntry(*fm, 2)->isVisible());
}

TEST_F(FileManagerTest, TheOpenSwitchOfTheCommandLineOpensTheFile)
{
    auto fm = MakeMain();
    fm->OnTestExtension = [](const QString &ext, const QString &) { return ext == ".mp4"; };
    TKSSwitch commandLine;
    QWidget window;
    commandLine.MainWindow = &window;
    fm->SetSwitch(&commandLine);
    const QString before = Touch("before.mp4");
    const QString clip = Touch("with blank/Clip=One.mp4");
    fm->OpenName(before);
    log.clear();

    commandLine.Run({"/o=" + clip});

    EXPECT_EQ(log, QStringList({"close before.mp4", "open Clip=One.mp4"}));
    EXPECT_EQ(fm->CurrentName(), clip);
    EXPECT_EQ(Recent(*fm), Listed({"Clip=One.mp4", "before.mp4"}));
}

// Two runs of the program: the first opens files and saves its preferences in the portable INI
// file when it closes, the second loads them at its start.
class StoredRecentFiles : public FileManagerTest
{
  protected:
    void SetUp() override
    {
        FileManagerTest::SetUp();
        registry = std::make_unique<RegistryStore>(dir.filePath("config/registry.reg"));
    }

    std::unique_ptr<TTessalyPreferences> Start(TFichierMan &fm)
    {
        auto gp = std::make_unique<TTessalyPreferences>("Kestrin", dir.path() + "/program/", registry.get());
        QDir().mkpath(dir.path() + "/program");
        gp->OnLoadPrefs = [&fm](TTessalyPreferences &store) {
            store.OpenKey("ShowForm");
            fm.LoadFromPrefs(store);
            store.CloseKey();
        };
        gp->OnSavePrefs = [&fm](TTessalyPreferences &store) {
            store.OpenKey("ShowForm");
            fm.SaveToPrefs(store);
            store.CloseKey();
        };
        gp->LoadAtStart();
        return gp;
    }

    std::unique_ptr<RegistryStore> registry;
};

TEST_F(StoredRecentFiles, TheRecentFilesAndTheOpenFileComeBackAtTheNextStart)
{
    for (bool lastStillThere : {true, false}) {
        SCOPED_TRACE(lastStillThere ? "last file still there" : "last file deleted");
        QFile::remove(dir.filePath("program/Kestrin.ini"));
        QStringList files;
        for (const char *name : {"a.mp4", "b.mp4", "c.mp4"})
            files << Touch(name);
        {
            auto fm = MakeMain();
            auto gp = Start(*fm);
            EXPECT_TRUE(fm->ReopenLast) << "reopening is on by default";
            Action<TWidestringAction>(*fm, "waInitialDir")->SetValue(dir.path());
            for (const QString &file : files)
                fm->OpenName(file);
            log.clear();
            gp->SetMode(spPortable);
            EXPECT_TRUE(gp->SaveAtClosing());
            EXPECT_EQ(log, QStringList({"close c.mp4"})) << "the open file is closed as it is stored";
        }
        if (!lastStillThere)
            QFile::remove(files[2]);
        log.clear();

        auto fm = MakeMain();
        auto gp = Start(*fm);
        EXPECT_EQ(gp->Mode(), spPortable);
        EXPECT_EQ(Recent(*fm), Listed({"c.mp4", "b.mp4", "a.mp4"}));
        EXPECT_EQ(fm->InitialFolder(), dir.path());
        EXPECT_EQ(fm->CurrentName(), files[2]);
        if (lastStillThere) {
            EXPECT_EQ(log, QStringList({"open c.mp4"}));
            EXPECT_EQ(fm->State(), TFichierMan::fsExisting);
        } else {
            EXPECT_TRUE(log.isEmpty());
            EXPECT_EQ(fm->State(), TFichierMan::fsNew);
        }
        for (int i = 1; i <= 3; ++i)
            EXPECT_EQ(RecentEntry(*fm, i)->isVisible(), lastStillThere || i != 1) << i;
        EXPECT_FALSE(RecentEntry(*fm, 4)->isVisible());
        EXPECT_EQ(RecentEntry(*fm, 3)->Caption(), "3 " + TFichierMan::ShortenPath(files[0], 50));
    }
}

TEST_F(StoredRecentFiles, WithoutReopeningTheLastFileStaysOpenAndIsOnlyNamedAtTheNextStart)
{
    const QString clip = Touch("clip.mp4");
    {
        auto fm = MakeMain();
        auto gp = Start(*fm);
        Action<TBooleanAction>(*fm, "baOpenLastFile")->SetValue(false);
        fm->OpenName(clip);
        log.clear();
        gp->SetMode(spPortable);
        gp->SaveAtClosing();
        EXPECT_TRUE(log.isEmpty());
    }
    log.clear();
    auto fm = MakeMain();
    auto gp = Start(*fm);
    EXPECT_FALSE(fm->ReopenLast);
    EXPECT_EQ(fm->CurrentName(), clip);
    EXPECT_EQ(fm->State(), TFichierMan::fsExisting);
    EXPECT_TRUE(log.isEmpty()) << "named, not loaded";
}

} // namespace
