#pragma once

#include "files/FichierMan.h"
#include "framework/NopeAction.h"
#include "framework/WidestringAction.h"
#include "platform/core/Paths.h"
#include "platform/shell/DialogService.h"
#include "support/QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

// A dialog service that answers questions by button label, in turn, and file or folder dialogs
// with one chosen path (empty: cancelled); it remembers what was asked.
struct ScriptedDialogs final : DialogService {
    struct FileQuestion {
        QString kind; // "open", "save" or "folder"
        QString title;
        QString where; // the folder or proposed path
        QString filter;
    };

    int Ask(const Question &q) override
    {
        questions << q.text;
        const QString label = labels.isEmpty() ? QString() : labels.takeFirst();
        for (const Choice &c : q.choices)
            if (c.label == label)
                return c.id;
        return q.headlessAnswer;
    }
    int RunModal(QDialog &, int headlessAnswer, const QString &) override { return headlessAnswer; }
    QString OpenFileName(QWidget *, const QString &title, const QString &folder,
                         const QString &filter) override
    {
        files.append({QStringLiteral("open"), title, folder, filter});
        return chosen;
    }
    QString SaveFileName(QWidget *, const QString &title, const QString &path, const QString &filter) override
    {
        files.append({QStringLiteral("save"), title, path, filter});
        return chosen;
    }
    QString FolderName(QWidget *, const QString &title, const QString &folder) override
    {
        files.append({QStringLiteral("folder"), title, folder, QString()});
        return chosen;
    }

    QStringList labels;
    QString chosen;
    QStringList questions;
    QList<FileQuestion> files;
};

// A temporary folder of real files, a scripted dialog service and file managers whose host
// events write a log ("open a.mp4", "close a.mp4", ...; names without their folder).
class FileManagerTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        auto service = std::make_unique<ScriptedDialogs>();
        dialogs = service.get();
        DialogService::Install(std::move(service));
    }
    void TearDown() override { DialogService::Install(nullptr); }

    // Creates (or rewrites) the file `name` in the folder; returns its path.
    QString Touch(const QString &name)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(Paths::ExtractFileDir(path));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        return path;
    }
    QString PathOf(const QString &name) const { return dir.filePath(name); }

    // The main window's instance: only existing files, videos by their extension.
    std::unique_ptr<TFichierMan> MakeMain()
    {
        auto fm = Make(ActionCatalogue::List::ficman);
        fm->ExistingOnly = true;
        return fm;
    }
    // The script window's instance: new files are "script.txt" in the initial folder.
    std::unique_ptr<TFichierMan> MakeScript()
    {
        auto fm = Make(ActionCatalogue::List::ficman_script);
        fm->DefaultExtension = ".txt";
        fm->NewFileName = "script.txt";
        fm->SetFilter("Macro Files (*.txt)|*.txt");
        return fm;
    }

    std::unique_ptr<TFichierMan> Make(ActionCatalogue::List list)
    {
        auto fm = std::make_unique<TFichierMan>(list);
        fm->Loaded();
        fm->OnOpenFile = [this](const QString &name) {
            log << "open " + Paths::ExtractFileName(name);
            return loads;
        };
        fm->OnErrorOpenFile = [this](const QString &name) {
            log << "error " + Paths::ExtractFileName(name);
            return true;
        };
        fm->OnCloseFile = [this](const QString &name) { log << "close " + Paths::ExtractFileName(name); };
        fm->OnNewFile = [this] { log << "new"; };
        fm->OnSaveFile = [this](const QString &name) {
            log << "save " + Paths::ExtractFileName(name);
            QFile file(name);
            return file.open(QIODevice::WriteOnly);
        };
        return fm;
    }

    template <class A> static A *Action(const TFichierMan &fm, const QString &name)
    {
        auto *action = dynamic_cast<A *>(fm.FindByInternalId(name));
        EXPECT_NE(action, nullptr) << name.toStdString();
        return action;
    }
    static TWidestringAction *RecentAction(const TFichierMan &fm, int i)
    {
        return Action<TWidestringAction>(fm, QStringLiteral("waRecentFilename%1").arg(i));
    }
    static TNopeAction *RecentEntry(const TFichierMan &fm, int i)
    {
        return Action<TNopeAction>(fm, QStringLiteral("naRecent%1").arg(i));
    }
    // The ten recent names, newest first, without their folders; empty entries as "".
    static QStringList Recent(const TFichierMan &fm)
    {
        QStringList names;
        for (int i = 1; i <= TFichierMan::RecentCount; ++i)
            names << Paths::ExtractFileName(RecentAction(fm, i)->Value());
        return names;
    }
    // The first entries of a recent list, the rest of its ten places empty.
    static QStringList Listed(QStringList names)
    {
        while (names.size() < TFichierMan::RecentCount)
            names << QString();
        return names;
    }

    QTemporaryDir dir;
    ScriptedDialogs *dialogs = nullptr;
    QStringList log;
    bool loads = true; // what OnOpenFile answers
};
