// Recorded macros and the editor's starting text: action procedures declared from C++ the way
// the action lists declare them, called by the lines the recorder writes.
#include "support/QStringPrinter.h"

#include "platform/script/Call.h"
#include "platform/script/Engine.h"

#include <gtest/gtest.h>

namespace
{

using Script::Call;
using Script::Engine;

// An engine whose compile hook declares action procedures of every kind; each call is logged as
// its name and its arguments.
class MacroEngine
{
  public:
    MacroEngine()
    {
        engine.SetCompileHook([this](Engine &compiling) {
            compiling.AddType(QStringLiteral("TColor"), QStringLiteral("Integer"));
            const char *declarations[] = {
                "procedure Grab;",
                "procedure Copy;",
                "procedure ExecuteMacro;",
                "procedure setMute(const aBoolean:Boolean);",
                "procedure Mute;",
                "procedure JpegCompressionQuality(const aInteger:integer);",
                "procedure ZoomFactor(const aDouble:Double);",
                "procedure DossierSave(const aWidestring:widestring);",
                "procedure InsertFontColor(const aColor:TColor);",
                "procedure InsertPosition(const x,y:integer);",
                "procedure FormSave(const left,right,top,bottom:integer);",
                "procedure "
                "InsertFont(aName:widestring;aSize:integer;aColor:TColor;isBold:Boolean;isItalic:Boolean;"
                "isUnderline:Boolean;isStrikeOut:Boolean);",
            };
            for (const char *declaration : declarations)
                EXPECT_TRUE(compiling.AddRoutine(QString::fromLatin1(declaration), [this](Call &call) {
                    Log(call);
                })) << declaration;
        });
    }

    void Log(const Call &call)
    {
        QStringList arguments;
        for (int i = 0; i < call.Count(); ++i) {
            const QString name = call.Name();
            if (name == QLatin1String("ZoomFactor"))
                arguments << QString::number(call.Double(i));
            else if (name == QLatin1String("DossierSave") || (name == QLatin1String("InsertFont") && i == 0))
                arguments << call.String(i);
            else
                arguments << QString::number(call.Integer(i));
        }
        calls << call.Name() + (arguments.isEmpty()
                                    ? QString()
                                    : QLatin1Char('(') + arguments.join(QLatin1Char(',')) + QLatin1Char(')'));
    }

    Engine engine;
    QStringList calls;
};

TEST(ScriptMacros, ARecordedMacroReplaysItsActions)
{
    MacroEngine macro;
    const QStringList text = {
        QStringLiteral("//Macro saved on Friday, December 11, 2026 at 10:15:02"),
        QString(),
        QStringLiteral("begin"),
        QStringLiteral("    setMute(True);"),
        QStringLiteral("    Grab;"),
        QStringLiteral("    Copy;"),
        QStringLiteral("    JpegCompressionQuality(80);"),
        QStringLiteral("    ZoomFactor(1.5);"),
        QStringLiteral("    DossierSave('C:\\images\\');"),
        QStringLiteral("    InsertFontColor($0000FF);"),
        QStringLiteral("    InsertPosition(10,20);"),
        QStringLiteral("    FormSave(1,3,2,4);"),
        QStringLiteral("    InsertFont('Arial', 12, $FF0000, True, False, False, True);"),
        QStringLiteral("    Mute;"),
        QStringLiteral("end."),
    };
    ASSERT_TRUE(macro.engine.Compile(text))
        << macro.engine.MessageLines().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(macro.engine.MessageLines().isEmpty());
    EXPECT_TRUE(macro.engine.Execute()) << macro.engine.ErrorText().toStdString();
    EXPECT_EQ(
        macro.calls,
        QStringList({QStringLiteral("setMute(1)"), QStringLiteral("Grab"), QStringLiteral("Copy"),
                     QStringLiteral("JpegCompressionQuality(80)"), QStringLiteral("ZoomFactor(1.5)"),
                     QStringLiteral("DossierSave(C:\\images\\)"), QStringLiteral("InsertFontColor(255)"),
                     QStringLiteral("InsertPosition(10,20)"), QStringLiteral("FormSave(1,3,2,4)"),
                     QStringLiteral("InsertFont(Arial,12,16711680,1,0,0,1)"), QStringLiteral("Mute")}));
}

// The editor's text for a new file, and a recording stopped at once, run without calling anything.
TEST(ScriptMacros, TextsWithoutActionsRunWithoutEffect)
{
    const QStringList texts[] = {
        {QStringLiteral("//Write a script between begin and end."),
         QStringLiteral("//Don't forget to finish each command by ;"), QStringLiteral("begin"), QString(),
         QStringLiteral("end.")},
        {QStringLiteral("//Macro saved on Friday, December 11, 2026 at 10:15:02"), QString(),
         QStringLiteral("begin"), QStringLiteral("end.")},
    };
    for (const QStringList &text : texts) {
        MacroEngine macro;
        ASSERT_TRUE(macro.engine.Compile(text)) << text.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(macro.engine.MessageLines().isEmpty());
        EXPECT_TRUE(macro.engine.Execute());
        EXPECT_TRUE(macro.calls.isEmpty());
    }
}

// Running the macro while recording compiles the unfinished text, which lacks its "end.".
TEST(ScriptMacros, AnUnfinishedRecordingFailsToCompile)
{
    MacroEngine macro;
    EXPECT_FALSE(
        macro.engine.Compile({QStringLiteral("//Macro saved on Friday"), QString(), QStringLiteral("begin"),
                              QStringLiteral("    Grab;"), QStringLiteral("    ExecuteMacro;")}));
    EXPECT_EQ(macro.engine.MessageLines(),
              QStringList({QStringLiteral("[Error] (5:18): Expected 'end' but found end of file")}));
    EXPECT_FALSE(macro.engine.Execute());
    EXPECT_TRUE(macro.calls.isEmpty());
}

} // namespace
