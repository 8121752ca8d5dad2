// Small programs and what they show: each statement form and type does what Pascal does.
#include "ScriptRun.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace
{

struct Program {
    const char *name;
    const char *source;
    const char *expected; // the shown lines joined by "|"
};

void ExpectPrograms(const std::vector<Program> &programs)
{
    for (const Program &program : programs) {
        const ScriptRun run = ScriptRun::Of(QString::fromUtf8(program.source));
        EXPECT_EQ(run.Summary(), QString::fromUtf8(program.expected)) << program.name;
    }
}

TEST(ScriptLanguage, IntegersWrapAsTheirTypeStoresThem)
{
    ExpectPrograms({
        {"div and mod truncate toward zero",
         "begin ShowMessage(Format('%d %d %d %d', [7 div 2, -7 div 2, -7 mod 3, 7 mod -3])); end.",
         "3 -3 -1 1"},
        {"precedence and unary minus", "begin ShowMessage(IntToStr(2 + 3 * 4 - 10 div 3 - -1)); end.", "12"},
        {"Integer is 32-bit", "var i: Integer; begin i := MaxInt; i := i + 1; ShowMessage(IntToStr(i)); end.",
         "-2147483648"},
        {"Int64 is 64-bit",
         "var x: Int64; begin x := 1; x := x shl 40; ShowMessage(IntToStr(x)); x := $7FFFFFFFFFFFFFFF; "
         "x := x + 1; ShowMessage(IntToStr(x)); end.",
         "1099511627776|-9223372036854775808"},
        {"a product is 64-bit only with an Int64 operand",
         "var a: Integer; b: Int64; begin a := 100000; b := a; ShowMessage(IntToStr(a * a) + ' ' + "
         "IntToStr(b * a)); end.",
         "1410065408 10000000000"},
        {"Cardinal is unsigned 32-bit",
         "var c: Cardinal; begin c := 0; c := c - 1; ShowMessage(IntToStr(c)); c := c + 2; "
         "ShowMessage(IntToStr(c)); end.",
         "4294967295|1"},
        {"Byte, ShortInt, Word, SmallInt",
         "var b: Byte; s: ShortInt; w: Word; m: SmallInt; begin b := 255; Inc(b); s := 127; Inc(s); w := 0; "
         "Dec(w); m := -32768; Dec(m); ShowMessage(Format('%d %d %d %d', [b, s, w, m])); end.",
         "0 -128 65535 32767"},
        {"bitwise operators",
         "begin ShowMessage(Format('%d %d %d %d %d %d', [12 and 10, 12 or 10, 12 xor 10, not 0, 1 shl 4, "
         "-16 shr 28])); end.",
         "8 14 6 -1 16 15"},
        {"hexadecimal literals", "begin ShowMessage(IntToStr($FF + $10) + ' ' + IntToHex(48879, 8)); end.",
         "271 0000BEEF"},
        {"Inc and Dec with steps",
         "var i: Integer; begin i := 10; Inc(i, 5); Dec(i); Dec(i, 20); ShowMessage(IntToStr(i)); end.",
         "-6"},
        {"High and Low of types",
         "begin ShowMessage(Format('%d %d %d %d', [High(Integer), Low(Integer), High(Byte), "
         "Ord(High(Char))])); "
         "ShowMessage(IntToStr(High(Int64)) + ' ' + IntToStr(High(Cardinal))); end.",
         "2147483647 -2147483648 255 65535|9223372036854775807 4294967295"},
        {"Abs, Sqr, Odd",
         "begin ShowMessage(Format('%d %d', [Abs(-5), Sqr(-7)])); if Odd(3) and not Odd(4) then "
         "ShowMessage('odd'); end.",
         "5 49|odd"},
        {"StrToInt and friends",
         "begin ShowMessage(Format('%d %d %d %d', [StrToInt(' 42'), StrToInt('-$1F'), StrToIntDef('x', 7), "
         "StrToInt64('9000000000') div 1000])); end.",
         "42 -31 7 9000000"},
    });
}

TEST(ScriptLanguage, FloatingPoint)
{
    ExpectPrograms({
        {"FloatToStr shows up to 15 digits",
         "begin ShowMessage(FloatToStr(1/3)); ShowMessage(FloatToStr(2.5) + ' ' + FloatToStr(100) + ' ' + "
         "FloatToStr(-1.5)); end.",
         "0.333333333333333|2.5 100 -1.5"},
        {"FloatToStr switches to scientific notation",
         "begin ShowMessage(FloatToStr(1e20) + ' ' + FloatToStr(0.00001) + ' ' + FloatToStr(0.0000015) + ' ' "
         "+ "
         "FloatToStr(123456789012345678)); end.",
         "1E20 0.00001 1.5E-6 1.23456789012346E17"},
        {"Round takes the even neighbour of a half, Trunc cuts",
         "begin ShowMessage(Format('%d %d %d %d %d', [Round(2.5), Round(3.5), Round(-2.5), Round(2.6), "
         "Trunc(-2.7)])); end.",
         "2 4 -2 3 -2"},
        {"integers mix into Doubles",
         "var d: Double; i: Integer; e: Extended; s: Single; begin i := 7; d := i / 2 + 1; e := d * 2; s := "
         "i; "
         "ShowMessage(FloatToStr(d) + ' ' + FloatToStr(e) + ' ' + FloatToStr(s)); end.",
         "4.5 9 7"},
        {"math routines",
         "begin ShowMessage(FloatToStr(Sqrt(16)) + ' ' + FloatToStr(Int(3.7)) + ' ' + FloatToStr(Frac(2.25)) "
         "+ "
         "' ' + FloatToStr(StrToFloat('3.25') * 2) + ' ' + FloatToStr(Abs(-0.5)) + ' ' + "
         "FloatToStr(Sqr(1.5))); "
         "end.",
         "4 3 0.25 6.5 0.5 2.25"},
        {"Random stays in its range",
         "var i, r: Integer; seen: set of Byte; d: Double; ok: Boolean; begin ok := True; for i := 1 to 2000 "
         "do "
         "begin r := Random(10); seen := seen + [r]; d := Random; ok := ok and (r >= 0) and (r < 10) and (d "
         ">= 0) "
         "and (d < 1); end; if ok and (seen = [0..9]) and (Random(0) = 0) then ShowMessage('ok'); end.",
         "ok"},
        {"comparisons of mixed numbers", "begin if (1 < 1.5) and (2.0 = 2) then ShowMessage('yes'); end.",
         "yes"},
    });
}

TEST(ScriptLanguage, BooleansAndConditions)
{
    ExpectPrograms({
        {"logic",
         "begin if (True and not False) or False then ShowMessage('a'); if True xor True then "
         "ShowMessage('b'); end.",
         "a"},
        {"and and or stop early",
         "var x: Integer; begin x := 0; if (x <> 0) and (10 div x > 1) then ShowMessage('no') else "
         "ShowMessage('safe'); if (x = 0) or (10 div x > 1) then ShowMessage('safe too'); end.",
         "safe|safe too"},
        {"else belongs to the nearest if",
         "var a, b: Boolean; begin a := True; b := False; if a then if b then ShowMessage('x') else "
         "ShowMessage('y'); end.",
         "y"},
        {"string and character comparisons",
         "var s: string; begin s := 'abc'; if ('abc' < 'abd') and ('B' > 'A') and (s = 'abc') and (s[1] = "
         "'a') "
         "and ('a' <> s) then ShowMessage('ok'); end.",
         "ok"},
    });
}

TEST(ScriptLanguage, CharactersAndStrings)
{
    ExpectPrograms({
        {"#nn characters join quoted pieces",
         "var s: string; begin s := 'a'#13#10'b'; ShowMessage(IntToStr(Length(s)) + ' ' + "
         "IntToStr(Ord(s[2]))); "
         "ShowMessage(#65#66 + #$43); end.",
         "4 13|ABC"},
        {"Chr and Ord", "begin ShowMessage(Chr(65) + Chr(Ord('a') + 1)); end.", "Ab"},
        {"indexing reads and writes characters",
         "var s: string; begin s := 'hello'; s[1] := 'J'; ShowMessage(s + s[5]); end.", "Jelloo"},
        {"Copy clamps like Pascal",
         "begin ShowMessage(Copy('Hello World', 7, 5) + '|' + Copy('abc', 2, 100) + '|' + Copy('abc', 0, 2) "
         "+ '|' "
         "+ Copy('abc', 4, 1) + '|' + Copy('abc', 2, -1)); end.",
         "World|bc|ab||"},
        {"Pos",
         "begin ShowMessage(Format('%d %d %d', [Pos('lo', 'Hello'), Pos('x', 'abc'), Pos('', 'abc')])); end.",
         "4 0 0"},
        {"Trim family",
         "begin ShowMessage('[' + Trim('  a b '#9) + '][' + TrimLeft('  a ') + '][' + TrimRight('  a ') + "
         "']'); "
         "end.",
         "[a b][a ][  a]"},
        {"case conversion: UpperCase only for ASCII, AnsiUpperCase for all",
         "begin ShowMessage(UpperCase('abcé') + ' ' + LowerCase('ABC') + ' ' + AnsiUpperCase('é')); end.",
         "ABCé abc É"},
        {"quotes inside strings", "begin ShowMessage('it''s' + ' ' + QuotedStr('a''b')); end.",
         "it's 'a''b'"},
        {"widestrings hold any character",
         "var w: widestring; begin w := '日本'; ShowMessage(IntToStr(Length(w)) + w); end.", "2日本"},
        {"SetLength, Delete, Insert, StringOfChar",
         "var s: string; begin s := 'abcdef'; SetLength(s, 3); ShowMessage(s); s := 'abcdef'; Delete(s, 2, "
         "3); "
         "ShowMessage(s); Insert('XY', s, 2); ShowMessage(s + StringOfChar('-', 3)); end.",
         "abc|aef|aXYef---"},
        {"StringReplace",
         "begin ShowMessage(StringReplace('a.b.c', '.', '-', [rfReplaceAll]) + ' ' + "
         "StringReplace('a.b.c', '.', '-', []) + ' ' + StringReplace('aXbx', 'x', '_', [rfReplaceAll, "
         "rfIgnoreCase])); end.",
         "a-b-c a-b.c a_b_"},
        {"building a string in a loop",
         "var s: string; i: Integer; begin s := ''; for i := 1 to 5 do s := s + IntToStr(i) + ','; "
         "ShowMessage(s); end.",
         "1,2,3,4,5,"},
        {"the left operand is read before the right one runs",
         "var s: string; function F: string; begin s := 'X'; Result := 'y'; end; begin s := 'a'; s := s + F; "
         "ShowMessage(s); end.",
         "ay"},
    });
}

TEST(ScriptLanguage, CommentsCaseAndLayout)
{
    ExpectPrograms({
        {"three comment forms and any letter case",
         "{ brace } (* paren *) // line\nVAR X: integer;\nBEGIN x := 5; { inside } SHOWMESSAGE(inttostr(X)); "
         "(* "
         "multi\nline *) END.",
         "5"},
        {"a program heading is allowed", "program Demo;\nbegin ShowMessage('hi'); end.", "hi"},
        {"text after the final end. is ignored", "begin ShowMessage('x'); end.\nanything at all", "x"},
    });
}

TEST(ScriptLanguage, ControlFlow)
{
    ExpectPrograms({
        {"case with values, ranges, lists and else",
         "var i: Integer; begin for i := 0 to 13 do case i of 1: ShowMessage('one'); 2..9: ; 10, 11, 12: "
         "ShowMessage('dozen ' + IntToStr(i)); else if i = 13 then ShowMessage('many') end; end.",
         "one|dozen 10|dozen 11|dozen 12|many"},
        {"case on characters",
         "var c: Char; begin c := 'q'; case c of 'a'..'m': ShowMessage('first'); 'n'..'z': "
         "ShowMessage('second'); "
         "end; end.",
         "second"},
        {"while with break and continue",
         "var i, sum: Integer; begin i := 0; sum := 0; while True do begin Inc(i); if i > 9 then Break; if "
         "not "
         "Odd(i) then Continue; sum := sum + i; end; ShowMessage(IntToStr(sum)); end.",
         "25"},
        {"repeat runs at least once",
         "var i: Integer; begin i := 10; repeat ShowMessage(IntToStr(i)); Inc(i); until i > 5; end.", "10"},
        {"for downto, empty ranges, characters",
         "var i: Integer; c: Char; s: string; begin for i := 3 downto 1 do s := s + IntToStr(i); for i := 1 "
         "to 0 "
         "do s := s + 'x'; for c := 'a' to 'e' do s := s + c; ShowMessage(s); end.",
         "321abcde"},
        {"the loop variable keeps its value after break",
         "var i: Integer; begin for i := 1 to 10 do if i = 4 then Break; ShowMessage(IntToStr(i)); end.",
         "4"},
        {"break leaves only the inner loop",
         "var i, j, n: Integer; begin n := 0; for i := 1 to 3 do for j := 1 to 3 do begin if j = 2 then "
         "Break; "
         "Inc(n); end; ShowMessage(IntToStr(n)); end.",
         "3"},
        {"exit leaves a procedure",
         "procedure P; begin ShowMessage('in'); Exit; ShowMessage('never'); end; begin P; "
         "ShowMessage('after'); "
         "end.",
         "in|after"},
        {"exit in the main block ends the script",
         "begin ShowMessage('first'); Exit; ShowMessage('never'); end.", "first"},
        {"loops up to the type's last value end",
         "var b: Byte; n: Integer; begin for b := 250 to 255 do Inc(n); "
         "ShowMessage(IntToStr(n)); end.",
         "6"},
    });
}

TEST(ScriptLanguage, RoutinesAndParameters)
{
    ExpectPrograms({
        {"value, const and var parameters",
         "procedure P(a: Integer; const b: string; var c: Integer); begin a := a + 1; c := c + a + "
         "Length(b); "
         "end; var x, y: Integer; begin x := 1; y := 10; P(x, 'abc', y); ShowMessage(Format('%d %d', [x, "
         "y])); "
         "end.",
         "1 15"},
        {"recursion with Int64 results",
         "function Fact(n: Integer): Int64; begin if n <= 1 then Result := 1 else Result := n * Fact(n - 1); "
         "end; "
         "begin ShowMessage(IntToStr(Fact(20))); end.",
         "2432902008176640000"},
        {"assigning the function's name sets its result",
         "function Twice(n: Integer): Integer; begin Twice := n * 2; end; begin "
         "ShowMessage(IntToStr(Twice(21))); "
         "end.",
         "42"},
        {"Exit with a value",
         "function Sign(n: Integer): string; begin if n < 0 then Exit('minus'); if n = 0 then Exit('zero'); "
         "Result := 'plus'; end; begin ShowMessage(Sign(-3) + Sign(0) + Sign(8)); end.",
         "minuszeroplus"},
        {"forward declarations allow mutual recursion",
         "function IsOdd(n: Integer): Boolean; forward;\nfunction IsEven(n: Integer): Boolean; begin if n = "
         "0 "
         "then Result := True else Result := IsOdd(n - 1); end;\nfunction IsOdd(n: Integer): Boolean; begin "
         "if "
         "n = 0 then Result := False else Result := IsEven(n - 1); end;\nbegin if IsEven(10) and IsOdd(7) "
         "then "
         "ShowMessage('ok'); end.",
         "ok"},
        {"each call has its own locals",
         "function Sum(n: Integer): Integer; var local: Integer; begin local := n; if n > 0 then Result := "
         "Sum(n - 1) + local else Result := 0; end; begin ShowMessage(IntToStr(Sum(100))); end.",
         "5050"},
        {"locals hide globals",
         "var x: Integer; procedure P; var x: Integer; begin x := 5; end; begin x := 1; P; "
         "ShowMessage(IntToStr(x)); end.",
         "1"},
        {"records by var parameter and as results",
         "type TPoint = record x, y: Integer; end; procedure Move(var p: TPoint; dx: Integer); begin p.x := "
         "p.x + "
         "dx; end; function Make(x, y: Integer): TPoint; begin Result.x := x; Result.y := y; end; var p: "
         "TPoint; "
         "begin p := Make(1, 2); Move(p, 10); ShowMessage(Format('%d %d %d', [p.x, p.y, Make(7, 8).y])); "
         "end.",
         "11 2 8"},
        {"a var parameter into an array or record outlives assigning the whole",
         "type TArr = array[1..3] of Integer; TRec = record n: Integer; s: string; end; var a, b: TArr; r, "
         "other: TRec;\n"
         "procedure P(var x: Integer; var whole: TArr); begin whole := b; x := 7; end;\n"
         "procedure Q(var n: Integer; var whole: TRec); begin whole := other; n := 9; end;\n"
         "begin b[1] := 5; b[2] := 6; P(a[1], a); other.s := 'q'; Q(r.n, r); "
         "ShowMessage(Format('%d %d %d %s', [a[1], a[2], r.n, r.s])); end.",
         "7 6 9 q"},
        {"functions may be called as statements",
         "function F: Integer; begin ShowMessage('ran'); Result := 1; end; "
         "begin F; end.",
         "ran"},
    });
}

TEST(ScriptLanguage, Exceptions)
{
    ExpectPrograms({
        {"except catches run-time errors",
         "var x: Integer; begin x := 0; try x := 10 div x; except ShowMessage(ExceptionMessage); end; "
         "ShowMessage('after'); end.",
         "Division by zero|after"},
        {"on E: Exception gives the object",
         "begin try raise Exception.Create('boom'); except on E: Exception do ShowMessage('caught ' + "
         "E.Message); "
         "end; end.",
         "caught boom"},
        {"raise without an object raises again",
         "begin try try raise Exception.Create('x'); except ShowMessage('inner ' + ExceptionMessage); raise; "
         "end; "
         "except on E: Exception do ShowMessage('outer ' + E.Message); end; end.",
         "inner x|outer x"},
        {"finally runs on the way out of an exception",
         "begin try try ShowMessage('body'); StrToInt('abc'); finally ShowMessage('cleanup'); end; except on "
         "E: "
         "Exception do ShowMessage(E.Message); end; end.",
         "body|cleanup|'abc' is not a valid integer value"},
        {"finally runs on exit and break",
         "procedure P; begin try Exit; finally ShowMessage('exit cleanup'); end; end; var i: Integer; begin "
         "P; "
         "for i := 1 to 3 do try Break; finally ShowMessage('break cleanup'); end; end.",
         "exit cleanup|break cleanup"},
        {"CreateFmt formats the message",
         "begin try raise Exception.CreateFmt('%d items', [3]); except on E: Exception do "
         "ShowMessage(E.Message); "
         "end; end.",
         "3 items"},
        {"an uncaught exception ends the run with its message",
         "begin ShowMessage('before'); raise Exception.Create('stop here'); ShowMessage('never'); end.",
         "before|error: stop here"},
        {"ExceptionMessage is empty outside a handler",
         "begin ShowMessage('[' + ExceptionMessage + ']'); end.", "[]"},
    });
}

TEST(ScriptLanguage, EnumerationsAndSets)
{
    ExpectPrograms({
        {"enumerations are ordinals",
         "type TKind = (kRed, kGreen, kBlue); var k: TKind; n: Integer; begin for k := Low(TKind) to "
         "High(TKind) "
         "do n := n + Ord(k); if (Succ(kRed) = kGreen) and (Pred(kBlue) = kGreen) and (kRed < kBlue) then "
         "ShowMessage(IntToStr(n) + ' ' + IntToStr(Ord(High(TKind)))); end.",
         "3 2"},
        {"case on an enumeration",
         "type TKind = (kRed, kGreen, kBlue); var k: TKind; begin k := kGreen; case k of kRed: "
         "ShowMessage('r'); "
         "kGreen, kBlue: ShowMessage('gb'); end; end.",
         "gb"},
        {"sets of an enumeration",
         "type TKind = (kRed, kGreen, kBlue); TKinds = set of TKind; var s: TKinds; begin s := [kRed, "
         "kBlue]; "
         "if (kRed in s) and not (kGreen in s) then ShowMessage('in'); s := s + [kGreen] - [kRed]; "
         "if s = [kGreen, kBlue] then ShowMessage('plus minus'); if s * [kRed, kGreen] = [kGreen] then "
         "ShowMessage('times'); Include(s, kRed); Exclude(s, kBlue); if ([kRed] <= s) and (s >= [kGreen]) "
         "and "
         "(s <> []) then ShowMessage('subset'); end.",
         "in|plus minus|times|subset"},
        {"set literals of characters and numbers",
         "var c: Char; n: Integer; begin c := 'q'; n := 12; if (c in ['a'..'z']) and not (c in ['0'..'9', "
         "'_']) "
         "and (n in [1, 10..20]) and not (300 in [1..10]) then ShowMessage('ok'); end.",
         "ok"},
    });
}

TEST(ScriptLanguage, RecordsAndArrays)
{
    ExpectPrograms({
        {"records copy on assignment",
         "type TInner = record v: Integer; end; TOuter = record name: string; inner: TInner; end; var a, b: "
         "TOuter; "
         "begin b.name := 'b'; b.inner.v := 1; a := b; b.inner.v := 2; b.name := 'changed'; "
         "ShowMessage(a.name + IntToStr(a.inner.v) + b.name + IntToStr(b.inner.v)); end.",
         "b1changed2"},
        {"static arrays with any bounds",
         "var a: array[1..5] of Integer; i, sum: Integer; begin for i := Low(a) to High(a) do a[i] := i * i; "
         "for "
         "i := 1 to 5 do sum := sum + a[i]; ShowMessage(Format('%d %d %d %d', [sum, Length(a), Low(a), "
         "High(a)])); end.",
         "55 5 1 5"},
        {"two dimensions",
         "var m: array[1..3, 1..3] of Integer; i, j: Integer; begin for i := 1 to 3 do for j := 1 to 3 do "
         "m[i, j] "
         ":= i * 10 + j; ShowMessage(Format('%d %d %d', [m[1, 1], m[2][3], m[3, 2]])); end.",
         "11 23 32"},
        {"arrays indexed by an enumeration, of records",
         "type TKind = (kRed, kGreen); TItem = record n: Integer; s: string; end; var names: array[TKind] of "
         "string; items: array[0..1] of TItem; begin names[kGreen] := 'green'; items[1].s := 'x'; items[1].n "
         ":= 3; "
         "ShowMessage(names[kGreen] + items[1].s + IntToStr(items[1].n) + IntToStr(items[0].n)); end.",
         "greenx30"},
        {"arrays copy on assignment",
         "type TArr = array[0..2] of Integer; var a, b: TArr; begin a[0] := 1; b := a; a[0] := 2; "
         "ShowMessage(IntToStr(b[0])); end.",
         "1"},
        {"an array inside a record",
         "type TGUID = record D1: LongWord; D2: Word; D3: Word; D4: array[0..7] of Byte; end; var g: TGUID; "
         "begin "
         "g.D4[7] := 300; g.D1 := $FFFFFFFF; ShowMessage(IntToStr(g.D4[7]) + ' ' + IntToStr(g.D1)); end.",
         "44 4294967295"},
    });
}

TEST(ScriptLanguage, DeclarationsAndPreprocessor)
{
    ExpectPrograms({
        {"constants, typed constants, constant expressions",
         "const N = 10; S = 'abc'; X = N * 2 + 1; C: Integer = 7; Big = $100000000; begin ShowMessage(S + "
         "IntToStr(N + X + C) + ' ' + IntToStr(Big)); end.",
         "abc38 4294967296"},
        {"type aliases and subranges",
         "type TNum = Integer; TDigit = 0..9; var n: TNum; d: TDigit; begin n := 5; d := 9; "
         "ShowMessage(IntToStr(n + d + High(TDigit))); end.",
         "23"},
        {"initialised globals",
         "var g: Integer = 5; s: string = 'x'; begin ShowMessage(s + IntToStr(g)); end.", "x5"},
        {"defines select branches",
         "{$DEFINE DEBUG}\nbegin\n{$IFDEF DEBUG} ShowMessage('debug'); {$ELSE} ShowMessage('release'); "
         "{$ENDIF}\n"
         "{$IFNDEF DEBUG} ShowMessage('not'); {$ENDIF}\n{$UNDEF DEBUG}{$IFDEF debug} ShowMessage('still'); "
         "{$ENDIF}\nend.",
         "debug"},
        {"left-out text need not parse",
         "begin\n{$IFDEF NEVER} this is { not } Pascal 'at all' {$IFDEF X} nested {$ENDIF} {$ELSE}\n"
         "ShowMessage('kept');\n{$ENDIF}\nend.",
         "kept"},
        {"switch directives are ignored", "{$R+}{$H+}{$I-}\nbegin ShowMessage('ok'); end.", "ok"},
    });
}

TEST(ScriptLanguage, Format)
{
    ExpectPrograms({
        {"widths, precisions, kinds",
         "begin ShowMessage(Format('%5d|%-5d|%.3d|%s|%8.3f|%x|%%|%u', [42, 42, 7, 'abc', 3.14159, 255, "
         "-1])); end.",
         "   42|42   |007|abc|   3.142|FF|%|4294967295"},
        {"floating forms",
         "begin ShowMessage(Format('%e %g %n %.0f %f', [1234.5, 0.5, 1234567.891, 2.5, -1.0])); end.",
         "1.23450000000000E+003 0.5 1,234,567.89 3 -1.00"},
        {"characters, indexes and star widths",
         "begin ShowMessage(Format('%s%s %1:s %*d', ['a', 'b', 3, 7])); end.", "ab b   7"},
        {"a mismatched argument is a run-time error", "begin ShowMessage(Format('%d', ['x'])); end.",
         "error: Format specifier '%d' invalid or incompatible with its argument"},
        {"a missing argument is a run-time error", "begin ShowMessage(Format('%d %d', [1])); end.",
         "error: Format '%d' has no argument left"},
    });
}

} // namespace
