// Faulty scripts fail to compile with one message that says what and where (line:column).
#include "ScriptRun.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace
{

TEST(ScriptCompileErrors, MessageNamesTheFaultAndItsPosition)
{
    const struct {
        const char *source;
        const char *message;
    } cases[] = {
        {"var x: Integer;\nbegin\n  x := 1\n  x := 2;\nend.", "[Error] (4:3): Expected ';' but found 'x'"},
        {"begin\n  y := 1;\nend.", "[Error] (2:3): Unknown identifier 'y'"},
        {"var i: Integer;\nbegin\n  i := 'abc';\nend.",
         "[Error] (3:8): Incompatible types: 'Integer' and 'string'"},
        {"begin\n  ShowMessage('abc);\nend.", "[Error] (2:15): Unterminated string"},
        {"begin\n  { never closed\nend.", "[Error] (2:3): Unterminated comment"},
        {"begin\n  ShowMessage(1 ?);\nend.", "[Error] (2:17): Illegal character '?'"},
        {"begin\n  ShowMessage('x');\n", "[Error] (3:1): Expected 'end' but found end of file"},
        {"var x: Integer;\nx := 1;\nend.", "[Error] (2:3): Expected ':' but found ':='"},
        {"const C = 1;\n  C;\nend.", "[Error] (2:4): Expected '=' but found ';'"},
        {"type T = Integer;\nprocedure P; forward;\nShowMessage('x');",
         "[Error] (3:1): Expected 'begin' but found 'ShowMessage'"},
        {"begin\n  x := (1 + 2;\nend.", "[Error] (2:14): Expected ')' but found ';'"},
        {"begin\n  if 1 then ;\nend.", "[Error] (2:6): Incompatible types: 'Boolean' and 'Integer'"},
        {"begin\n  Break;\nend.", "[Error] (2:3): 'Break' outside a loop"},
        {"begin\n  raise;\nend.", "[Error] (2:3): A bare 'raise' is only allowed in an exception handler"},
        {"var a: Integer;\nvar a: string;\nbegin end.", "[Error] (2:5): Identifier redeclared: 'a'"},
        {"procedure P(a, b: Integer);\nbegin\nend;\nbegin\n  P(1);\nend.",
         "[Error] (5:3): Not enough actual parameters for 'P'"},
        {"procedure P(const a: Integer);\nbegin\n  a := 1;\nend;\nbegin\nend.",
         "[Error] (3:3): Cannot assign to 'a'"},
        {"var i: Integer;\nbegin\n  for i := 1 to 3 do i := 5;\nend.",
         "[Error] (3:22): Cannot assign to 'i'"},
        {"procedure Outer;\n  procedure Inner;\n  begin\n  end;\nbegin\nend;\nbegin\nend.",
         "[Error] (2:3): Nested routines are not supported"},
        {"procedure P;\nbegin\nend;\nvar x: Integer;\nbegin\n  x := P;\nend.",
         "[Error] (6:8): A procedure call has no value"},
        {"function F: Integer; forward;\nbegin\nend.",
         "[Error] (1:10): Unsatisfied forward declaration: 'F'"},
        {"const X = 99999999999999999999;\nbegin end.", "[Error] (1:11): Integer constant too large"},
        {"const X = 1 div 0;\nbegin end.", "[Error] (1:13): Division by zero"},
        {"var i: Integer;\nbegin\n case i of 1: ; 1..2: ; end;\nend.",
         "[Error] (3:17): Duplicate case label"},
        {"var s: set of Integer;\nbegin end.", "[Error] (1:8): Sets may only hold values from 0 to 255"},
        {"var a: array[Integer] of Byte;\nbegin end.",
         "[Error] (1:14): Type too large: more than 1048576 cells"},
        {"begin\n  ShowMessage(#99999);\nend.", "[Error] (2:16): Character code out of range"},
        {"var a, b, c: array[0..1000000] of Byte;\nbegin end.",
         "[Error] (1:11): Too many variables: more than 2097152 cells"},
    };
    for (const auto &c : cases) {
        const ScriptRun run = ScriptRun::Of(QString::fromUtf8(c.source));
        EXPECT_FALSE(run.compiled) << c.source;
        EXPECT_EQ(run.messages.join(QLatin1Char('|')), QString::fromUtf8(c.message)) << c.source;
        EXPECT_TRUE(run.shown.isEmpty()) << c.source;
    }
}

// Scripts are self-contained: an include directive or a used unit fails to compile.
TEST(ScriptCompileErrors, IncludesAndUnitsAreRefused)
{
    const struct {
        const char *source;
        const char *message;
    } cases[] = {
        {"{$I common.inc}\nbegin end.",
         "[Error] (1:1): Cannot include 'common.inc': include files are not supported"},
        {"begin\n  {$INCLUDE other.pas}\nend.",
         "[Error] (2:3): Cannot include 'other.pas': include files are not supported"},
        {"(*$I+*) (*$I parts.pas*)\nbegin end.",
         "[Error] (1:9): Cannot include 'parts.pas': include files are not supported"},
        {"uses Classes;\nbegin end.", "[Error] (1:6): Unknown unit 'Classes': units cannot be used"},
        {"program P;\nuses SysUtils, Windows;\nbegin end.",
         "[Error] (2:6): Unknown unit 'SysUtils': units cannot be used"},
    };
    for (const auto &c : cases) {
        const ScriptRun run = ScriptRun::Of(QString::fromUtf8(c.source));
        EXPECT_FALSE(run.compiled) << c.source;
        EXPECT_EQ(run.messages.join(QLatin1Char('|')), QString::fromUtf8(c.message)) << c.source;
    }
}

TEST(ScriptCompileErrors, ConditionalsMustBalance)
{
    const struct {
        const char *source;
        const char *message;
    } cases[] = {
        {"{$IFDEF X}\nbegin end.", "[Error] (1:1): Missing {$ENDIF} before the end of the text at line 2"},
        {"begin\n{$ENDIF}\nend.", "[Error] (2:1): {$ENDIF} without {$IFDEF}"},
        {"{$IFDEF X}{$ELSE}{$ELSE}{$ENDIF}\nbegin end.", "[Error] (1:18): {$ELSE} without {$IFDEF}"},
        {"{$IF Defined(X)}{$IFEND}\nbegin end.", "[Error] (1:1): Unsupported directive {$IF}"},
    };
    for (const auto &c : cases) {
        const ScriptRun run = ScriptRun::Of(QString::fromUtf8(c.source));
        EXPECT_EQ(run.messages.join(QLatin1Char('|')), QString::fromUtf8(c.message)) << c.source;
    }
}

TEST(ScriptCompileErrors, UnusedVariablesGiveHintsOnly)
{
    const ScriptRun run =
        ScriptRun::Of(QStringLiteral("var unused, used: Integer;\nprocedure P;\nvar local: "
                                     "string;\nbegin\nend;\nbegin\n  used := 1;\n  P;\nend."));
    EXPECT_TRUE(run.compiled);
    EXPECT_TRUE(run.ran);
    EXPECT_EQ(run.messages,
              QStringList({QStringLiteral("[Hint] (3:5): Variable 'local' is declared but never used"),
                           QStringLiteral("[Hint] (1:5): Variable 'unused' is declared but never used")}));
}

} // namespace
