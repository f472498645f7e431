// The parse operations of DateTime, applied one after another to one record. Each text is
// checked against the format worked out here from scratch: a date or time that exists is
// taken with exactly its fields, and formats back to what was typed; anything else is
// refused, marks the record invalid and leaves every field as it was.
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "FuzzCheck.h"
#include "util/DateTime.h"

namespace {

struct Fields {
    int year, month, day, hour, minute, second, weekday;
    int64_t time;
    bool operator==(const Fields& other) const {
        return year == other.year && month == other.month && day == other.day &&
               hour == other.hour && minute == other.minute && second == other.second &&
               weekday == other.weekday && time == other.time;
    }
};

Fields Read(const DateTime& record) {
    return {record.GetYear(),   record.GetMonth(),  record.GetDay(),     record.GetHour(),
            record.GetMinute(), record.GetSecond(), record.GetWeekday(), record.GetTime()};
}

// The number in text[at, at + width) when those are all digits, else -1.
int Digits(const std::string& text, size_t at, size_t width) {
    int value = 0;
    for (size_t i = at; i < at + width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

int MonthLength(int year, int month) {
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : lengths[month - 1];
}

void CheckDate(DateTime& record, const std::string& text, bool dayFirst) {
    const Fields before = Read(record);
    const bool taken = dayFirst ? record.ParseDate(text) : record.ParseDateUS(text);
    int day = -1;
    int month = -1;
    int year = -1;
    if (text.size() == 10) {
        day = Digits(text, dayFirst ? 0 : 3, 2);
        month = Digits(text, dayFirst ? 3 : 0, 2);
        year = Digits(text, 6, 4);
    }
    const bool exists = year >= 1978 && year <= 2099 && month >= 1 && month <= 12 && day >= 1 &&
                        day <= MonthLength(year, month);
    Require(taken == exists, "a date is taken exactly when it exists in 1978-2099");
    Require(record.IsInvalid() == !taken, "the invalid mark tells a refused date");
    if (!taken) {
        Require(Read(record) == before, "a refused date leaves the record as it was");
        return;
    }
    // Midnight can fall in a daylight-saving gap (Italy in 1978 and 1979), which moves the
    // clock, never the date.
    Require(record.GetDay() == day && record.GetMonth() == month && record.GetYear() == year &&
                record.GetMinute() == 0 && record.GetSecond() == 0 && record.GetHour() <= 1,
            "a taken date has exactly the typed fields");
    const std::string slashed = text.substr(0, 2) + "/" + text.substr(3, 2) + "/" + text.substr(6);
    Require((dayFirst ? record.FormatDate() : record.FormatDateUS()) == slashed,
            "a taken date formats back to what was typed");
    DateTime again;
    Require(again.ParseDate(record.FormatDate()) && again.ParseDateUS(record.FormatDateUS()) &&
                again.GetTime() == record.GetTime(),
            "a formatted date parses back in either order");
    Require(record.WeekdayNameEn() != "" && record.MonthNameIt() != "" &&
                record.WeekdayString().size() == static_cast<size_t>(MonthLength(year, month)),
            "a taken date has names and a weekday for every day of its month");
}

void CheckTime(DateTime& record, const std::string& text) {
    const Fields before = Read(record);
    const bool taken = record.ParseTime(text);
    int hour = -1;
    int minute = -1;
    int second = -1;
    if (text.size() == 8) {
        hour = Digits(text, 0, 2);
        minute = Digits(text, 3, 2);
        second = Digits(text, 6, 2);
    }
    const bool exists =
        hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
    Require(taken == exists, "a time is taken exactly when it exists");
    Require(record.IsInvalid() == !taken, "the invalid mark tells a refused time");
    if (!taken) {
        Require(Read(record) == before, "a refused time leaves the record as it was");
        return;
    }
    // A time in the hour that daylight saving skips lands an hour later on the same day.
    const bool sameHour = record.GetHour() == hour || record.GetHour() == hour + 1;
    Require(sameHour && record.GetMinute() == minute && record.GetSecond() == second &&
                record.GetDay() == before.day && record.GetMonth() == before.month &&
                record.GetYear() == before.year,
            "a taken time has the typed fields and keeps the date");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The program's own zone, with its daylight-saving changes and their gaps.
    setenv("TZ", "Europe/Rome", 1);
    tzset();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    DateTime record;
    while (input.remaining_bytes() > 0) {
        const int operation = input.ConsumeIntegralInRange(0, 2);
        const std::string text = input.ConsumeRandomLengthString(12);
        switch (operation) {
        case 0:
            CheckDate(record, text, true);
            break;
        case 1:
            CheckDate(record, text, false);
            break;
        default:
            CheckTime(record, text);
            break;
        }
    }
    return 0;
}
