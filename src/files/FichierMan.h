#pragma once

#include "framework/ActionCatalogue.h"
#include "framework/KSActionComponent.h"

#include <QString>

#include <array>
#include <functional>

class TBooleanAction;
class TNopeAction;
class TWidestringAction;

// What saving under a new name does when the chosen file exists: overwrite, refuse or ask.
enum TConfirmType { ctAlways, ctNever, ctAskif };

// The manager of a window's current file. It opens, creates, saves and closes that file through
// its actions, keeps the ten most recent names (in the values of waRecentFilename1, the newest,
// to waRecentFilename10) and shows the file's folder in the desktop's file manager. It reads and
// writes no file itself: the host does the loading and saving in OnOpenFile and OnSaveFile, may
// veto a name by its extension in OnTestExtension, and is told of a close in OnCloseFile.
//
// Its actions come from one list of the action catalogue (the main window's "ficman" or the script
// window's "ficman_script"), so they are stored, scripted and reached from the command line like
// any other. Every question and dialog goes through the dialog service. UI thread only, except
// ShortenPath, a pure text function that any thread may call.
class TFichierMan : public TKSActionComponent
{
    Q_OBJECT
  public:
    // fsExisting: the current file exists and was opened, set or saved; fsNew: its name belongs
    // to a file not written yet; fsNone: no current file.
    enum TFileState { fsExisting, fsNew, fsNone };

    using TEvent = std::function<void()>;
    using TFileEvent = std::function<bool(const QString &awidestring)>;
    using TCloseFileEvent = std::function<void(const QString &awidestring)>;
    using TTestExtensionEvent = std::function<bool(const QString &lowerext, const QString &filename)>;

    static constexpr int RecentCount = 10;

    // A manager whose actions are the rows of `list`; Loaded() creates and wires them.
    explicit TFichierMan(ActionCatalogue::List list, QObject *owner = nullptr);

    TConfirmType DeleteExisting = ctAskif;
    // Kept with the component; nothing reads it.
    TConfirmType SaveType = ctAskif;
    // When set, StartNew does nothing: only existing files become current.
    bool ExistingOnly = false;
    // With its dot (".txt"): the extension of new names and of saved names typed without one.
    QString DefaultExtension;
    // The file name, without folder, of a new file.
    QString NewFileName;
    // Set by the host whenever its content changes; cleared by opening, creating and saving.
    bool Modified = false;
    // The value behind baOpenLastFile: reopen the current file at the next start.
    bool ReopenLast = false;

    // A new, empty file has become current.
    TEvent OnNewFile;
    // Load this file; false when that failed.
    TFileEvent OnOpenFile;
    // Write the current content to this file; the result is not used.
    TFileEvent OnSaveFile;
    // The current file, named by the argument, is being closed.
    TCloseFileEvent OnCloseFile;
    // OnOpenFile failed for this file; the result is not used.
    TFileEvent OnErrorOpenFile;
    // May this file be opened? Gets the lower-case extension with its dot and the full name.
    TTestExtensionEvent OnTestExtension;

    // The open and save dialogs' file types: descriptions and patterns alternating, separated
    // by "|" ("Macro Files (*.txt)|*.txt"). Setting it adds an "All files" entry after them.
    QString Filter() const { return filter_; }
    void SetFilter(const QString &filter);
    // The longest the recent-file captions are made (not the number of entries). Setting it
    // recomputes the ten captions.
    int RecentLength() const { return recentLength_; }
    void SetRecentLength(int length);

    QString CurrentName() const { return currentName_; }
    TFileState State() const { return state_; }
    // The value of waInitialDir: where the open dialog starts and new files are named.
    QString InitialFolder() const { return initialFolder_; }
    // The file type list handed to the open and save dialogs, in the dialog service's form
    // ("Macro Files (*.txt);;All files (*)"); empty until Filter is set.
    QString DialogFilter() const { return dialogFilter_; }

    // Makes a new, unsaved file current: named NewFileName (with DefaultExtension) in the
    // initial folder; then OnNewFile. Does nothing with ExistingOnly.
    void StartNew();
    // Makes the existing file `name` current and has the host load it. Refused, silently and
    // with nothing changed, when OnTestExtension vetoes it or no such file exists (a folder
    // does not count). A failed load is reported to OnErrorOpenFile, yet the file stays current
    // and joins the recent list. Returns whether the file became current and loaded.
    bool OpenName(const QString &name);
    // Closes the current file, first offering to save it when modified; OnCloseFile runs
    // whatever the answer.
    void CloseCurrent();
    // Saves an existing current file under its own name.
    void SaveCurrent();
    // Saves the current file as `name` (no dialog, no overwrite question) and makes that name
    // current and first in the recent list.
    void SaveCurrentAs(const QString &name);
    // Shows the current file selected in the desktop's file manager.
    void ShowParentFolder();

    // `name` when no such file exists; otherwise the first free name made of its base (less a
    // final "_" and three digits), "_", a number of at least three digits and its extension.
    static QString NextFreeName(const QString &name);
    // `text` made at most `length` + 4 characters long for a caption: the file name cut to
    // `length` - 4 characters, then the folder cut to what is left, followed by ".../".
    static QString ShortenPath(const QString &text, int length);

  protected:
    void CreateActions() override;
    void LinkActions() override;
    void InitActions() override;

  private:
    template <class A> A *Own(const QString &internalId) const;
    void InitCommand(TNopeAction *action, const QString &caption, const QString &hint,
                     std::function<void()> apply);
    void InitFileActions();
    void InitRecentActions();

    void SetCurrentFileName(const QString &name);
    void UseCurrentName(const QString &name);
    void OpenLastFile(bool reopen);
    void OpenRecent(int index);
    void SaveFile();
    bool ChooseFileToOpen(QString &value);
    bool ChooseFileToSaveAs(QString &value);
    bool ChooseInitialFolder(QString &value);
    bool MayOverwrite(const QString &path) const;
    bool AskYesNo(const QString &text) const;

    void AddToRecent();
    void RenameInRecent(const QString &previousName);
    QString RecentValue(int index) const;
    void SetRecentValue(int index, const QString &value);
    void ShowRecent(int index, const QString &value);
    void UpdateRecentCaption(int index, const QString &value);

    ActionCatalogue::List list_;
    QString currentName_;
    TFileState state_ = fsNone;
    QString initialFolder_;
    QString filter_;
    QString dialogFilter_;
    int recentLength_ = 0;

    TNopeAction *naNewFile_ = nullptr;
    TWidestringAction *waCurrentFileName_ = nullptr;
    TBooleanAction *baOpenLastFile_ = nullptr;
    TWidestringAction *waOpenFile_ = nullptr;
    TWidestringAction *waInitialDir_ = nullptr;
    TNopeAction *naPasteFile_ = nullptr;
    TNopeAction *naSaveFile_ = nullptr;
    TWidestringAction *waSaveFileAs_ = nullptr;
    TNopeAction *naCloseFile_ = nullptr;
    TNopeAction *naParentFolder_ = nullptr;
    std::array<TNopeAction *, RecentCount> naRecent_{};
    std::array<TWidestringAction *, RecentCount> waRecentFilename_{};
};
