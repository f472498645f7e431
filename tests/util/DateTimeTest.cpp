#include "util/DateTime.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <string>

namespace {

// Runs one test in a fixed time zone and restores the previous one afterwards.
class TimeZone {
  public:
    explicit TimeZone(const char* zone) {
        const char* current = std::getenv("TZ");
        hadZone = current != nullptr;
        if (hadZone) {
            saved = current;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (hadZone) {
            setenv("TZ", saved.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

  private:
    bool hadZone = false;
    std::string saved;
};

// Central European time with its daylight-saving rules, written out so that no zone database
// is needed: summer time from the last Sunday of March to the last Sunday of October.
const char* const kRome = "CET-1CEST,M3.5.0,M10.5.0/3";

std::string Ymd(const DateTime& date) {
    return date.FormatDateISO();
}

std::string YmdHms(const DateTime& date) {
    return date.FormatDateISO() + " " + date.FormatTime();
}

// Easter by the Meeus/Jones/Butcher computus, an algorithm independent of Gauss's, as month
// * 100 + day.
int ReferenceEaster(int year) {
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return month * 100 + day;
}

DateTime Invalid() {
    DateTime date(2026, 6, 15, 12, 0, 0);
    date.ParseDate("not a date");
    return date;
}

} // namespace

TEST(DateTime, EasterKnownDatesIncludingBothAprilExceptions) {
    TimeZone utc("UTC");
    const struct {
        int year;
        const char* date;
    } cases[] = {
        {2024, "2024-03-31"}, {2025, "2025-04-20"}, {2038, "2038-04-25"}, {1981, "1981-04-19"},
        {2049, "2049-04-18"}, {1954, "1954-04-18"}, {2076, "2076-04-19"}, {2285, "2285-03-22"},
        {1818, "1818-03-22"}, {1943, "1943-04-25"}, {2000, "2000-04-23"}, {2026, "2026-04-05"},
    };
    for (const auto& c : cases) {
        const DateTime easter = DateTime::Easter(c.year);
        EXPECT_FALSE(easter.IsInvalid()) << c.year;
        EXPECT_EQ(Ymd(easter), c.date) << c.year;
        EXPECT_EQ(easter.GetWeekday(), 0) << c.year;
        EXPECT_EQ(easter.FormatTime(), "00:00:00") << c.year;
    }
}

TEST(DateTime, EasterAgreesWithAnIndependentComputusFrom1583To4099) {
    TimeZone utc("UTC");
    for (int year = 1583; year <= 4099; ++year) {
        const DateTime easter = DateTime::Easter(year);
        ASSERT_FALSE(easter.IsInvalid()) << year;
        EXPECT_EQ(easter.GetYear(), year);
        EXPECT_EQ(easter.GetMonth() * 100 + easter.GetDay(), ReferenceEaster(year)) << year;
    }
}

TEST(DateTime, EasterBeforeTheGregorianTableIsInvalid) {
    EXPECT_TRUE(DateTime::Easter(1499).IsInvalid());
    EXPECT_TRUE(DateTime::Easter(-5).IsInvalid());
    EXPECT_FALSE(DateTime::Easter(1500).IsInvalid());
}

TEST(DateTime, IsHolidayKnowsFixedFeastsAndEaster) {
    TimeZone utc("UTC");
    const int fixed[][2] = {{1, 1},  {6, 1},  {25, 4}, {1, 5},   {2, 6},
                            {15, 8}, {1, 11}, {8, 12}, {25, 12}, {26, 12}};
    for (const auto& holiday : fixed) {
        EXPECT_TRUE(DateTime(2026, holiday[1], holiday[0]).IsHoliday())
            << holiday[0] << "/" << holiday[1];
    }
    EXPECT_TRUE(DateTime(2026, 4, 5).IsHoliday()); // Easter Sunday
    EXPECT_TRUE(DateTime(2026, 4, 6).IsHoliday()); // Easter Monday
    EXPECT_FALSE(DateTime(2026, 4, 7).IsHoliday());
    EXPECT_FALSE(DateTime(2026, 4, 4).IsHoliday());
    EXPECT_TRUE(DateTime(2024, 4, 1).IsHoliday()); // Easter Monday in the month after Easter
    EXPECT_FALSE(DateTime(2025, 4, 1).IsHoliday());
    EXPECT_FALSE(DateTime(2026, 1, 2).IsHoliday());
    EXPECT_FALSE(DateTime(2026, 12, 24).IsHoliday());
}

TEST(DateTime, DaysInMonthFollowsTheLeapYearRules) {
    TimeZone utc("UTC");
    EXPECT_EQ(DateTime(2024, 2, 10).DaysInMonth(), 29);
    EXPECT_EQ(DateTime(2023, 2, 10).DaysInMonth(), 28);
    EXPECT_EQ(DateTime(2100, 2, 10).DaysInMonth(), 28);
    EXPECT_EQ(DateTime(2000, 2, 10).DaysInMonth(), 29);
    EXPECT_EQ(DateTime(2026, 12, 31).DaysInMonth(), 31);
    EXPECT_EQ(DateTime(2026, 4, 1).DaysInMonth(), 30);
    EXPECT_TRUE(DateTime(2024, 1, 1).IsLeapYear());
    EXPECT_TRUE(DateTime(2000, 1, 1).IsLeapYear());
    EXPECT_FALSE(DateTime(2100, 1, 1).IsLeapYear());
    EXPECT_FALSE(DateTime(2026, 1, 1).IsLeapYear());
}

TEST(DateTime, DaysInMonthIsRightWhenTheMonthEndsWithAShortDay) {
    // Summer time started on 31 March 2024, so that day had 23 hours.
    TimeZone rome(kRome);
    EXPECT_EQ(DateTime(2024, 3, 15).DaysInMonth(), 31);
    EXPECT_EQ(DateTime(2024, 10, 15).DaysInMonth(), 31);
    EXPECT_EQ(DateTime(2024, 3, 15).WeekdayString().size(), 31u);
}

TEST(DateTime, WeekdayStringIsTheSameFromEveryDayOfTheMonth) {
    TimeZone utc("UTC");
    for (int day = 1; day <= 31; ++day) {
        EXPECT_EQ(DateTime(2026, 12, day).WeekdayString(), "2345601234560123456012345601234")
            << day;
    }
    for (int day = 1; day <= 29; ++day) {
        EXPECT_EQ(DateTime(2024, 2, day).WeekdayString(), "45601234560123456012345601234") << day;
    }
}

TEST(DateTime, FieldsAreNormalisedOnConstruction) {
    TimeZone utc("UTC");
    const DateTime christmas(2026, 12, 25);
    EXPECT_EQ(christmas.GetYear(), 2026);
    EXPECT_EQ(christmas.GetMonth(), 12);
    EXPECT_EQ(christmas.GetDay(), 25);
    EXPECT_EQ(christmas.GetWeekday(), 5);
    EXPECT_EQ(christmas.GetTime(), 1798156800);
    EXPECT_EQ(YmdHms(DateTime(2026, 1, 32)), "2026-02-01 00:00:00");
    EXPECT_EQ(YmdHms(DateTime(2025, 2, 29)), "2025-03-01 00:00:00");
    EXPECT_EQ(YmdHms(DateTime(2026, 13, 1, 24, 0, 0)), "2027-01-02 00:00:00");
    EXPECT_EQ(YmdHms(DateTime(2026, 3, 1, 0, 0, -1)), "2026-02-28 23:59:59");
    // One second before 1970 is -1, which mktime also answers on failure.
    const DateTime beforeEpoch(1969, 12, 31, 23, 59, 59);
    EXPECT_FALSE(beforeEpoch.IsInvalid());
    EXPECT_EQ(beforeEpoch.GetTime(), -1);
}

TEST(DateTime, SetStoresFieldsWithoutNormalising) {
    TimeZone utc("UTC");
    DateTime date;
    date.Set(2026, 2, 30, 25, 61, 70);
    EXPECT_EQ(date.GetDay(), 30);
    EXPECT_EQ(date.GetHour(), 25);
    EXPECT_EQ(date.GetWeekday(), 0);
    EXPECT_EQ(date.GetTime(), 0);
    date.Normalize();
    EXPECT_EQ(YmdHms(date), "2026-03-03 02:02:10");
    EXPECT_EQ(date.GetWeekday(), 2);
}

TEST(DateTime, TmConversionsKeepTheFields) {
    TimeZone utc("UTC");
    const DateTime original(2026, 7, 14, 9, 30, 15);
    const std::tm fields = original.ToTm();
    EXPECT_EQ(fields.tm_year, 126);
    EXPECT_EQ(fields.tm_mon, 6);
    EXPECT_EQ(fields.tm_mday, 14);
    EXPECT_EQ(fields.tm_hour, 9);
    EXPECT_EQ(fields.tm_wday, 2);
    const DateTime copy = DateTime::FromTm(fields, original.GetTime());
    EXPECT_EQ(YmdHms(copy), YmdHms(original));
    EXPECT_EQ(copy.GetWeekday(), 2);
    EXPECT_EQ(DateTime::SecondsBetween(original, copy), 0);
}

TEST(DateTime, ParseReadsEachOrderAndRoundTrips) {
    TimeZone utc("UTC");
    DateTime date;
    EXPECT_TRUE(date.ParseDate("25/12/2026"));
    EXPECT_EQ(Ymd(date), "2026-12-25");
    EXPECT_EQ(date.GetWeekday(), 5);
    EXPECT_EQ(date.FormatTime(), "00:00:00");
    EXPECT_TRUE(date.ParseDateUS("12-24.2026"));
    EXPECT_EQ(Ymd(date), "2026-12-24");
    EXPECT_TRUE(date.ParseTime("07:05:09"));
    EXPECT_EQ(YmdHms(date), "2026-12-24 07:05:09");
    EXPECT_TRUE(date.ParseDate("01/01/1978"));
    EXPECT_TRUE(date.ParseDate("31/12/2099"));
    EXPECT_TRUE(date.ParseDate("29/02/2024"));

    for (DateTime day(1999, 12, 25); day.GetYear() < 2001; day.AddDays(37)) {
        DateTime parsed;
        EXPECT_TRUE(parsed.ParseDate(day.FormatDate())) << day.FormatDate();
        EXPECT_EQ(parsed.GetTime(), day.GetTime());
        EXPECT_TRUE(parsed.ParseDateUS(day.FormatDateUS())) << day.FormatDateUS();
        EXPECT_EQ(parsed.GetTime(), day.GetTime());
    }
}

TEST(DateTime, ParseRejectsWrongLengthYearsAndImpossibleDates) {
    TimeZone utc("UTC");
    const char* const rejected[] = {"25/12/226",  "25/12/20266", "",           "25/12/1977",
                                    "25/12/2100", "31/02/2026",  "29/02/2025", "00/12/2026",
                                    "15/13/2026", "15/00/2026",  "ab/12/2026", "1 /12/2026",
                                    "-1/12/2026", "25/12/20x6"};
    for (const char* text : rejected) {
        DateTime date(2020, 5, 17, 8, 30, 0);
        EXPECT_FALSE(date.ParseDate(text)) << text;
        EXPECT_TRUE(date.IsInvalid()) << text;
        EXPECT_EQ(YmdHms(date), "2020-05-17 08:30:00") << text;
    }
    DateTime us(2020, 5, 17);
    EXPECT_FALSE(us.ParseDateUS("25/12/2026"));
    EXPECT_TRUE(us.IsInvalid());
    EXPECT_TRUE(us.ParseDateUS("12/25/2026"));
    EXPECT_FALSE(us.IsInvalid());

    DateTime time(2020, 5, 17, 8, 30, 0);
    EXPECT_FALSE(time.ParseTime("7:05:09"));
    EXPECT_FALSE(time.ParseTime("24:00:00"));
    EXPECT_FALSE(time.ParseTime("12:60:00"));
    EXPECT_FALSE(time.ParseTime("12:00:6x"));
    EXPECT_TRUE(time.IsInvalid());
    EXPECT_EQ(YmdHms(time), "2020-05-17 08:30:00");
}

TEST(DateTime, FormatPadsEveryFieldWithZeros) {
    TimeZone utc("UTC");
    const DateTime date(2026, 12, 5, 7, 5, 9);
    EXPECT_EQ(date.FormatDate(), "05/12/2026");
    EXPECT_EQ(date.FormatDateUS(), "12/05/2026");
    EXPECT_EQ(date.FormatDateISO(), "2026-12-05");
    EXPECT_EQ(date.FormatTime(), "07:05:09");
    EXPECT_EQ(DateTime(987, 1, 2).FormatDateISO(), "0987-01-02");
}

TEST(DateTime, NamesComeFromTheTablesByteForByte) {
    TimeZone utc("UTC");
    const char* const it[] = {"GENNAIO",   "FEBBRAIO", "MARZO",    "APRILE",
                              "MAGGIO",    "GIUGNO",   "LUGLIO",   "AGOSTO",
                              "SETTEMBRE", "OTTOBRE",  "NOVEMBRE", "DICEMBRE"};
    const char* const en[] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                              "MAY",       "JUNE",     "JULY",     "AUGUST",
                              "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};
    for (int month = 1; month <= 12; ++month) {
        const DateTime date(2026, month, 1);
        EXPECT_EQ(date.MonthNameIt(), it[month - 1]);
        EXPECT_EQ(date.MonthNameEn(), en[month - 1]);
    }
    // 2026-03-01 is a Sunday; the following days walk through the week.
    const std::string weekIt[] = {"Domenica",   "Luned\xEC",  "Marted\xEC", "Mercoled\xEC",
                                  "Gioved\xEC", "Venerd\xEC", "Sabato"};
    const std::string weekEn[] = {"Sunday",   "Monday", "Tuesday ", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};
    for (int day = 0; day < 7; ++day) {
        const DateTime date(2026, 3, 1 + day);
        EXPECT_EQ(date.WeekdayNameIt(), weekIt[day]);
        EXPECT_EQ(date.WeekdayNameEn(), weekEn[day]);
    }
    const std::string monday = DateTime(2026, 3, 2).WeekdayNameIt();
    ASSERT_EQ(monday.size(), 6u);
    EXPECT_EQ(static_cast<unsigned char>(monday[5]), 0xEC);
    EXPECT_EQ(DateTime(2026, 3, 3).WeekdayNameEn().size(), 8u);

    DateTime outOfRange;
    outOfRange.Set(2026, 13, 1, 0, 0, 0);
    EXPECT_EQ(outOfRange.MonthNameIt(), "");
    EXPECT_EQ(outOfRange.MonthNameEn(), "");
}

TEST(DateTime, AddMonthsCrossesYearsAndClampsTheDay) {
    TimeZone utc("UTC");
    const struct {
        int year, month, day, add;
        const char* expected;
    } cases[] = {
        {2026, 1, 15, -1, "2025-12-15"},  {2026, 2, 15, -3, "2025-11-15"},
        {2025, 1, 31, 1, "2025-02-28"},   {2024, 1, 31, 1, "2024-02-29"},
        {2025, 12, 31, 1, "2026-01-31"},  {2025, 12, 15, 13, "2027-01-15"},
        {2026, 3, 31, -1, "2026-02-28"},  {2026, 1, 15, -12, "2025-01-15"},
        {2026, 1, 15, -25, "2023-12-15"}, {2026, 5, 31, 0, "2026-05-31"},
        {2026, 10, 31, 11, "2027-09-30"}, {2024, 2, 29, 12, "2025-02-28"},
    };
    for (const auto& c : cases) {
        DateTime date(c.year, c.month, c.day, 13, 45, 30);
        date.AddMonths(c.add);
        EXPECT_EQ(YmdHms(date), std::string(c.expected) + " 13:45:30")
            << c.year << "-" << c.month << "-" << c.day << " + " << c.add;
    }
}

TEST(DateTime, AddYearsMovesLeapDayToFirstOfMarch) {
    TimeZone utc("UTC");
    DateTime date(2024, 2, 29, 10, 0, 0);
    date.AddYears(1);
    EXPECT_EQ(YmdHms(date), "2025-03-01 10:00:00");
    date.AddYears(-5);
    EXPECT_EQ(YmdHms(date), "2020-03-01 10:00:00");
}

TEST(DateTime, AddingElapsedTimeCarriesIntoEveryField) {
    TimeZone utc("UTC");
    DateTime date(2025, 12, 31, 23, 59, 59);
    date.AddSeconds(1);
    EXPECT_EQ(YmdHms(date), "2026-01-01 00:00:00");
    EXPECT_EQ(date.GetWeekday(), 4);
    date.AddMinutes(-1);
    EXPECT_EQ(YmdHms(date), "2025-12-31 23:59:00");
    date.AddHours(25);
    EXPECT_EQ(YmdHms(date), "2026-01-02 00:59:00");
    date.AddDays(-366);
    EXPECT_EQ(YmdHms(date), "2025-01-01 00:59:00");
}

TEST(DateTime, AddDaysKeepsTheTimeOfDayAcrossDaylightSaving) {
    TimeZone rome(kRome);
    DateTime spring(2024, 3, 30, 12, 0, 0);
    const DateTime before = spring;
    spring.AddDays(1);
    EXPECT_EQ(YmdHms(spring), "2024-03-31 12:00:00");
    EXPECT_EQ(DateTime::SecondsBetween(before, spring), 23 * 3600);

    DateTime autumn(2024, 10, 27, 0, 0, 0);
    autumn.AddDays(1);
    EXPECT_EQ(YmdHms(autumn), "2024-10-28 00:00:00");

    // Hours are elapsed time, so they do show the missing hour.
    DateTime night(2024, 3, 31, 1, 30, 0);
    night.AddHours(1);
    EXPECT_EQ(YmdHms(night), "2024-03-31 03:30:00");
}

TEST(DateTime, MillisecondsCarryIntoSecondsBothWays) {
    TimeZone utc("UTC");
    DateTime date(2026, 1, 1, 0, 0, 0);
    const DateTime start = date;
    date.AddMilliseconds(700);
    EXPECT_EQ(date.GetMillisecond(), 700);
    date.AddMilliseconds(500);
    EXPECT_EQ(date.GetMillisecond(), 200);
    EXPECT_EQ(YmdHms(date), "2026-01-01 00:00:01");
    EXPECT_EQ(DateTime::MillisecondsBetween(start, date), 1200);
    EXPECT_EQ(DateTime::MillisecondsBetween(date, start), -1200);

    DateTime back(2026, 1, 1, 0, 0, 0);
    back.AddMilliseconds(-1);
    EXPECT_EQ(YmdHms(back), "2025-12-31 23:59:59");
    EXPECT_EQ(back.GetMillisecond(), 999);
    EXPECT_EQ(DateTime::MillisecondsBetween(start, back), -1);
    back.AddMilliseconds(-2500);
    EXPECT_EQ(DateTime::MillisecondsBetween(start, back), -2501);
    EXPECT_EQ(back.GetMillisecond(), 499);

    // Any other step clears the milliseconds again.
    date.AddSeconds(1);
    EXPECT_EQ(date.GetMillisecond(), 0);
}

TEST(DateTime, DifferencesCountSecondsAndCalendarDays) {
    TimeZone rome(kRome);
    const DateTime march(2024, 3, 1, 18, 0, 0);
    const DateTime april(2024, 4, 1, 6, 0, 0);
    EXPECT_EQ(DateTime::DaysBetween(march, april), 31);
    EXPECT_EQ(DateTime::DaysBetween(april, march), -31);
    EXPECT_EQ(DateTime::DaysBetween(DateTime(2024, 1, 1), DateTime(2025, 1, 1)), 366);
    EXPECT_EQ(
        DateTime::DaysBetween(DateTime(2026, 5, 5, 0, 0, 0), DateTime(2026, 5, 5, 23, 59, 59)), 0);
    EXPECT_EQ(DateTime::SecondsBetween(march, april), 31 * 86400 - 12 * 3600 - 3600);
    EXPECT_EQ(DateTime::SecondsBetween(april, march), -(31 * 86400 - 12 * 3600 - 3600));
    EXPECT_EQ(DateTime::MillisecondsBetween(march, april),
              int64_t{1000} * DateTime::SecondsBetween(march, april));
    EXPECT_EQ(YmdHms(april.DateOnly()), "2024-04-01 00:00:00");
}

TEST(DateTime, InvalidRecordIsLeftAloneAndAnswersZeroDifferences) {
    TimeZone utc("UTC");
    DateTime invalid = Invalid();
    ASSERT_TRUE(invalid.IsInvalid());
    const int64_t time = invalid.GetTime();
    invalid.AddSeconds(10);
    invalid.AddMinutes(10);
    invalid.AddHours(10);
    invalid.AddDays(10);
    invalid.AddMilliseconds(10000);
    EXPECT_EQ(invalid.GetTime(), time);
    EXPECT_TRUE(invalid.IsInvalid());

    const DateTime later(2026, 6, 16, 12, 0, 0);
    EXPECT_EQ(DateTime::SecondsBetween(invalid, later), 0);
    EXPECT_EQ(DateTime::MillisecondsBetween(invalid, later), 0);
    EXPECT_EQ(DateTime::DaysBetween(invalid, later), 0);
    EXPECT_EQ(DateTime::SecondsBetween(later, invalid), -86400);

    // A copy is as invalid as the original, and so is its date part.
    const DateTime copy = invalid;
    EXPECT_TRUE(copy.IsInvalid());
    EXPECT_TRUE(invalid.DateOnly().IsInvalid());

    invalid.ClearInvalid();
    invalid.AddDays(1);
    EXPECT_EQ(YmdHms(invalid), "2026-06-16 12:00:00");
}

TEST(DateTime, OutOfRangeArithmeticMarksTheRecordInvalid) {
    TimeZone utc("UTC");
    DateTime date(2026, 1, 1);
    date.AddSeconds(INT64_MAX);
    EXPECT_TRUE(date.IsInvalid());
    EXPECT_EQ(Ymd(date), "2026-01-01");

    DateTime far(2026, 1, 1);
    far.AddYears(2147483647);
    EXPECT_TRUE(far.IsInvalid());

    DateTime hours(2026, 1, 1);
    hours.AddHours(INT64_MAX / 1000);
    EXPECT_TRUE(hours.IsInvalid());
}

TEST(DateTime, ComparisonsLookOnlyAtTheLeftRecordsInvalidFlag) {
    TimeZone utc("UTC");
    const DateTime early(2026, 1, 1);
    const DateTime late(2026, 1, 2);
    const DateTime sameAsEarly(2025, 12, 31, 24, 0, 0);
    EXPECT_TRUE(early < late);
    EXPECT_TRUE(early <= late);
    EXPECT_FALSE(early > late);
    EXPECT_FALSE(early >= late);
    EXPECT_FALSE(early == late);
    EXPECT_TRUE(early != late);
    EXPECT_TRUE(early == sameAsEarly);
    EXPECT_TRUE(early <= sameAsEarly);
    EXPECT_TRUE(early >= sameAsEarly);
    EXPECT_FALSE(early < sameAsEarly);
    EXPECT_EQ(DateTime::Compare(early, late), -1);
    EXPECT_EQ(DateTime::Compare(late, early), 1);
    EXPECT_EQ(DateTime::Compare(early, sameAsEarly), 0);

    const DateTime invalid = Invalid();
    EXPECT_FALSE(invalid < late);
    EXPECT_TRUE(invalid <= early);
    EXPECT_FALSE(invalid > early);
    EXPECT_TRUE(invalid >= late);
    EXPECT_TRUE(invalid == late);
    EXPECT_FALSE(invalid != late);
    EXPECT_EQ(DateTime::Compare(invalid, late), 0);
    // On the right an invalid record compares by its time like any other.
    EXPECT_TRUE(early < invalid);
    EXPECT_FALSE(early == invalid);
    EXPECT_EQ(DateTime::Compare(early, invalid), -1);
}

TEST(DateTime, NowIsTheCurrentLocalTime) {
    const std::time_t before = std::time(nullptr);
    const DateTime now = DateTime::Now();
    const std::time_t after = std::time(nullptr);
    EXPECT_FALSE(now.IsInvalid());
    EXPECT_GE(now.GetTime(), static_cast<int64_t>(before));
    EXPECT_LE(now.GetTime(), static_cast<int64_t>(after));
    EXPECT_EQ(now.GetMillisecond(), 0);
    std::tm local;
    const std::time_t seconds = static_cast<std::time_t>(now.GetTime());
    ASSERT_NE(localtime_r(&seconds, &local), nullptr);
    EXPECT_EQ(now.GetYear(), local.tm_year + 1900);
    EXPECT_EQ(now.GetHour(), local.tm_hour);
    EXPECT_EQ(now.GetMinute(), local.tm_min);
    const DateTime later = DateTime::Now();
    EXPECT_GE(DateTime::SecondsBetween(now, later), 0);
    EXPECT_LE(DateTime::SecondsBetween(now, later), 1);
}
