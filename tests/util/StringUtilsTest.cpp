#include "util/StringUtils.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <tuple>

using namespace std::string_literals;

TEST(StringUtils, CaseTrimmingAndPaddingLeaveBytesAbove0x7FAndInnerSpaceAlone) {
    // Such bytes are negative as char: the C classifiers must see them as unsigned.
    EXPECT_EQ(ToUpper("abc XyZ 09-\xEC\0z"s), "ABC XYZ 09-\xEC\0Z"s);
    EXPECT_EQ(ToLower("ABC xYz 09-\xEC"), "abc xyz 09-\xEC");
    const char* const cases[][4] = {{" \t a  b \r\n", "a  b", "a  b \r\n", " \t a  b"},
                                    {" \t\n\v\f\r ", "", "", ""},
                                    {"\xEC x \xEC", "\xEC x \xEC", "\xEC x \xEC", "\xEC x \xEC"}};
    for (const auto& [text, both, left, right] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Trim(text) + "|" + TrimLeft(text) + "|" + TrimRight(text),
                  std::string(both) + "|" + left + "|" + right);
    }
    // Padding fills up to the width and never cuts.
    const std::tuple<const char*, int, const char*, const char*> pads[] = {
        {"7", 3, "007", "700"}, {"1234", 3, "1234", "1234"}, {"x", -5, "x", "x"}};
    for (const auto& [text, width, left, right] : pads) {
        EXPECT_EQ(PadLeft(text, '0', width) + "|" + PadRight(text, '0', width),
                  std::string(left) + "|" + right);
    }
}

TEST(StringUtils, ReplaceRescansShorterReplacementsAndAlwaysEnds) {
    // Replacements at least as long as the search text make one pass: rescanning them would
    // never end or, for the last row, double the text for every leading "a".
    const std::string as(39, 'a');
    const std::string cases[][4] = {
        {"aab", "ab", "b", "b"},         {"xaaabbby", "ab", "", "xy"},
        {"abc", "", "z", "abc"},         {"abab", "ab", "ab", "abab"},
        {"a.b.c", ".", "..", "a..b..c"}, {as + "ab", "ab", "bbaa", as + "bbaa"}};
    for (const auto& [text, search, replacement, expected] : cases) {
        EXPECT_EQ(Replace(text, search, replacement), expected)
            << text << " [" << search << " -> " << replacement << "]";
    }
    // A zero byte stands for the empty text.
    EXPECT_EQ(ReplaceChar("a-b-c", '-', '\0'), "abc");
    EXPECT_EQ(ReplaceChar("abc", '\0', 'x'), "abc");
    EXPECT_EQ(ReplaceChar("\xEC\xEC", '\xEC', 'i'), "ii");
}

TEST(StringUtils, SplitKeepsInnerEmptyPiecesButNoTrailingOne) {
    const char* const cases[][3] = {{"a,,b", ",", "[a][][b]"}, {"a,", ",", "[a]"},
                                    {",", ",", "[]"},          {"", ",", ""},
                                    {"abc", "", ""},           {"1<>2<", "<>", "[1][2<]"}};
    for (const auto& [text, separator, expected] : cases) {
        std::string pieces;
        for (const std::string& piece : Split(text, separator)) {
            pieces += "[" + piece + "]";
        }
        EXPECT_EQ(pieces, expected) << text << " by " << separator;
    }
}

TEST(StringUtils, NumbersPadWithZerosAfterTheSignAndGroupThousandsFromTheRight) {
    // value, fill, width, padded, grouped in thousands
    const std::tuple<int64_t, char, int, const char*, const char*> cases[] = {
        {5, '0', 2, "05", "5"},
        {-5, '0', 3, "-05", "-5"},
        {-5, ' ', 3, " -5", "-5"},
        {1000, '0', 2, "1000", "1.000"},
        {-123456, '0', 0, "-123456", "-123.456"},
        {INT64_MIN, '0', 0, "-9223372036854775808", "-9.223.372.036.854.775.808"}};
    for (const auto& [value, fill, width, padded, grouped] : cases) {
        EXPECT_EQ(IntToString(value, fill, width) + " " + FormatThousands(value),
                  padded + (" " + std::string(grouped)))
            << value << " to " << width;
    }
    EXPECT_EQ(ByteToHex(0x0A) + ByteToHex(0xFF) + ByteToHex('\xEC'), "0AFFEC");
    EXPECT_EQ(FormatFixed2(-1e20), "-100000000000000000000.00");
}

TEST(StringUtils, AmountsRoundToCentsFirstAndReadBackInEitherConvention) {
    const bool saved = italianNumbers;
    const std::tuple<double, const char*, const char*> cases[] = {
        {1234567.891, "1.234.567,89", "1,234,567.89"},
        {999.999, "1.000,00", "1,000.00"},
        {-0.5, "-0,50", "-0.50"},
        {-0.001, "0,00", "0.00"},
        {INFINITY, "inf", "inf"}};
    for (const auto& [value, italian, english] : cases) {
        // The program's own convention, untouched, is the Italian one.
        EXPECT_EQ(FormatAmount(value), italian) << value;
        italianNumbers = false;
        EXPECT_EQ(FormatAmount(value), english) << value;
        italianNumbers = saved;
    }
    const std::tuple<bool, const char*, double, const char*> parsed[] = {
        {true, "-1.000.000,01", -1000000.01, "-1000000.01"},
        {false, "1,234.50", 1234.5, "1234.50"}};
    for (const auto& [italian, text, value, rewritten] : parsed) {
        italianNumbers = italian;
        std::string edited = text;
        EXPECT_DOUBLE_EQ(ParseAmount(edited), value) << text;
        EXPECT_EQ(edited, rewritten);
    }
    italianNumbers = saved;
}

TEST(StringUtils, UrlEncodingEscapesAllButUnreservedBytesAndDecodingDropsBadEscapes) {
    EXPECT_EQ(UrlEncode("Az09-._~ &=/\xEC%+"), "Az09-._~%20%26%3D%2F%EC%25%2B");
    std::string everyByte;
    for (int byte = 1; byte < 256; ++byte) {
        everyByte.push_back(static_cast<char>(byte));
    }
    EXPECT_EQ(UrlDecode(UrlEncode(everyByte)), everyByte);
    // Escapes cut short at the end are kept as written.
    const char* const cases[][2] = {{"a+b", "a+b"},  {"%af%AF", "\xAF\xAF"},
                                    {"x%4g1", "x1"}, {"x%00y", "xy"},
                                    {"%", "%"},      {"%41%4", "A%4"}};
    for (const auto& [text, decoded] : cases) {
        EXPECT_EQ(UrlDecode(text), decoded) << text;
    }
}
