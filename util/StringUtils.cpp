#include "util/StringUtils.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

bool italianNumbers = true;

namespace {

// The <cctype> classifiers take an int that must be EOF or an unsigned char value; a plain char
// above 0x7F is negative and would be undefined behaviour, so every byte goes through here.
unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

bool IsSpace(char c) {
    return std::isspace(Byte(c)) != 0;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Puts the thousands separator between every group of three digits, counting from the right.
// The argument holds digits only: signs are dealt with by the callers.
std::string GroupThousands(const std::string& digits) {
    std::string grouped;
    grouped.reserve(digits.size() + digits.size() / 3);
    const size_t count = digits.size();
    for (size_t i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0) {
            grouped.push_back(ThousandsSeparator());
        }
        grouped.push_back(digits[i]);
    }
    return grouped;
}

// Replacement that looks again at the text it has just produced, so that "ab" -> "b" turns
// "aab" into "b". Only used when the replacement is shorter than the search text: every
// replacement then shortens the text, which is what guarantees an end. Bytes already known to
// hold no occurrence sit in `out`; an occurrence is found as soon as its last byte arrives, and
// the replacement is pushed back in front of the unread input so that it is scanned again
// together with whatever precedes it.
std::string ReplaceRescanning(const std::string& text, const std::string& search,
                              const std::string& replacement) {
    std::string out;
    out.reserve(text.size());
    std::string pending; // bytes to scan before text[next], in reverse order
    size_t next = 0;
    while (!pending.empty() || next < text.size()) {
        if (!pending.empty()) {
            out.push_back(pending.back());
            pending.pop_back();
        } else {
            out.push_back(text[next++]);
        }
        if (out.size() >= search.size() &&
            out.compare(out.size() - search.size(), search.size(), search) == 0) {
            out.resize(out.size() - search.size());
            pending.append(replacement.rbegin(), replacement.rend());
        }
    }
    return out;
}

// One pass from left to right, each occurrence of the original text replaced once.
std::string ReplaceOnce(const std::string& text, const std::string& search,
                        const std::string& replacement) {
    std::string out;
    size_t from = 0;
    for (size_t found = text.find(search); found != std::string::npos;
         found = text.find(search, from)) {
        out.append(text, from, found - from);
        out.append(replacement);
        from = found + search.size();
    }
    out.append(text, from, std::string::npos);
    return out;
}

} // namespace

std::string ToUpper(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        c = static_cast<char>(std::toupper(Byte(c)));
    }
    return result;
}

std::string ToLower(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        c = static_cast<char>(std::tolower(Byte(c)));
    }
    return result;
}

std::string Trim(const std::string& text) {
    return TrimLeft(TrimRight(text));
}

std::string TrimLeft(const std::string& text) {
    size_t start = 0;
    while (start < text.size() && IsSpace(text[start])) {
        ++start;
    }
    return text.substr(start);
}

std::string TrimRight(const std::string& text) {
    size_t end = text.size();
    while (end > 0 && IsSpace(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

std::string PadLeft(const std::string& text, char fill, int width) {
    if (width <= 0 || text.size() >= static_cast<size_t>(width)) {
        return text;
    }
    return std::string(static_cast<size_t>(width) - text.size(), fill) + text;
}

std::string PadRight(const std::string& text, char fill, int width) {
    if (width <= 0 || text.size() >= static_cast<size_t>(width)) {
        return text;
    }
    return text + std::string(static_cast<size_t>(width) - text.size(), fill);
}

std::string Replace(const std::string& text, const std::string& search,
                    const std::string& replacement) {
    // An empty search text occurs everywhere and nowhere: there is nothing sensible to replace.
    if (search.empty()) {
        return text;
    }
    // Looking again at produced text could run forever (or grow the text without bound) once
    // the replacement is at least as long as what it replaces, so such replacements make a
    // single pass.
    if (replacement.size() < search.size()) {
        return ReplaceRescanning(text, search, replacement);
    }
    return ReplaceOnce(text, search, replacement);
}

std::string ReplaceChar(const std::string& text, char from, char to) {
    const std::string search = from == '\0' ? std::string() : std::string(1, from);
    const std::string replacement = to == '\0' ? std::string() : std::string(1, to);
    return Replace(text, search, replacement);
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    if (text.empty() || separator.empty()) {
        return pieces;
    }
    size_t start = 0;
    while (true) {
        const size_t found = text.find(separator, start);
        if (found == std::string::npos) {
            if (start < text.size()) {
                pieces.push_back(text.substr(start));
            }
            return pieces;
        }
        pieces.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
}

std::string IntToString(int64_t value, char fill, int width) {
    const std::string text = std::to_string(static_cast<long long>(value));
    // Zeros belong between the sign and the digits: -5 to width 3 is -05, not 0-5.
    if (value < 0 && fill == '0') {
        return "-" + PadLeft(text.substr(1), fill, width - 1);
    }
    return PadLeft(text, fill, width);
}

std::string IntToString(int64_t value) {
    return IntToString(value, '0', 0);
}

std::string FormatFixed2(double value) {
    const int length = std::snprintf(nullptr, 0, "%.2f", value);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(&text[0], text.size(), "%.2f", value);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string ByteToHex(unsigned char value) {
    static const char kDigits[] = "0123456789ABCDEF";
    return std::string{kDigits[value >> 4], kDigits[value & 0x0F]};
}

std::string FormatThousands(int64_t value) {
    // The magnitude is taken unsigned so that the most negative value has one too.
    const uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    const std::string grouped = GroupThousands(std::to_string(magnitude));
    return value < 0 ? "-" + grouped : grouped;
}

std::string FormatAmount(double value) {
    // Rounding to cents comes first, so 1.999 reads 2,00 and the integer part always agrees
    // with the decimals; the sign is kept apart so that -0.5 keeps it.
    const std::string fixed = FormatFixed2(value);
    const size_t point = fixed.find('.');
    if (point == std::string::npos) {
        return fixed; // inf and nan have no digits to group
    }
    bool negative = !fixed.empty() && fixed[0] == '-';
    const size_t digitsStart = negative ? 1 : 0;
    const std::string digits = fixed.substr(digitsStart, point - digitsStart);
    const std::string cents = fixed.substr(point + 1);
    if (negative && (digits + cents).find_first_not_of('0') == std::string::npos) {
        negative = false; // -0.001 rounds to zero, and zero has no sign
    }
    return (negative ? "-" : "") + GroupThousands(digits) + DecimalSeparator() + cents;
}

double ParseAmount(std::string& text) {
    text = ReplaceChar(text, ThousandsSeparator(), '\0');
    if (italianNumbers) {
        text = ReplaceChar(text, ',', '.');
    }
    return std::strtod(text.c_str(), nullptr);
}

char DecimalSeparator() {
    return italianNumbers ? ',' : '.';
}

char ThousandsSeparator() {
    return italianNumbers ? '.' : ',';
}

std::string UrlEncode(const std::string& text) {
    std::string encoded;
    encoded.reserve(text.size());
    for (char c : text) {
        if (std::isalnum(Byte(c)) || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded.push_back(c);
        } else {
            encoded.push_back('%');
            encoded += ByteToHex(Byte(c));
        }
    }
    return encoded;
}

std::string UrlDecode(const std::string& text) {
    std::string decoded;
    decoded.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '%') {
            decoded.push_back(text[i]);
            ++i;
            continue;
        }
        if (text.size() - i < 3) {
            // A percent sign cut short at the end is not an escape: keep it as written.
            decoded.append(text, i, std::string::npos);
            break;
        }
        const int high = HexValue(text[i + 1]);
        const int low = HexValue(text[i + 2]);
        // A malformed escape and an encoded 0 byte are consumed without leaving anything.
        if (high >= 0 && low >= 0 && (high != 0 || low != 0)) {
            decoded.push_back(static_cast<char>(high * 16 + low));
        }
        i += 3;
    }
    return decoded;
}
