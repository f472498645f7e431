#include "util/DateTime.h"

#include <climits>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>

namespace {

// Runs one test in a fixed time zone and puts the previous one back afterwards.
struct TimeZone {
    explicit TimeZone(const char* zone) {
        if (const char* current = std::getenv("TZ")) {
            saved = current;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        saved ? setenv("TZ", saved->c_str(), 1) : unsetenv("TZ");
        tzset();
    }
    std::optional<std::string> saved;
};

// Central European time with its daylight-saving rules written out, so that no zone database
// is needed: summer time from the last Sunday of March to the last Sunday of October. In 2024
// that made 31 March 23 hours long and 27 October 25 hours long.
const char* const kRome = "CET-1CEST,M3.5.0,M10.5.0/3";

std::string YmdHms(const DateTime& date) {
    return date.FormatDateISO() + " " + date.FormatTime();
}

// A record whose last parse failed; its fields still read 2026-06-15 12:00:00.
DateTime Invalid() {
    DateTime date(2026, 6, 15, 12, 0, 0);
    date.ParseDate("not a date");
    return date;
}

// Easter by the Meeus/Jones/Butcher computus, independent of Gauss's, as month * 100 + day.
int ReferenceEaster(int year) {
    const int a = year % 19, b = year / 100, c = year % 100;
    const int g = (b - (b + 8) / 25 + 1) / 3;
    const int h = (19 * a + b - b / 4 - g + 15) % 30;
    const int l = (32 + 2 * (b % 4) + 2 * (c / 4) - h - c % 4) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int days = h + l - 7 * m + 114;
    return days / 31 * 100 + days % 31 + 1;
}

} // namespace

TEST(DateTime, EasterAgreesWithAnIndependentComputusAndIsUndefinedBefore1500) {
    TimeZone utc("UTC");
    // The range holds both April exceptions (1954 and 1981, for example) and the centuries
    // beyond the table of constants.
    for (int year = 1583; year <= 4099; ++year) {
        const DateTime easter = DateTime::Easter(year);
        ASSERT_FALSE(easter.IsInvalid()) << year;
        EXPECT_EQ(easter.GetMonth() * 100 + easter.GetDay(), ReferenceEaster(year)) << year;
    }
    // Earlier Easters were reckoned on the Julian calendar.
    EXPECT_TRUE(DateTime::Easter(1499).IsInvalid());
    EXPECT_FALSE(DateTime::Easter(1500).IsInvalid());
}

TEST(DateTime, HolidaysAreTheFixedFeastsAndEasterSundayAndMonday) {
    TimeZone utc("UTC");
    const std::tuple<int, const char*> cases[] = {
        {2026, "01/01 06/01 05/04 06/04 25/04 01/05 02/06 15/08 01/11 08/12 25/12 26/12"},
        {2024, "01/01 06/01 31/03 01/04 25/04 01/05 02/06 15/08 01/11 08/12 25/12 26/12"},
        // Before 1500 there is no Easter to count.
        {1499, "01/01 06/01 25/04 01/05 02/06 15/08 01/11 08/12 25/12 26/12"},
    };
    for (const auto& [year, expected] : cases) {
        std::string holidays;
        for (DateTime day(year, 1, 1); day.GetYear() == year; day.AddDays(1)) {
            holidays += day.IsHoliday() ? day.FormatDate().substr(0, 5) + " " : "";
        }
        EXPECT_EQ(holidays, expected + std::string(" ")) << year;
    }
}

TEST(DateTime, LeapYearsAndMonthLengthsFollowTheGregorianRules) {
    // Months that end on a 23-hour or a 25-hour day are counted on the calendar too.
    TimeZone rome(kRome);
    const int cases[][4] = {
        // year, month, days in it, whether the year is a leap year
        {2024, 2, 29, 1}, {2023, 2, 28, 0},  {1900, 2, 28, 0}, {2000, 2, 29, 1},  {2100, 2, 28, 0},
        {2026, 4, 30, 0}, {2026, 12, 31, 0}, {2024, 3, 31, 1}, {2024, 10, 31, 1},
    };
    for (const auto& [year, month, days, leap] : cases) {
        const DateTime date(year, month, 15);
        EXPECT_EQ(date.DaysInMonth(), days) << year << "-" << month;
        EXPECT_EQ(date.IsLeapYear(), leap == 1) << year;
    }
}

TEST(DateTime, WeekdayStringIsTheSameFromEveryDayOfTheMonth) {
    TimeZone utc("UTC");
    const std::tuple<int, int, std::string> cases[] = {
        {2026, 12, "2345601234560123456012345601234"}, {2024, 2, "45601234560123456012345601234"}};
    for (const auto& [year, month, expected] : cases) {
        for (int day = 1; day <= static_cast<int>(expected.size()); ++day) {
            EXPECT_EQ(DateTime(year, month, day).WeekdayString(), expected) << month << "/" << day;
        }
    }
}

TEST(DateTime, ConstructionCarriesOverflowingFieldsIntoTheNextUnit) {
    TimeZone utc("UTC");
    EXPECT_EQ(YmdHms(DateTime(2026, 2, 30, 25, 61, 70)), "2026-03-03 02:02:10");
    EXPECT_EQ(YmdHms(DateTime(2026, 13, 1, 0, 0, -1)), "2026-12-31 23:59:59");
    const DateTime christmas(2026, 12, 25);
    EXPECT_EQ(christmas.GetWeekday(), 5);
    EXPECT_EQ(christmas.GetTime(), 1798156800);
    // One second before 1970 is -1, which mktime also answers when it fails.
    const DateTime beforeEpoch(1969, 12, 31, 23, 59, 59);
    EXPECT_FALSE(beforeEpoch.IsInvalid());
    EXPECT_EQ(beforeEpoch.GetTime(), -1);
    // The broken-down fields travel through a std::tm and back unchanged.
    const DateTime copy = DateTime::FromTm(christmas.ToTm(), christmas.GetTime());
    EXPECT_EQ(YmdHms(copy) + " " + copy.WeekdayNameEn(), "2026-12-25 00:00:00 Friday");
}

TEST(DateTime, ParseAcceptsOnlyRealDatesAndTimesAndOtherwiseKeepsTheFields) {
    TimeZone utc("UTC");
    // D reads the day first, U the month first, T a time; the separators may be anything.
    const auto parse = [](DateTime& date, char kind, const char* text) {
        return kind == 'D'   ? date.ParseDate(text)
               : kind == 'U' ? date.ParseDateUS(text)
                             : date.ParseTime(text);
    };
    const std::tuple<char, const char*, const char*> accepted[] = {
        {'D', "25/12/2026", "2026-12-25 00:00:00"}, {'D', "01-01.1978", "1978-01-01 00:00:00"},
        {'D', "31/12/2099", "2099-12-31 00:00:00"}, {'D', "29/02/2024", "2024-02-29 00:00:00"},
        {'U', "12-24.2026", "2026-12-24 00:00:00"}, {'T', "23:59:59", "2020-05-17 23:59:59"},
    };
    for (const auto& [kind, text, expected] : accepted) {
        DateTime date(2020, 5, 17, 8, 30, 0);
        EXPECT_TRUE(parse(date, kind, text)) << text;
        EXPECT_EQ(YmdHms(date), expected) << text;
    }
    const std::tuple<char, const char*> rejected[] = {
        {'D', "25/12/20266"}, {'D', "25/12/1977"}, {'D', "01/01/2100"}, {'D', "29/02/2025"},
        {'D', "31/04/2026"},  {'D', "00/12/2026"}, {'D', "15/13/2026"}, {'D', "15/00/2026"},
        {'D', "ab/12/2026"},  {'D', "1 /12/2026"}, {'D', "25/12/20x6"}, {'U', "25/12/2026"},
        {'T', "7:05:09"},     {'T', "24:00:00"},   {'T', "12:60:00"},   {'T', "12:00:60"},
        {'T', "12:00:6x"},
    };
    for (const auto& [kind, text] : rejected) {
        DateTime date(2020, 5, 17, 8, 30, 0);
        EXPECT_FALSE(parse(date, kind, text)) << text;
        EXPECT_TRUE(date.IsInvalid()) << text;
        EXPECT_EQ(YmdHms(date), "2020-05-17 08:30:00") << text;
    }
    // An accepted text starts afresh after one that was not.
    EXPECT_TRUE(Invalid().ParseDate("01/01/2000"));
    EXPECT_TRUE(Invalid().ParseTime("10:00:00"));
}

TEST(DateTime, FormattedDatesArePaddedAndParseBackInEitherOrder) {
    TimeZone utc("UTC");
    EXPECT_EQ(YmdHms(DateTime(987, 1, 2, 3, 4, 5)), "0987-01-02 03:04:05");
    for (DateTime day(1999, 12, 25); day.GetYear() < 2001; day.AddDays(37)) {
        DateTime parsed;
        EXPECT_TRUE(parsed.ParseDate(day.FormatDate()) && parsed == day) << day.FormatDate();
        EXPECT_TRUE(parsed.ParseDateUS(day.FormatDateUS()) && parsed == day) << day.FormatDateUS();
    }
}

TEST(DateTime, NamesFollowTheFieldsAndAreEmptyOutOfRange) {
    TimeZone utc("UTC");
    // Italian weekdays carry the ISO 8859-1 byte 0xEC; the English Tuesday ends in a space.
    const std::tuple<int, int, const char*, const char*> cases[] = {
        {1, 4, "GENNAIO JANUARY", "Domenica Sunday"},
        {3, 3, "MARZO MARCH", "Marted\xEC Tuesday "},
        {12, 5, "DICEMBRE DECEMBER", "Sabato Saturday"},
    };
    for (const auto& [month, day, months, weekdays] : cases) {
        const DateTime date(2026, month, day);
        EXPECT_EQ(date.MonthNameIt() + " " + date.MonthNameEn(), months);
        EXPECT_EQ(date.WeekdayNameIt() + " " + date.WeekdayNameEn(), weekdays);
    }
    std::tm fields = DateTime(2026, 1, 1).ToTm();
    fields.tm_mon = 12;
    fields.tm_wday = 7;
    const DateTime outOfRange = DateTime::FromTm(fields, 0);
    EXPECT_EQ(outOfRange.MonthNameIt() + outOfRange.MonthNameEn(), "");
    EXPECT_EQ(outOfRange.WeekdayNameIt() + outOfRange.WeekdayNameEn(), "");
}

TEST(DateTime, DaysMonthsAndYearsAreCalendarStepsThatKeepTheTimeOfDay) {
    // The steps across 31 March and 27 October 2024 take 23 and 25 hours in this zone.
    TimeZone rome(kRome);
    const std::tuple<const char*, char, int, const char*> cases[] = {
        {"15/01/2026", 'M', -1, "2025-12-15"}, {"31/01/2025", 'M', 1, "2025-02-28"},
        {"31/01/2024", 'M', 1, "2024-02-29"},  {"31/12/2025", 'M', 1, "2026-01-31"},
        {"15/12/2025", 'M', 13, "2027-01-15"}, {"15/01/2026", 'M', -25, "2023-12-15"},
        {"31/10/2026", 'M', 11, "2027-09-30"}, {"29/02/2024", 'M', 12, "2025-02-28"},
        {"29/02/2024", 'Y', 1, "2025-03-01"},  {"30/03/2024", 'D', 1, "2024-03-31"},
        {"27/10/2024", 'D', 1, "2024-10-28"},  {"01/01/2026", 'D', -366, "2024-12-31"},
    };
    for (const auto& [start, unit, count, expected] : cases) {
        DateTime date;
        ASSERT_TRUE(date.ParseDate(start) && date.ParseTime("13:45:30"));
        unit == 'D'   ? date.AddDays(count)
        : unit == 'M' ? date.AddMonths(count)
                      : date.AddYears(count);
        EXPECT_EQ(YmdHms(date), expected + std::string(" 13:45:30"))
            << start << " + " << count << unit;
    }
}

TEST(DateTime, SecondsMinutesAndHoursAreElapsedTime) {
    TimeZone rome(kRome);
    DateTime date(2025, 12, 31, 23, 59, 59);
    date.AddSeconds(1);
    EXPECT_EQ(YmdHms(date), "2026-01-01 00:00:00");
    date.AddMinutes(-1);
    EXPECT_EQ(YmdHms(date), "2025-12-31 23:59:00");
    date.AddHours(25);
    EXPECT_EQ(YmdHms(date), "2026-01-02 00:59:00");
    // The hour from 02:00 to 03:00 on 31 March 2024 never happened here.
    DateTime night(2024, 3, 31, 1, 30, 0);
    night.AddHours(1);
    EXPECT_EQ(YmdHms(night), "2024-03-31 03:30:00");
}

TEST(DateTime, MillisecondsCarryIntoSecondsBothWays) {
    TimeZone utc("UTC");
    const DateTime start(2026, 1, 1, 0, 0, 0);
    DateTime date = start;
    const std::tuple<int, const char*, int> steps[] = {
        // added, landing time and its milliseconds, milliseconds since the start
        {700, "2026-01-01 00:00:00.700", 700},
        {500, "2026-01-01 00:00:01.200", 1200},
        {-1201, "2025-12-31 23:59:59.999", -1},
        {-2500, "2025-12-31 23:59:57.499", -2501},
    };
    for (const auto& [count, landing, total] : steps) {
        date.AddMilliseconds(count);
        EXPECT_EQ(YmdHms(date) + "." + std::to_string(date.GetMillisecond()), landing);
        EXPECT_EQ(DateTime::MillisecondsBetween(start, date), total);
        EXPECT_EQ(DateTime::MillisecondsBetween(date, start), -total);
    }
    // Any other step starts the milliseconds again from zero.
    date.AddSeconds(1);
    EXPECT_EQ(date.GetMillisecond(), 0);
}

TEST(DateTime, DaysBetweenCountsCalendarDaysAndSecondsBetweenElapsedTime) {
    TimeZone rome(kRome);
    const DateTime march(2024, 3, 1, 18, 0, 0);
    const DateTime april(2024, 4, 1, 6, 0, 0);
    const int64_t elapsed = 31 * 86400 - 12 * 3600 - 3600; // March lost an hour to summer time
    EXPECT_EQ(DateTime::DaysBetween(march, april), 31);
    EXPECT_EQ(DateTime::DaysBetween(april, march), -31);
    EXPECT_EQ(DateTime::DaysBetween(DateTime(1900, 1, 1), DateTime(2100, 1, 1)), 73049);
    EXPECT_EQ(DateTime::DaysBetween(DateTime(2026, 5, 5), DateTime(2026, 5, 5, 23, 59, 59)), 0);
    EXPECT_EQ(DateTime::SecondsBetween(april, march), -elapsed);
    EXPECT_EQ(DateTime::MillisecondsBetween(march, april), 1000 * elapsed);
    EXPECT_EQ(YmdHms(april.DateOnly()), "2024-04-01 00:00:00");
}

TEST(DateTime, AnOverflowingStepMarksTheRecordInvalidAndLaterStepsLeaveItAlone) {
    TimeZone utc("UTC");
    // Beyond the first row, an unchecked overflow would wrap around to a small, valid step:
    // 2^32 days land on the same day as an int, and these minutes and hours on 44 and 3584 s.
    const std::function<void(DateTime&)> overflows[] = {
        [](DateTime& date) { date.AddSeconds(INT64_MAX); },
        [](DateTime& date) { date.AddMinutes(307445734561825861); },
        [](DateTime& date) { date.AddHours(5124095576030432); },
        [](DateTime& date) { date.AddDays(int64_t{1} << 32); },
        [](DateTime& date) { date.AddYears(INT_MAX); },
    };
    const DateTime later(2026, 1, 2);
    for (size_t i = 0; i < std::size(overflows); ++i) {
        DateTime date(2026, 1, 1);
        overflows[i](date);
        date.AddSeconds(10);
        date.AddDays(10);
        date.AddMilliseconds(10000);
        EXPECT_TRUE(date.IsInvalid()) << "overflow " << i;
        EXPECT_EQ(YmdHms(date), "2026-01-01 00:00:00") << "overflow " << i;
        EXPECT_EQ(DateTime::SecondsBetween(date, later), 0) << "overflow " << i;
        EXPECT_EQ(DateTime::MillisecondsBetween(date, later), 0) << "overflow " << i;
        EXPECT_EQ(DateTime::DaysBetween(date, later), 0) << "overflow " << i;
        EXPECT_TRUE(date.DateOnly().IsInvalid()) << "overflow " << i;
    }
    // Only the left record's flag counts, and clearing it makes the record usable again.
    DateTime invalid = Invalid();
    EXPECT_EQ(DateTime::SecondsBetween(DateTime(2026, 6, 14, 12, 0, 0), invalid), 86400);
    invalid.ClearInvalid();
    invalid.AddDays(1);
    EXPECT_EQ(YmdHms(invalid), "2026-06-16 12:00:00");
}

TEST(DateTime, ComparisonsLookOnlyAtTheLeftRecordsInvalidFlag) {
    TimeZone utc("UTC");
    const DateTime early(2026, 1, 1), late(2026, 1, 2), sameAsEarly(2025, 12, 31, 24, 0, 0);
    // The invalid record's own time, 2026-06-15, lies between `late` and `latest`.
    const DateTime invalid = Invalid(), latest(2027, 1, 1);
    const std::tuple<const DateTime&, const DateTime&, const char*, int> cases[] = {
        // answers of <, <=, >, >=, ==, != as 0 or 1, then Compare
        {early, late, "110001", -1},       {late, early, "001101", 1},
        {early, sameAsEarly, "010110", 0}, {invalid, early, "010110", 0},
        {invalid, latest, "010110", 0},    {early, invalid, "110001", -1},
    };
    for (const auto& [a, b, answers, order] : cases) {
        const std::string actual = {char('0' + (a < b)),  char('0' + (a <= b)),
                                    char('0' + (a > b)),  char('0' + (a >= b)),
                                    char('0' + (a == b)), char('0' + (a != b))};
        EXPECT_EQ(actual, answers) << YmdHms(a) << " against " << YmdHms(b);
        EXPECT_EQ(DateTime::Compare(a, b), order) << YmdHms(a) << " against " << YmdHms(b);
    }
}

TEST(DateTime, NowIsTheCurrentTime) {
    const std::time_t before = std::time(nullptr);
    const DateTime now = DateTime::Now();
    EXPECT_FALSE(now.IsInvalid());
    EXPECT_GE(now.GetTime(), before);
    EXPECT_LE(now.GetTime(), std::time(nullptr));
}
