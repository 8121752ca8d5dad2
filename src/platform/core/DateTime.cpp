#include "DateTime.h"

#include <cmath>
#include <optional>
#include <stdexcept>

namespace
{

const QDate Epoch(1899, 12, 30);
constexpr qint64 MsPerDay = 86400000;
constexpr qint64 FirstDay = -693593; // 0001-01-01
constexpr qint64 LastDay = 2958465;  // 9999-12-31

// A valid value as whole days from the epoch and milliseconds into that day.
struct DayAndTime {
    qint64 day;
    qint64 msOfDay;
};

std::optional<DayAndTime> Split(TDateTime value)
{
    if (!(value > FirstDay - 1 && value < LastDay + 1)) // NaN fails this too
        return std::nullopt;
    const double whole = std::trunc(value);
    DayAndTime split{qint64(whole), std::llround(std::fabs(value - whole) * MsPerDay)};
    if (split.msOfDay == MsPerDay) { // the time rounds up to midnight of the next calendar day
        ++split.day;
        split.msOfDay = 0;
    }
    if (split.day < FirstDay || split.day > LastDay)
        return std::nullopt;
    return split;
}

TDateTime Join(qint64 day, qint64 msOfDay)
{
    const double time = double(msOfDay) / MsPerDay;
    return day < 0 ? double(day) - time : double(day) + time;
}

bool IsValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= QDate(year, month, 1).daysInMonth();
}

qint64 MsOfDay(int hour, int minute, int second, int millisecond)
{
    return ((hour * 60 + minute) * 60 + second) * qint64(1000) + millisecond;
}

bool IsValidTime(int hour, int minute, int second, int millisecond)
{
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
           millisecond >= 0 && millisecond < 1000;
}

} // namespace

TDateTime Now()
{
    return DateTimeFromQDateTime(QDateTime::currentDateTime());
}

TDateTime DateTimeFromQDateTime(const QDateTime &dateTime)
{
    const QDateTime local = dateTime.toLocalTime();
    return Join(Epoch.daysTo(local.date()), local.time().msecsSinceStartOfDay());
}

TDateTime DateTimeFromQDate(QDate date)
{
    return double(Epoch.daysTo(date));
}

TDateTime DateTimeFromQTime(QTime time)
{
    return Join(0, time.msecsSinceStartOfDay());
}

QDateTime DateTimeToQDateTime(TDateTime value)
{
    const auto split = Split(value);
    if (!split)
        return QDateTime();
    return QDateTime(Epoch.addDays(split->day), QTime::fromMSecsSinceStartOfDay(int(split->msOfDay)));
}

QDate DateTimeToQDate(TDateTime value)
{
    const auto split = Split(value);
    return split ? Epoch.addDays(split->day) : QDate();
}

QTime DateTimeToQTime(TDateTime value)
{
    const auto split = Split(value);
    return split ? QTime::fromMSecsSinceStartOfDay(int(split->msOfDay)) : QTime();
}

bool TryEncodeDate(int year, int month, int day, TDateTime &value)
{
    if (!IsValidDate(year, month, day))
        return false;
    value = DateTimeFromQDate(QDate(year, month, day));
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime &value)
{
    if (!IsValidTime(hour, minute, second, millisecond))
        return false;
    value = Join(0, MsOfDay(hour, minute, second, millisecond));
    return true;
}

bool TryEncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond,
                       TDateTime &value)
{
    if (!IsValidDate(year, month, day) || !IsValidTime(hour, minute, second, millisecond))
        return false;
    value = Join(Epoch.daysTo(QDate(year, month, day)), MsOfDay(hour, minute, second, millisecond));
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime value = 0;
    if (!TryEncodeDate(year, month, day, value))
        throw std::invalid_argument("EncodeDate: not a date of the calendar");
    return value;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    TDateTime value = 0;
    if (!TryEncodeTime(hour, minute, second, millisecond, value))
        throw std::invalid_argument("EncodeTime: not a time of day");
    return value;
}

void DecodeDate(TDateTime value, int &year, int &month, int &day)
{
    const QDate date = DateTimeToQDate(value); // an invalid QDate answers 0 for every field
    year = date.year();
    month = date.month();
    day = date.day();
}

void DecodeTime(TDateTime value, int &hour, int &minute, int &second, int &millisecond)
{
    const auto split = Split(value);
    const qint64 ms = split ? split->msOfDay : 0;
    hour = int(ms / 3600000);
    minute = int(ms / 60000 % 60);
    second = int(ms / 1000 % 60);
    millisecond = int(ms % 1000);
}
