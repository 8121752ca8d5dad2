#include "DateTimeFormat.h"

#include <QRegularExpression>

#include <algorithm>
#include <functional>

namespace
{

// Rebuilds a Qt date-time format from its pieces: `edit` receives each run of unquoted text and
// each quoted text (quotes included) and returns what replaces it.
QString RewriteQtFormat(const QString &format, const std::function<QString(const QString &, bool)> &edit)
{
    QString result;
    qsizetype i = 0;
    while (i < format.size()) {
        const qsizetype open = format.indexOf(QLatin1Char('\''), i);
        result += edit(format.mid(i, (open < 0 ? format.size() : open) - i), false);
        if (open < 0)
            break;
        const qsizetype close = format.indexOf(QLatin1Char('\''), open + 1);
        i = close < 0 ? format.size() : close + 1;
        result += edit(format.mid(open, i - open), true);
    }
    return result;
}

// The locale's time format without time-zone fields ("t", "[t]", "(t)"), which have no place in
// the language. Day-period fields ("B"), which Qt leaves as literal letters, become am/pm.
QString LocaleTimeFormat(const QLocale &locale, QLocale::FormatType type)
{
    static const QRegularExpression zone(QStringLiteral("\\s*[[(]?t+[])]?"));
    const QString format = RewriteQtFormat(locale.timeFormat(type), [](const QString &piece, bool quoted) {
        return quoted ? piece : QString(piece).remove(zone).replace(QLatin1Char('B'), QLatin1String("AP"));
    });
    return format.trimmed();
}

// The first character of a Qt format that is neither a field letter, a blank nor quoted text.
QChar FirstSeparator(const QString &qtFormat, char fallback)
{
    const QString unquoted = RewriteQtFormat(
        qtFormat, [](const QString &piece, bool quoted) { return quoted ? QString() : piece; });
    for (const QChar c : unquoted)
        if (!c.isLetter() && !c.isSpace())
            return c;
    return QLatin1Char(fallback);
}

bool IsQuote(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('"');
}

bool IsAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

// How many times the letter at `i` repeats, ignoring case.
int RunLength(const QString &format, qsizetype i)
{
    int n = 1;
    while (i + n < format.size() && format[i + n].toUpper() == format[i].toUpper())
        ++n;
    return n;
}

// The length of the am/pm specifier ("am/pm", "a/p" or "ampm") at `i`, 0 when there is none.
qsizetype AmPmLength(const QString &format, qsizetype i)
{
    const QStringView rest = QStringView(format).mid(i);
    for (const QLatin1String word : {QLatin1String("am/pm"), QLatin1String("a/p"), QLatin1String("ampm")})
        if (rest.startsWith(word, Qt::CaseInsensitive))
            return word.size();
    return 0;
}

// An hour is on the 12-hour clock when an am/pm specifier follows it. The search skips quoted
// text and stops at the next hour specifier or at the first other "a".
bool TwelveHourFollows(const QString &format, qsizetype i)
{
    for (; i < format.size(); ++i) {
        const QChar c = format[i];
        if (IsQuote(c)) {
            i = format.indexOf(c, i + 1);
            if (i < 0)
                return false;
        } else if (c.toUpper() == QLatin1Char('H')) {
            return false;
        } else if (c.toUpper() == QLatin1Char('A')) {
            return AmPmLength(format, i) > 0;
        }
    }
    return false;
}

QString Padded(int value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 10, QLatin1Char('0'));
}

// Formats one valid value; one instance per call.
class Formatter
{
  public:
    Formatter(QDate date, QTime time, const QLocale &locale) : date_(date), time_(time), locale_(locale) {}

    QString Run(const QString &format)
    {
        for (qsizetype i = 0; i < format.size();)
            i = Token(format, i);
        return out_;
    }

  private:
    // Writes the token at `i`; returns where the next one starts.
    qsizetype Token(const QString &format, qsizetype i)
    {
        const QChar c = format[i];
        if (IsQuote(c))
            return QuotedText(format, i);
        if (!IsAsciiLetter(c)) {
            out_ += Separator(c);
            return i + 1;
        }
        char letter = char(c.toUpper().toLatin1());
        if (letter == 'M' && lastLetter_ == 'H')
            letter = 'N'; // "m" right after an hour means minutes
        lastLetter_ = letter;
        if (letter == 'A')
            return AmPm(format, i);
        const int count = RunLength(format, i);
        if (!Field(letter, count, format, i + count)) {
            out_ += c; // not a specifier: copied like any other character
            return i + 1;
        }
        return i + count;
    }

    // Writes the field of a run of `count` equal letters; false when the letter names none.
    bool Field(char letter, int count, const QString &format, qsizetype next)
    {
        switch (letter) {
        case 'C':
            out_ += Date(QLocale::ShortFormat);
            if (time_ != QTime(0, 0))
                out_ += QLatin1Char(' ') + Time(QLocale::LongFormat);
            return true;
        case 'D':
            Day(count);
            return true;
        case 'M':
            Month(count);
            return true;
        case 'Y':
            out_ += count <= 2 ? Padded(date_.year() % 100, 2) : Padded(date_.year(), 4);
            return true;
        case 'H':
            out_ += Padded(TwelveHourFollows(format, next) ? (time_.hour() + 11) % 12 + 1 : time_.hour(),
                           std::min(count, 2));
            return true;
        case 'N':
            out_ += Padded(time_.minute(), std::min(count, 2));
            return true;
        case 'S':
            out_ += Padded(time_.second(), std::min(count, 2));
            return true;
        case 'Z':
            out_ += Padded(time_.msec(), std::min(count, 3));
            return true;
        case 'T':
            out_ += Time(count == 1 ? QLocale::ShortFormat : QLocale::LongFormat);
            return true;
        default:
            return false;
        }
    }

    void Day(int count)
    {
        if (count <= 2)
            out_ += Padded(date_.day(), count);
        else if (count <= 4)
            out_ +=
                locale_.dayName(date_.dayOfWeek(), count == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        else
            out_ += Date(count == 5 ? QLocale::ShortFormat : QLocale::LongFormat);
    }

    void Month(int count)
    {
        if (count <= 2)
            out_ += Padded(date_.month(), count);
        else
            out_ += locale_.monthName(date_.month(), count == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
    }

    QString Date(QLocale::FormatType type) const { return locale_.toString(date_, type); }

    QString Time(QLocale::FormatType type) const
    {
        return locale_.toString(time_, LocaleTimeFormat(locale_, type));
    }

    // "/" and ":" stand for the locale's separators; other characters are themselves.
    QChar Separator(QChar c) const
    {
        if (c == QLatin1Char('/'))
            return DateSeparator(locale_);
        return c == QLatin1Char(':') ? TimeSeparator(locale_) : c;
    }

    qsizetype AmPm(const QString &format, qsizetype i)
    {
        const bool pm = time_.hour() >= 12;
        switch (AmPmLength(format, i)) {
        case 5: // "am/pm": the letters as written
            out_ += format.mid(pm ? i + 3 : i, 2);
            return i + 5;
        case 3: // "a/p"
            out_ += format[pm ? i + 2 : i];
            return i + 3;
        case 4: // "ampm"
            out_ += pm ? locale_.pmText() : locale_.amText();
            return i + 4;
        default:
            out_ += format[i];
            return i + 1;
        }
    }

    // Copies the text after the quote at `i` up to the closing quote (or the end).
    qsizetype QuotedText(const QString &format, qsizetype i)
    {
        const qsizetype close = format.indexOf(format[i], i + 1);
        const qsizetype end = close < 0 ? format.size() : close;
        out_ += format.mid(i + 1, end - i - 1);
        return close < 0 ? end : end + 1;
    }

    const QDate date_;
    const QTime time_;
    const QLocale &locale_;
    QString out_;
    char lastLetter_ = 0; // the latest letter read, upper-case: "m" right after "h" is minutes
};

} // namespace

QString FormatDateTime(const QString &format, TDateTime value, const QLocale &locale)
{
    const QDate date = DateTimeToQDate(value);
    if (!date.isValid())
        return QString();
    return Formatter(date, DateTimeToQTime(value), locale)
        .Run(format.isEmpty() ? QStringLiteral("c") : format);
}

QChar DateSeparator(const QLocale &locale)
{
    return FirstSeparator(locale.dateFormat(QLocale::ShortFormat), '/');
}

QChar TimeSeparator(const QLocale &locale)
{
    return FirstSeparator(locale.timeFormat(QLocale::ShortFormat), ':');
}
