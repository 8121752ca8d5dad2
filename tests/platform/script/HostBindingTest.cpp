// Routines, constants and types the host declares while a script compiles: declared by their
// Pascal text, called with the right arguments, refused when duplicated, and failing with their
// own message.
#include "ScriptRun.h"
#include "support/QStringPrinter.h"

#include "platform/script/Call.h"
#include "platform/script/Error.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{

using Script::Call;
using Script::Engine;

TEST(ScriptHostBinding, ArgumentsArriveConvertedToTheDeclaredTypes)
{
    QStringList calls;
    const ScriptRun run = ScriptRun::Of(
        QStringLiteral("var b: Byte; begin b := 200; Take('héllo', -5, True, 2.5, 'z', 10000000000); "
                       "Take('', b, False, 3, #10, b); end."),
        [&](Engine &engine) {
            EXPECT_TRUE(engine.AddRoutine(
                QStringLiteral(
                    "procedure Take(const S: widestring; I: Integer; B: Boolean; D: Double; C: Char; "
                    "E: Int64);"),
                [&](Call &call) {
                    calls.append(QStringLiteral("%1|%2|%3|%4|%5|%6")
                                     .arg(call.String(0))
                                     .arg(call.Integer(1))
                                     .arg(call.Boolean(2))
                                     .arg(call.Double(3))
                                     .arg(call.String(4))
                                     .arg(call.Integer(5)));
                }));
        });
    EXPECT_TRUE(run.ran) << run.Summary().toStdString();
    EXPECT_EQ(calls, QStringList({QStringLiteral("héllo|-5|1|2.5|z|10000000000"),
                                  QStringLiteral("|200|0|3|\n|200")}));
}

TEST(ScriptHostBinding, VarParametersAndResults)
{
    const ScriptRun run = ScriptRun::Of(
        QStringLiteral(
            "var n: Integer; s: string; begin n := 21; s := 'ab'; Twice(n, s); "
            "ShowMessage(Format('%d %s %d %s %f', [n, s, GetNumber, GetName, Ratio])); if IsReady then "
            "ShowMessage('ready'); end."),
        [](Engine &engine) {
            engine.AddRoutine(QStringLiteral("procedure Twice(var N: Integer; var S: string);"),
                              [](Call &call) {
                                  call.SetInteger(0, call.Integer(0) * 2);
                                  call.SetString(1, call.String(1).repeated(2));
                              });
            engine.AddRoutine(QStringLiteral("function GetNumber: integer;"),
                              [](Call &call) { call.ReturnInteger(42); });
            engine.AddRoutine(QStringLiteral("function GetName: widestring;"),
                              [](Call &call) { call.ReturnString(QStringLiteral("name")); });
            engine.AddRoutine(QStringLiteral("function IsReady: Boolean;"),
                              [](Call &call) { call.ReturnBoolean(true); });
            engine.AddRoutine(QStringLiteral("function Ratio: Double;"),
                              [](Call &call) { call.ReturnDouble(0.25); });
        });
    EXPECT_EQ(run.Summary(), QStringLiteral("42 abab 42 name 0.25|ready"));
}

// A declaration the engine refuses is simply not there: the compilation goes on, and a script
// that uses the name fails as with any unknown name.
TEST(ScriptHostBinding, RefusedDeclarationsAreUnavailable)
{
    QStringList calls;
    QList<bool> accepted;
    const auto declare = [&](Engine &engine) {
        accepted << engine.AddRoutine(QStringLiteral("procedure Grab;"),
                                      [&](Call &) { calls << QStringLiteral("first"); })
                 << engine.AddRoutine(QStringLiteral("procedure GRAB;"),
                                      [&](Call &) { calls << QStringLiteral("second"); })
                 << engine.AddRoutine(QStringLiteral("procedure Broken(x: TUnknown);"), [](Call &) {})
                 << engine.AddRoutine(QStringLiteral("procedure Half("), [](Call &) {})
                 << engine.AddRoutine(QStringLiteral("procedure ShowMessage(S: string);"), [](Call &) {})
                 << engine.AddConstant(QStringLiteral("Grab"), QStringLiteral("Integer"), 1)
                 << engine.AddConstant(QStringLiteral("Limit"), QStringLiteral("Integer"), 10)
                 << engine.AddConstant(QStringLiteral("LIMIT"), QStringLiteral("Integer"), 20)
                 << engine.AddConstant(QStringLiteral("Bad"), QStringLiteral("NoSuchType"), 1)
                 << engine.AddConstant(QStringLiteral("begin"), QStringLiteral("Integer"), 1)
                 << engine.AddType(QStringLiteral("TLimit"), QStringLiteral("(lOne, lTwo)"))
                 << engine.AddType(QStringLiteral("TOther"), QStringLiteral("(lTwo, lThree)")) // lTwo again
                 << engine.AddType(QStringLiteral("TLimit"), QStringLiteral("Integer"));
    };
    const ScriptRun run =
        ScriptRun::Of(QStringLiteral("begin Grab; ShowMessage(IntToStr(Limit + Ord(lTwo))); end."), declare);
    EXPECT_EQ(accepted, QList<bool>({true, false, false, false, false, false, true, false, false, false, true,
                                     false, false}));
    EXPECT_EQ(run.Summary(), QStringLiteral("11"));
    EXPECT_EQ(calls, QStringList({QStringLiteral("first")}));

    EXPECT_EQ(ScriptRun::Of(QStringLiteral("begin Broken(1); end."), declare).Summary(),
              QStringLiteral("[Error] (1:7): Unknown identifier 'Broken'"));
    EXPECT_EQ(ScriptRun::Of(QStringLiteral("var t: TOther; begin end."), declare).Summary(),
              QStringLiteral("[Error] (1:8): Unknown identifier 'TOther'"));
}

TEST(ScriptHostBinding, DeclarationsOnlyDuringACompilation)
{
    Engine engine;
    EXPECT_FALSE(engine.AddRoutine(QStringLiteral("procedure Late;"), [](Call &) {}));
    EXPECT_FALSE(engine.AddConstant(QStringLiteral("Late"), QStringLiteral("Integer"), 1));
    EXPECT_FALSE(engine.AddType(QStringLiteral("TLate"), QStringLiteral("Integer")));
    EXPECT_FALSE(engine.Compile({QStringLiteral("begin Late; end.")}));
}

// The host's "Copy" command hides the standard Copy function, which a call with its three
// arguments still reaches.
TEST(ScriptHostBinding, AHostRoutineHidesAStandardOneOfTheSameName)
{
    int copies = 0;
    const ScriptRun run = ScriptRun::Of(
        QStringLiteral("begin Copy; ShowMessage(Copy('abc', 2, 1)); Copy(); end."), [&](Engine &engine) {
            EXPECT_TRUE(engine.AddRoutine(QStringLiteral("procedure Copy;"), [&](Call &) { ++copies; }));
        });
    EXPECT_EQ(run.Summary(), QStringLiteral("b"));
    EXPECT_EQ(copies, 2);
}

TEST(ScriptHostBinding, AnErrorInABoundRoutineEndsTheRunWithItsMessage)
{
    const auto declare = [](Engine &engine) {
        engine.AddRoutine(QStringLiteral("procedure Save(const Name: string);"), [](Call &call) {
            if (call.String(0).isEmpty())
                throw Script::Error(QStringLiteral("Unable to create directory"));
            if (call.String(0) == QLatin1String("full"))
                throw std::runtime_error("Disk full: «x»");
        });
    };
    const struct {
        const char *source;
        const char *summary;
    } cases[] = {
        {"begin ShowMessage('a'); Save(''); ShowMessage('b'); end.", "a|error: Unable to create directory"},
        {"begin Save('ok'); Save('full'); ShowMessage('b'); end.", "error: Disk full: «x»"},
        {"begin try Save(''); except on E: Exception do ShowMessage('caught ' + E.Message); end; end.",
         "caught Unable to create directory"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ScriptRun::Of(QString::fromUtf8(c.source), declare).Summary(), QString::fromUtf8(c.summary))
            << c.source;
}

// The routines, constants and types the script host declares to every script, with their texts
// exactly as the host gives them, are all accepted and usable together.
TEST(ScriptHostBinding, TheScriptHostDeclarationsAreAccepted)
{
    QStringList calls;
    const auto declare = [&calls](Engine &engine) {
        const char *routines[] = {
            "function findfirst(dossier:widestring;masque:widestring):widestring;",
            "function findnext:widestring;",
            "procedure findclose;",
            "procedure showmessage(z:string);",
            "procedure sleep(milli:Cardinal);",
            "procedure processmessages;",
            "procedure forcedirectories(dir:widestring);",
            "function changefileext(fichier:widestring;ext:widestring):widestring;",
            "function deletefiletorecyclebin(fichier:widestring):Boolean;",
            "procedure renamefile(oldfile,newname:widestring);",
            "function extractfilename(fichier:widestring):widestring;",
            "function extractfilepath(fichier:widestring):widestring;",
            "function extractfileext(fichier:widestring):widestring;",
        };
        for (const char *routine : routines) {
            const QString text = QString::fromLatin1(routine);
            EXPECT_TRUE(engine.AddRoutine(text, [&calls, text](Call &call) {
                QStringList arguments;
                for (int i = 0; i < call.Count(); ++i)
                    arguments << (text.contains(QLatin1String("Cardinal")) ? QString::number(call.Integer(i))
                                                                           : call.String(i));
                calls << call.Name() + QLatin1Char('(') + arguments.join(QLatin1Char(',')) + QLatin1Char(')');
            })) << routine;
        }
        const struct {
            const char *name, *type;
            int value;
        } constants[] = {{"clMoneyGreen", "Integer", 12639424},
                         {"clSkyBlue", "Integer", 15780518},
                         {"clCream", "Integer", 15793151},
                         {"SecsPerDay", "Longint", 86400},
                         {"MSecPerDay", "Longint", 86400000}};
        for (const auto &constant : constants)
            EXPECT_TRUE(engine.AddConstant(QLatin1String(constant.name), QLatin1String(constant.type),
                                           constant.value));
        const char *types[][2] = {
            {"TAlignment", "(taLeftJustify, taRightJustify, taCenter)"},
            {"HResult", "LongInt"},
            {"TGUID", "record D1: LongWord; D2: Word; D3: Word; D4: array[0..7] of Byte; end;"},
            {"TCLSID", "TGUID"},
            {"TIID", "TGUID"},
            {"TPoint", "record x,y: Longint; end;"},
            {"TScrollBarKind", "(sbHorizontal, sbVertical)"},
            {"TScrollBarInc", "SmallInt"},
            {"TFormBorderStyle", "(bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)"},
            {"TBorderStyle", "TFormBorderStyle"},
            {"TWindowState", "(wsNormal, wsMinimized, wsMaximized)"},
            {"TFormStyle", "(fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)"},
            {"TPosition", "(poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, "
                          "poDesktopCenter, poMainFormCenter, poOwnerFormCenter)"},
            {"TPrintScale", "(poNone, poProportional, poPrintToFit)"},
            {"TCloseAction", "(caNone, caHide, caFree, caMinimize)"},
            {"TBorderIcon", "(biSystemMenu, biMinimize, biMaximize, biHelp)"},
            {"TBorderIcons", "set of TBorderIcon"},
            {"THELPCONTEXT", "Longint"},
            {"TRect", "record Left, Top, Right, Bottom: Integer; end;"},
            {"TEditCharCase", "(ecNormal, ecUpperCase, ecLowerCase)"},
            {"TScrollStyle", "(ssNone, ssHorizontal, ssVertical, ssBoth)"},
            {"TComboBoxStyle",
             "(csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable)"},
            {"TCheckBoxState", "(cbUnchecked, cbChecked, cbGrayed)"},
            {"TListBoxStyle", "(lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable)"},
            {"TScrollCode",
             "(scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, "
             "scEndScroll)"},
            {"TEOwnerDrawState",
             "(odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, "
             "odInactive, odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit)"},
            {"TTextLayout", "( tlTop, tlCenter, tlBottom )"},
            {"TOwnerDrawState", "set of TEOwnerDrawState"},
            {"TSHORTCUT", "WORD"},
            {"TSavePreferences", "(spRegistre,spPortable,spNone)"},
            {"TColor", "Integer"},
            {"TFontStyle", "(fsBold, fsItalic, fsUnderline, fsStrikeOut)"},
            {"TFontStyles", "set of TFontStyle"},
        };
        for (const auto &type : types)
            EXPECT_TRUE(engine.AddType(QLatin1String(type[0]), QLatin1String(type[1]))) << type[0];
    };
    Engine engine;
    engine.SetCompileHook(declare);
    const bool compiled = engine.Compile(QStringList(QStringLiteral(
        "var r: TRect; g: TCLSID; icons: TBorderIcons; styles: TFontStyles; c: TColor; s: TSHORTCUT; "
        "p: TPoint;\nbegin\n  r.Left := clCream; g.D4[7] := 1; icons := [biSystemMenu, biHelp]; "
        "styles := [fsBold]; c := clSkyBlue; s := 65535; p.x := SecsPerDay;\n"
        "  if (biHelp in icons) and (fsBold in styles) and (Ord(tlBottom) = 2) and (r.Left = 15793151) "
        "then showmessage(changefileext('a.b.avi', '.bmp'));\n"
        "  sleep(250); findfirst('/data', '*.bmp'); findclose;\nend.")));
    EXPECT_TRUE(compiled) << engine.MessageLines().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(engine.Execute()) << engine.ErrorText().toStdString();
    EXPECT_EQ(calls, QStringList({QStringLiteral("changefileext(a.b.avi,.bmp)"),
                                  QStringLiteral("showmessage()"), QStringLiteral("sleep(250)"),
                                  QStringLiteral("findfirst(/data,*.bmp)"), QStringLiteral("findclose()")}));
}

} // namespace
