// The string helpers on texts and numbers cut from the input, each held to a property that
// must hold for every argument: replacement ends and agrees with replacing one occurrence
// at a time, percent-encoding decodes back, splitting joins back, and the number formats
// read back as the number they show.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "util/StringUtils.h"

namespace {

// Replacement as the definition states it: find the first occurrence from the start, put
// the replacement there, and look again from the start. It only ends when every step
// shortens the text, which is the only case it is used for.
std::string ReplaceStepByStep(std::string text, const std::string& search,
                              const std::string& replacement) {
    for (size_t found = text.find(search); found != std::string::npos; found = text.find(search)) {
        text.replace(found, search.size(), replacement);
    }
    return text;
}

size_t Occurrences(const std::string& text, const std::string& search) {
    size_t count = 0;
    for (size_t at = text.find(search); at != std::string::npos; at = text.find(search, at + 1)) {
        ++count;
    }
    return count;
}

void CheckReplace(const std::string& text, const std::string& search,
                  const std::string& replacement) {
    const std::string result = Replace(text, search, replacement);
    if (search.empty() || text.find(search) == std::string::npos) {
        Require(result == text, "a text without the search text is left alone");
        return;
    }
    if (replacement.size() < search.size()) {
        Require(result == ReplaceStepByStep(text, search, replacement),
                "a shorter replacement gives what one occurrence at a time gives");
        Require(result.find(search) == std::string::npos,
                "a shorter replacement leaves no occurrence");
        return;
    }
    // A replacement at least as long goes over the text once, so it grows by at most one
    // replacement's worth of bytes per occurrence.
    const size_t bound =
        text.size() + Occurrences(text, search) * (replacement.size() - search.size());
    Require(result.size() <= bound, "a single pass grows the text by its occurrences at most");
}

void CheckSplit(const std::string& text, const std::string& separator) {
    const std::vector<std::string> pieces = Split(text, separator);
    if (text.empty() || separator.empty()) {
        Require(pieces.empty(), "nothing is split by or into nothing");
        return;
    }
    std::string joined;
    for (size_t i = 0; i < pieces.size(); ++i) {
        joined += (i > 0 ? separator : "") + pieces[i];
    }
    const bool trailing =
        text.size() >= separator.size() &&
        text.compare(text.size() - separator.size(), separator.size(), separator) == 0;
    // A separator at the very end leaves no empty last piece, so joining loses only it.
    Require(joined == text || (trailing && joined + separator == text),
            "the pieces join back into the text");
}

bool IsUnreserved(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("-._~", c) != nullptr;
}

void CheckUrl(const std::string& text) {
    const std::string encoded = UrlEncode(text);
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%') {
            Require(i + 2 < encoded.size() &&
                        std::strchr("0123456789ABCDEF", encoded[i + 1]) != nullptr &&
                        std::strchr("0123456789ABCDEF", encoded[i + 2]) != nullptr &&
                        encoded[i + 1] != '\0' && encoded[i + 2] != '\0',
                    "every escape is a percent sign and two upper-case hex digits");
            i += 2;
        } else {
            Require(IsUnreserved(encoded[i]), "only unreserved bytes are left as they are");
        }
    }
    // A decoded 0 byte appends nothing, so a text comes back less its 0 bytes.
    std::string withoutZeros;
    for (char c : text) {
        if (c != '\0') {
            withoutZeros.push_back(c);
        }
    }
    Require(UrlDecode(encoded) == withoutZeros, "decoding gives the encoded text back");
    Require(UrlDecode(text).size() <= text.size(), "decoding never lengthens a text");
}

std::string WithoutSeparators(std::string text) {
    std::string plain;
    for (char c : text) {
        if (c != ThousandsSeparator()) {
            plain.push_back(c == DecimalSeparator() ? '.' : c);
        }
    }
    return plain;
}

// Optional sign, then groups of three digits after a first group of one to three.
bool IsGrouped(const std::string& digits) {
    const size_t start = !digits.empty() && digits[0] == '-' ? 1 : 0;
    const size_t count = digits.size() - start;
    if (count == 0) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        const bool separatorPlace = (count - i) % 4 == 0;
        const char c = digits[start + i];
        if (separatorPlace ? c != ThousandsSeparator() : (c < '0' || c > '9')) {
            return false;
        }
    }
    return digits[start] != ThousandsSeparator();
}

void CheckIntegers(int64_t value, char fill, int width) {
    const std::string plain = std::to_string(static_cast<long long>(value));
    Require(IntToString(value) == plain, "a number is its decimal digits");
    const std::string padded = IntToString(value, fill, width);
    Require(padded.size() == std::max(plain.size(), static_cast<size_t>(std::max(width, 0))),
            "padding fills up to the width and never cuts");
    if (fill == '0') {
        Require(std::strtoll(padded.c_str(), nullptr, 10) == value,
                "zeros padded after the sign keep the value");
    } else {
        Require(padded.compare(padded.size() - plain.size(), plain.size(), plain) == 0 &&
                    padded.find_first_not_of(fill) >= padded.size() - plain.size(),
                "padding goes in front of the number");
    }
    const std::string grouped = FormatThousands(value);
    Require(WithoutSeparators(grouped) == plain && IsGrouped(grouped),
            "thousands are grouped by three and the digits kept");
}

void CheckAmount(double value, std::string text) {
    const std::string amount = FormatAmount(value);
    const std::string fixed = FormatFixed2(value);
    if (!std::isfinite(value)) {
        Require(amount == fixed, "infinities and not-a-number are shown as they are");
    } else {
        std::string plain = WithoutSeparators(amount);
        // Rounding can leave -0.00, which shows no sign.
        Require(plain == fixed || "-" + plain == fixed, "an amount shows the rounded value");
        const size_t point = amount.find(DecimalSeparator());
        Require(point != std::string::npos && point + 3 == amount.size() &&
                    IsGrouped(amount.substr(0, point)),
                "an amount has grouped units and two decimals");
        std::string typed = amount;
        Require(ParseAmount(typed) == std::strtod(fixed.c_str(), nullptr),
                "an amount parses back to the rounded value");
    }
    // Either convention's commas go: English thousands are dropped, Italian decimal commas
    // become the C library's point.
    ParseAmount(text);
    Require(text.find(',') == std::string::npos, "parsing leaves the text in the C convention");
}

// Amounts as a program meets them (whole cents), anywhere in the range, and every bit
// pattern, infinities and not-a-number included.
double ConsumeAmount(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return input.ConsumeIntegral<int32_t>() / 100.0;
    case 1:
        return input.ConsumeFloatingPoint<double>();
    default: {
        const uint64_t bits = input.ConsumeIntegral<uint64_t>();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    italianNumbers = input.ConsumeBool();
    const int64_t integer = input.ConsumeIntegral<int64_t>();
    const char fill = input.ConsumeIntegral<char>();
    const int width = input.ConsumeIntegralInRange(-4, 40);
    const double amount = ConsumeAmount(input);
    const std::string search = input.ConsumeRandomLengthString(8);
    const std::string replacement = input.ConsumeRandomLengthString(12);
    const std::string text = input.ConsumeRemainingBytesAsString();

    CheckReplace(text, search, replacement);
    CheckSplit(text, search);
    CheckUrl(text);
    CheckIntegers(integer, fill, width);
    CheckAmount(amount, text);
    for (unsigned char byte : text) {
        Require(std::strtol(ByteToHex(byte).c_str(), nullptr, 16) == byte,
                "a byte's two hex digits spell it");
    }
    return 0;
}
