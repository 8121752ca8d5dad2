#include "platform/registry/RegFileReader.h"
#include "platform/registry/RegFileWriter.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

#include <random>

namespace
{

enum class Encoding { Utf8, Utf16LeBom, Latin1 };

QByteArray Encode(const QString &text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Utf16LeBom:
        return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom).encode(text);
    case Encoding::Latin1:
        return text.toLatin1();
    }
    return {};
}

QByteArray Utf16(const QString &text)
{
    return EncodeRegistryString(text);
}

// What a hive holds before each import: a value to delete and a key tree to delete.
const char kExisting[] = "Windows Registry Editor Version 5.00\r\n"
                         "[HKEY_CURRENT_USER\\Software\\TSY\\Old]\r\n"
                         "\"Stale\"=dword:00000001\r\n"
                         "[HKEY_CURRENT_USER\\Software\\TSY\\Gone\\Deeper]\r\n"
                         "\"x\"=\"y\"\r\n";

struct ImportCase {
    const char *what;
    Encoding encoding;
    QString text;
    const char *key;
    // nullptr: the key itself must be gone.
    const char *valueName;
    // nullopt: the value must be absent.
    std::optional<RegistryValue> expected;
    // 0: the file must import without issues.
    int issueLine;
};

const QString V5 = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n");
const QString R4 = QStringLiteral("REGEDIT4\n\n");
const QString TSY = QStringLiteral("[HKEY_CURRENT_USER\\Software\\TSY]\r\n");

RegistryValue Value(RegistryValueType type, const QByteArray &data)
{
    return {{}, type, data};
}

std::vector<ImportCase> ImportCases()
{
    using T = RegistryValueType;
    return {
        {"escapes in strings", Encoding::Utf8, V5 + TSY + QStringLiteral(R"("Path"="C:\\dir\\\"q\"")"),
         "Software\\TSY", "Path", Value(T::String, Utf16(QStringLiteral(R"(C:\dir\"q")"))), 0},
        {"escaped quote in a name", Encoding::Utf8, V5 + TSY + QStringLiteral(R"("a \"b\""="c")"),
         "Software\\TSY", "a \"b\"", Value(T::String, Utf16(QStringLiteral("c"))), 0},
        {"default value and the HKCU short name", Encoding::Utf8,
         V5 + QStringLiteral("[HKCU\\Software\\TSY]\r\n@=\"d\""), "Software\\TSY", "",
         Value(T::String, Utf16(QStringLiteral("d"))), 0},
        {"dword", Encoding::Utf8, V5 + TSY + QStringLiteral("\"n\"=dword:0000002a"), "Software\\TSY", "n",
         RegistryValue::FromDword({}, 42), 0},
        {"dword in capitals", Encoding::Utf8, V5 + TSY + QStringLiteral("\"n\"=DWORD:FFFFFFFF"),
         "Software\\TSY", "n", RegistryValue::FromDword({}, 0xFFFFFFFF), 0},
        {"binary", Encoding::Utf8, V5 + TSY + QStringLiteral("\"b\"=hex:01,ff,1A"), "Software\\TSY", "b",
         Value(T::Binary, QByteArray("\x01\xff\x1a", 3)), 0},
        {"empty binary", Encoding::Utf8, V5 + TSY + QStringLiteral("\"b\"=hex:"), "Software\\TSY", "b",
         Value(T::Binary, {}), 0},
        {"expand string", Encoding::Utf8, V5 + TSY + QStringLiteral("\"e\"=hex(2):25,00,41,00,25,00,00,00"),
         "Software\\TSY", "e", Value(T::ExpandString, Utf16(QStringLiteral("%A%"))), 0},
        {"multi-string", Encoding::Utf8,
         V5 + TSY + QStringLiteral("\"m\"=hex(7):61,00,00,00,62,00,00,00,00,00"), "Software\\TSY", "m",
         RegistryValue::FromMultiString({}, {QStringLiteral("a"), QStringLiteral("b")}), 0},
        {"qword", Encoding::Utf8, V5 + TSY + QStringLiteral("\"q\"=hex(b):01,00,00,00,00,00,00,80"),
         "Software\\TSY", "q", RegistryValue::FromQword({}, 0x8000000000000001ull), 0},
        {"no type", Encoding::Utf8, V5 + TSY + QStringLiteral("\"z\"=hex(0):"), "Software\\TSY", "z",
         Value(T::None, {}), 0},
        {"continuation lines", Encoding::Utf8,
         V5 + TSY + QStringLiteral("\"c\"=hex:01,02,\\\r\n  03,04,\\\r\n\t05\r\n\"after\"=dword:1"),
         "Software\\TSY", "c", Value(T::Binary, QByteArray("\x01\x02\x03\x04\x05", 5)), 0},
        {"a string ending in a backslash is no continuation", Encoding::Utf8,
         V5 + TSY + QStringLiteral("\"p\"=\"C:\\\\\"\r\n\"next\"=\"n\""), "Software\\TSY", "next",
         Value(T::String, Utf16(QStringLiteral("n"))), 0},
        {"UTF-16 file", Encoding::Utf16LeBom, V5 + TSY + QStringLiteral("\"t\"=\"caf\u00e9 \u20ac\""),
         "Software\\TSY", "t", Value(T::String, Utf16(QStringLiteral("caf\u00e9 \u20ac"))), 0},
        {"8-bit old file", Encoding::Latin1,
         R4 + QStringLiteral("[HKEY_CURRENT_USER\\Software\\TSY]\n\"t\"=\"caf\u00e9\""), "Software\\TSY", "t",
         Value(T::String, Utf16(QStringLiteral("caf\u00e9"))), 0},
        {"8-bit expand string of an old file", Encoding::Latin1,
         R4 + QStringLiteral("[HKEY_CURRENT_USER\\Software\\TSY]\n\"e\"=hex(2):41,e9,00"), "Software\\TSY",
         "e", Value(T::ExpandString, Utf16(QStringLiteral("A\u00e9"))), 0},
        {"comments and blank lines", Encoding::Utf8,
         V5 + QStringLiteral("; made by hand\r\n\r\n") + TSY +
             QStringLiteral("  ; indented\r\n\r\n\"v\"=\"1\""),
         "Software\\TSY", "v", Value(T::String, Utf16(QStringLiteral("1"))), 0},
        {"key deletion", Encoding::Utf8, V5 + QStringLiteral("[-HKEY_CURRENT_USER\\Software\\TSY\\Gone]"),
         "Software\\TSY\\Gone", nullptr, std::nullopt, 0},
        {"values after a key deletion are ignored", Encoding::Utf8,
         V5 + QStringLiteral("[-HKEY_CURRENT_USER\\Software\\TSY\\Old]\r\n\"Stale\"=dword:2"),
         "Software\\TSY\\Old", nullptr, std::nullopt, 0},
        {"value deletion", Encoding::Utf8,
         V5 + QStringLiteral("[HKEY_CURRENT_USER\\Software\\TSY\\Old]\r\n\"stale\"=-"), "Software\\TSY\\Old",
         "Stale", std::nullopt, 0},
        {"other hive skipped", Encoding::Utf8,
         V5 + QStringLiteral("[HKEY_LOCAL_MACHINE\\Software\\TSY]\r\n\"lm\"=\"x\""), "Software\\TSY", "lm",
         std::nullopt, 3},
        {"malformed data skipped, next line read", Encoding::Utf8,
         V5 + TSY + QStringLiteral("\"bad\"=dword:xyz\r\n\"good\"=\"1\""), "Software\\TSY", "good",
         Value(T::String, Utf16(QStringLiteral("1"))), 4},
        {"malformed hex skipped", Encoding::Utf8, V5 + TSY + QStringLiteral("\"bad\"=hex:1,234"),
         "Software\\TSY", "bad", std::nullopt, 4},
        {"dword too long", Encoding::Utf8, V5 + TSY + QStringLiteral("\"bad\"=dword:123456789"),
         "Software\\TSY", "bad", std::nullopt, 4},
        {"unterminated string", Encoding::Utf8, V5 + TSY + QStringLiteral("\"bad\"=\"open"), "Software\\TSY",
         "bad", std::nullopt, 4},
        {"text after a string", Encoding::Utf8, V5 + TSY + QStringLiteral("\"bad\"=\"a\" b"), "Software\\TSY",
         "bad", std::nullopt, 4},
        {"missing equals sign", Encoding::Utf8, V5 + TSY + QStringLiteral("\"bad\" \"a\""), "Software\\TSY",
         "bad", std::nullopt, 4},
        {"value before any key", Encoding::Utf8, V5 + QStringLiteral("\"v\"=\"1\"\r\n") + TSY,
         "Software\\TSY", "v", std::nullopt, 3},
        {"unclosed key line", Encoding::Utf8,
         V5 + QStringLiteral("[HKEY_CURRENT_USER\\Software\\TSY\r\n\"v\"=\"1\""), "Software\\TSY", "v",
         std::nullopt, 3},
    };
}

TEST(RegFileReader, ImportsEachFormOfLine)
{
    for (const ImportCase &c : ImportCases()) {
        SCOPED_TRACE(c.what);
        RegistryNode root;
        ASSERT_TRUE(RegFileReader(root).Apply(kExisting));
        RegFileReader reader(root);
        ASSERT_TRUE(reader.Apply(Encode(c.text, c.encoding)));
        if (c.issueLine == 0) {
            EXPECT_TRUE(reader.Issues().isEmpty()) << reader.Issues().first().message.toStdString();
        } else {
            ASSERT_EQ(reader.Issues().size(), 1);
            EXPECT_EQ(reader.Issues().first().line, c.issueLine);
        }
        RegistryNode *key = root.Find(QString::fromUtf8(c.key).split(QLatin1Char('\\')));
        if (!c.valueName) {
            EXPECT_EQ(key, nullptr);
            continue;
        }
        ASSERT_NE(key, nullptr);
        const RegistryValue *value = key->Value(QString::fromUtf8(c.valueName));
        if (!c.expected) {
            EXPECT_EQ(value, nullptr);
            continue;
        }
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, c.expected->type);
        EXPECT_EQ(value->data.toHex(' '), c.expected->data.toHex(' '));
    }
}

TEST(RegFileReader, RecognisesBothHeadersAndRefusesOtherFiles)
{
    struct Case {
        QByteArray bytes;
        bool accepted;
        RegFileFormat format;
    };
    const Case cases[] = {
        {Encode(V5, Encoding::Utf16LeBom), true, RegFileFormat::Version5},
        {"\xEF\xBB\xBFWindows Registry Editor Version 5.00\n", true, RegFileFormat::Version5},
        {"\n\n  REGEDIT4  \n", true, RegFileFormat::Regedit4},
        {"[HKEY_CURRENT_USER\\Software\\TSY]\n\"v\"=\"1\"\n", false, RegFileFormat::Unknown},
        {"", false, RegFileFormat::Unknown},
        {"Windows Registry Editor Version 4.00\n", false, RegFileFormat::Unknown},
    };
    for (const Case &c : cases) {
        RegistryNode root;
        RegFileReader reader(root);
        EXPECT_EQ(reader.Apply(c.bytes), c.accepted) << c.bytes.data();
        EXPECT_EQ(reader.Format(), c.format) << c.bytes.data();
    }
}

TEST(RegFileReader, DeletingTheWholeHiveIsRefused)
{
    RegistryNode root;
    ASSERT_TRUE(RegFileReader(root).Apply(kExisting));
    RegFileReader reader(root);
    ASSERT_TRUE(reader.Apply("REGEDIT4\n[-HKEY_CURRENT_USER]\n"));
    EXPECT_EQ(reader.Issues().size(), 1);
    EXPECT_NE(root.Find({QStringLiteral("Software"), QStringLiteral("TSY")}), nullptr);
}

// A sample that holds every form of line, mutated at random: reading never crashes, and
// whatever was read writes out as a file that reads back without issues to the same tree.
TEST(RegFileReader, SurvivesMutatedInputAndWritesWhatItReadsFaithfully)
{
    const QByteArray sample =
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n; comment\r\n"
                       "[HKEY_CURRENT_USER\\Software\\TSY\\A]\r\n"
                       "@=\"default\"\r\n\"s\"=\"a\\\\b\\\"c\"\r\n\"d\"=dword:0000ffff\r\n"
                       "\"h\"=hex:01,02,\\\r\n  03\r\n\"e\"=hex(2):41,00,00,00\r\n"
                       "\"m\"=hex(7):41,00,00,00,00,00\r\n\"q\"=hex(b):01,02,03,04,05,06,07,08\r\n"
                       "\"gone\"=-\r\n[-HKCU\\Software\\TSY\\B]\r\n[HKLM\\X]\r\n\"x\"=\"y\"\r\n"
                       "[HKCU\\Software\\TSY\\C]\r\n\"n\"=hex(0):\r\n")
            .toUtf8();
    const char interesting[] = "[]\"\\=,:-@;\r\n\t (0)xhexdword";
    std::mt19937 random(20261210);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = sample;
        const int edits = 1 + int(random() % 8);
        for (int i = 0; i < edits && !bytes.isEmpty(); ++i) {
            const qsizetype at = qsizetype(random() % bytes.size());
            switch (random() % 4) {
            case 0:
                bytes[at] = interesting[random() % (sizeof interesting - 1)];
                break;
            case 1:
                bytes.insert(at, char(random() % 256));
                break;
            case 2:
                bytes.remove(at, 1 + qsizetype(random() % 5));
                break;
            default:
                bytes.truncate(at);
            }
        }
        RegistryNode root;
        RegFileReader(root).Apply(bytes);
        const QByteArray written = RegFileWriter::Write(root);
        RegistryNode reread;
        RegFileReader reader(reread);
        ASSERT_TRUE(reader.Apply(written)) << bytes.toHex().data();
        ASSERT_TRUE(reader.Issues().isEmpty())
            << reader.Issues().first().message.toStdString() << " in " << bytes.toHex().data();
        ASSERT_EQ(RegFileWriter::Write(reread), written) << bytes.toHex().data();
    }
}

} // namespace
