#include "util/DateTime.h"

#include <climits>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

namespace {

// Every test runs in a process of its own, in the zone it names.
void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
}

// Central European time with its daylight-saving rules written out, so that no zone database
// is needed: summer time from the last Sunday of March to the last Sunday of October. In 2024
// that made 31 March 23 hours long.
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

TEST(DateTime, EasterAgreesWithAnIndependentComputusAndHolidaysFollowIt) {
    UseZone("UTC");
    // The range holds both April exceptions (1954 and 1981, for example) and the centuries
    // beyond the table of constants. Earlier Easters were reckoned on the Julian calendar.
    for (int year = 1583; year <= 4099; ++year) {
        const DateTime easter = DateTime::Easter(year);
        ASSERT_FALSE(easter.IsInvalid()) << year;
        EXPECT_EQ(easter.GetMonth() * 100 + easter.GetDay(), ReferenceEaster(year)) << year;
    }
    EXPECT_TRUE(DateTime::Easter(1499).IsInvalid());
    EXPECT_FALSE(DateTime::Easter(1500).IsInvalid());
    // In 2024 Easter Monday fell in another month than Easter.
    std::string holidays;
    for (DateTime day(2024, 1, 1); day.GetYear() == 2024; day.AddDays(1)) {
        holidays += day.IsHoliday() ? day.FormatDate().substr(0, 5) + " " : "";
    }
    EXPECT_EQ(holidays, "01/01 06/01 31/03 01/04 25/04 01/05 02/06 15/08 01/11 08/12 25/12 26/12 ");
}

TEST(DateTime, LeapYearsMonthLengthsAndWeekdaysFollowTheGregorianRules) {
    // Months that end on a 23-hour or a 25-hour day are counted on the calendar too.
    UseZone(kRome);
    // year, month, days in it, whether the year is a leap year
    const int cases[][4] = {{2024, 2, 29, 1}, {2023, 2, 28, 0}, {1900, 2, 28, 0}, {2000, 2, 29, 1},
                            {2026, 4, 30, 0}, {2024, 3, 31, 1}, {2024, 10, 31, 1}};
    for (const auto& [year, month, days, leap] : cases) {
        const DateTime date(year, month, 15);
        EXPECT_EQ(std::make_tuple(date.DaysInMonth(), date.IsLeapYear()),
                  std::make_tuple(days, leap == 1))
            << year << "-" << month;
    }
    // The weekday of every day of the month, the same from whichever day it is asked.
    for (int day = 1; day <= 29; ++day) {
        EXPECT_EQ(DateTime(2024, 2, day).WeekdayString(), "45601234560123456012345601234") << day;
    }
}

TEST(DateTime, ConstructionCarriesOverflowingFieldsAndNamesFollowThem) {
    UseZone("UTC");
    EXPECT_EQ(YmdHms(DateTime(2026, 2, 30, 25, 61, 70)), "2026-03-03 02:02:10");
    EXPECT_EQ(YmdHms(DateTime(2026, 13, 1, 0, 0, -1)), "2026-12-31 23:59:59");
    EXPECT_EQ(YmdHms(DateTime(987, 1, 2, 3, 4, 5)), "0987-01-02 03:04:05");
    // One second before 1970 is -1, which mktime also answers when it fails.
    const DateTime beforeEpoch(1969, 12, 31, 23, 59, 59);
    EXPECT_TRUE(!beforeEpoch.IsInvalid() && beforeEpoch.GetTime() == -1);
    EXPECT_EQ(DateTime(2026, 12, 25).GetTime(), 1798156800);
    EXPECT_GE(DateTime::Now().GetTime() + 1, std::time(nullptr));
    // Italian weekdays carry the ISO 8859-1 byte 0xEC; the English Tuesday ends in a space.
    const DateTime january(2026, 1, 3), december(2026, 12, 1);
    EXPECT_EQ(january.MonthNameIt() + " " + january.WeekdayNameEn() + " " + december.MonthNameEn() +
                  " " + december.WeekdayNameIt() + " " + december.WeekdayNameEn(),
              "GENNAIO Saturday DECEMBER Marted\xEC Tuesday ");
    // The fields travel through a std::tm unchanged, even out of range, where names are empty.
    std::tm fields = january.ToTm();
    EXPECT_EQ(YmdHms(DateTime::FromTm(fields, 0)), "2026-01-03 00:00:00");
    fields.tm_mon = 12;
    fields.tm_wday = 7;
    const DateTime outOfRange = DateTime::FromTm(fields, 0);
    EXPECT_EQ(outOfRange.MonthNameIt() + outOfRange.MonthNameEn() + outOfRange.WeekdayNameIt() +
                  outOfRange.WeekdayNameEn(),
              "");
}

TEST(DateTime, ParseAcceptsOnlyRealDatesAndTimesAndOtherwiseKeepsTheFields) {
    UseZone("UTC");
    // D reads the day first, U the month first, T a time; the separators may be anything.
    const auto D = &DateTime::ParseDate, U = &DateTime::ParseDateUS, T = &DateTime::ParseTime;
    const std::tuple<decltype(D), const char*, const char*> accepted[] = {
        {D, "01-01.1978", "1978-01-01 00:00:00"},
        {D, "31/12/2099", "2099-12-31 00:00:00"},
        {D, "29/02/2024", "2024-02-29 00:00:00"},
        {U, "12-24.2026", "2026-12-24 00:00:00"},
        {T, "23:59:59", "2020-05-17 23:59:59"}};
    for (const auto& [parse, text, expected] : accepted) {
        DateTime date(2020, 5, 17, 8, 30, 0);
        EXPECT_TRUE((date.*parse)(text)) << text;
        EXPECT_EQ(YmdHms(date), expected) << text;
    }
    const std::tuple<decltype(D), const char*> rejected[] = {
        {D, "25/12/20266"}, {D, "25/12/1977"}, {D, "01/01/2100"}, {D, "29/02/2025"},
        {D, "31/04/2026"},  {D, "00/12/2026"}, {D, "15/13/2026"}, {D, "15/00/2026"},
        {D, "1 /12/2026"},  {U, "25/12/2026"}, {T, "7:05:09"},    {T, "24:00:00"},
        {T, "12:60:00"},    {T, "12:00:60"},   {T, "12:00:6x"}};
    for (const auto& [parse, text] : rejected) {
        DateTime date(2020, 5, 17, 8, 30, 0);
        EXPECT_FALSE((date.*parse)(text)) << text;
        EXPECT_EQ(YmdHms(date) + (date.IsInvalid() ? " invalid" : ""),
                  "2020-05-17 08:30:00 invalid")
            << text;
    }
    // An accepted text starts afresh after one that was not.
    EXPECT_TRUE(Invalid().ParseDate("01/01/2000") && Invalid().ParseTime("10:00:00"));
    // Formatted dates parse back, each in its own order.
    for (DateTime day(1999, 12, 25), parsed; day.GetYear() < 2001; day.AddDays(37)) {
        EXPECT_TRUE(parsed.ParseDate(day.FormatDate()) && parsed == day) << day.FormatDate();
        EXPECT_TRUE(parsed.ParseDateUS(day.FormatDateUS()) && parsed == day) << day.FormatDateUS();
    }
}

TEST(DateTime, DaysMonthsAndYearsAreCalendarStepsThatKeepTheTimeOfDay) {
    UseZone(kRome);
    const std::tuple<const char*, char, int, const char*> cases[] = {
        {"15/01/2026", 'M', -1, "2025-12-15"},  {"31/01/2024", 'M', 1, "2024-02-29"},
        {"31/12/2025", 'M', 1, "2026-01-31"},   {"15/12/2025", 'M', 13, "2027-01-15"},
        {"15/01/2026", 'M', -25, "2023-12-15"}, {"29/02/2024", 'M', 12, "2025-02-28"},
        {"29/02/2024", 'Y', 1, "2025-03-01"},   {"30/03/2024", 'D', 1, "2024-03-31"},
        {"01/01/2026", 'D', -366, "2024-12-31"}};
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

TEST(DateTime, SecondsMinutesHoursAndMillisecondsAreElapsedTimeAndDaysCalendarDays) {
    UseZone(kRome);
    DateTime date(2025, 12, 31, 23, 59, 59);
    date.AddSeconds(1);
    date.AddMinutes(-1);
    date.AddHours(25);
    EXPECT_EQ(YmdHms(date), "2026-01-02 00:59:00");
    // The hour from 02:00 to 03:00 on 31 March 2024 never happened here.
    DateTime night(2024, 3, 31, 1, 30, 0);
    night.AddHours(1);
    EXPECT_EQ(YmdHms(night), "2024-03-31 03:30:00");
    const DateTime start(2026, 1, 1, 0, 0, 0);
    date = start;
    // added, landing time and its milliseconds, milliseconds since the start
    const std::tuple<int, const char*, int> steps[] = {{700, "2026-01-01 00:00:00.700", 700},
                                                       {500, "2026-01-01 00:00:01.200", 1200},
                                                       {-1201, "2025-12-31 23:59:59.999", -1}};
    for (const auto& [count, landing, total] : steps) {
        date.AddMilliseconds(count);
        EXPECT_EQ(YmdHms(date) + "." + std::to_string(date.GetMillisecond()), landing);
        EXPECT_EQ(DateTime::MillisecondsBetween(start, date), total);
        EXPECT_EQ(DateTime::MillisecondsBetween(date, start), -total);
    }
    // Any other step starts the milliseconds again from zero.
    date.AddSeconds(1);
    EXPECT_EQ(date.GetMillisecond(), 0);
    // Days between count calendar days, seconds between elapsed time.
    const DateTime march(2024, 3, 1, 18, 0, 0), april(2024, 4, 1, 6, 0, 0);
    const int64_t elapsed = 31 * 86400 - 12 * 3600 - 3600; // March lost an hour to summer time
    EXPECT_EQ(DateTime::DaysBetween(march, april), 31);
    EXPECT_EQ(DateTime::DaysBetween(april, march), -31);
    EXPECT_EQ(DateTime::DaysBetween(DateTime(1900, 1, 1), DateTime(2100, 1, 1)), 73049);
    EXPECT_EQ(DateTime::SecondsBetween(april, march), -elapsed);
    EXPECT_EQ(DateTime::MillisecondsBetween(march, april), 1000 * elapsed);
    EXPECT_EQ(YmdHms(april.DateOnly()), "2024-04-01 00:00:00");
}

TEST(DateTime, AnOverflowingStepMarksTheRecordInvalidAndLaterStepsLeaveItAlone) {
    UseZone("UTC");
    // Beyond the first row, an unchecked overflow would wrap around to a small, valid step:
    // 2^32 days land on the same day as an int, and these minutes and hours on 44 and 3584 s.
    const std::function<void(DateTime&)> overflows[] = {
        [](DateTime& date) { date.AddSeconds(INT64_MAX); },
        [](DateTime& date) { date.AddMinutes(307445734561825861); },
        [](DateTime& date) { date.AddHours(5124095576030432); },
        [](DateTime& date) { date.AddDays(int64_t{1} << 32); },
        [](DateTime& date) { date.AddYears(INT_MAX); }};
    const DateTime later(2026, 1, 2);
    for (size_t i = 0; i < std::size(overflows); ++i) {
        SCOPED_TRACE(i);
        DateTime date(2026, 1, 1);
        overflows[i](date);
        date.AddSeconds(10);
        date.AddDays(10);
        date.AddMilliseconds(10000);
        EXPECT_TRUE(date.IsInvalid() && date.DateOnly().IsInvalid());
        EXPECT_EQ(YmdHms(date), "2026-01-01 00:00:00");
        EXPECT_EQ(std::make_tuple(DateTime::SecondsBetween(date, later),
                                  DateTime::MillisecondsBetween(date, later),
                                  DateTime::DaysBetween(date, later)),
                  std::make_tuple(0, 0, 0));
    }
    // Only the left record's flag counts, and clearing it makes the record usable again.
    DateTime invalid = Invalid();
    EXPECT_EQ(DateTime::SecondsBetween(DateTime(2026, 6, 14, 12, 0, 0), invalid), 86400);
    invalid.ClearInvalid();
    invalid.AddDays(1);
    EXPECT_EQ(YmdHms(invalid), "2026-06-16 12:00:00");
}

TEST(DateTime, ComparisonsLookOnlyAtTheLeftRecordsInvalidFlag) {
    UseZone("UTC");
    const DateTime early(2026, 1, 1), late(2026, 1, 2), sameAsEarly(2025, 12, 31, 24, 0, 0);
    // The invalid record's own time, 2026-06-15, lies between `late` and `latest`: an invalid
    // left record equals everything, an invalid right one still compares by its time.
    const DateTime invalid = Invalid(), latest(2027, 1, 1);
    // -1: the left record comes first, 0: they are equal, 1: it comes after.
    const std::tuple<const DateTime&, const DateTime&, int> cases[] = {
        {early, late, -1},   {late, early, 1},     {early, sameAsEarly, 0},
        {invalid, early, 0}, {invalid, latest, 0}, {early, invalid, -1}};
    for (const auto& [a, b, order] : cases) {
        SCOPED_TRACE(YmdHms(a) + " against " + YmdHms(b));
        EXPECT_EQ(DateTime::Compare(a, b), order);
        EXPECT_EQ(a < b, order < 0);
        EXPECT_EQ(a <= b, order <= 0);
        EXPECT_EQ(a > b, order > 0);
        EXPECT_EQ(a >= b, order >= 0);
        EXPECT_EQ(a == b, order == 0);
        EXPECT_EQ(a != b, order != 0);
    }
}
