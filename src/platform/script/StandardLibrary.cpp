#include "StandardLibrary.h"

#include "Call.h"
#include "Compiler.h"
#include "Error.h"
#include "TextFormat.h"
#include "platform/core/IntegerText.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace Script
{

namespace
{

// An integer as StrToInt reads it: optional blanks, a sign, then decimal digits or "$"/"0x" and
// hexadecimal digits, and nothing after them. False when the text is none or out of Int64.
bool ParseInteger(const QString &text, int64_t &value)
{
    const auto [negative, base, digits] = IntegerText::Split(QStringView(text).trimmed());
    if (digits.isEmpty())
        return false;
    bool ok = false;
    const uint64_t magnitude = digits.toULongLong(&ok, base);
    if (!ok)
        return false;
    if (base == 16 && !negative) {
        value = int64_t(magnitude); // "$FFFFFFFFFFFFFFFF" is -1, as in source text
        return true;
    }
    const uint64_t limit = negative ? uint64_t(std::numeric_limits<int64_t>::max()) + 1
                                    : uint64_t(std::numeric_limits<int64_t>::max());
    if (magnitude > limit)
        return false;
    value = negative ? int64_t(0 - magnitude) : int64_t(magnitude);
    return true;
}

bool ParseInteger32(const QString &text, int64_t &value)
{
    return ParseInteger(text, value) && value >= std::numeric_limits<int32_t>::min() &&
           value <= std::numeric_limits<uint32_t>::max() &&
           (value <= std::numeric_limits<int32_t>::max() || text.trimmed().contains(QLatin1Char('$')) ||
            text.trimmed().contains(QLatin1String("0x"), Qt::CaseInsensitive));
}

bool ParseFloat(const QString &text, double &value)
{
    bool ok = false;
    value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

[[noreturn]] void ThrowNotInteger(const QString &text)
{
    throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

bool IsBlank(QChar c)
{
    return c.unicode() <= ' ';
}

QString AsciiCase(QString text, bool upper)
{
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (upper && u >= 'a' && u <= 'z')
            c = QChar(char16_t(u - 32));
        else if (!upper && u >= 'A' && u <= 'Z')
            c = QChar(char16_t(u + 32));
    }
    return text;
}

int64_t CheckedInt64(double value, const char *routine)
{
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
        throw Error(QStringLiteral("%1: %2 is out of the Int64 range")
                        .arg(QLatin1String(routine), FloatToText(value)));
    return int64_t(value);
}

double CheckedMath(double result)
{
    if (std::isnan(result))
        throw Error(QStringLiteral("Invalid floating point operation"));
    return result;
}

struct Declaration {
    const char *text;
    void (*function)(Call &call);
};

const Declaration kRoutines[] = {
    // Conversions between numbers and text
    {"function IntToStr(Value: Int64): string;",
     [](Call &c) { c.ReturnString(QString::number(c.Integer(0))); }},
    {"function IntToHex(Value: Int64; Digits: Integer): string;",
     [](Call &c) {
         const int64_t v = c.Integer(0);
         const bool fits32 =
             v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
         const uint64_t bits = fits32 ? uint32_t(v) : uint64_t(v);
         const int digits = int(std::clamp<int64_t>(c.Integer(1), 0, 64));
         c.ReturnString(QString::number(bits, 16).toUpper().rightJustified(digits, QLatin1Char('0')));
     }},
    {"function StrToInt(const S: string): Integer;",
     [](Call &c) {
         int64_t v = 0;
         if (!ParseInteger32(c.String(0), v))
             ThrowNotInteger(c.String(0));
         c.ReturnInteger(v);
     }},
    {"function StrToInt64(const S: string): Int64;",
     [](Call &c) {
         int64_t v = 0;
         if (!ParseInteger(c.String(0), v))
             ThrowNotInteger(c.String(0));
         c.ReturnInteger(v);
     }},
    {"function StrToIntDef(const S: string; Default: Integer): Integer;",
     [](Call &c) {
         int64_t v = 0;
         c.ReturnInteger(ParseInteger32(c.String(0), v) ? v : c.Integer(1));
     }},
    {"function FloatToStr(Value: Double): string;",
     [](Call &c) { c.ReturnString(FloatToText(c.Double(0))); }},
    {"function StrToFloat(const S: string): Double;",
     [](Call &c) {
         double v = 0;
         if (!ParseFloat(c.String(0), v))
             throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(c.String(0)));
         c.ReturnDouble(v);
     }},
    {"function StrToFloatDef(const S: string; Default: Double): Double;",
     [](Call &c) {
         double v = 0;
         c.ReturnDouble(ParseFloat(c.String(0), v) ? v : c.Double(1));
     }},
    // Strings
    {"function Copy(const S: string; Index, Count: Integer): string;",
     [](Call &c) {
         const QString s = c.String(0);
         const int64_t start = std::max<int64_t>(c.Integer(1), 1);
         const int64_t count = c.Integer(2);
         if (count <= 0 || start > s.size())
             return c.ReturnString(QString());
         c.ReturnString(s.mid(start - 1, std::min<int64_t>(count, s.size())));
     }},
    {"function Pos(const SubStr, S: string): Integer;",
     [](Call &c) {
         const QString sub = c.String(0);
         c.ReturnInteger(sub.isEmpty() ? 0 : c.String(1).indexOf(sub) + 1);
     }},
    {"procedure Delete(var S: string; Index, Count: Integer);",
     [](Call &c) {
         QString &s = c.Cell(0).s;
         const int64_t index = c.Integer(1);
         if (index >= 1 && index <= s.size() && c.Integer(2) > 0)
             s.remove(index - 1, std::min<int64_t>(c.Integer(2), s.size()));
     }},
    {"procedure Insert(const Source: string; var S: string; Index: Integer);",
     [](Call &c) {
         QString &s = c.Cell(1).s;
         s.insert(std::clamp<int64_t>(c.Integer(2), 1, s.size() + 1) - 1, c.String(0));
     }},
    {"function Trim(const S: string): string;",
     [](Call &c) {
         const QString s = c.String(0);
         qsizetype first = 0, last = s.size();
         while (first < last && IsBlank(s[first]))
             ++first;
         while (last > first && IsBlank(s[last - 1]))
             --last;
         c.ReturnString(s.mid(first, last - first));
     }},
    {"function TrimLeft(const S: string): string;",
     [](Call &c) {
         const QString s = c.String(0);
         qsizetype first = 0;
         while (first < s.size() && IsBlank(s[first]))
             ++first;
         c.ReturnString(s.mid(first));
     }},
    {"function TrimRight(const S: string): string;",
     [](Call &c) {
         const QString s = c.String(0);
         qsizetype last = s.size();
         while (last > 0 && IsBlank(s[last - 1]))
             --last;
         c.ReturnString(s.left(last));
     }},
    {"function UpperCase(const S: string): string;",
     [](Call &c) { c.ReturnString(AsciiCase(c.String(0), true)); }},
    {"function LowerCase(const S: string): string;",
     [](Call &c) { c.ReturnString(AsciiCase(c.String(0), false)); }},
    {"function AnsiUpperCase(const S: string): string;",
     [](Call &c) { c.ReturnString(c.String(0).toUpper()); }},
    {"function AnsiLowerCase(const S: string): string;",
     [](Call &c) { c.ReturnString(c.String(0).toLower()); }},
    {"function CompareStr(const S1, S2: string): Integer;",
     [](Call &c) { c.ReturnInteger(c.String(0).compare(c.String(1))); }},
    {"function CompareText(const S1, S2: string): Integer;",
     [](Call &c) { c.ReturnInteger(AsciiCase(c.String(0), false).compare(AsciiCase(c.String(1), false))); }},
    {"function SameText(const S1, S2: string): Boolean;",
     [](Call &c) { c.ReturnBoolean(AsciiCase(c.String(0), false) == AsciiCase(c.String(1), false)); }},
    {"function StringOfChar(C: Char; Count: Integer): string;",
     [](Call &c) {
         const int64_t count = std::clamp<int64_t>(c.Integer(1), 0, int64_t(1) << 28);
         c.ReturnString(QString(count, QChar(char16_t(c.Integer(0)))));
     }},
    {"function QuotedStr(const S: string): string;",
     [](Call &c) {
         QString s = c.String(0);
         s.replace(QLatin1Char('\''), QLatin1String("''"));
         c.ReturnString(QLatin1Char('\'') + s + QLatin1Char('\''));
     }},
    {"function StringReplace(const S, OldPattern, NewPattern: string; Flags: TReplaceFlags): string;",
     [](Call &c) {
         const Value &flags = c.Cell(3);
         const bool all = flags.HasElement(0);
         const Qt::CaseSensitivity sensitivity =
             flags.HasElement(1) ? Qt::CaseInsensitive : Qt::CaseSensitive;
         QString s = c.String(0);
         const QString old = c.String(1);
         if (old.isEmpty())
             return c.ReturnString(s);
         if (all) {
             s.replace(old, c.String(2), sensitivity);
         } else if (const qsizetype at = s.indexOf(old, 0, sensitivity); at >= 0) {
             s.replace(at, old.size(), c.String(2));
         }
         c.ReturnString(s);
     }},
    // Arithmetic
    {"function Round(X: Double): Int64;",
     [](Call &c) { c.ReturnInteger(CheckedInt64(std::nearbyint(c.Double(0)), "Round")); }},
    {"function Trunc(X: Double): Int64;",
     [](Call &c) { c.ReturnInteger(CheckedInt64(std::trunc(c.Double(0)), "Trunc")); }},
    {"function Int(X: Double): Double;", [](Call &c) { c.ReturnDouble(std::trunc(c.Double(0))); }},
    {"function Frac(X: Double): Double;",
     [](Call &c) { c.ReturnDouble(c.Double(0) - std::trunc(c.Double(0))); }},
    {"function Sqrt(X: Double): Double;",
     [](Call &c) { c.ReturnDouble(CheckedMath(std::sqrt(c.Double(0)))); }},
    {"function Sin(X: Double): Double;", [](Call &c) { c.ReturnDouble(std::sin(c.Double(0))); }},
    {"function Cos(X: Double): Double;", [](Call &c) { c.ReturnDouble(std::cos(c.Double(0))); }},
    {"function ArcTan(X: Double): Double;", [](Call &c) { c.ReturnDouble(std::atan(c.Double(0))); }},
    {"function Exp(X: Double): Double;", [](Call &c) { c.ReturnDouble(std::exp(c.Double(0))); }},
    {"function Ln(X: Double): Double;",
     [](Call &c) {
         if (c.Double(0) <= 0)
             throw Error(QStringLiteral("Invalid floating point operation"));
         c.ReturnDouble(std::log(c.Double(0)));
     }},
    {"function Power(Base, Exponent: Double): Double;",
     [](Call &c) { c.ReturnDouble(CheckedMath(std::pow(c.Double(0), c.Double(1)))); }},
    {"function Pi: Double;", [](Call &c) { c.ReturnDouble(M_PI); }},
    // Every run starts from a randomly seeded generator, so there is nothing left to seed.
    {"procedure Randomize;", [](Call &) {}},
};

const struct {
    const char *name;
    Intrinsic intrinsic;
} kIntrinsics[] = {
    {"Length", Intrinsic::Length},
    {"High", Intrinsic::High},
    {"Low", Intrinsic::Low},
    {"Inc", Intrinsic::Inc},
    {"Dec", Intrinsic::Dec},
    {"Ord", Intrinsic::Ord},
    {"Chr", Intrinsic::Chr},
    {"Succ", Intrinsic::Succ},
    {"Pred", Intrinsic::Pred},
    {"Abs", Intrinsic::Abs},
    {"Sqr", Intrinsic::Sqr},
    {"Odd", Intrinsic::Odd},
    {"SetLength", Intrinsic::SetLength},
    {"Random", Intrinsic::Random},
    {"Format", Intrinsic::Format},
    {"Include", Intrinsic::Include},
    {"Exclude", Intrinsic::Exclude},
    {"ExceptionMessage", Intrinsic::ExceptionMessage},
    {"Exit", Intrinsic::Exit},
    {"Break", Intrinsic::Break},
    {"Continue", Intrinsic::Continue},
};

const struct {
    const char *name;
    const Type *(*type)();
} kTypes[] = {
    {"Integer", StandardTypes::Integer},
    {"Longint", StandardTypes::Integer},
    {"Cardinal", StandardTypes::Cardinal},
    {"LongWord", StandardTypes::Cardinal},
    {"DWord", StandardTypes::Cardinal},
    {"Int64", StandardTypes::Int64},
    {"Byte", StandardTypes::Byte},
    {"ShortInt", StandardTypes::ShortInt},
    {"Word", StandardTypes::Word},
    {"SmallInt", StandardTypes::SmallInt},
    {"Boolean", StandardTypes::Boolean},
    {"Char", StandardTypes::Char},
    {"WideChar", StandardTypes::Char},
    {"AnsiChar", StandardTypes::Char},
    {"Double", StandardTypes::Double},
    {"Single", StandardTypes::Double},
    {"Extended", StandardTypes::Double},
    {"Real", StandardTypes::Double},
    {"Currency", StandardTypes::Double},
    {"string", StandardTypes::String},
    {"AnsiString", StandardTypes::String},
    {"WideString", StandardTypes::String},
    {"UnicodeString", StandardTypes::String},
    {"ShortString", StandardTypes::String},
    {"Exception", StandardTypes::Exception},
};

} // namespace

void DeclareStandardLibrary(Compiler &compiler)
{
    for (const auto &type : kTypes)
        compiler.DeclareStandardType(QLatin1String(type.name), type.type());
    compiler.DeclareConstant(QStringLiteral("True"), QStringLiteral("Boolean"), true);
    compiler.DeclareConstant(QStringLiteral("False"), QStringLiteral("Boolean"), false);
    compiler.DeclareConstant(QStringLiteral("MaxInt"), QStringLiteral("Integer"),
                             std::numeric_limits<int32_t>::max());
    compiler.DeclareType(QStringLiteral("TReplaceFlag"), QStringLiteral("(rfReplaceAll, rfIgnoreCase)"));
    compiler.DeclareType(QStringLiteral("TReplaceFlags"), QStringLiteral("set of TReplaceFlag"));
    for (const auto &intrinsic : kIntrinsics)
        compiler.DeclareIntrinsic(QLatin1String(intrinsic.name), intrinsic.intrinsic);
    for (const Declaration &routine : kRoutines)
        compiler.DeclareRoutine(QLatin1String(routine.text), routine.function);
}

} // namespace Script
