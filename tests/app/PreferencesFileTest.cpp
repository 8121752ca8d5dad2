// The program's stored preferences, as a user finds them after a run.
#include "framework/ActionCatalogue.h"
#include "framework/IniPreferencesMan.h"
#include "support/QStringPrinter.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace
{

using ActionCatalogue::Kind;
using ActionCatalogue::List;

// The value lines a list's stored actions write in their window's section, in list order;
// commands store nothing, rectangles and fonts go to subkeys of their own.
QStringList StoredValueNames(List list)
{
    QStringList names;
    for (const ActionCatalogue::Row &row : ActionCatalogue::Rows(list)) {
        if (!(row.flags & ActionCatalogue::Stored) || !*row.scriptName || row.kind == Kind::Nope)
            continue;
        const QString name = QString::fromLatin1(row.scriptName);
        if (row.kind == Kind::Point)
            names << name + ".X" << name + ".Y";
        else if (row.kind != Kind::Rect && row.kind != Kind::Font)
            names << name;
    }
    return names;
}

// The names of the values of section `header`.
QStringList SectionNames(const QStringList &lines, const QString &header)
{
    QStringList names;
    for (qsizetype i = lines.indexOf(header) + 1; i > 0 && i < lines.size() && !lines[i].isEmpty(); ++i)
        names << lines[i].section('=', 0, 0);
    return names;
}

} // namespace

TEST(PreferencesFile, QuitWithAnEmptyIniBesideTheProgramRewritesEveryStoredAction)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString program = folder.filePath("kestrin");
    ASSERT_TRUE(QFile::copy(KESTRIN_EXECUTABLE, program));
    QFile ini(folder.filePath("Kestrin.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.close();

    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", folder.filePath("config")); // keep the user's registry store out
    run.setProcessEnvironment(environment);
    run.start(program, {"/quit"});
    ASSERT_TRUE(run.waitForFinished(20000));
    EXPECT_EQ(run.exitCode(), 0);

    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray bytes = ini.readAll();
    EXPECT_TRUE(bytes.startsWith("\xFF\xFE[\0]\0\r\0\n\0")) << "UTF-16 with its mark, the root section first";
    const QStringList lines = TIniPreferencesMan::DecodeLines(bytes);
    EXPECT_EQ(SectionNames(lines, "[]").mid(0, 3),
              (QStringList{"Version", QString::fromUtf8("Dernière Sauvegarde"), "ExeName"}));
    EXPECT_TRUE(lines.contains("ExeName=" + program));

    QStringList showForm;
    for (List list : {List::ficman, List::gpal, List::NavMan, List::audman, List::vidman, List::am})
        showForm << StoredValueNames(list);
    EXPECT_EQ(SectionNames(lines, "[ShowForm]"), showForm);
    EXPECT_EQ(SectionNames(lines, "[ScriptForm]"),
              StoredValueNames(List::ficman_script) + StoredValueNames(List::al_script));
    for (const char *subkey : {"[ShowForm\\InsertFont]", "[ShowForm\\FormSave]", "[ShowForm\\PreviewSave]",
                               "[ScriptForm\\ScriptFormSave]"})
        EXPECT_TRUE(lines.contains(subkey)) << subkey;
    EXPECT_TRUE(lines.contains("NextNum=1"));
    EXPECT_TRUE(lines.contains("DefaultRacine=Kestrin"));
}
