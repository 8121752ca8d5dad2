#include "platform/core/DateTime.h"
#include "platform/core/Paths.h"

#include <gtest/gtest.h>

namespace
{

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    TDateTime v = 0;
    EXPECT_TRUE(TryEncodeDateTime(y, mo, d, h, mi, s, ms, v));
    return v;
}

} // namespace

TEST(FormatDateTime, EverySpecifierInTwoLocales)
{
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    const TDateTime v = At(2024, 3, 4, 15, 9, 6, 7);
    struct Case {
        const char *format, *english, *german;
    } cases[] = {
        {"c", "3/4/24 3:09:06 PM", "04.03.24 15:09:06"},
        {"", "3/4/24 3:09:06 PM", "04.03.24 15:09:06"},
        {"d dd ddd dddd", "4 04 Mon Monday", "4 04 Mo. Montag"},
        {"ddddd", "3/4/24", "04.03.24"},
        {"dddddd", "Monday, March 4, 2024", "Montag, 4. März 2024"},
        {"m mm mmm mmmm", "3 03 Mar March", "3 03 März März"},
        {"yy yyyy", "24 2024", "24 2024"},
        {"h hh n nn s ss z zzz", "15 15 9 09 6 06 7 007", "15 15 9 09 6 06 7 007"},
        {"hh:mm:ss", "15:09:06", "15:09:06"}, // m after an hour is minutes
        {"t", "3:09 PM", "15:09"},
        {"tt", "3:09:06 PM", "15:09:06"},
        {"hh:mm am/pm", "03:09 pm", "03:09 pm"}, // 12-hour when an am/pm follows
        {"h:nn A/P", "3:09 P", "3:09 P"},
        {"yyyy/mm/dd", "2024/03/04", "2024.03.04"},
        {"'d m' \"yy\" DD", "d m yy 04", "d m yy 04"},
        {"dddddd 'at' tt", "Monday, March 4, 2024 at 3:09:06 PM", "Montag, 4. März 2024 at 15:09:06"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FormatDateTime(c.format, v, us), QString::fromUtf8(c.english)) << c.format;
        EXPECT_EQ(FormatDateTime(c.format, v, de), QString::fromUtf8(c.german)) << c.format;
    }
    EXPECT_EQ(FormatDateTime("c", At(2024, 3, 4), us), "3/4/24") << "no time at exactly midnight";
    EXPECT_EQ(FormatDateTime("hh:nn ampm", At(2024, 3, 4, 0, 5), us), "12:05 AM");
}

TEST(DateTimeValue, EncodingChecksTheCalendar)
{
    struct Case {
        int y, mo, d, h, mi, s;
        bool valid;
    } cases[] = {
        {2024, 2, 29, 0, 0, 0, true},   {2023, 2, 29, 0, 0, 0, false},   {1900, 2, 29, 0, 0, 0, false},
        {2000, 2, 29, 0, 0, 0, true},   {2024, 0, 1, 0, 0, 0, false},    {2024, 13, 1, 0, 0, 0, false},
        {2024, 4, 31, 0, 0, 0, false},  {2024, 1, 0, 0, 0, 0, false},    {2024, 1, 1, 24, 0, 0, false},
        {2024, 1, 1, 23, 60, 0, false}, {2024, 1, 1, 23, 59, 60, false}, {2024, 1, 1, 23, 59, 59, true},
        {0, 1, 1, 0, 0, 0, false},
    };
    for (const Case &c : cases) {
        TDateTime v = -7;
        EXPECT_EQ(TryEncodeDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s, 0, v), c.valid)
            << c.y << "-" << c.mo << "-" << c.d;
        if (!c.valid) {
            EXPECT_EQ(v, -7) << "a refused date leaves the value";
        }
    }
}

TEST(DateTimeValue, DayCountAndRoundTrips)
{
    EXPECT_EQ(At(1899, 12, 30), 0.0);
    EXPECT_EQ(At(1900, 1, 1, 18), 2.75);
    EXPECT_EQ(At(1899, 12, 29, 6), -1.25) << "before the epoch the time still adds to the day";
    const QDateTime local(QDate(2010, 2, 16), QTime(21, 36, 28, 120));
    EXPECT_EQ(DateTimeToQDateTime(DateTimeFromQDateTime(local)), local);
    EXPECT_EQ(DateTimeToQDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    int y, mo, d, h, mi, s, ms;
    DecodeDate(At(2000, 12, 3, 10, 15, 59), y, mo, d);
    DecodeTime(At(2000, 12, 3, 10, 15, 59), h, mi, s, ms);
    EXPECT_EQ(std::vector<int>({y, mo, d, h, mi, s, ms}), std::vector<int>({2000, 12, 3, 10, 15, 59, 0}));
}

TEST(Paths, SplitAtSlashesOnly)
{
    using namespace Paths;
    struct Case {
        const char *path, *name, *folder, *dir, *ext;
    } cases[] = {
        {"/home/u/holiday.2010.avi", "holiday.2010.avi", "/home/u/", "/home/u", ".avi"},
        {"/home/u.v/clip", "clip", "/home/u.v/", "/home/u.v", ""},
        {"archive.tar.gz", "archive.tar.gz", "", "", ".gz"},
        {"/v/.hidden", ".hidden", "/v/", "/v", ".hidden"},
        {"/clip.dv", "clip.dv", "/", "/", ".dv"},
        {"/home/u/", "", "/home/u/", "/home/u", ""},
        {"C:\\V\\a.b.mpg", "C:\\V\\a.b.mpg", "", "", ".mpg"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
        EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
        EXPECT_EQ(ExtractFileDir(c.path), c.dir) << c.path;
        EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
    }
    EXPECT_EQ(ChangeFileExt("/v/clip.avi", ".scn"), "/v/clip.scn");
    EXPECT_EQ(ChangeFileExt("/v.x/clip", ".srt"), "/v.x/clip.srt");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/pics"), "/pics/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/pics/"), "/pics/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/pics/"), "/pics");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
}
