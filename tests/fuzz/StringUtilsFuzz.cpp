// The string helpers on texts and numbers cut from the input, each held to a property that
// must hold for every argument: replacing and splitting find the same occurrences,
// percent-encoding leaves only unreserved bytes and decodes back, and the number formats
// show exactly the digits of the number, grouped by three.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "util/StringUtils.h"

namespace {

void CheckReplaceAndSplit(const std::string& text, const std::string& search,
                          const std::string& replacement) {
    const std::string result = Replace(text, search, replacement);
    const std::vector<std::string> pieces = Split(text, search);
    if (text.empty() || search.empty()) {
        Require(result == text && pieces.empty(), "nothing is split or replaced by nothing");
        return;
    }
    std::string joined;
    std::string replaced;
    for (size_t i = 0; i < pieces.size(); ++i) {
        joined += (i > 0 ? search : "") + pieces[i];
        replaced += (i > 0 ? replacement : "") + pieces[i];
    }
    // A separator at the very end leaves no empty last piece, so joining loses only it.
    const bool trailing = joined + search == text;
    Require(joined == text || trailing, "the pieces join back into the text");
    if (replacement.size() >= search.size()) {
        // Looking again at what was put in could go on for ever, so such a replacement
        // makes one pass.
        Require(result == replaced + (trailing ? replacement : ""),
                "a replacement at least as long replaces each occurrence once");
        return;
    }
    // A shorter one does as the definition says: the first occurrence from the start, again
    // and again.
    std::string stepped = text;
    for (size_t at = stepped.find(search); at != std::string::npos; at = stepped.find(search)) {
        stepped.replace(at, search.size(), replacement);
    }
    Require(result == stepped, "a shorter replacement gives what one at a time gives");
}

void CheckUrl(std::string text) {
    const std::string encoded = UrlEncode(text);
    for (const char c : encoded) {
        Require(std::isalnum(static_cast<unsigned char>(c)) ||
                    (c != '\0' && std::strchr("-._~%", c) != nullptr),
                "only unreserved bytes and escapes are left");
    }
    // A decoded 0 byte appends nothing, so a text comes back less its 0 bytes.
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    Require(UrlDecode(encoded) == text, "decoding gives the encoded text back");
}

// The sign, then the digits with a separator before every third from the right.
std::string Grouped(std::string plain) {
    const size_t start = !plain.empty() && plain[0] == '-' ? 1 : 0;
    for (size_t at = plain.size(); at > start + 3; at -= 3) {
        plain.insert(at - 3, 1, ThousandsSeparator());
    }
    return plain;
}

void CheckNumbers(int64_t value, double amount) {
    Require(FormatThousands(value) == Grouped(std::to_string(static_cast<long long>(value))),
            "a number is its decimal digits, grouped by three");

    const std::string fixed = FormatFixed2(amount);
    const std::string shown = FormatAmount(amount);
    const size_t point = fixed.find('.');
    if (point == std::string::npos) {
        Require(shown == fixed, "infinities and not-a-number are shown as they are");
        return;
    }
    // Rounding can leave -0.00, which shows no sign.
    const std::string meant =
        Grouped(fixed.substr(0, point)) + DecimalSeparator() + fixed.substr(point + 1);
    std::string typed = shown;
    Require((shown == meant || "-" + shown == meant) &&
                ParseAmount(typed) == std::strtod(fixed.c_str(), nullptr),
            "an amount shows its units grouped and two decimals, and parses back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    italianNumbers = input.ConsumeBool();
    const int64_t integer = input.ConsumeIntegral<int64_t>();
    // Amounts as a program meets them (whole cents), anywhere in the range, and every bit
    // pattern, infinities and not-a-number included.
    const int kind = input.ConsumeIntegralInRange(0, 2);
    double amount = kind == 0   ? input.ConsumeIntegral<int32_t>() / 100.0
                    : kind == 1 ? input.ConsumeFloatingPoint<double>()
                                : 0;
    if (kind == 2) {
        const uint64_t bits = input.ConsumeIntegral<uint64_t>();
        std::memcpy(&amount, &bits, sizeof amount);
    }
    const std::string search = input.ConsumeRandomLengthString(8);
    const std::string replacement = input.ConsumeRandomLengthString(12);
    const std::string text = input.ConsumeRemainingBytesAsString();

    CheckReplaceAndSplit(text, search, replacement);
    CheckUrl(text);
    CheckNumbers(integer, amount);
    return 0;
}
