#include "platform/registry/RegTool.h"
#include "platform/registry/RegistryKey.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

class RegToolTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        for (const char *path :
             {"Software\\TSY\\ffdshow\\Video", "Software\\TSY\\LAV", "Software\\Marvo Tessaly\\Kestrin"}) {
            RegistryKey key;
            ASSERT_EQ(key.Open(store_, QString::fromUtf8(path), KeyOpening::CreateIfMissing), S_OK);
            ASSERT_EQ(key.WriteDword(QStringLiteral("n"), 1), S_OK);
        }
    }

    QString WriteFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QTemporaryDir dir_;
    RegistryStore store_{dir_.filePath(QStringLiteral("registry.reg"))};
    RegTool tool_{store_};
};

TEST_F(RegToolTest, DeleteWithForceRemovesTheSubtreeAndSaves)
{
    EXPECT_EQ(tool_.RunCommandLine(QStringLiteral("delete HKCU\\Software\\TSY /F")), 0);
    EXPECT_FALSE(store_.KeyExists(QStringLiteral("Software\\TSY")));
    EXPECT_TRUE(store_.KeyExists(QStringLiteral("Software\\Marvo Tessaly\\Kestrin")));
    RegistryStore reloaded(store_.FilePath());
    EXPECT_FALSE(reloaded.KeyExists(QStringLiteral("Software\\TSY\\LAV")));
    EXPECT_TRUE(reloaded.KeyExists(QStringLiteral("Software\\Marvo Tessaly\\Kestrin")));

    EXPECT_EQ(tool_.RunCommandLine(QStringLiteral("delete HKCU\\Software\\TSY /F")), 1) << "already gone";
}

TEST_F(RegToolTest, RefusedDeletionsTouchNothing)
{
    const char *commands[] = {
        "delete HKCU\\Software\\TSY",        // no /F: nobody can confirm
        "delete HKLM\\Software\\TSY /F",     // another hive
        "delete HKEY_CURRENT_USER /F",       // the whole hive
        "delete HKCU\\Software\\TSY /F /VA", // not a form we run
        "query HKCU\\Software\\TSY",         // not an operation we run
        "",
    };
    for (const char *command : commands) {
        EXPECT_EQ(tool_.RunCommandLine(QString::fromUtf8(command)), 1) << command;
        EXPECT_TRUE(store_.KeyExists(QStringLiteral("Software\\TSY\\ffdshow\\Video"))) << command;
    }
    EXPECT_EQ(tool_.Run({QStringLiteral("DELETE"), QStringLiteral("hkey_current_user\\software\\tsy\\lav"),
                         QStringLiteral("/f")}),
              0);
    EXPECT_FALSE(store_.KeyExists(QStringLiteral("Software\\TSY\\LAV")));
}

TEST_F(RegToolTest, ImportReadsAQuotedFileNameAndSaves)
{
    const QString path =
        WriteFile(QStringLiteral("LAV settings.reg"), "Windows Registry Editor Version 5.00\r\n\r\n"
                                                      "[HKEY_CURRENT_USER\\Software\\TSY\\LAV\\Video]\r\n"
                                                      "\"HWAccel\"=dword:00000003\r\n"
                                                      "[HKEY_LOCAL_MACHINE\\Software\\TSY]\r\n");
    EXPECT_EQ(tool_.RunCommandLine(QStringLiteral("import \"%1\"").arg(path)), 0);
    RegistryStore reloaded(store_.FilePath());
    RegistryKey key;
    ASSERT_EQ(key.Open(reloaded, QStringLiteral("Software\\TSY\\LAV\\Video"), KeyOpening::ExistingOnly),
              S_OK);
    EXPECT_EQ(key.ReadDword(QStringLiteral("HWAccel")), 3u);

    QList<RegFileIssue> issues;
    EXPECT_EQ(tool_.Import(path, &issues), S_OK);
    ASSERT_EQ(issues.size(), 1) << "the other hive is reported";
    EXPECT_EQ(issues.first().line, 5);
}

TEST_F(RegToolTest, ImportFailsForMissingAndForeignFiles)
{
    const QString notRegistry =
        WriteFile(QStringLiteral("notes.txt"), "[HKEY_CURRENT_USER\\Software\\Evil]\n");
    EXPECT_EQ(tool_.Import(dir_.filePath(QStringLiteral("missing.reg"))), E_FILE_NOT_FOUND);
    EXPECT_EQ(tool_.Import(notRegistry), E_INVALIDARG);
    EXPECT_EQ(tool_.Run({QStringLiteral("import"), notRegistry}), 1);
    EXPECT_EQ(tool_.Run({QStringLiteral("import")}), 1);
    EXPECT_FALSE(store_.KeyExists(QStringLiteral("Software\\Evil")));
}

} // namespace
