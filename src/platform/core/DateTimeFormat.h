#pragma once

#include "platform/core/DateTime.h"

#include <QLocale>
#include <QString>

// The date-time format language. Letters are case-insensitive; quoted text ('...' or "...") is
// copied without its quotes; every other character is copied.
//   c               short date, a blank and long time; the time is left out at exactly midnight
//   d dd            day of the month without / with a leading zero
//   ddd dddd        short / long day name
//   ddddd dddddd    the locale's short / long date
//   m mm            month without / with a leading zero; minutes right after an hour specifier
//   mmm mmmm        short / long month name
//   yy yyyy         two-digit / four-digit year
//   h hh            hour without / with a leading zero, on the 12-hour clock when an am/pm
//                   specifier follows before the next hour specifier
//   n nn, s ss      minute, second without / with a leading zero
//   z zzz           milliseconds without / with leading zeros
//   t tt            the locale's short / long time
//   am/pm a/p       "am"/"pm" or "a"/"p", in the case written
//   ampm            the locale's morning / afternoon text
//   / :             the locale's date / time separator
// An empty format means "c". The locale's formats, names and texts come from QLocale; time-zone
// fields of its time formats are left out. Values outside the valid range give the empty text.
//
// Every function is reentrant and may be called from any thread.
QString FormatDateTime(const QString &format, TDateTime value, const QLocale &locale = QLocale());

// The first separator of the locale's short date / short time format ("/" or ":" when it has none).
QChar DateSeparator(const QLocale &locale = QLocale());
QChar TimeSeparator(const QLocale &locale = QLocale());
