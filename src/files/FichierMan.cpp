#include "FichierMan.h"

#include "framework/BooleanAction.h"
#include "framework/NopeAction.h"
#include "framework/WidestringAction.h"
#include "platform/core/Paths.h"
#include "platform/shell/DesktopShell.h"
#include "platform/shell/DialogService.h"

#include <QFileInfo>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace
{

// A file (not a folder) of that name exists.
bool FileExists(const QString &name)
{
    const QFileInfo info(name);
    return info.exists() && !info.isDir();
}

void SetTexts(TCustomAbstractAction *action, const QString &caption, const QString &hint)
{
    action->SetCaption(caption);
    action->SetHint(hint);
}

// One entry of a file dialog's type list: the description without the patterns it may already
// show in parentheses, then the entry's own patterns. "*.*" becomes "*", since here a name need
// not hold a dot to be a file.
QString DialogFilterEntry(QString description, const QString &patterns)
{
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open > 0 && description.trimmed().endsWith(QLatin1Char(')')))
        description = description.left(open).trimmed();
    QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString &pattern : list) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
    }
    return description + QStringLiteral(" (") + list.join(QLatin1Char(' ')) + QLatin1Char(')');
}

// "Description|patterns|Description|patterns" turned into the dialog service's
// "Description (patterns);;Description (patterns)". A description without patterns is dropped.
QString DialogFilterOf(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << DialogFilterEntry(parts[i], parts[i + 1]);
    return entries.join(QStringLiteral(";;"));
}

} // namespace

TFichierMan::TFichierMan(ActionCatalogue::List list, QObject *owner) : TKSActionComponent(owner), list_(list)
{
    setObjectName(ActionCatalogue::ListName(list));
}

// --- Properties ------------------------------------------------------------------------------

void TFichierMan::SetFilter(const QString &filter)
{
    filter_ = filter;
    const QString allFiles = QStringLiteral("All files (*.*)|*.*");
    dialogFilter_ = DialogFilterOf(filter.isEmpty() ? allFiles : filter + QLatin1Char('|') + allFiles);
}

void TFichierMan::SetRecentLength(int length)
{
    recentLength_ = length;
    for (int i = 0; i < RecentCount; ++i)
        UpdateRecentCaption(i, RecentValue(i));
}

// --- Opening, creating, closing and saving ---------------------------------------------------

void TFichierMan::StartNew()
{
    if (ExistingOnly)
        return;
    SetCurrentFileName(Paths::IncludeTrailingPathDelimiter(initialFolder_) +
                       Paths::ChangeFileExt(NewFileName, DefaultExtension));
    state_ = fsNew;
    if (OnNewFile)
        OnNewFile();
    Modified = false;
}

bool TFichierMan::OpenName(const QString &name)
{
    const QString ext = Paths::ExtractFileExt(name).toLower();
    if (OnTestExtension && !OnTestExtension(ext, name))
        return false;
    if (!FileExists(name))
        return false;
    SetCurrentFileName(name);
    state_ = fsExisting;
    bool loaded = true;
    if (OnOpenFile) {
        try {
            loaded = OnOpenFile(name);
        } catch (...) {
            loaded = false; // a host that throws has failed to load, like one that says so
        }
    }
    if (!loaded && OnErrorOpenFile)
        OnErrorOpenFile(name);
    AddToRecent();
    Modified = false;
    return loaded;
}

void TFichierMan::CloseCurrent()
{
    if (state_ == fsNone)
        return;
    if (Modified && AskYesNo(QStringLiteral("Do you want to save the open file ?\n"
                                            "If not, all changes will be lost"))) {
        // As if chosen by the user: a new file gets the save dialog first.
        if (naSaveFile_)
            naSaveFile_->DoExecute();
        else
            SaveFile();
    }
    if (OnCloseFile)
        OnCloseFile(currentName_);
    SetCurrentFileName(QString());
    state_ = fsNone;
    Modified = false; // whatever the host did while closing, nothing is left to save
}

void TFichierMan::SaveCurrent()
{
    if (state_ != fsExisting)
        return;
    if (OnSaveFile)
        OnSaveFile(currentName_);
    Modified = false;
}

void TFichierMan::SaveCurrentAs(const QString &name)
{
    if (state_ == fsNone || name.isEmpty())
        return;
    const QString previousName = currentName_;
    SetCurrentFileName(name);
    if (OnSaveFile)
        OnSaveFile(name);
    state_ = fsExisting;
    RenameInRecent(previousName);
    Modified = false;
}

void TFichierMan::ShowParentFolder()
{
    if (!currentName_.isEmpty())
        DesktopShell::RevealInFileManager(currentName_);
}

// The save command: a file that was never written needs a name first.
void TFichierMan::SaveFile()
{
    if (state_ != fsNew)
        SaveCurrent();
    else if (waSaveFileAs_)
        waSaveFileAs_->DoExecute();
}

// Through the action when there is one, so the value, its macro line and the host's handlers
// follow; the action's apply handler lands in UseCurrentName.
void TFichierMan::SetCurrentFileName(const QString &name)
{
    if (waCurrentFileName_)
        waCurrentFileName_->SetValue(name);
    else
        UseCurrentName(name);
}

// A name set from outside (a script, the stored preferences) changes the name and the state
// only; nothing is loaded. An empty name leaves no file current.
void TFichierMan::UseCurrentName(const QString &name)
{
    currentName_ = name;
    if (name.isEmpty())
        state_ = fsNone;
    else
        state_ = FileExists(name) ? fsExisting : fsNew;
}

void TFichierMan::OpenLastFile(bool reopen)
{
    ReopenLast = reopen;
    if (!reopen)
        return;
    if (FileExists(currentName_))
        OpenName(currentName_);
    else
        StartNew();
}

// A recent file replaces the current one like any other opened file, so unsaved changes are
// offered for saving and the host hears of the close.
void TFichierMan::OpenRecent(int index)
{
    const QString name = RecentValue(index);
    CloseCurrent();
    OpenName(name);
}

// --- Dialogs and questions -------------------------------------------------------------------

bool TFichierMan::ChooseFileToOpen(QString &value)
{
    value = DialogService::Current().OpenFileName(
        qobject_cast<QWidget *>(parent()), QStringLiteral("Select the file to open"),
        Paths::ExcludeTrailingPathDelimiter(initialFolder_), dialogFilter_);
    return !value.isEmpty();
}

bool TFichierMan::ChooseFileToSaveAs(QString &value)
{
    if (!OnSaveFile || state_ == fsNone)
        return false;
    QString path = DialogService::Current().SaveFileName(qobject_cast<QWidget *>(parent()),
                                                         QStringLiteral("Select the target file"),
                                                         NextFreeName(currentName_), dialogFilter_);
    if (path.isEmpty())
        return false;
    if (Paths::ExtractFileExt(path).isEmpty() && DefaultExtension.size() > 1)
        path += QLatin1Char('.') + DefaultExtension.mid(1);
    if (!MayOverwrite(path))
        return false;
    value = path;
    return true;
}

bool TFichierMan::ChooseInitialFolder(QString &value)
{
    value = DialogService::Current().FolderName(qobject_cast<QWidget *>(parent()),
                                                QStringLiteral("Select a folder"), QString());
    return !value.isEmpty();
}

bool TFichierMan::MayOverwrite(const QString &path) const
{
    if (!FileExists(path))
        return true;
    switch (DeleteExisting) {
    case ctAlways:
        return true;
    case ctNever:
        return false;
    case ctAskif:
        break;
    }
    return AskYesNo(QStringLiteral("Do you want to overwrite the existing file:\n%1 ?").arg(path));
}

// A warning with Yes and No; closing it, or nobody there to answer, means No.
bool TFichierMan::AskYesNo(const QString &text) const
{
    enum { Yes, No };
    DialogService::Question question;
    question.title = QStringLiteral("Warning");
    question.text = text;
    question.choices = {{Yes, QStringLiteral("Yes")}, {No, QStringLiteral("No")}};
    question.defaultChoice = No;
    question.headlessAnswer = No;
    return DialogService::Current().Ask(question) == Yes;
}

QString TFichierMan::NextFreeName(const QString &name)
{
    if (!FileExists(name))
        return name;
    const QString ext = Paths::ExtractFileExt(name);
    QString base = name.chopped(ext.size());
    const QString tail = base.right(4);
    if (tail.size() == 4 && tail[0] == QLatin1Char('_') &&
        std::all_of(tail.begin() + 1, tail.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        base.chop(4);
    for (int n = 1;; ++n) {
        const QString candidate = base + QStringLiteral("_%1").arg(n, 3, 10, QLatin1Char('0')) + ext;
        if (!FileExists(candidate))
            return candidate;
    }
}

// --- Recent files ----------------------------------------------------------------------------

QString TFichierMan::ShortenPath(const QString &text, int length)
{
    const qsizetype nameStart = text.lastIndexOf(QLatin1Char('/')) + 1;
    QString folder = text.left(nameStart);
    const QString name = text.mid(nameStart).left(std::max(0, length - 4));
    const qsizetype room = std::max<qsizetype>(0, length - name.size());
    if (folder.size() > room)
        folder = folder.left(room) + QStringLiteral(".../");
    return folder + name;
}

QString TFichierMan::RecentValue(int index) const
{
    return waRecentFilename_[index] ? waRecentFilename_[index]->Value() : QString();
}

void TFichierMan::SetRecentValue(int index, const QString &value)
{
    if (waRecentFilename_[index])
        waRecentFilename_[index]->SetValue(value);
}

// The current name goes first; the entries above its old place (all of them when it was not
// listed, the last one then dropping out) move down one.
void TFichierMan::AddToRecent()
{
    if (RecentValue(0) == currentName_)
        return;
    int from = RecentCount - 1;
    for (int i = 1; i < RecentCount; ++i) {
        if (RecentValue(i) == currentName_) {
            from = i;
            break;
        }
    }
    for (int i = from; i > 0; --i)
        SetRecentValue(i, RecentValue(i - 1));
    SetRecentValue(0, currentName_);
}

// After a save under a new name the file's old name, first in the list since it was opened,
// gives way to the new one. A file never listed (a new file, say) takes no other entry's place.
void TFichierMan::RenameInRecent(const QString &previousName)
{
    if (!FileExists(currentName_))
        return;
    if (RecentValue(0) == previousName) {
        for (int i = 0; i + 1 < RecentCount; ++i)
            SetRecentValue(i, RecentValue(i + 1));
        SetRecentValue(RecentCount - 1, QString());
    }
    AddToRecent();
}

// An entry is offered only while its file exists; it stays in the list meanwhile.
void TFichierMan::ShowRecent(int index, const QString &value)
{
    UpdateRecentCaption(index, value);
    if (naRecent_[index])
        naRecent_[index]->setVisible(FileExists(value));
}

void TFichierMan::UpdateRecentCaption(int index, const QString &value)
{
    if (naRecent_[index])
        naRecent_[index]->SetCaption(QString::number(index + 1) + QLatin1Char(' ') +
                                     ShortenPath(value, recentLength_));
}

// --- Actions ---------------------------------------------------------------------------------

template <class A> A *TFichierMan::Own(const QString &internalId) const
{
    return qobject_cast<A *>(FindByInternalId(internalId));
}

void TFichierMan::CreateActions()
{
    TKSActionComponent::CreateActions();
    ActionCatalogue::CreateActions(*this, list_);
    const std::pair<const char *, int> images[] = {
        {"naNewFile", 8},    {"waOpenFile", 10},  {"naPasteFile", 5},    {"naSaveFile", 9},
        {"waSaveFileAs", 6}, {"naCloseFile", 11}, {"naParentFolder", 7},
    };
    for (const auto &[name, index] : images)
        if (TCustomAbstractAction *action = FindByInternalId(QLatin1String(name)))
            action->SetImageIndex(index);
    SetRecentLength(50);
}

void TFichierMan::LinkActions()
{
    TKSActionComponent::LinkActions();
    naNewFile_ = Own<TNopeAction>(QStringLiteral("naNewFile"));
    waCurrentFileName_ = Own<TWidestringAction>(QStringLiteral("waCurrentFileName"));
    baOpenLastFile_ = Own<TBooleanAction>(QStringLiteral("baOpenLastFile"));
    waOpenFile_ = Own<TWidestringAction>(QStringLiteral("waOpenFile"));
    waInitialDir_ = Own<TWidestringAction>(QStringLiteral("waInitialDir"));
    naPasteFile_ = Own<TNopeAction>(QStringLiteral("naPasteFile"));
    naSaveFile_ = Own<TNopeAction>(QStringLiteral("naSaveFile"));
    waSaveFileAs_ = Own<TWidestringAction>(QStringLiteral("waSaveFileAs"));
    naCloseFile_ = Own<TNopeAction>(QStringLiteral("naCloseFile"));
    naParentFolder_ = Own<TNopeAction>(QStringLiteral("naParentFolder"));
    for (int i = 0; i < RecentCount; ++i) {
        const QString number = QString::number(i + 1);
        naRecent_[i] = Own<TNopeAction>(QStringLiteral("naRecent") + number);
        waRecentFilename_[i] = Own<TWidestringAction>(QStringLiteral("waRecentFilename") + number);
    }
}

void TFichierMan::InitActions()
{
    TKSActionComponent::InitActions();
    InitFileActions();
    InitRecentActions();
}

void TFichierMan::InitCommand(TNopeAction *action, const QString &caption, const QString &hint,
                              std::function<void()> apply)
{
    if (!action)
        return;
    SetTexts(action, caption, hint);
    action->InternalApply = std::move(apply);
}

void TFichierMan::InitFileActions()
{
    InitCommand(naNewFile_, QStringLiteral("New..."), QStringLiteral("Open a new file"), [this] {
        CloseCurrent();
        StartNew();
    });
    InitCommand(naPasteFile_, QStringLiteral("Paste"), QStringLiteral("Paste a file"), nullptr);
    InitCommand(naSaveFile_, QStringLiteral("Save"), QStringLiteral("Save the current file"),
                [this] { SaveFile(); });
    InitCommand(naCloseFile_, QStringLiteral("Close"), QStringLiteral("Close the selected file"),
                [this] { CloseCurrent(); });
    InitCommand(naParentFolder_, QStringLiteral("Parent folder"),
                QStringLiteral("Open the parent folder of the selected file"),
                [this] { ShowParentFolder(); });
    if (waOpenFile_) {
        SetTexts(waOpenFile_, QStringLiteral("Open..."), QStringLiteral("Open a file"));
        waOpenFile_->InternalPrepare = [this](QString &value) { return ChooseFileToOpen(value); };
        waOpenFile_->InternalApply = [this](const QString &name) {
            CloseCurrent();
            OpenName(name);
        };
    }
    if (waCurrentFileName_) {
        SetTexts(waCurrentFileName_, QStringLiteral("Current File"), QStringLiteral("File currently open"));
        waCurrentFileName_->InternalApply = [this](const QString &name) { UseCurrentName(name); };
        waCurrentFileName_->InternalBeforeSave = [this](QString &value) {
            value = state_ == fsNone ? QString() : currentName_;
            return true;
        };
    }
    if (baOpenLastFile_) {
        SetTexts(baOpenLastFile_, QStringLiteral("Previous File"),
                 QStringLiteral("Open the previous file at start"));
        baOpenLastFile_->InternalApply = [this](const bool &reopen) { OpenLastFile(reopen); };
        // Stored after the current name: the file is closed now and opened again at the next start.
        baOpenLastFile_->InternalBeforeSave = [this](bool &value) {
            value = ReopenLast;
            if (value)
                CloseCurrent();
            return true;
        };
    }
    if (waInitialDir_) {
        SetTexts(waInitialDir_, QStringLiteral("Initial Folder"),
                 QStringLiteral("If you change this folder, then files to open will be searched in it"));
        waInitialDir_->InternalPrepare = [this](QString &value) { return ChooseInitialFolder(value); };
        waInitialDir_->InternalApply = [this](const QString &folder) { initialFolder_ = folder; };
    }
    if (waSaveFileAs_) {
        SetTexts(waSaveFileAs_, QStringLiteral("Save as..."),
                 QStringLiteral("Name and save the current file"));
        waSaveFileAs_->InternalPrepare = [this](QString &value) { return ChooseFileToSaveAs(value); };
        waSaveFileAs_->InternalApply = [this](const QString &name) { SaveCurrentAs(name); };
    }
}

void TFichierMan::InitRecentActions()
{
    for (int i = 0; i < RecentCount; ++i) {
        const QString number = QString::number(i + 1);
        InitCommand(naRecent_[i], number, QStringLiteral("Open the recent file"),
                    [this, i] { OpenRecent(i); });
        if (waRecentFilename_[i]) {
            SetTexts(waRecentFilename_[i], QStringLiteral("Filename") + number, QString());
            waRecentFilename_[i]->InternalApply = [this, i](const QString &name) { ShowRecent(i, name); };
        }
    }
}
