#include "platform/core/DateTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace
{

struct Fields {
    int year, month, day, hour, minute, second, ms;
    bool operator==(const Fields &) const = default;
};

std::ostream &operator<<(std::ostream &out, const Fields &f)
{
    return out << f.year << '-' << f.month << '-' << f.day << ' ' << f.hour << ':' << f.minute << ':'
               << f.second << '.' << f.ms;
}

Fields Decode(TDateTime value)
{
    Fields f{};
    DecodeDate(value, f.year, f.month, f.day);
    DecodeTime(value, f.hour, f.minute, f.second, f.ms);
    return f;
}

} // namespace

TEST(DateTimeValue, EncodingChecksTheCalendar)
{
    const struct {
        Fields fields;
        bool valid;
    } cases[] = {
        {{2024, 2, 29, 0, 0, 0, 0}, true},       {{2023, 2, 29, 0, 0, 0, 0}, false},
        {{1900, 2, 29, 0, 0, 0, 0}, false},      {{2000, 2, 29, 0, 0, 0, 0}, true},
        {{2024, 0, 1, 0, 0, 0, 0}, false},       {{2024, 13, 1, 0, 0, 0, 0}, false},
        {{2024, 4, 31, 0, 0, 0, 0}, false},      {{2024, 1, 0, 0, 0, 0, 0}, false},
        {{2024, 1, -1, 0, 0, 0, 0}, false},      {{0, 1, 1, 0, 0, 0, 0}, false},
        {{10000, 1, 1, 0, 0, 0, 0}, false},      {{1, 1, 1, 0, 0, 0, 0}, true},
        {{9999, 12, 31, 23, 59, 59, 999}, true}, {{2024, 1, 1, 24, 0, 0, 0}, false},
        {{2024, 1, 1, 23, 60, 0, 0}, false},     {{2024, 1, 1, 23, 59, 60, 0}, false},
        {{2024, 1, 1, 23, 59, 59, 1000}, false}, {{2024, 1, 1, -1, 0, 0, 0}, false},
    };
    for (const auto &c : cases) {
        const Fields &f = c.fields;
        TDateTime value = -7;
        EXPECT_EQ(TryEncodeDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second, f.ms, value), c.valid)
            << f;
        if (c.valid)
            EXPECT_EQ(Decode(value), f);
        else
            EXPECT_EQ(value, -7) << "a refused date leaves the value: " << f;
    }
}

TEST(DateTimeValue, DateAndTimeCheckedApart)
{
    TDateTime value = -7;
    EXPECT_TRUE(TryEncodeDate(2005, 7, 14, value));
    EXPECT_EQ(value, 38547);
    EXPECT_FALSE(TryEncodeTime(25, 61, 0, 0, value)); // a date with a broken time keeps its day
    EXPECT_EQ(value, 38547);
    EXPECT_TRUE(TryEncodeTime(10, 31, 7, 0, value));
    EXPECT_DOUBLE_EQ(value, (10 * 3600 + 31 * 60 + 7) / 86400.0);
    EXPECT_EQ(EncodeDate(2024, 3, 4), 45355);
    EXPECT_EQ(EncodeTime(18, 0, 0, 0), 0.75);
    EXPECT_THROW(EncodeDate(2023, 2, 29), std::invalid_argument);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), std::invalid_argument);
}

// Whole days count from 1899-12-30; before it they count backwards while the fraction still
// adds the time of day.
TEST(DateTimeValue, DayCount)
{
    const struct {
        Fields fields;
        TDateTime value;
    } cases[] = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0},     {{1899, 12, 30, 12, 0, 0, 0}, 0.5},
        {{1900, 1, 1, 18, 0, 0, 0}, 2.75},   {{2024, 3, 4, 0, 0, 0, 0}, 45355},
        {{1899, 12, 29, 6, 0, 0, 0}, -1.25}, {{1800, 1, 1, 18, 0, 0, 0}, -36522.75},
        {{1, 1, 1, 0, 0, 0, 0}, -693593},    {{9999, 12, 31, 0, 0, 0, 0}, 2958465},
    };
    for (const auto &c : cases) {
        const Fields &f = c.fields;
        TDateTime value = 0;
        ASSERT_TRUE(TryEncodeDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second, f.ms, value));
        EXPECT_EQ(value, c.value) << f;
        EXPECT_EQ(Decode(c.value), f) << c.value;
    }
}

TEST(DateTimeValue, DecodingNegativeValuesAndRounding)
{
    const struct {
        TDateTime value;
        Fields fields;
    } cases[] = {
        {-0.25, {1899, 12, 30, 6, 0, 0, 0}},         // between -1 and 0: the epoch day
        {-2.5, {1899, 12, 28, 12, 0, 0, 0}},         // not 1899-12-27 12:00
        {-1.9999999999, {1899, 12, 30, 0, 0, 0, 0}}, // 1899-12-29 23:59:59.99999 rounds to the next day
        {45355.9999999999, {2024, 3, 5, 0, 0, 0, 0}},
        {45355.5000004, {2024, 3, 4, 12, 0, 0, 35}}, // 34.56 ms after noon
        {45355.0000116, {2024, 3, 4, 0, 0, 1, 2}},
        {-693593.5, {1, 1, 1, 12, 0, 0, 0}},
        {2958465.9999999, {9999, 12, 31, 23, 59, 59, 991}},
        {-693594, {0, 0, 0, 0, 0, 0, 0}}, // before year 1
        {2958466, {0, 0, 0, 0, 0, 0, 0}}, // after year 9999
        {1e300, {0, 0, 0, 0, 0, 0, 0}},
        {std::nan(""), {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Decode(c.value), c.fields) << c.value;
}

TEST(DateTimeValue, RoundTripsThroughQtValues)
{
    const std::vector<QDateTime> moments = {
        QDateTime(QDate(2010, 2, 16), QTime(21, 36, 28, 120)),
        QDateTime(QDate(1899, 12, 29), QTime(6, 0)),
        QDateTime(QDate(1899, 12, 30), QTime(23, 59, 59, 999)),
        QDateTime(QDate(1601, 1, 1), QTime(0, 0, 0, 1)),
        QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999)),
    };
    for (const QDateTime &moment : moments) {
        const TDateTime value = DateTimeFromQDateTime(moment);
        EXPECT_EQ(DateTimeToQDateTime(value), moment) << value;
        EXPECT_EQ(DateTimeToQDate(value), moment.date()) << value;
        EXPECT_EQ(DateTimeToQTime(value), moment.time()) << value;
        const double days = DateTimeFromQDate(moment.date());
        const double time = DateTimeFromQTime(moment.time());
        EXPECT_EQ(value, days < 0 ? days - time : days + time);
    }
    EXPECT_EQ(DateTimeFromQDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_FALSE(DateTimeToQDateTime(-693594).isValid());
    EXPECT_FALSE(DateTimeToQTime(std::nan("")).isValid());
}

// Values are local clock readings, whatever zone a QDateTime comes in.
TEST(DateTimeValue, QtValuesInOtherTimeSpecsAreTakenInLocalTime)
{
    const QByteArray savedZone = qgetenv("TZ");
    qputenv("TZ", "EST5"); // five hours behind UTC all year
    const TDateTime value = DateTimeFromQDateTime(QDateTime(QDate(2024, 3, 4), QTime(15, 9), Qt::UTC));
    if (savedZone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", savedZone);
    EXPECT_EQ(Decode(value), (Fields{2024, 3, 4, 10, 9, 0, 0}));
}

TEST(DateTimeValue, NowIsTheLocalClock)
{
    const TDateTime before = DateTimeFromQDateTime(QDateTime::currentDateTime());
    const TDateTime now = Now();
    const TDateTime after = DateTimeFromQDateTime(QDateTime::currentDateTime());
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}
