#include "DateTime.h"

#include <cmath>

namespace
{

const QDate Epoch(1899, 12, 30);
constexpr double MsPerDay = 86400000.0;

struct Parts {
    QDate date;
    int hour, minute, second, ms;
};

Parts Split(TDateTime value)
{
    const double whole = std::trunc(value);
    qint64 ms = std::llround(std::fabs(value - whole) * MsPerDay);
    qint64 days = qint64(whole);
    if (ms >= qint64(MsPerDay)) { // rounding reached the next day
        ms -= qint64(MsPerDay);
        days += value < 0 ? -1 : 1;
    }
    return {Epoch.addDays(days), int(ms / 3600000), int(ms / 60000 % 60), int(ms / 1000 % 60),
            int(ms % 1000)};
}

// The first character of a locale format that is neither a field letter, a blank nor a quote.
QChar FirstSeparator(const QString &format)
{
    for (QChar c : format)
        if (!c.isLetter() && !c.isSpace() && c != QLatin1Char('\''))
            return c;
    return QChar();
}

// The locale's time format without time-zone fields, which the language has no place for.
QString TimeFormatWithoutZone(const QLocale &locale, QLocale::FormatType type)
{
    QString format = locale.timeFormat(type);
    format.remove(QLatin1Char('t'));
    return format.simplified();
}

QString Padded(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

// Counts how often the letter at `i` repeats (ignoring case).
int RunLength(const QString &f, qsizetype i)
{
    int n = 1;
    while (i + n < f.size() && f[i + n].toUpper() == f[i].toUpper())
        ++n;
    return n;
}

bool StartsWithAt(const QString &f, qsizetype i, const char *word)
{
    return f.mid(i, qsizetype(qstrlen(word))).compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// True when an am/pm specifier follows position `i`, outside quoted text.
bool TwelveHourFollows(const QString &f, qsizetype i)
{
    QChar quote;
    for (; i < f.size(); ++i) {
        if (!quote.isNull()) {
            if (f[i] == quote)
                quote = QChar();
        } else if (f[i] == QLatin1Char('\'') || f[i] == QLatin1Char('"')) {
            quote = f[i];
        } else if (StartsWithAt(f, i, "am/pm") || StartsWithAt(f, i, "a/p") || StartsWithAt(f, i, "ampm")) {
            return true;
        }
    }
    return false;
}

class Formatter
{
  public:
    Formatter(TDateTime value, const QLocale &locale) : parts_(Split(value)), locale_(locale) {}

    QString Run(const QString &format)
    {
        Append(format.isEmpty() ? QStringLiteral("c") : format);
        return out_;
    }

  private:
    void Append(const QString &f)
    {
        for (qsizetype i = 0; i < f.size();)
            i = Token(f, i);
    }

    // Formats the token starting at `i`; returns where the next one starts.
    qsizetype Token(const QString &f, qsizetype i)
    {
        const QChar c = f[i];
        const char letter = char(c.toLower().toLatin1());
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = f.indexOf(c, i + 1);
            out_ += f.mid(i + 1, (end < 0 ? f.size() : end) - i - 1);
            return end < 0 ? f.size() : end + 1;
        }
        if (letter == 'a')
            return AmPm(f, i);
        const int n = RunLength(f, i);
        switch (letter) {
        case 'c':
            Append(QStringLiteral("ddddd"));
            if (parts_.hour || parts_.minute || parts_.second || parts_.ms) {
                out_ += QLatin1Char(' ');
                Append(QStringLiteral("tt"));
            }
            return i + 1;
        case 'd':
            Day(n);
            return i + std::min(n, 6);
        case 'm':
            if (lastWasHour_)
                Number(parts_.minute, n);
            else
                Month(n);
            lastWasHour_ = false;
            return i + std::min(n, 4);
        case 'y':
            out_ += n <= 2 ? Padded(parts_.date.year() % 100, 2) : Padded(parts_.date.year(), 4);
            return i + n;
        case 'e':
            out_ += QString::number(parts_.date.year());
            return i + n;
        case 'g': // no eras in the calendars used here
            return i + n;
        case 'h':
            Hour(n, TwelveHourFollows(f, i + n));
            lastWasHour_ = true;
            return i + std::min(n, 2);
        case 'n':
            Number(parts_.minute, n);
            return i + std::min(n, 2);
        case 's':
            Number(parts_.second, n);
            return i + std::min(n, 2);
        case 'z':
            out_ += n <= 2 ? QString::number(parts_.ms) : Padded(parts_.ms, 3);
            return i + std::min(n, 3);
        case 't':
            out_ += locale_.toString(
                QTime(parts_.hour, parts_.minute, parts_.second),
                TimeFormatWithoutZone(locale_, n == 1 ? QLocale::ShortFormat : QLocale::LongFormat));
            return i + std::min(n, 2);
        default:
            break;
        }
        if (c == QLatin1Char('/'))
            out_ += DateSeparator(locale_);
        else if (c == QLatin1Char(':'))
            out_ += TimeSeparator(locale_);
        else
            out_ += c;
        return i + 1;
    }

    void Day(int n)
    {
        const QDate &d = parts_.date;
        if (n <= 2)
            Number(d.day(), n);
        else if (n <= 4)
            out_ += locale_.dayName(d.dayOfWeek(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        else
            out_ += locale_.toString(d, n == 5 ? QLocale::ShortFormat : QLocale::LongFormat);
    }

    void Month(int n)
    {
        if (n <= 2)
            Number(parts_.date.month(), n);
        else
            out_ +=
                locale_.monthName(parts_.date.month(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
    }

    void Hour(int n, bool twelveHour)
    {
        int h = parts_.hour;
        if (twelveHour) {
            h %= 12;
            if (h == 0)
                h = 12;
        }
        Number(h, n);
    }

    void Number(int value, int count) { out_ += count >= 2 ? Padded(value, 2) : QString::number(value); }

    qsizetype AmPm(const QString &f, qsizetype i)
    {
        const bool pm = parts_.hour >= 12;
        if (StartsWithAt(f, i, "am/pm")) {
            const QString word = pm ? f.mid(i + 3, 2) : f.mid(i, 2); // keeps the case written
            out_ += word;
            return i + 5;
        }
        if (StartsWithAt(f, i, "a/p")) {
            out_ += pm ? f[i + 2] : f[i];
            return i + 3;
        }
        if (StartsWithAt(f, i, "ampm")) {
            out_ += pm ? locale_.pmText() : locale_.amText();
            return i + 4;
        }
        out_ += f[i];
        return i + 1;
    }

    Parts parts_;
    const QLocale &locale_;
    QString out_;
    bool lastWasHour_ = false;
};

} // namespace

TDateTime DateTimeFromQDateTime(const QDateTime &local)
{
    const qint64 days = Epoch.daysTo(local.date());
    const double fraction = local.time().msecsSinceStartOfDay() / MsPerDay;
    return days < 0 ? double(days) - fraction : double(days) + fraction;
}

QDateTime DateTimeToQDateTime(TDateTime value)
{
    const Parts p = Split(value);
    return QDateTime(p.date, QTime(p.hour, p.minute, p.second, p.ms));
}

TDateTime Now()
{
    return DateTimeFromQDateTime(QDateTime::currentDateTime());
}

bool TryEncodeDate(int year, int month, int day, TDateTime &value)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > QDate(year, month, 1).daysInMonth())
        return false;
    value = double(Epoch.daysTo(QDate(year, month, day)));
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime &value)
{
    if (hour < 0 || hour >= 24 || minute < 0 || minute >= 60 || second < 0 || second >= 60 ||
        millisecond < 0 || millisecond >= 1000)
        return false;
    value = (((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / MsPerDay;
    return true;
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond,
                       TDateTime &value)
{
    TDateTime date, time;
    if (!TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, millisecond, time))
        return false;
    value = date < 0 ? date - time : date + time;
    return true;
}

void DecodeDate(TDateTime value, int &year, int &month, int &day)
{
    const QDate d = Split(value).date;
    year = d.year();
    month = d.month();
    day = d.day();
}

void DecodeTime(TDateTime value, int &hour, int &minute, int &second, int &millisecond)
{
    const Parts p = Split(value);
    hour = p.hour;
    minute = p.minute;
    second = p.second;
    millisecond = p.ms;
}

QString FormatDateTime(const QString &format, TDateTime value, const QLocale &locale)
{
    return Formatter(value, locale).Run(format);
}

QChar DateSeparator(const QLocale &locale)
{
    const QChar c = FirstSeparator(locale.dateFormat(QLocale::ShortFormat));
    return c.isNull() ? QLatin1Char('/') : c;
}

QChar TimeSeparator(const QLocale &locale)
{
    const QChar c = FirstSeparator(locale.timeFormat(QLocale::ShortFormat));
    return c.isNull() ? QLatin1Char(':') : c;
}
