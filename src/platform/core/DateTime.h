#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// Date-time values as days since 1899-12-30, the fraction being the time of day. Before that
// day the integer part counts days backwards while the fraction still adds the time of day:
// 1899-12-29 06:00 is -1.25.
using TDateTime = double;

TDateTime Now();
TDateTime DateTimeFromQDateTime(const QDateTime &local);
QDateTime DateTimeToQDateTime(const TDateTime value);

// Encoding with the calendar's checks: year 1..9999, month 1..12, day within the month (leap
// years counted), hour < 24, minute and second < 60, millisecond < 1000. False leaves `value`.
bool TryEncodeDate(int year, int month, int day, TDateTime &value);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime &value);
bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond,
                       TDateTime &value);
void DecodeDate(TDateTime value, int &year, int &month, int &day);
void DecodeTime(TDateTime value, int &hour, int &minute, int &second, int &millisecond);

// Formats `value` with the date-time format language: c, d..dddddd, m..mmmm (minutes right
// after an hour), yy, yyyy, h, hh (12-hour when an am/pm specifier follows), n, nn, s, ss, z,
// zzz, t, tt, am/pm, a/p, ampm, / and : (the locale's separators), e/ee (year) and quoted text;
// letters ignore case, other characters are copied. An empty format means "c".
QString FormatDateTime(const QString &format, TDateTime value, const QLocale &locale = QLocale());

// The locale's date and time separators, as its short formats use them.
QChar DateSeparator(const QLocale &locale);
QChar TimeSeparator(const QLocale &locale);
