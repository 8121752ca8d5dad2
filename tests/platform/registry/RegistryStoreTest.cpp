#include "platform/registry/RegistryStore.h"
#include "platform/registry/RegFileWriter.h"
#include "platform/registry/RegistryKey.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstring>

void PrintTo(const RegistryValue &value, std::ostream *out)
{
    *out << value.name.toStdString() << " type " << uint32_t(value.type) << " data "
         << value.data.toHex(' ').toStdString();
}

namespace
{

const QString kProgramKey = QStringLiteral("Software\\Marvo Tessaly\\Kestrin");

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class RegistryStoreTest : public ::testing::Test
{
  protected:
    QString StorePath() const { return dir_.filePath(QStringLiteral("Marvo Tessaly/registry.reg")); }

    QTemporaryDir dir_;
};

QByteArray DoubleBytes(double x)
{
    QByteArray bytes(8, '\0');
    qToLittleEndian(x, bytes.data());
    return bytes;
}

} // namespace

TEST_F(RegistryStoreTest, EveryKindOfValueSurvivesTheFile)
{
    QByteArray longBinary;
    for (int i = 0; i < 300; ++i)
        longBinary.append(char(i * 7));
    const std::vector<RegistryValue> values = {
        RegistryValue::FromString({}, QStringLiteral("the default value")),
        RegistryValue::FromString(QStringLiteral("Version"),
                                  QStringLiteral("Kestrin 1.0 \"English\" C:\\x\\")),
        RegistryValue::FromString(QStringLiteral("Dernière Sauvegarde"),
                                  QStringLiteral("2026/12/10 22:00:00 é€😀")),
        RegistryValue::FromString(QStringLiteral("Empty"), QString()),
        RegistryValue::FromString(QStringLiteral("Lone surrogate"),
                                  QString(QChar(0xD800)) + QStringLiteral("x")),
        RegistryValue::FromString(QStringLiteral("Two lines"), QStringLiteral("a\r\nb")),
        RegistryValue::FromString(QStringLiteral("Expand"), QStringLiteral("%HOME%/x"),
                                  RegistryValueType::ExpandString),
        RegistryValue::FromMultiString(QStringLiteral("Multi"),
                                       {QStringLiteral("one"), QStringLiteral("two")}),
        RegistryValue::FromDword(QStringLiteral("Dword"), 0xDEADBEEF),
        RegistryValue::FromQword(QStringLiteral("Qword"), 0x0123456789ABCDEFull),
        RegistryValue::FromBinary(QStringLiteral("Float"), DoubleBytes(-2.5e-7)),
        RegistryValue::FromBinary(QStringLiteral("Long binary"), longBinary),
        RegistryValue::FromBinary(QStringLiteral("No bytes"), {}),
        RegistryValue{QStringLiteral("None"), RegistryValueType::None, QByteArray("\x01\x02", 2)},
        RegistryValue{QStringLiteral("Odd string"), RegistryValueType::String, QByteArray("abc", 3)},
        RegistryValue{QStringLiteral("Short dword"), RegistryValueType::Dword, QByteArray("\x05", 1)},
        RegistryValue{QStringLiteral("Private type"), RegistryValueType(0x20), QByteArray("xyz", 3)},
    };
    {
        RegistryStore store(StorePath());
        RegistryKey key;
        ASSERT_EQ(key.Open(store, kProgramKey + QStringLiteral("\\ShowForm"), KeyOpening::CreateIfMissing),
                  S_OK);
        for (const RegistryValue &value : values)
            ASSERT_EQ(key.WriteValue(value), S_OK);
        ASSERT_EQ(key.Close(), S_OK);
        ASSERT_EQ(key.Open(store, kProgramKey + QStringLiteral("\\ShowForm\\Empty key"),
                           KeyOpening::CreateIfMissing),
                  S_OK);
        ASSERT_EQ(key.Close(), S_OK);
    }
    const QByteArray file = ReadBytes(StorePath());
    ASSERT_TRUE(file.startsWith(QByteArray("\xFF\xFEW\0i\0n\0", 8)));
    EXPECT_TRUE(file.contains(QByteArray(",\0\\\0\r\0\n\0 \0 \0", 12))) << "long values continue over lines";

    RegistryStore reloaded(StorePath());
    EXPECT_EQ(reloaded.LoadError(), QString());
    RegistryKey key;
    ASSERT_EQ(key.Open(reloaded, kProgramKey + QStringLiteral("\\ShowForm"), KeyOpening::ExistingOnly), S_OK);
    QStringList names;
    for (const RegistryValue &value : values) {
        names << value.name;
        EXPECT_EQ(key.ReadValue(value.name), std::optional<RegistryValue>(value));
    }
    EXPECT_EQ(key.ValueNames(), names);
    EXPECT_EQ(key.SubkeyNames(), QStringList{QStringLiteral("Empty key")});
    EXPECT_EQ(*key.ReadString(QStringLiteral("Two lines")), QStringLiteral("a\r\nb"));
    EXPECT_EQ(*key.ReadMultiString(QStringLiteral("Multi")),
              (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
}

TEST(RegistryValue, StringsKeepTheirTerminatingZeroAndReadBackWithoutIt)
{
    struct Case {
        QByteArray data;
        std::optional<QString> text;
    };
    const Case cases[] = {
        {QByteArray("a\0b\0c\0\0\0", 8), QStringLiteral("abc")},
        {QByteArray("a\0b\0", 4), QStringLiteral("ab")}, // no terminator stored
        {QByteArray("\0", 1), QString()},                // one byte or less is the empty text
        {QByteArray(), QString()},
        {QByteArray("a\0\0\0\0\0", 6), QString(QStringLiteral("a") + QChar(0))}, // only one zero dropped
    };
    for (const Case &c : cases)
        EXPECT_EQ((RegistryValue{{}, RegistryValueType::String, c.data}.ToString()), c.text)
            << c.data.toHex().data();
    EXPECT_EQ(RegistryValue::FromString({}, QStringLiteral("abc")).data.size(), 8);
    EXPECT_EQ(RegistryValue::FromDword({}, 1).ToString(), std::nullopt);
    EXPECT_EQ(RegistryValue::FromBinary({}, QByteArray(4, '\1')).ToDword(), std::nullopt);
}

TEST_F(RegistryStoreTest, NamesAreFoundWithoutRegardToCaseAndKeepTheirFirstCase)
{
    RegistryStore store(StorePath());
    RegistryKey key;
    ASSERT_EQ(
        key.Open(store, QStringLiteral("Software\\Marvo Tessaly\\Kestrin"), KeyOpening::CreateIfMissing),
        S_OK);
    ASSERT_EQ(key.WriteDword(QStringLiteral("Volume"), 1), S_OK);
    ASSERT_EQ(key.WriteDword(QStringLiteral("VOLUME"), 2), S_OK);
    EXPECT_EQ(key.ValueNames(), QStringList{QStringLiteral("Volume")});
    EXPECT_EQ(key.ReadDword(QStringLiteral("volume")), 2u);
    RegistryValueType type{};
    qsizetype size = 0;
    ASSERT_TRUE(key.QueryValue(QStringLiteral("vOLUME"), type, size));
    EXPECT_EQ(type, RegistryValueType::Dword);
    EXPECT_EQ(size, 4);
    EXPECT_EQ(key.DeleteValue(QStringLiteral("VoLuMe")), S_OK);
    EXPECT_FALSE(key.ValueExists(QStringLiteral("Volume")));
    EXPECT_EQ(key.DeleteValue(QStringLiteral("Volume")), E_FILE_NOT_FOUND);

    RegistryKey parent;
    ASSERT_EQ(parent.Open(store, QStringLiteral("SOFTWARE\\marvo tessaly"), KeyOpening::ExistingOnly), S_OK);
    ASSERT_EQ(
        parent.Open(store, QStringLiteral("software\\marvo tessaly\\zeta"), KeyOpening::CreateIfMissing),
        S_OK);
    ASSERT_EQ(
        parent.Open(store, QStringLiteral("software\\marvo tessaly\\Alpha"), KeyOpening::CreateIfMissing),
        S_OK);
    ASSERT_EQ(parent.Open(store, QStringLiteral("software\\MARVO TESSALY"), KeyOpening::ExistingOnly), S_OK);
    EXPECT_EQ(parent.SubkeyNames(),
              (QStringList{QStringLiteral("Alpha"), QStringLiteral("Kestrin"), QStringLiteral("zeta")}));
    EXPECT_TRUE(store.KeyExists(QStringLiteral("SOFTWARE\\MARVO TESSALY\\KESTRIN")));
}

TEST_F(RegistryStoreTest, OpeningChecksExistenceAndNames)
{
    RegistryStore store(StorePath());
    RegistryKey key;
    EXPECT_EQ(key.Open(store, kProgramKey, KeyOpening::ExistingOnly), E_FILE_NOT_FOUND);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.Open(store, QStringLiteral("Software\\bad\nname"), KeyOpening::CreateIfMissing),
              E_INVALIDARG);
    ASSERT_EQ(key.Open(store, kProgramKey, KeyOpening::CreateIfMissing), S_OK);
    EXPECT_EQ(key.Path(), kProgramKey);
    EXPECT_EQ(key.WriteString(QStringLiteral("a\rb"), QStringLiteral("x")), E_INVALIDARG);
    EXPECT_TRUE(key.ValueNames().isEmpty());
}

TEST_F(RegistryStoreTest, DeletingAKeyRemovesItsWholeSubtreeAndNothingElse)
{
    RegistryStore store(StorePath());
    for (const char *path :
         {"Software\\Marvo Tessaly\\Kestrin\\ShowForm\\FormSave",
          "Software\\Marvo Tessaly\\Kestrin\\ScriptForm", "Software\\Marvo Tessaly\\Other"}) {
        RegistryKey key;
        ASSERT_EQ(key.Open(store, QString::fromUtf8(path), KeyOpening::CreateIfMissing), S_OK);
        ASSERT_EQ(key.WriteDword(QStringLiteral("Left"), 3), S_OK);
    }
    RegistryKey held;
    ASSERT_EQ(held.Open(store, kProgramKey + QStringLiteral("\\ShowForm"), KeyOpening::ExistingOnly), S_OK);

    EXPECT_EQ(store.DeleteKeyTree(QStringLiteral("software\\marvo tessaly\\kestrin")), S_OK);
    EXPECT_FALSE(store.KeyExists(kProgramKey));
    EXPECT_FALSE(store.KeyExists(kProgramKey + QStringLiteral("\\ShowForm\\FormSave")));
    EXPECT_FALSE(held.Exists());
    EXPECT_EQ(held.WriteDword(QStringLiteral("Top"), 1), E_FILE_NOT_FOUND);
    EXPECT_EQ(held.ReadDword(QStringLiteral("Left")), std::nullopt);

    RegistryKey maker;
    ASSERT_EQ(maker.Open(store, QStringLiteral("Software\\Marvo Tessaly"), KeyOpening::ExistingOnly), S_OK);
    EXPECT_TRUE(maker.HasSubkeys()) << "another program of the same maker stays";
    EXPECT_EQ(store.DeleteKeyTree(QStringLiteral("Software\\Marvo Tessaly\\Other")), S_OK);
    EXPECT_FALSE(maker.HasSubkeys());

    EXPECT_EQ(store.DeleteKeyTree(QStringLiteral("Software\\Marvo Tessaly\\Other")), E_FILE_NOT_FOUND);
    EXPECT_EQ(store.DeleteKeyTree(QString()), E_INVALIDARG);

    RegistryStore reloaded(StorePath());
    EXPECT_TRUE(reloaded.KeyExists(QStringLiteral("Software\\Marvo Tessaly")));
    EXPECT_FALSE(reloaded.KeyExists(kProgramKey));
    EXPECT_FALSE(reloaded.KeyExists(QStringLiteral("Software\\Marvo Tessaly\\Other")));
}

TEST_F(RegistryStoreTest, TheFileIsReadOnFirstUseAndWrittenWhenAChangedKeyCloses)
{
    RegistryStore store(StorePath());
    EXPECT_FALSE(store.IsLoaded());
    QDir().mkpath(QFileInfo(StorePath()).absolutePath());
    WriteBytes(StorePath(),
               "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\TSY]\r\n"
               "\"Written after construction\"=dword:00000007\r\n");
    RegistryKey key;
    ASSERT_EQ(key.Open(store, QStringLiteral("Software\\TSY"), KeyOpening::ExistingOnly), S_OK);
    EXPECT_TRUE(store.IsLoaded());
    EXPECT_EQ(key.ReadDword(QStringLiteral("Written after construction")), 7u);

    const QByteArray before = ReadBytes(StorePath());
    for (uint32_t i = 0; i < 50; ++i)
        ASSERT_EQ(key.WriteDword(QStringLiteral("Value %1").arg(i), i), S_OK);
    EXPECT_EQ(ReadBytes(StorePath()), before) << "writes of an open key wait for its closing";
    EXPECT_TRUE(store.HasUnsavedChanges());
    ASSERT_EQ(key.Close(), S_OK);
    EXPECT_FALSE(store.HasUnsavedChanges());

    RegistryStore reloaded(StorePath());
    ASSERT_EQ(key.Open(reloaded, QStringLiteral("software\\tsy"), KeyOpening::ExistingOnly), S_OK);
    EXPECT_EQ(key.ValueNames().size(), 51);
    EXPECT_EQ(key.ReadDword(QStringLiteral("Value 49")), 49u);
}

TEST_F(RegistryStoreTest, ReadingAloneNeverCreatesTheFile)
{
    {
        RegistryStore store(StorePath());
        RegistryKey key;
        EXPECT_EQ(key.Open(store, kProgramKey, KeyOpening::ExistingOnly), E_FILE_NOT_FOUND);
        EXPECT_FALSE(store.KeyExists(QStringLiteral("Software")));
        EXPECT_EQ(store.LoadError(), QString());
    }
    EXPECT_FALSE(QFile::exists(StorePath()));
}

TEST_F(RegistryStoreTest, AFailedRenameLeavesThePreviousFileIntactAndIsReported)
{
    RegistryStore store(StorePath());
    RegistryKey key;
    ASSERT_EQ(key.Open(store, kProgramKey, KeyOpening::CreateIfMissing), S_OK);
    ASSERT_EQ(key.WriteString(QStringLiteral("Version"), QStringLiteral("first")), S_OK);
    ASSERT_EQ(key.Close(), S_OK);
    const QByteArray saved = ReadBytes(StorePath());

    store.SetRenameFunction([](const QString &, const QString &) { return false; });
    ASSERT_EQ(key.Open(store, kProgramKey, KeyOpening::ExistingOnly), S_OK);
    ASSERT_EQ(key.WriteString(QStringLiteral("Version"), QStringLiteral("second")), S_OK);
    EXPECT_EQ(key.Close(), E_FAIL);
    EXPECT_FALSE(store.SaveError().isEmpty());
    EXPECT_TRUE(store.HasUnsavedChanges());
    EXPECT_EQ(ReadBytes(StorePath()), saved);
    EXPECT_EQ(QDir(QFileInfo(StorePath()).absolutePath()).entryList(QDir::Files), QStringList{"registry.reg"})
        << "the temporary file is removed";

    store.SetRenameFunction(nullptr);
    EXPECT_EQ(store.Flush(), S_OK);
    EXPECT_TRUE(store.SaveError().isEmpty());
    RegistryStore reloaded(StorePath());
    ASSERT_EQ(key.Open(reloaded, kProgramKey, KeyOpening::ExistingOnly), S_OK);
    EXPECT_EQ(key.ReadString(QStringLiteral("Version")), QStringLiteral("second"));
}

TEST_F(RegistryStoreTest, AFolderThatCannotBeMadeFailsTheSave)
{
    WriteBytes(dir_.filePath(QStringLiteral("blocker")), "a file where the folder should be");
    RegistryStore store(dir_.filePath(QStringLiteral("blocker/registry.reg")));
    RegistryKey key;
    ASSERT_EQ(key.Open(store, kProgramKey, KeyOpening::CreateIfMissing), S_OK);
    EXPECT_EQ(key.Close(), E_FAIL);
    EXPECT_TRUE(store.SaveError().contains(QStringLiteral("blocker")));
}

namespace
{

int g_warnings = 0;

void CountWarnings(QtMsgType type, const QMessageLogContext &, const QString &)
{
    if (type == QtWarningMsg)
        ++g_warnings;
}

} // namespace

TEST_F(RegistryStoreTest, ACorruptFileIsReportedOnceAndKeptAsideAtTheFirstSave)
{
    QDir().mkpath(QFileInfo(StorePath()).absolutePath());
    const QByteArray corrupt = "Windows Registry Editor Version 5.00\r\n"
                               "[HKEY_CURRENT_USER\\Software\\TSY]\r\n"
                               "\"Kept\"=dword:00000001\r\n"
                               "\"Broken\"=dword:zz\r\n";
    WriteBytes(StorePath(), corrupt);

    RegistryStore store(StorePath());
    g_warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(CountWarnings);
    EXPECT_TRUE(store.KeyExists(QStringLiteral("Software\\TSY")));
    EXPECT_TRUE(store.KeyExists(QStringLiteral("Software\\TSY")));
    qInstallMessageHandler(previous);
    EXPECT_EQ(g_warnings, 1);
    EXPECT_TRUE(store.LoadError().contains(QStringLiteral("line 4"))) << store.LoadError().toStdString();
    EXPECT_EQ(ReadBytes(StorePath()), corrupt) << "loading does not touch the file";

    RegistryKey key;
    ASSERT_EQ(key.Open(store, QStringLiteral("Software\\TSY"), KeyOpening::ExistingOnly), S_OK);
    EXPECT_EQ(key.ReadDword(QStringLiteral("Kept")), 1u);
    ASSERT_EQ(key.WriteDword(QStringLiteral("New"), 2), S_OK);
    ASSERT_EQ(key.Close(), S_OK);
    EXPECT_EQ(ReadBytes(StorePath() + QStringLiteral(".corrupt")), corrupt);
    RegistryStore reloaded(StorePath());
    EXPECT_TRUE(reloaded.LoadError().isEmpty());
    ASSERT_EQ(key.Open(reloaded, QStringLiteral("Software\\TSY"), KeyOpening::ExistingOnly), S_OK);
    EXPECT_EQ(key.ValueNames(), (QStringList{QStringLiteral("Kept"), QStringLiteral("New")}));
}

TEST_F(RegistryStoreTest, ACorruptFileThatCannotBeKeptAsideIsNeverOverwritten)
{
    QDir().mkpath(StorePath() + QStringLiteral(".corrupt/occupied"));
    const QByteArray garbage("\x00\x01 not a registry file at all", 30);
    WriteBytes(StorePath(), garbage);

    RegistryStore store(StorePath());
    RegistryKey key;
    ASSERT_EQ(key.Open(store, kProgramKey, KeyOpening::CreateIfMissing), S_OK);
    EXPECT_FALSE(store.LoadError().isEmpty());
    EXPECT_EQ(key.Close(), E_FAIL);
    EXPECT_EQ(ReadBytes(StorePath()), garbage);
    EXPECT_TRUE(store.SaveError().contains(QStringLiteral(".corrupt")));
}

TEST_F(RegistryStoreTest, MovingTheStoreSavesPendingChangesFirst)
{
    RegistryStore store(StorePath());
    RegistryKey key;
    ASSERT_EQ(key.Open(store, kProgramKey, KeyOpening::CreateIfMissing), S_OK);
    ASSERT_EQ(key.WriteDword(QStringLiteral("n"), 5), S_OK);
    const QString otherPath = dir_.filePath(QStringLiteral("other.reg"));
    store.SetFilePath(otherPath);
    EXPECT_FALSE(store.IsLoaded());
    EXPECT_FALSE(store.KeyExists(kProgramKey));
    store.SetFilePath(StorePath());
    EXPECT_TRUE(store.KeyExists(kProgramKey));
}

TEST(RegistryStore, TheUserStoreLivesInTheGenericConfigFolder)
{
    EXPECT_TRUE(RegistryStore::DefaultFilePath().endsWith(QStringLiteral("/Marvo Tessaly/registry.reg")));
    EXPECT_EQ(RegistryStore::User().FilePath(), RegistryStore::DefaultFilePath());
}
