#include "platform/core/DateTimeFormat.h"

#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0)
{
    TDateTime value = 0;
    EXPECT_TRUE(TryEncodeDateTime(year, month, day, hour, minute, second, ms, value));
    return value;
}

const QLocale English(QLocale::English, QLocale::UnitedStates);
const QLocale French(QLocale::French, QLocale::France);

} // namespace

TEST(FormatDateTime, EverySpecifierInTwoLocales)
{
    const TDateTime afternoon = At(2024, 3, 4, 15, 9, 6, 7); // a Monday
    const TDateTime midnight = At(2024, 3, 4);
    const struct {
        TDateTime value;
        const char *format, *english, *french;
    } cases[] = {
        {afternoon, "c", "3/4/24 3:09:06 PM", "04/03/2024 15:09:06"},
        {afternoon, "", "3/4/24 3:09:06 PM", "04/03/2024 15:09:06"},
        {midnight, "c", "3/4/24", "04/03/2024"},
        {At(2024, 3, 4, 0, 0, 0, 1), "c", "3/4/24 12:00:00 AM", "04/03/2024 00:00:00"},
        {afternoon, "d dd ddd dddd", "4 04 Mon Monday", "4 04 lun. lundi"},
        {afternoon, "ddddd", "3/4/24", "04/03/2024"},
        {At(2005, 7, 14, 10, 31, 7), "ddddd", "7/14/05", "14/07/2005"},
        {afternoon, "dddddd", "Monday, March 4, 2024", "lundi 4 mars 2024"},
        {afternoon, "ddddddd", "Monday, March 4, 2024", "lundi 4 mars 2024"},
        {At(2024, 7, 14), "m mm mmm mmmm mmmmm", "7 07 Jul July July", "7 07 juil. juillet juillet"},
        {afternoon, "yy yyyy y yyy", "24 2024 24 2024", "24 2024 24 2024"},
        {At(99, 1, 2), "yy yyyy", "99 0099", "99 0099"},
        {afternoon, "h hh n nn s ss z zz zzz", "15 15 9 09 6 06 7 07 007", "15 15 9 09 6 06 7 07 007"},
        {afternoon, "hh:mm:ss", "15:09:06", "15:09:06"}, // m right after an hour: minutes
        {afternoon, "h 'h' m", "15 h 9", "15 h 9"},      // quoted text is no letter
        {afternoon, "hh:nn mm", "15:09 03", "15:09 03"}, // after a minute: the month again
        {afternoon, "h d m", "15 4 3", "15 4 3"},
        {afternoon, "t", "3:09 PM", "15:09"},
        {afternoon, "tt", "3:09:06 PM", "15:09:06"},
        {afternoon, "h:nn am/pm", "3:09 pm", "3:09 pm"},
        {afternoon, "hh:nn AM/PM", "03:09 PM", "03:09 PM"},
        {afternoon, "h A/p", "3 p", "3 p"},
        {afternoon, "h ampm", "3 PM", "3 PM"},
        {At(2024, 3, 4, 9, 5), "h:nn Am/pM A/P ampm", "9:05 Am A AM", "9:05 Am A AM"},
        {At(2024, 3, 4, 0, 5), "hh:nn a/p", "12:05 a", "12:05 a"},
        {At(2024, 3, 4, 12, 30), "h:nn am/pm", "12:30 pm", "12:30 pm"},
        {afternoon, "hh h am/pm hh", "15 3 pm 15",
         "15 3 pm 15"}, // the am/pm belongs to the nearest hour before it
        {afternoon, "hh 'am/pm' ampm", "03 am/pm PM", "03 am/pm PM"}, // quoted text is skipped
        {afternoon, "hh a am/pm", "15 a pm", "15 a pm"},              // the search ends at another "a"
        {afternoon, "yyyy/mm/dd hh:nn", "2024/03/04 15:09", "2024/03/04 15:09"},
        {afternoon, "DD/MM/YYYY HH:NN:SS", "04/03/2024 15:09:06", "04/03/2024 15:09:06"},
        {afternoon, "'d m' \"yy\" dd", "d m yy 04", "d m yy 04"},
        {afternoon, "\"it's\" dd 'mm", "it's 04 mm", "it's 04 mm"},
        {afternoon, "Week-x dd", "Week-x 04", "Week-x 04"},
        {afternoon, "dddddd 'at' tt", "Monday, March 4, 2024 at 3:09:06 PM", "lundi 4 mars 2024 at 15:09:06"},
        {afternoon, "dddddd - tt", "Monday, March 4, 2024 - 3:09:06 PM", "lundi 4 mars 2024 - 15:09:06"},
        {At(1899, 12, 29, 6), "yyyy-mm-dd hh:nn", "1899-12-29 06:00", "1899-12-29 06:00"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FormatDateTime(c.format, c.value, English), QString::fromUtf8(c.english)) << c.format;
        EXPECT_EQ(FormatDateTime(c.format, c.value, French), QString::fromUtf8(c.french)) << c.format;
    }
}

TEST(FormatDateTime, SeparatorsComeFromTheLocale)
{
    const TDateTime value = At(2024, 3, 4, 15, 9);
    const struct {
        QLocale locale;
        const char *dateSeparator, *timeSeparator, *text;
    } cases[] = {
        {English, "/", ":", "04/03/2024 15:09"},
        {QLocale(QLocale::German, QLocale::Germany), ".", ":", "04.03.2024 15:09"},
        {QLocale(QLocale::Finnish, QLocale::Finland), ".", ".", "04.03.2024 15.09"},
        {QLocale(QLocale::French, QLocale::Canada), "-", ":",
         "04-03-2024 15:09"}, // "HH 'h' mm": no separator
    };
    for (const auto &c : cases) {
        EXPECT_EQ(DateSeparator(c.locale), QLatin1String(c.dateSeparator)) << qPrintable(c.locale.name());
        EXPECT_EQ(TimeSeparator(c.locale), QLatin1String(c.timeSeparator)) << qPrintable(c.locale.name());
        EXPECT_EQ(FormatDateTime("dd/mm/yyyy hh:nn", value, c.locale), c.text) << qPrintable(c.locale.name());
    }
}

// The locale's own times keep its clock and words and leave out its time-zone field.
TEST(FormatDateTime, LocaleTimesWithoutTimeZone)
{
    const TDateTime value = At(2024, 3, 4, 15, 9, 6);
    const struct {
        QLocale locale;
        const char *longTime;
    } cases[] = {
        {English, "3:09:06 PM"},
        {QLocale(QLocale::French, QLocale::Canada), "15 h 09 min 06 s"},
        {QLocale(QLocale::Korean, QLocale::SouthKorea), "오후 3시 9분 6초"},
        {QLocale(QLocale::Chinese, QLocale::Taiwan), "下午3:09:06"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatDateTime("tt", value, c.locale), QString::fromUtf8(c.longTime))
            << qPrintable(c.locale.name());
}

TEST(FormatDateTime, ValuesOutsideTheCalendarGiveNoText)
{
    for (const TDateTime value :
         {-693594.0, 2958466.0, std::nan(""), std::numeric_limits<double>::infinity()})
        EXPECT_EQ(FormatDateTime("c", value, English), QString()) << value;
}
