#include "platform/shell/DesktopShell.h"
#include "platform/shell/DialogService.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DialogService, WithoutADisplayTheHeadlessAnswerIsTakenAtOnce)
{
    DialogService::Question q{"Overwrite", "The file exists.", {{1, "Yes"}, {2, "No"}, {3, "Cancel"}}, 1, 2};
    testing::internal::CaptureStderr();
    EXPECT_EQ(DialogService::Current().Ask(q), 2);
    QDialog dialog;
    dialog.setWindowTitle("Save preferences");
    EXPECT_EQ(DialogService::Current().RunModal(dialog, 7, "None"), 7);
    EXPECT_TRUE(DialogService::Current().OpenFileName(nullptr, "Open", "/", "*").isEmpty());
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_NE(printed.find("The file exists."), std::string::npos);
    EXPECT_NE(printed.find("-> No"), std::string::npos);
    EXPECT_NE(printed.find("Save preferences\n  -> None"), std::string::npos);
    EXPECT_NE(printed.find("-> cancel"), std::string::npos);
}

TEST(DialogService, AnInstalledServiceAnswersUntilRemoved)
{
    struct Scripted final : DialogService {
        int Ask(const Question &q) override { return q.choices.back().id; }
        int RunModal(QDialog &, int, const QString &) override { return 5; }
        QString OpenFileName(QWidget *, const QString &, const QString &, const QString &) override
        {
            return "a";
        }
        QString SaveFileName(QWidget *, const QString &, const QString &, const QString &) override
        {
            return "b";
        }
        QString FolderName(QWidget *, const QString &, const QString &) override { return "c"; }
    };
    DialogService::Install(std::make_unique<Scripted>());
    EXPECT_EQ(DialogService::Current().Ask({"t", "q", {{1, "Yes"}, {4, "Yes to All"}}, 1, 1}), 4);
    EXPECT_EQ(DialogService::Current().FolderName(nullptr, "t", "/"), "c");
    DialogService::Install(nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(DialogService::Current().Ask({"t", "q", {{1, "Yes"}, {4, "Yes to All"}}, 1, 1}), 1);
    testing::internal::GetCapturedStderr();
}

TEST(DesktopShell, StandardFoldersEndWithASeparator)
{
    EXPECT_TRUE(DesktopShell::PicturesFolder().endsWith('/'));
    EXPECT_TRUE(DesktopShell::DocumentsFolder().endsWith('/'));
}

TEST(DesktopShell, MoveToTrashRemovesTheFileIntoTheUsersTrash)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    ASSERT_TRUE(QDir(home.path()).mkpath("data"));
    qputenv("XDG_DATA_HOME", home.filePath("data").toUtf8());
    const QString path = home.filePath("grab_001.jpg");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("jpeg");
    f.close();
    EXPECT_TRUE(DesktopShell::MoveToTrash(path));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QFile::exists(home.filePath("data/Trash/files/grab_001.jpg")));
    EXPECT_FALSE(DesktopShell::MoveToTrash(home.filePath("missing.jpg")));
    qunsetenv("XDG_DATA_HOME");
}
