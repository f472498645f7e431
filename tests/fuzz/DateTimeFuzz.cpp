// The parse operations of DateTime, applied one after another to one record. A date or time
// that exists is taken with exactly its fields and formats back to what was typed; anything
// else is refused, marks the record invalid and leaves it as it was. Whether a date exists
// is asked of the C library's UTC calendar, which shares no code with the record's.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "FuzzCheck.h"
#include "util/DateTime.h"

namespace {

// Everything a refused text must leave alone.
std::string State(const DateTime& record) {
    return record.FormatDateISO() + " " + record.FormatTime() + " " +
           std::to_string(record.GetWeekday()) + " " + std::to_string(record.GetTime());
}

// The number in text[at, at + width) when those are all digits, else -1.
int Digits(const std::string& text, size_t at, size_t width) {
    const std::string part = text.substr(std::min(at, text.size()), width);
    return part.size() == width && part.find_first_not_of("0123456789") == std::string::npos
               ? std::stoi(part)
               : -1;
}

bool DateExists(int year, int month, int day) {
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    timegm(&fields); // carries a day past the month's end into the next month
    return year >= 1978 && year <= 2099 && month >= 1 && month <= 12 && day >= 1 &&
           fields.tm_mon == month - 1;
}

// Operation 0 parses a date day first, 1 month first, 2 a time.
void Check(DateTime& record, int operation, const std::string& text) {
    const std::string before = State(record);
    const bool isTime = operation == 2;
    const bool taken = isTime           ? record.ParseTime(text)
                       : operation == 0 ? record.ParseDate(text)
                                        : record.ParseDateUS(text);
    const int first = Digits(text, 0, 2);
    const int second = Digits(text, 3, 2);
    const int third = Digits(text, 6, isTime ? 2 : 4);
    const bool exists =
        isTime ? text.size() == 8 && std::min({first, second, third}) >= 0 && first <= 23 &&
                     second <= 59 && third <= 59
               : text.size() == 10 && (operation == 0 ? DateExists(third, second, first)
                                                      : DateExists(third, first, second));
    Require(taken == exists, "a text is taken exactly when its date (1978-2099) or time exists");
    Require(record.IsInvalid() == !taken, "the invalid mark tells a refused text");
    if (!taken) {
        Require(State(record) == before, "a refused text leaves the record as it was");
    } else if (isTime) {
        // A time in the hour that daylight saving skips lands an hour later on the same day.
        Require((record.GetHour() == first || record.GetHour() == first + 1) &&
                    record.GetMinute() == second && record.GetSecond() == third &&
                    record.FormatDateISO() == before.substr(0, 10),
                "a taken time has the typed fields and keeps the date");
    } else {
        // Midnight can fall in a daylight-saving gap (Italy in 1978 and 1979), which moves
        // the clock, never the date.
        const std::string slashed =
            text.substr(0, 2) + "/" + text.substr(3, 2) + "/" + text.substr(6);
        Require((operation == 0 ? record.FormatDate() : record.FormatDateUS()) == slashed &&
                    record.FormatTime() <= "01:00:00",
                "a taken date has exactly the typed fields and starts its day");
    }
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
        Check(record, operation, input.ConsumeRandomLengthString(12));
    }
    return 0;
}
