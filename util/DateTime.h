#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// A local date and time: the broken-down calendar fields kept together with the calendar time
// in whole seconds. Every change goes through the C library (mktime, localtime), which carries
// overflowing fields into the next unit and follows the local time zone and its daylight
// saving rules. A record whose normalisation failed is marked invalid; it stays so until a
// constructor, a Parse operation or ClearInvalid starts afresh.
class DateTime {
  public:
    // Construction
    DateTime(); // the calendar time 0, in local time
    DateTime(int year, int month, int day);
    DateTime(int year, int month, int day, int hour, int minute, int second);
    static DateTime Now();
    static DateTime FromTm(const std::tm& fields, int64_t calendarTime);
    std::tm ToTm() const;
    // Stores the fields as given, without normalising: `weekday` and `time` become 0.
    void Set(int year, int month, int day, int hour, int minute, int second);
    void Normalize();

    // Access
    int GetYear() const { return year; }
    int GetMonth() const { return month; }
    int GetWeekday() const { return weekday; }
    int GetDay() const { return day; }
    int GetHour() const { return hour; }
    int GetMinute() const { return minute; }
    int GetSecond() const { return second; }
    int GetMillisecond() const { return millisecond; }
    int64_t GetTime() const { return time; }
    bool IsInvalid() const { return invalid; }
    void ClearInvalid() { invalid = false; }

    // Parsing: dd/mm/yyyy, mm/dd/yyyy (any separators) and hh:mm:ss. Each answers whether the
    // text was accepted; a rejected text marks the record invalid and leaves its fields.
    bool ParseDate(const std::string& text);
    bool ParseDateUS(const std::string& text);
    bool ParseTime(const std::string& text);

    // Formatting
    std::string FormatDate() const;    // dd/mm/yyyy
    std::string FormatDateUS() const;  // mm/dd/yyyy
    std::string FormatDateISO() const; // yyyy-mm-dd
    std::string FormatTime() const;    // hh:mm:ss
    // Names; Italian weekdays are ISO 8859-1. Empty when the field is out of range.
    std::string MonthNameIt() const;
    std::string MonthNameEn() const;
    std::string WeekdayNameIt() const;
    std::string WeekdayNameEn() const;

    // Calendar
    bool IsLeapYear() const;
    int DaysInMonth() const;
    // One digit per day of the month, that day's weekday (0 Sunday).
    std::string WeekdayString() const;
    static DateTime Easter(int year);
    bool IsHoliday() const;

    // Arithmetic. Seconds, minutes and hours count elapsed time; days, months and years count
    // calendar steps and keep the time of day.
    void AddSeconds(int64_t count);
    void AddMinutes(int64_t count);
    void AddHours(int64_t count);
    void AddDays(int64_t count);
    void AddMilliseconds(int64_t count);
    void AddYears(int count);
    void AddMonths(int count);
    DateTime DateOnly() const;

    // Differences (0 when the first record is invalid) and comparisons
    static int64_t SecondsBetween(const DateTime& a, const DateTime& b);
    static int64_t MillisecondsBetween(const DateTime& a, const DateTime& b);
    static int64_t DaysBetween(const DateTime& a, const DateTime& b);
    static int Compare(const DateTime& a, const DateTime& b);
    // Only the left record's invalid flag counts: an invalid record is equal to, not less
    // than and not greater than anything.
    bool operator<(const DateTime& other) const;
    bool operator<=(const DateTime& other) const;
    bool operator>(const DateTime& other) const;
    bool operator>=(const DateTime& other) const;
    bool operator==(const DateTime& other) const;
    bool operator!=(const DateTime& other) const;

  private:
    bool SetFromTime(int64_t calendarTime);
    void AddElapsedSeconds(int64_t count);
    bool ParseDateFields(const std::string& text, int dayAt, int monthAt);

    int year = 1970;
    int month = 1;
    int weekday = 4;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int64_t time = 0;
    bool invalid = false;
};
