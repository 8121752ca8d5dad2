#include "framework/IniPreferencesMan.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

QByteArray ReadBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Utf16LeWithBom(const QString &text)
{
    return QByteArray("\xFF\xFE", 2) +
           QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

class IniPreferences : public testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path() const { return dir.filePath("Kestrin.ini"); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(IniPreferences, ANewFileIsWrittenAsUtf16WithCrLfAndSectionsAfterAnEmptyLine)
{
    {
        TIniPreferencesMan ini(Path());
        EXPECT_EQ(ini.Lines(), QStringList{"[]"});
        EXPECT_TRUE(ini.WriteString("Version", "Kestrin 1"));
        EXPECT_TRUE(ini.OpenKey("ShowForm", true));
        EXPECT_EQ(ini.CurrentPath(), "ShowForm");
        EXPECT_TRUE(ini.WriteBool("Grab", true));
        EXPECT_TRUE(ini.OpenKey("FormSave", true));
        EXPECT_EQ(ini.CurrentPath(), "ShowForm\\FormSave");
        EXPECT_TRUE(ini.WriteInteger("Left", -12));
        EXPECT_TRUE(ini.CloseKey());
        EXPECT_TRUE(ini.WriteInteger("Number", 3)); // back in ShowForm: inserted before its end
        EXPECT_TRUE(ini.CloseKey());
        EXPECT_TRUE(ini.OpenKey("ScriptForm", true));
        EXPECT_TRUE(ini.WriteString("Empty", ""));
    }
    EXPECT_EQ(ReadBytes(Path()),
              Utf16LeWithBom("[]\r\nVersion=Kestrin 1\r\n\r\n[ShowForm]\r\nGrab=True\r\nNumber=3\r\n\r\n"
                             "[ShowForm\\FormSave]\r\nLeft=-12\r\n\r\n[ScriptForm]\r\nEmpty=\r\n"));
}

TEST_F(IniPreferences, AnEmptyLineEndsTheSectionAndHidesWhatFollows)
{
    WriteBytes(Path(), "[]\r\n\r\n[ShowForm]\r\nA=1\r\n\r\nB=2\r\n");
    TIniPreferencesMan ini(Path());
    ASSERT_TRUE(ini.OpenKey("showform", false)) << "section names ignore case";
    int n = -1;
    EXPECT_TRUE(ini.ReadInteger("a", n));
    EXPECT_EQ(n, 1);
    EXPECT_FALSE(ini.ReadInteger("B", n));
    EXPECT_TRUE(ini.WriteInteger("B", 5));
    EXPECT_EQ(ini.Lines(), (QStringList{"[]", "", "[ShowForm]", "A=1", "B=5", "", "B=2"}));
}

TEST_F(IniPreferences, TypedReadsFollowTheTextRules)
{
    WriteBytes(
        Path(),
        "[]\nLower=true\nUpper=True\nNo=False\nJunk=abc\nInt= 42\nComma=1,5\nPoint=1.5\nbroken line\n=x\n");
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TIniPreferencesMan ini(Path());
    bool b = false;
    EXPECT_FALSE(ini.ReadBool("Lower", b)) << "only True and False are Booleans";
    EXPECT_TRUE(ini.ReadBool("Upper", b) && b);
    EXPECT_TRUE(ini.ReadBool("No", b) && !b);
    int n = 7;
    EXPECT_TRUE(ini.ReadInteger("Junk", n));
    EXPECT_EQ(n, 0);
    EXPECT_TRUE(ini.ReadInteger("Int", n));
    EXPECT_EQ(n, 42);
    double x = 9;
    EXPECT_TRUE(ini.ReadFloat("Comma", x));
    EXPECT_EQ(x, 0) << "a comma is no decimal separator here";
    EXPECT_TRUE(ini.ReadFloat("Point", x));
    EXPECT_EQ(x, 1.5);
    QString s = "unchanged";
    EXPECT_FALSE(ini.ReadString("", s));
    EXPECT_FALSE(ini.ReadString("broken line", s));
    EXPECT_EQ(s, "unchanged");
    QStringList names;
    EXPECT_TRUE(ini.GetValueNames(names));
    EXPECT_EQ(names, (QStringList{"Lower", "Upper", "No", "Junk", "Int", "Comma", "Point"}));

    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_TRUE(ini.WriteFloat("F", 2.25));
    EXPECT_TRUE(ini.ReadString("F", s));
    EXPECT_EQ(s, "2,25");
    QLocale::setDefault(QLocale::c());
}

TEST_F(IniPreferences, KeyNamesAreTheDirectSubkeys)
{
    WriteBytes(
        Path(),
        "[]\r\n\r\n[ShowForm]\r\n\r\n[ShowForm\\VideoDecoders\\dc0]\r\n\r\n[showform\\VideoDecoders\\dc1]"
        "\r\n\r\n[ShowForm\\FormSave]\r\n\r\n[ScriptForm]\r\n");
    TIniPreferencesMan ini(Path());
    QStringList root;
    ini.GetKeyNames(root);
    EXPECT_EQ(root, (QStringList{"ShowForm", "ScriptForm"}));
    ASSERT_TRUE(ini.OpenKey("ShowForm", false));
    QStringList children;
    ini.GetKeyNames(children);
    EXPECT_EQ(children, (QStringList{"VideoDecoders", "FormSave"}));
    EXPECT_FALSE(ini.OpenKey("Missing", false));
    EXPECT_EQ(ini.CurrentPath(), "ShowForm") << "a failed open keeps the current key";
}

TEST(IniDecoding, ByteOrderMarksAndLineEnds)
{
    const QString text = QString::fromUtf8("[]\r\nDernière=é\rA=1\nB=2\r\n");
    const QStringList expected{"[]", QString::fromUtf8("Dernière=é"), "A=1", "B=2"};
    QByteArray be("\xFE\xFF", 2);
    for (QChar c : text)
        be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    EXPECT_EQ(TIniPreferencesMan::DecodeLines(Utf16LeWithBom(text)), expected);
    EXPECT_EQ(TIniPreferencesMan::DecodeLines(be), expected);
    EXPECT_EQ(TIniPreferencesMan::DecodeLines("\xEF\xBB\xBF" + text.toUtf8()), expected);
    EXPECT_EQ(TIniPreferencesMan::DecodeLines(text.toUtf8()), expected);
    EXPECT_EQ(TIniPreferencesMan::DecodeLines(text.toLatin1()), expected) << "8-bit text without a mark";
}
