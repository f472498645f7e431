#include "util/DateTime.h"

#include <climits>
#include <cstdlib>

#include "util/StringUtils.h"

namespace {

const char* const kMonthsIt[12] = {"GENNAIO",   "FEBBRAIO", "MARZO",    "APRILE",
                                   "MAGGIO",    "GIUGNO",   "LUGLIO",   "AGOSTO",
                                   "SETTEMBRE", "OTTOBRE",  "NOVEMBRE", "DICEMBRE"};
const char* const kMonthsEn[12] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                                   "MAY",       "JUNE",     "JULY",     "AUGUST",
                                   "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};
// ISO 8859-1: the accented letter of the weekday names is the single byte 0xEC.
const char* const kWeekdaysIt[7] = {"Domenica",   "Luned\xEC",  "Marted\xEC", "Mercoled\xEC",
                                    "Gioved\xEC", "Venerd\xEC", "Sabato"};
const char* const kWeekdaysEn[7] = {"Sunday",   "Monday", "Tuesday ", "Wednesday",
                                    "Thursday", "Friday", "Saturday"};

// Gauss's Easter constants for the centuries 1500 to 2499, indexed by century - 15.
const int kEasterM[10] = {22, 22, 23, 23, 24, 24, 24, 25, 26, 25};
const int kEasterN[10] = {2, 2, 3, 4, 5, 5, 6, 0, 1, 1};
const int kFirstEasterYear = 1500;

const int kSecondsPerMinute = 60;
const int kSecondsPerHour = 3600;
const int kFirstParsedYear = 1978;
const int kLastParsedYear = 2099;

struct DayOfYear {
    int day;
    int month;
};
const DayOfYear kFixedHolidays[] = {{1, 1},  {6, 1},  {25, 4}, {1, 5},   {2, 6},
                                    {15, 8}, {1, 11}, {8, 12}, {25, 12}, {26, 12}};

int64_t FloorDiv(int64_t a, int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

int64_t FloorMod(int64_t a, int64_t b) {
    return a - FloorDiv(a, b) * b;
}

bool FitsInt(int64_t value) {
    return value >= INT_MIN && value <= INT_MAX;
}

bool IsLeap(int64_t year) {
    return year % 4 == 0 && (year % 400 == 0 || year % 100 != 0);
}

int DaysIn(int64_t year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Days since 1 January 1970 of a proleptic Gregorian date. Counting days on the calendar keeps
// daylight saving (days of 23 or 25 hours) out of day differences.
int64_t DaysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2;
    const int64_t era = FloorDiv(year, 400);
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// Reads a field of digits only; anything else in it rejects the whole text.
bool ReadNumber(const std::string& text, size_t at, size_t width, int* value) {
    int result = 0;
    for (size_t i = at; i < at + width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        result = result * 10 + (text[i] - '0');
    }
    *value = result;
    return true;
}

int64_t Saturate(bool overflowed, int64_t value, bool negative) {
    if (!overflowed) {
        return value;
    }
    return negative ? INT64_MIN : INT64_MAX;
}

} // namespace

DateTime::DateTime() {
    if (!SetFromTime(0)) {
        invalid = true;
    }
}

DateTime::DateTime(int year, int month, int day) : DateTime(year, month, day, 0, 0, 0) {}

DateTime::DateTime(int year, int month, int day, int hour, int minute, int second) {
    Set(year, month, day, hour, minute, second);
    Normalize();
}

DateTime DateTime::Now() {
    DateTime now;
    now.invalid = !now.SetFromTime(static_cast<int64_t>(std::time(nullptr)));
    return now;
}

DateTime DateTime::FromTm(const std::tm& fields, int64_t calendarTime) {
    DateTime result;
    result.invalid = !FitsInt(int64_t{fields.tm_year} + 1900);
    result.year = static_cast<int>(int64_t{fields.tm_year} + 1900);
    result.month = fields.tm_mon + 1;
    result.weekday = fields.tm_wday;
    result.day = fields.tm_mday;
    result.hour = fields.tm_hour;
    result.minute = fields.tm_min;
    result.second = fields.tm_sec;
    result.millisecond = 0;
    result.time = calendarTime;
    return result;
}

std::tm DateTime::ToTm() const {
    std::tm fields{};
    fields.tm_year = static_cast<int>(int64_t{year} - 1900);
    fields.tm_mon = static_cast<int>(int64_t{month} - 1);
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_wday = weekday;
    fields.tm_isdst = -1;
    return fields;
}

void DateTime::Set(int year, int month, int day, int hour, int minute, int second) {
    this->year = year;
    this->month = month;
    this->day = day;
    this->hour = hour;
    this->minute = minute;
    this->second = second;
    weekday = 0;
    millisecond = 0;
    time = 0;
}

void DateTime::Normalize() {
    if (!FitsInt(int64_t{year} - 1900) || !FitsInt(int64_t{month} - 1)) {
        invalid = true;
        return;
    }
    std::tm fields = ToTm();
    // The zone decides whether daylight saving applies. mktime leaves tm_wday alone only when
    // it fails, which tells a failure apart from the valid answer -1 (one second before 1970
    // in UTC).
    fields.tm_isdst = -1;
    fields.tm_wday = -1;
    const time_t result = std::mktime(&fields);
    if ((result == static_cast<time_t>(-1) && fields.tm_wday == -1) ||
        !SetFromTime(static_cast<int64_t>(result))) {
        invalid = true;
    }
}

bool DateTime::SetFromTime(int64_t calendarTime) {
    const time_t value = static_cast<time_t>(calendarTime);
    std::tm fields;
    // localtime fails for times whose year does not fit a tm; the record is then left as it was.
    if (localtime_r(&value, &fields) == nullptr || !FitsInt(int64_t{fields.tm_year} + 1900)) {
        return false;
    }
    year = fields.tm_year + 1900;
    month = fields.tm_mon + 1;
    weekday = fields.tm_wday;
    day = fields.tm_mday;
    hour = fields.tm_hour;
    minute = fields.tm_min;
    second = fields.tm_sec;
    millisecond = 0;
    time = calendarTime;
    return true;
}

bool DateTime::ParseDateFields(const std::string& text, int dayAt, int monthAt) {
    invalid = false;
    int parsedDay = 0;
    int parsedMonth = 0;
    int parsedYear = 0;
    // A date that does not exist (31/02, 00/13) is rejected rather than carried into the next
    // month: the text is what a person typed, and a silent correction would hide the mistake.
    if (text.size() != 10 || !ReadNumber(text, dayAt, 2, &parsedDay) ||
        !ReadNumber(text, monthAt, 2, &parsedMonth) || !ReadNumber(text, 6, 4, &parsedYear) ||
        parsedYear < kFirstParsedYear || parsedYear > kLastParsedYear || parsedMonth < 1 ||
        parsedMonth > 12 || parsedDay < 1 || parsedDay > DaysIn(parsedYear, parsedMonth)) {
        invalid = true;
        return false;
    }
    Set(parsedYear, parsedMonth, parsedDay, 0, 0, 0);
    Normalize();
    return !invalid;
}

bool DateTime::ParseDate(const std::string& text) {
    return ParseDateFields(text, 0, 3);
}

bool DateTime::ParseDateUS(const std::string& text) {
    return ParseDateFields(text, 3, 0);
}

bool DateTime::ParseTime(const std::string& text) {
    invalid = false;
    int parsedHour = 0;
    int parsedMinute = 0;
    int parsedSecond = 0;
    if (text.size() != 8 || !ReadNumber(text, 0, 2, &parsedHour) ||
        !ReadNumber(text, 3, 2, &parsedMinute) || !ReadNumber(text, 6, 2, &parsedSecond) ||
        parsedHour > 23 || parsedMinute > 59 || parsedSecond > 59) {
        invalid = true;
        return false;
    }
    hour = parsedHour;
    minute = parsedMinute;
    second = parsedSecond;
    Normalize();
    return !invalid;
}

std::string DateTime::FormatDate() const {
    return IntToString(day, '0', 2) + "/" + IntToString(month, '0', 2) + "/" +
           IntToString(year, '0', 4);
}

std::string DateTime::FormatDateUS() const {
    return IntToString(month, '0', 2) + "/" + IntToString(day, '0', 2) + "/" +
           IntToString(year, '0', 4);
}

std::string DateTime::FormatDateISO() const {
    return IntToString(year, '0', 4) + "-" + IntToString(month, '0', 2) + "-" +
           IntToString(day, '0', 2);
}

std::string DateTime::FormatTime() const {
    return IntToString(hour, '0', 2) + ":" + IntToString(minute, '0', 2) + ":" +
           IntToString(second, '0', 2);
}

std::string DateTime::MonthNameIt() const {
    return month >= 1 && month <= 12 ? kMonthsIt[month - 1] : "";
}

std::string DateTime::MonthNameEn() const {
    return month >= 1 && month <= 12 ? kMonthsEn[month - 1] : "";
}

std::string DateTime::WeekdayNameIt() const {
    return weekday >= 0 && weekday <= 6 ? kWeekdaysIt[weekday] : "";
}

std::string DateTime::WeekdayNameEn() const {
    return weekday >= 0 && weekday <= 6 ? kWeekdaysEn[weekday] : "";
}

bool DateTime::IsLeapYear() const {
    return IsLeap(year);
}

int DateTime::DaysInMonth() const {
    // Worked out on the calendar: stepping back a day's worth of seconds from the 1st of the
    // next month lands on the wrong day when the month ends in a 23-hour day.
    const int64_t monthIndex = int64_t{month} - 1;
    return DaysIn(year + FloorDiv(monthIndex, 12), static_cast<int>(FloorMod(monthIndex, 12)) + 1);
}

std::string DateTime::WeekdayString() const {
    const int days = DaysInMonth();
    std::string digits;
    digits.reserve(static_cast<size_t>(days));
    for (int d = 1; d <= days; ++d) {
        digits.push_back(static_cast<char>('0' + FloorMod(int64_t{weekday} + d - day, 7)));
    }
    return digits;
}

DateTime DateTime::Easter(int year) {
    int m = 0;
    int n = 0;
    if (year >= kFirstEasterYear && year < kFirstEasterYear + 1000) {
        m = kEasterM[year / 100 - 15];
        n = kEasterN[year / 100 - 15];
    } else if (year > kFirstEasterYear) {
        // Beyond the table, the same constants come from Gauss's general rule.
        const int century = year / 100;
        const int p = (13 + 8 * century) / 25;
        const int q = century / 4;
        m = (15 - p + century - q) % 30;
        n = (4 + century - q) % 7;
    } else {
        // Earlier Easters were reckoned on the Julian calendar; a Gregorian date for them
        // would be wrong.
        DateTime none;
        none.invalid = true;
        return none;
    }
    const int a = year % 19;
    const int b = year % 4;
    const int c = year % 7;
    const int d = (19 * a + m) % 30;
    const int e = (2 * b + 4 * c + 6 * d + n) % 7;
    int easterMonth = 3;
    int easterDay = 22 + d + e;
    if (d + e > 9) {
        easterMonth = 4;
        easterDay = d + e - 9;
        if (easterDay == 26) {
            easterDay = 19;
        } else if (easterDay == 25 && d == 28 && e == 6 && a > 10) {
            easterDay = 18;
        }
    }
    return DateTime(year, easterMonth, easterDay);
}

bool DateTime::IsHoliday() const {
    for (const DayOfYear& holiday : kFixedHolidays) {
        if (holiday.day == day && holiday.month == month) {
            return true;
        }
    }
    const DateTime sunday = Easter(year);
    if (sunday.invalid) {
        return false;
    }
    DateTime monday = sunday;
    monday.AddDays(1);
    return (sunday.day == day && sunday.month == month) ||
           (monday.day == day && monday.month == month);
}

void DateTime::AddElapsedSeconds(int64_t count) {
    if (invalid) {
        return;
    }
    int64_t target = 0;
    if (__builtin_add_overflow(time, count, &target) || !SetFromTime(target)) {
        invalid = true;
    }
}

void DateTime::AddSeconds(int64_t count) {
    AddElapsedSeconds(count);
}

void DateTime::AddMinutes(int64_t count) {
    int64_t seconds = 0;
    if (__builtin_mul_overflow(count, kSecondsPerMinute, &seconds)) {
        invalid = true;
        return;
    }
    AddElapsedSeconds(seconds);
}

void DateTime::AddHours(int64_t count) {
    int64_t seconds = 0;
    if (__builtin_mul_overflow(count, kSecondsPerHour, &seconds)) {
        invalid = true;
        return;
    }
    AddElapsedSeconds(seconds);
}

void DateTime::AddDays(int64_t count) {
    if (invalid) {
        return;
    }
    // A day is a step on the calendar, not 86400 seconds: across a daylight-saving change
    // the time of day must stay and the date must move.
    const int64_t target = int64_t{day} + count;
    if (!FitsInt(target)) {
        invalid = true;
        return;
    }
    day = static_cast<int>(target);
    Normalize();
}

void DateTime::AddMilliseconds(int64_t count) {
    if (invalid) {
        return;
    }
    int64_t total = 0;
    int64_t target = 0;
    if (__builtin_add_overflow(int64_t{millisecond}, count, &total) ||
        __builtin_add_overflow(time, FloorDiv(total, 1000), &target) || !SetFromTime(target)) {
        invalid = true;
        return;
    }
    // Flooring keeps the field between 0 and 999: 0 ms minus 1 is 999 ms of the second before.
    millisecond = static_cast<int>(FloorMod(total, 1000));
}

void DateTime::AddYears(int count) {
    const int64_t target = int64_t{year} + count;
    if (!FitsInt(target)) {
        invalid = true;
        return;
    }
    year = static_cast<int>(target);
    Normalize();
}

void DateTime::AddMonths(int count) {
    int64_t years = count / 12;
    int64_t newMonth = int64_t{month} + count % 12;
    if (newMonth > 12) {
        ++years;
        newMonth -= 12;
    } else if (newMonth < 1) {
        --years;
        newMonth += 12;
    }
    const int64_t newYear = int64_t{year} + years;
    if (!FitsInt(newYear) || newMonth < 1 || newMonth > 12) {
        invalid = true;
        return;
    }
    year = static_cast<int>(newYear);
    month = static_cast<int>(newMonth);
    const int lastDay = DaysIn(year, month);
    if (day > lastDay) {
        day = lastDay;
    }
    Normalize();
}

DateTime DateTime::DateOnly() const {
    DateTime result(year, month, day);
    if (invalid) {
        result.invalid = true;
    }
    return result;
}

int64_t DateTime::SecondsBetween(const DateTime& a, const DateTime& b) {
    if (a.invalid) {
        return 0;
    }
    int64_t difference = 0;
    const bool overflowed = __builtin_sub_overflow(b.time, a.time, &difference);
    return Saturate(overflowed, difference, b.time < a.time);
}

int64_t DateTime::MillisecondsBetween(const DateTime& a, const DateTime& b) {
    if (a.invalid) {
        return 0;
    }
    int64_t seconds = 0;
    int64_t milliseconds = 0;
    int64_t total = 0;
    const bool overflowed =
        __builtin_sub_overflow(b.time, a.time, &seconds) ||
        __builtin_mul_overflow(seconds, 1000, &milliseconds) ||
        __builtin_add_overflow(milliseconds, int64_t{b.millisecond} - a.millisecond, &total);
    return Saturate(overflowed, total, b.time < a.time);
}

int64_t DateTime::DaysBetween(const DateTime& a, const DateTime& b) {
    if (a.invalid) {
        return 0;
    }
    const DateTime first = a.DateOnly();
    const DateTime second = b.DateOnly();
    return DaysFromCivil(second.year, second.month, second.day) -
           DaysFromCivil(first.year, first.month, first.day);
}

int DateTime::Compare(const DateTime& a, const DateTime& b) {
    if (a.invalid || a.time == b.time) {
        return 0;
    }
    return a.time < b.time ? -1 : 1;
}

bool DateTime::operator<(const DateTime& other) const {
    return !invalid && time < other.time;
}

bool DateTime::operator<=(const DateTime& other) const {
    return invalid || time <= other.time;
}

bool DateTime::operator>(const DateTime& other) const {
    return !invalid && time > other.time;
}

bool DateTime::operator>=(const DateTime& other) const {
    return invalid || time >= other.time;
}

bool DateTime::operator==(const DateTime& other) const {
    return invalid || time == other.time;
}

bool DateTime::operator!=(const DateTime& other) const {
    return !invalid && time != other.time;
}
