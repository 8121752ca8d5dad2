#pragma once

#include <QDateTime>

// A date-time value: days since 1899-12-30 00:00, local time. The integer part counts days and
// the fraction is the time of day. Before 1899-12-30 the integer part counts days backwards while
// the fraction still adds the time of day, so 1899-12-29 06:00 is -1.25 (not -0.75), and values
// between -1 and 0 fall on 1899-12-30 like their absolute values.
//
// Valid values lie between 0001-01-01 and 9999-12-31, the years TryEncodeDate accepts. Functions
// that read a value check that and answer other values, NaN included, as documented below.
//
// Every function is reentrant and may be called from any thread.
using TDateTime = double;

// Local date and time now, to the millisecond.
TDateTime Now();

// Conversions with Qt's local-time values. A QDateTime in UTC or another zone is taken in local
// time first. The To* functions give invalid Qt values for values outside the valid range; the
// From* functions expect valid Qt values.
TDateTime DateTimeFromQDateTime(const QDateTime &dateTime);
TDateTime DateTimeFromQDate(QDate date);
TDateTime DateTimeFromQTime(QTime time);
QDateTime DateTimeToQDateTime(TDateTime value);
QDate DateTimeToQDate(TDateTime value);
QTime DateTimeToQTime(TDateTime value);

// Encoding with the calendar's checks: year 1..9999, month 1..12, day within the month (leap
// years counted), hour < 24, minute and second < 60, millisecond < 1000. On failure the Try*
// functions return false and leave `value` unchanged; the others throw std::invalid_argument.
bool TryEncodeDate(int year, int month, int day, TDateTime &value);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime &value);
bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond,
                       TDateTime &value);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);

// The calendar fields of a value, rounded to the millisecond (a time that rounds up to 24:00
// belongs to the next day). Values outside the valid range give zero in every field.
void DecodeDate(TDateTime value, int &year, int &month, int &day);
void DecodeTime(TDateTime value, int &hour, int &minute, int &second, int &millisecond);
