// Random and mutated scripts through scanner, parser and compiler, and through a short run when
// they compile: nothing crashes or hangs, and every failure is a message placed inside the text.
#include "platform/script/Call.h"
#include "platform/script/Engine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

namespace
{

using Script::Engine;

const char *const kSeeds[] = {
    R"(program Seed;
{$DEFINE FAST}
type TKind = (kRed, kGreen, kBlue); TKinds = set of TKind;
  TPoint = record x, y: Integer; end;
  TGrid = array[1..3, 0..2] of Double;
const N = 10; Greeting = 'hi'#13#10'there'; Mask = $FF;
var i, j: Integer; s: string; k: TKind; ks: TKinds; p: TPoint; g: TGrid; c: Char; big: Int64; u: Cardinal;
function Fib(n: Integer): Int64; begin if n < 2 then Result := n else Result := Fib(n - 1) + Fib(n - 2); end;
procedure Swap(var a, b: Integer); var t: Integer; begin t := a; a := b; b := t; end;
begin
  {$IFDEF FAST} s := ''; {$ELSE} s := 'slow'; {$ENDIF}
  for i := 1 to N do begin
    s := s + IntToStr(i mod 3) + Copy(Greeting, 1, 2);
    if Odd(i) then Continue else if i > 8 then Break;
  end;
  ks := [kRed..kGreen] + [kBlue] - [kRed];
  for k := Low(TKind) to High(TKind) do if k in ks then Inc(j);
  case j of 0: s := 'none'; 1..2: s := s + 'few'; else s := UpperCase(s) end;
  p.x := 3; p.y := 4; Swap(p.x, p.y); g[2, 1] := Sqrt(p.x * p.x + p.y * p.y);
  big := Fib(15) shl 3; u := Cardinal(big) xor Mask;
  try i := StrToInt('x' + s); except on E: Exception do s := E.Message; end;
  try repeat c := Chr(Ord('a') + j); Dec(j); until j < 0; finally ShowMessage(Format('%s %d %.2f', [s, u, g[2, 1]])); end;
end.)",
    R"(var a: array[0..9] of string; n: Integer; w: widestring; d: Double;
begin
  while n < 10 do begin a[n] := StringOfChar('*', n); n := n + 1; end;
  w := Trim('  ' + a[3] + '  '); d := Round(2.5) / 3 * -1.5e2;
  if (Length(w) = 3) and (d < 0) or not (Pos('*', w) > 0) then ShowMessage(FloatToStr(d)) else raise Exception.Create('no');
  (* comment *) // line
end.)",
};

const char *const kFragments[] = {
    "begin",
    "end",
    "end.",
    ";",
    ":=",
    "(",
    ")",
    "[",
    "]",
    "'",
    "''",
    "#",
    "#$",
    "$",
    "..",
    ".",
    ",",
    ":",
    "{",
    "}",
    "(*",
    "*)",
    "//",
    "{$IFDEF X}",
    "{$ELSE}",
    "{$ENDIF}",
    "{$I x}",
    "{$DEFINE X}",
    "if",
    "then",
    "else",
    "case",
    "of",
    "while",
    "do",
    "repeat",
    "until",
    "for",
    "to",
    "downto",
    "try",
    "except",
    "finally",
    "raise",
    "on E: Exception do",
    "record",
    "array",
    "set of",
    "var",
    "const",
    "type",
    "procedure P;",
    "function F: Integer;",
    "Exit",
    "Break",
    "Continue",
    "Result",
    "nil",
    "not",
    "and",
    "or",
    "xor",
    "div",
    "mod",
    "shl",
    "+",
    "-",
    "*",
    "/",
    "=",
    "<>",
    "<",
    ">=",
    "in",
    "1e",
    "1.5",
    "99999999999999999999",
    "0",
    "-1",
    "$FFFFFFFF",
    "'text'",
    "#13#10",
    "i",
    "s",
    "x",
    "Integer",
    "string",
    "Int64",
    "Char",
    "Boolean",
    "High(",
    "Low(",
    "Length(",
    "Format('%d', [",
    "Inc(",
    "SetLength(s, ",
    "Copy(",
    "ShowMessage(",
    "é",
    "\t",
    "\n",
    "uses",
    "with",
    "goto",
    "@",
    "^",
    "?",
    "\x01",
};

QString RandomSoup(std::mt19937 &random)
{
    QString text;
    const int count = std::uniform_int_distribution<int>(1, 120)(random);
    for (int i = 0; i < count; ++i)
        text += QString::fromUtf8(kFragments[random() % std::size(kFragments)]) + QLatin1Char(' ');
    return text;
}

QString Mutate(QString text, std::mt19937 &random)
{
    const int edits = std::uniform_int_distribution<int>(1, 4)(random);
    for (int e = 0; e < edits && !text.isEmpty(); ++e) {
        const qsizetype at = qsizetype(random() % text.size());
        const qsizetype span = qsizetype(random() % 20);
        switch (random() % 6) {
        case 0: // delete a span
            text.remove(at, span);
            break;
        case 1: // insert a fragment
            text.insert(at, QString::fromUtf8(kFragments[random() % std::size(kFragments)]));
            break;
        case 2: // repeat a span
            text.insert(at, text.mid(at, span).repeated(int(random() % 5) + 1));
            break;
        case 3: // replace a character by any code
            text[at] = QChar(char16_t(random() % 0x3000));
            break;
        case 4: // swap two spans
            if (const qsizetype other = qsizetype(random() % text.size()); other > at + span) {
                const QString first = text.mid(at, span);
                const QString second = text.mid(other, span);
                text.replace(other, second.size(), first);
                text.replace(at, first.size(), second);
            }
            break;
        default: // cut the end off
            text.truncate(at);
            break;
        }
    }
    return text;
}

// Compiles `text` and, when it compiles, runs it with a watchdog that stops it after a few
// milliseconds. Checks that a failed compilation says where, inside the text.
void Exercise(Engine &engine, const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    if (!engine.Compile(lines)) {
        ASSERT_FALSE(engine.Messages().empty()) << text.toStdString();
        const Script::Message &error = engine.Messages().back();
        EXPECT_EQ(error.kind, Script::MessageKind::Error);
        EXPECT_GE(error.pos.line, 1) << text.toStdString();
        EXPECT_LE(error.pos.line, lines.size()) << text.toStdString();
        EXPECT_GE(error.pos.column, 1) << text.toStdString();
        EXPECT_LE(error.pos.column, lines[error.pos.line - 1].size() + 1) << text.toStdString();
        return;
    }
    std::atomic<bool> finished = false;
    std::thread watchdog([&] {
        while (!finished) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            engine.Stop();
        }
    });
    if (!engine.Execute()) {
        EXPECT_FALSE(engine.ErrorText().isEmpty()) << text.toStdString();
    }
    finished = true;
    watchdog.join();
}

TEST(ScriptFuzz, RandomAndMutatedScripts)
{
    Engine engine;
    int shown = 0;
    engine.SetCompileHook([&](Engine &compiling) {
        compiling.AddRoutine(QStringLiteral("procedure ShowMessage(const S: string);"),
                             [&](Script::Call &) { ++shown; });
    });
    std::mt19937 random(20261211);
    int compiled = 0;
    for (int i = 0; i < 3000; ++i) {
        const QString text = i % 4 == 0 ? RandomSoup(random)
                                        : Mutate(QString::fromUtf8(kSeeds[i % std::size(kSeeds)]), random);
        Exercise(engine, text);
        compiled += engine.IsCompiled();
        if (HasFailure())
            return;
    }
    // The mutations must leave enough scripts intact for the run-time paths to be exercised too.
    EXPECT_GT(compiled, 100);
    EXPECT_GT(shown, 0);
}

// Nesting and length far beyond any real script end in a message, not in a stack overflow.
TEST(ScriptFuzz, PathologicalNesting)
{
    const int n = 100000;
    const QString texts[] = {
        QStringLiteral("begin ShowMessage(") + QString(n, QLatin1Char('(')) + QStringLiteral("1") +
            QString(n, QLatin1Char(')')) + QStringLiteral("); end."),
        QStringLiteral("begin ") + QStringLiteral("begin ").repeated(n) +
            QStringLiteral("end; ").repeated(n) + QStringLiteral("end."),
        QStringLiteral("var b: Boolean; begin ") + QStringLiteral("if b then ").repeated(n) +
            QStringLiteral("; end."),
        QStringLiteral("var i: Integer; begin i := ") + QStringLiteral("- ").repeated(n) +
            QStringLiteral("1; end."),
        QStringLiteral("var i: Integer; begin i := 1") + QStringLiteral(" + 1").repeated(n) +
            QStringLiteral("; end."),
        QStringLiteral("var s: string; begin s := s") + QStringLiteral(" + 'a'").repeated(n) +
            QStringLiteral("; end."),
        QStringLiteral("type T = ") + QStringLiteral("array[0..1] of ").repeated(n) +
            QStringLiteral("Byte; begin end."),
        QStringLiteral("var a: Integer; begin a") + QStringLiteral("[0]").repeated(n) +
            QStringLiteral(" := 1; end."),
        QStringLiteral("begin ShowMessage(") + QStringLiteral("[").repeated(n) + QStringLiteral("); end."),
        QStringLiteral("begin ") + QStringLiteral("{$IFDEF X}").repeated(n) + QStringLiteral(" end."),
        QStringLiteral("begin ") + QStringLiteral("x;").repeated(n) + QStringLiteral(" end."),
    };
    for (const QString &text : texts) {
        Engine engine;
        EXPECT_FALSE(engine.Compile({text})) << text.left(60).toStdString();
        EXPECT_FALSE(engine.MessageLines().isEmpty());
    }
    // Long but flat scripts are fine.
    Engine engine;
    EXPECT_TRUE(engine.Compile({QStringLiteral("var i: Integer; begin ") +
                                QStringLiteral("i := i + 1; ").repeated(n) + QStringLiteral("end.")}));
    EXPECT_TRUE(engine.Execute());
}

} // namespace
