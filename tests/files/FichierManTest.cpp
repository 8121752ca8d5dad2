#include "FileManagerRig.h"

#include "framework/BooleanAction.h"

#include <QFileInfo>

#include <stdexcept>

namespace
{

using State = TFichierMan::TFileState;

TEST_F(FileManagerTest, OpeningAnExistingFileMakesItCurrentAndFirstInTheRecentList)
{
    auto fm = MakeMain();
    QStringList tested;
    fm->OnTestExtension = [&](const QString &ext, const QString &name) {
        tested << ext << name;
        return true;
    };
    const QString clip = Touch("Clip.Mp4");
    fm->Modified = true;

    EXPECT_TRUE(fm->OpenName(clip));

    EXPECT_EQ(tested, QStringList({".mp4", clip})) << "the extension is lower-cased, the name kept";
    EXPECT_EQ(log, QStringList({"open Clip.Mp4"}));
    EXPECT_EQ(fm->CurrentName(), clip);
    EXPECT_EQ(fm->State(), TFichierMan::fsExisting);
    EXPECT_EQ(Action<TWidestringAction>(*fm, "waCurrentFileName")->Value(), clip);
    EXPECT_FALSE(fm->Modified);
    EXPECT_EQ(Recent(*fm), Listed({"Clip.Mp4"}));
    EXPECT_TRUE(RecentEntry(*fm, 1)->isVisible());
    EXPECT_EQ(RecentEntry(*fm, 1)->Caption(), "1 " + clip);
    EXPECT_FALSE(RecentEntry(*fm, 2)->isVisible()) << "an empty entry names no file";
}

struct RefusedCase {
    const char *what;
    QString name; // relative to the folder; "" stays empty
    bool vetoed;  // the host refuses every extension but ".mp4"
};

TEST_F(FileManagerTest, RefusedNamesChangeNothingButThroughTheOpenCommandTheFileIsClosed)
{
    Touch("clip.wav");
    QDir(dir.path()).mkdir("folder.mp4");
    const RefusedCase cases[] = {
        {"vetoed extension", "clip.wav", true},
        {"missing file", "missing.mp4", false},
        {"folder", "folder.mp4", false},
        {"no name", "", false},
    };
    const QString current = Touch("current.mp4");
    for (const RefusedCase &c : cases) {
        SCOPED_TRACE(c.what);
        auto fm = MakeMain();
        fm->OnTestExtension = [](const QString &ext, const QString &) { return ext == ".mp4"; };
        fm->OpenName(current);
        log.clear();
        const QString name = c.name.isEmpty() ? QString() : PathOf(c.name);

        EXPECT_FALSE(fm->OpenName(name));
        EXPECT_TRUE(log.isEmpty()) << log.join(", ").toStdString();
        EXPECT_EQ(fm->CurrentName(), current);
        EXPECT_EQ(fm->State(), TFichierMan::fsExisting);
        EXPECT_EQ(Recent(*fm), Listed({"current.mp4"}));
        EXPECT_TRUE(dialogs->questions.isEmpty()) << "nothing is reported";

        Action<TWidestringAction>(*fm, "waOpenFile")->SetValue(name);
        EXPECT_EQ(log, QStringList({"close current.mp4"}));
        EXPECT_EQ(fm->State(), TFichierMan::fsNone);
        EXPECT_EQ(fm->CurrentName(), "");
    }
}

TEST_F(FileManagerTest, AFailedLoadIsReportedYetTheFileBecomesCurrentAndRecent)
{
    const QString broken = Touch("broken.avi");
    for (bool throws : {false, true}) {
        SCOPED_TRACE(throws ? "host throws" : "host answers false");
        auto fm = MakeMain();
        log.clear();
        fm->OnOpenFile = [&](const QString &name) {
            log << "open " + Paths::ExtractFileName(name);
            if (throws)
                throw std::runtime_error("unreadable");
            return false;
        };
        EXPECT_FALSE(fm->OpenName(broken));
        EXPECT_EQ(log, QStringList({"open broken.avi", "error broken.avi"}));
        EXPECT_EQ(fm->CurrentName(), broken);
        EXPECT_EQ(fm->State(), TFichierMan::fsExisting);
        EXPECT_EQ(Recent(*fm), Listed({"broken.avi"}));
    }
}

TEST_F(FileManagerTest, ClosingTellsTheHostTheNameOnceAndLeavesNoFile)
{
    auto fm = MakeMain();
    const QString clip = Touch("clip.mkv");
    fm->OpenName(clip);
    log.clear();

    Action<TNopeAction>(*fm, "naCloseFile")->Apply();
    Action<TNopeAction>(*fm, "naCloseFile")->Apply();

    EXPECT_EQ(log, QStringList({"close clip.mkv"}));
    EXPECT_EQ(fm->State(), TFichierMan::fsNone);
    EXPECT_EQ(fm->CurrentName(), "");
    EXPECT_EQ(Action<TWidestringAction>(*fm, "waCurrentFileName")->Value(), "");
    EXPECT_EQ(Recent(*fm), Listed({"clip.mkv"})) << "a closed file stays recent";
    EXPECT_TRUE(dialogs->questions.isEmpty()) << "an unmodified file is closed without a question";
}

struct CloseCase {
    const char *what;
    bool newFile;    // a new script rather than an opened one
    QString answer;  // to the question "save the open file?"
    QString saveAs;  // the save dialog's choice, relative to the folder; "" cancels
    QStringList log; // what the host was asked to do
    int saveDialogs;
};

TEST_F(FileManagerTest, AModifiedFileIsOfferedForSavingBeforeItCloses)
{
    const QString saveQuestion = "Do you want to save the open file ?\nIf not, all changes will be lost";
    const CloseCase cases[] = {
        {"opened, No", false, "No", "", {"close a.txt"}, 0},
        {"opened, Yes", false, "Yes", "", {"save a.txt", "close a.txt"}, 0},
        {"new, No", true, "No", "", {"close script.txt"}, 0},
        {"new, Yes, named", true, "Yes", "kept.txt", {"save kept.txt", "close kept.txt"}, 1},
        {"new, Yes, cancelled", true, "Yes", "", {"close script.txt"}, 1},
    };
    const QString opened = Touch("a.txt");
    for (const CloseCase &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(PathOf("kept.txt"));
        dialogs->files.clear();
        dialogs->questions.clear();
        auto fm = MakeScript();
        Action<TWidestringAction>(*fm, "waInitialDir")->SetValue(dir.path());
        if (c.newFile)
            fm->StartNew();
        else
            fm->OpenName(opened);
        fm->Modified = true;
        log.clear();
        dialogs->labels = QStringList{c.answer};
        dialogs->chosen = c.saveAs.isEmpty() ? QString() : PathOf(c.saveAs);

        fm->CloseCurrent();

        EXPECT_EQ(dialogs->questions, QStringList({saveQuestion}));
        EXPECT_EQ(log, c.log);
        EXPECT_EQ(dialogs->files.size(), c.saveDialogs);
        EXPECT_EQ(fm->State(), TFichierMan::fsNone);
        EXPECT_FALSE(fm->Modified);
    }
}

TEST_F(FileManagerTest, WithoutAnyoneToAnswerAModifiedFileIsClosedUnsaved)
{
    DialogService::Install(nullptr); // the offscreen platform's own service
    auto fm = MakeScript();
    fm->OpenName(Touch("a.txt"));
    fm->Modified = true;
    log.clear();
    fm->CloseCurrent();
    EXPECT_EQ(log, QStringList({"close a.txt"}));
}

struct NewCase {
    const char *what;
    QString initialFolder;
    QString newFileName;
    QString defaultExtension;
    QString expected;
};

TEST_F(FileManagerTest, ANewFileIsNamedInTheInitialFolderWithTheDefaultExtension)
{
    const NewCase cases[] = {
        {"usual", "/home/ann/scripts", "script.txt", ".txt", "/home/ann/scripts/script.txt"},
        {"folder with its slash", "/home/ann/scripts/", "script.txt", ".txt", "/home/ann/scripts/script.txt"},
        {"extension replaced", "/s", "macro.pas", ".txt", "/s/macro.txt"},
        {"extension added", "/s", "macro", ".txt", "/s/macro.txt"},
        {"dot in the folder only", "/s.d", "macro", ".txt", "/s.d/macro.txt"},
        {"no initial folder", "", "script.txt", ".txt", "/script.txt"},
    };
    for (const NewCase &c : cases) {
        SCOPED_TRACE(c.what);
        auto fm = Make(ActionCatalogue::List::ficman_script);
        fm->NewFileName = c.newFileName;
        fm->DefaultExtension = c.defaultExtension;
        Action<TWidestringAction>(*fm, "waInitialDir")->SetValue(c.initialFolder);
        fm->Modified = true;
        log.clear();
        Action<TNopeAction>(*fm, "naNewFile")->Apply();
        EXPECT_EQ(fm->CurrentName(), c.expected);
        EXPECT_EQ(fm->State(), TFichierMan::fsNew);
        EXPECT_EQ(log, QStringList({"new"}));
        EXPECT_FALSE(fm->Modified);
        EXPECT_EQ(Recent(*fm), Listed({})) << "a new file is not recent until saved";
    }
}

TEST_F(FileManagerTest, ANewFileOfAnExistingNameIsStillNewAndOnlyExistingFilesMeansNoNewFile)
{
    auto script = MakeScript();
    Action<TWidestringAction>(*script, "waInitialDir")->SetValue(dir.path());
    Touch("script.txt");
    script->StartNew();
    EXPECT_EQ(script->State(), TFichierMan::fsNew);

    auto main = MakeMain();
    main->OpenName(Touch("clip.mp4"));
    log.clear();
    Action<TNopeAction>(*main, "naNewFile")->Apply();
    EXPECT_EQ(log, QStringList({"close clip.mp4"}));
    EXPECT_EQ(main->State(), TFichierMan::fsNone);
}

TEST_F(FileManagerTest, SettingTheCurrentNameLoadsNothing)
{
    auto fm = MakeScript();
    const QString existing = Touch("a.txt");
    auto *current = Action<TWidestringAction>(*fm, "waCurrentFileName");
    const std::pair<QString, State> cases[] = {
        {existing, TFichierMan::fsExisting},
        {PathOf("later.txt"), TFichierMan::fsNew},
        {"", TFichierMan::fsNone},
    };
    for (const auto &[name, state] : cases) {
        current->SetValue(name);
        EXPECT_EQ(fm->CurrentName(), name);
        EXPECT_EQ(fm->State(), state) << name.toStdString();
    }
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(Recent(*fm), Listed({}));
}

TEST_F(FileManagerTest, TheOpenCommandAsksForAFileAndAHeadlessRunCancels)
{
    auto fm = MakeScript();
    Action<TWidestringAction>(*fm, "waInitialDir")->SetValue(dir.path() + "/");
    const QString first = Touch("first.txt");
    const QString second = Touch("second.txt");
    fm->OpenName(first);
    log.clear();
    auto *open = Action<TWidestringAction>(*fm, "waOpenFile");

    dialogs->chosen = second;
    open->DoExecute();
    ASSERT_EQ(dialogs->files.size(), 1);
    EXPECT_EQ(dialogs->files[0].kind, "open");
    EXPECT_EQ(dialogs->files[0].title, "Select the file to open");
    EXPECT_EQ(dialogs->files[0].where, dir.path());
    EXPECT_EQ(dialogs->files[0].filter, "Macro Files (*.txt);;All files (*)");
    EXPECT_EQ(log, QStringList({"close first.txt", "open second.txt"}));

    dialogs->chosen.clear();
    open->DoExecute();
    DialogService::Install(nullptr);
    open->DoExecute();
    EXPECT_EQ(log, QStringList({"close first.txt", "open second.txt"}))
        << "a cancelled dialog changes nothing";
    EXPECT_EQ(fm->CurrentName(), second);
}

struct SaveAsCase {
    const char *what;
    TConfirmType deleteExisting;
    bool targetExists;
    QString answer; // to the overwrite question
    bool asked;
    bool saved;
};

TEST_F(FileManagerTest, SavingUnderANewNameFollowsTheOverwriteRule)
{
    const SaveAsCase cases[] = {
        {"free name, ask", ctAskif, false, "", false, true},
        {"free name, never", ctNever, false, "", false, true},
        {"existing, always", ctAlways, true, "", false, true},
        {"existing, never", ctNever, true, "", false, false},
        {"existing, ask, Yes", ctAskif, true, "Yes", true, true},
        {"existing, ask, No", ctAskif, true, "No", true, false},
    };
    for (const SaveAsCase &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(PathOf("target.txt"));
        const QString source = Touch("source.txt");
        const QString target = c.targetExists ? Touch("target.txt") : PathOf("target.txt");
        auto fm = MakeScript();
        fm->DeleteExisting = c.deleteExisting;
        fm->OpenName(source);
        fm->Modified = true;
        log.clear();
        dialogs->questions.clear();
        dialogs->files.clear();
        dialogs->chosen = target;
        dialogs->labels = QStringList{c.answer};

        Action<TWidestringAction>(*fm, "waSaveFileAs")->DoExecute();

        ASSERT_EQ(dialogs->files.size(), 1);
        EXPECT_EQ(dialogs->files[0].title, "Select the target file");
        EXPECT_EQ(dialogs->files[0].where, PathOf("source_001.txt")) << "the existing name is not proposed";
        EXPECT_EQ(dialogs->questions,
                  c.asked ? QStringList{"Do you want to overwrite the existing file:\n" + target + " ?"}
                          : QStringList());
        if (c.saved) {
            EXPECT_EQ(log, QStringList({"save target.txt"}));
            EXPECT_EQ(fm->CurrentName(), target);
            EXPECT_FALSE(fm->Modified);
            EXPECT_EQ(Recent(*fm), Listed({"target.txt"})) << "the new name replaces the old";
        } else {
            EXPECT_TRUE(log.isEmpty());
            EXPECT_EQ(fm->CurrentName(), source);
            EXPECT_TRUE(fm->Modified);
            EXPECT_EQ(Recent(*fm), Listed({"source.txt"}));
        }
    }
}

TEST_F(FileManagerTest, SavingANewFileNamesItFirstAndKeepsTheOtherRecentFiles)
{
    auto fm = MakeScript();
    Action<TWidestringAction>(*fm, "waInitialDir")->SetValue(dir.path());
    fm->OpenName(Touch("older.txt"));
    fm->OpenName(Touch("old.txt"));
    fm->StartNew();
    log.clear();
    auto *save = Action<TNopeAction>(*fm, "naSaveFile");

    dialogs->chosen = PathOf("typed"); // no extension typed: the default one is added
    save->DoExecute();
    EXPECT_EQ(dialogs->files.size(), 1);
    EXPECT_EQ(dialogs->files.value(0).where, PathOf("script.txt"));
    EXPECT_EQ(log, QStringList({"save typed.txt"}));
    EXPECT_EQ(fm->State(), TFichierMan::fsExisting);
    EXPECT_EQ(Recent(*fm), Listed({"typed.txt", "old.txt", "older.txt"}));

    save->DoExecute();
    EXPECT_EQ(dialogs->files.size(), 1) << "an existing file is saved under its own name";
    EXPECT_EQ(log, QStringList({"save typed.txt", "save typed.txt"}));
}

TEST_F(FileManagerTest, SaveCommandsNeedASaverAndACurrentFile)
{
    auto main = MakeMain();
    main->OnSaveFile = nullptr; // as in the main window
    main->OpenName(Touch("clip.mp4"));
    dialogs->chosen = PathOf("copy.mp4");
    Action<TWidestringAction>(*main, "waSaveFileAs")->DoExecute();
    EXPECT_TRUE(dialogs->files.isEmpty());

    auto script = MakeScript();
    Action<TWidestringAction>(*script, "waSaveFileAs")->DoExecute();
    Action<TNopeAction>(*script, "naSaveFile")->DoExecute();
    script->SaveCurrentAs(PathOf("direct.txt"));
    EXPECT_TRUE(dialogs->files.isEmpty());
    EXPECT_EQ(log, QStringList({"open clip.mp4"})) << "with no current file nothing is saved";
}

struct FreeNameCase {
    QStringList existing;
    QString name;
    QString expected;
};

TEST_F(FileManagerTest, TheSaveDialogProposesTheFirstFreeNumberedName)
{
    const FreeNameCase cases[] = {
        {{}, "a/name.ext", "a/name.ext"},
        {{"b/name.ext"}, "b/name.ext", "b/name_001.ext"},
        {{"c/name.ext", "c/name_001.ext"}, "c/name.ext", "c/name_002.ext"},
        {{"d/name_007.ext"}, "d/name_007.ext", "d/name_001.ext"},
        {{"e/test_004.txt", "e/test_001.txt"}, "e/test_004.txt", "e/test_002.txt"},
        {{"f/x_12.txt"}, "f/x_12.txt", "f/x_12_001.txt"},
        {{"g/x_1a2.txt"}, "g/x_1a2.txt", "g/x_1a2_001.txt"},
        {{"h/data"}, "h/data", "h/data_001"},
        {{"i.v/data"}, "i.v/data", "i.v/data_001"},
    };
    for (const FreeNameCase &c : cases) {
        for (const QString &name : c.existing)
            Touch(name);
        EXPECT_EQ(TFichierMan::NextFreeName(PathOf(c.name)), PathOf(c.expected)) << c.name.toStdString();
    }
    for (int n = 1; n <= 999; ++n)
        Touch(QStringLiteral("j/v_%1.txt").arg(n, 3, 10, QLatin1Char('0')));
    EXPECT_EQ(TFichierMan::NextFreeName(PathOf("j/v_500.txt")), PathOf("j/v_1000.txt"));
}

TEST_F(FileManagerTest, CommandsCarryTheirCaptionsAndHints)
{
    auto fm = MakeMain();
    const std::tuple<const char *, const char *, const char *> texts[] = {
        {"naNewFile", "New...", "Open a new file"},
        {"waOpenFile", "Open...", "Open a file"},
        {"waCurrentFileName", "Current File", "File currently open"},
        {"baOpenLastFile", "Previous File", "Open the previous file at start"},
        {"waInitialDir", "Initial Folder",
         "If you change this folder, then files to open will be searched in it"},
        {"naPasteFile", "Paste", "Paste a file"},
        {"naSaveFile", "Save", "Save the current file"},
        {"waSaveFileAs", "Save as...", "Name and save the current file"},
        {"naCloseFile", "Close", "Close the selected file"},
        {"naParentFolder", "Parent folder", "Open the parent folder of the selected file"},
        {"naRecent1", "1", "Open the recent file"},
        {"naRecent10", "10", "Open the recent file"},
        {"waRecentFilename7", "Filename7", ""},
    };
    for (const auto &[name, caption, hint] : texts) {
        const TCustomAbstractAction *action = fm->FindByInternalId(name);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->Caption(), caption) << name;
        EXPECT_EQ(action->Hint(), hint) << name;
    }
    EXPECT_EQ(fm->Actions().size(), 30);
    EXPECT_EQ(fm->RecentLength(), 50);
}

TEST_F(FileManagerTest, TheInitialFolderCommandAsksForAFolder)
{
    auto fm = MakeScript();
    auto *initialDir = Action<TWidestringAction>(*fm, "waInitialDir");
    dialogs->chosen = PathOf("scripts");
    initialDir->DoExecute();
    ASSERT_EQ(dialogs->files.size(), 1);
    EXPECT_EQ(dialogs->files[0].title, "Select a folder");
    EXPECT_EQ(dialogs->files[0].where, "");
    EXPECT_EQ(fm->InitialFolder(), PathOf("scripts"));
    dialogs->chosen.clear();
    initialDir->DoExecute();
    EXPECT_EQ(fm->InitialFolder(), PathOf("scripts")) << "cancelled: unchanged";
}

} // namespace
