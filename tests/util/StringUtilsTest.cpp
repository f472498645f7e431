#include "util/StringUtils.h"

#include <cstdint>
#include <gtest/gtest.h>

namespace {

// Switches the number convention for one test and puts the program's setting back afterwards.
class NumberConvention {
  public:
    explicit NumberConvention(bool italian) : saved(italianNumbers) { italianNumbers = italian; }
    ~NumberConvention() { italianNumbers = saved; }

  private:
    bool saved;
};

} // namespace

TEST(StringUtils, ItalianNumbersIsTheDefaultConvention) {
    EXPECT_TRUE(italianNumbers);
    EXPECT_EQ(DecimalSeparator(), ',');
    EXPECT_EQ(ThousandsSeparator(), '.');
    NumberConvention english(false);
    EXPECT_EQ(DecimalSeparator(), '.');
    EXPECT_EQ(ThousandsSeparator(), ',');
}

TEST(StringUtils, CaseConversionTouchesAsciiLettersOnly) {
    EXPECT_EQ(ToUpper("abc XyZ 09-"), "ABC XYZ 09-");
    EXPECT_EQ(ToLower("ABC xYz 09-"), "abc xyz 09-");
    // Bytes above 0x7F are negative as char; they must pass through, not crash or change.
    EXPECT_EQ(ToUpper("luned\xEC"), "LUNED\xEC");
    EXPECT_EQ(ToLower(std::string("A\0B", 3)), std::string("a\0b", 3));
}

TEST(StringUtils, TrimRemovesOuterWhiteSpaceOnly) {
    EXPECT_EQ(Trim(" \t a  b \r\n"), "a  b");
    EXPECT_EQ(Trim(" \t\n\v\f\r "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(TrimLeft("  a b  "), "a b  ");
    EXPECT_EQ(TrimRight("  a b  "), "  a b");
    EXPECT_EQ(TrimRight("   "), "");
    EXPECT_EQ(Trim("\xEC x \xEC"), "\xEC x \xEC");
}

TEST(StringUtils, PaddingFillsUpToTheWidthAndNeverCuts) {
    EXPECT_EQ(PadLeft("7", '0', 3), "007");
    EXPECT_EQ(PadLeft("1234", '0', 3), "1234");
    EXPECT_EQ(PadLeft("123", '0', 3), "123");
    EXPECT_EQ(PadLeft("", '*', 2), "**");
    EXPECT_EQ(PadRight("ab", '.', 4), "ab..");
    EXPECT_EQ(PadRight("abcde", '.', 4), "abcde");
    EXPECT_EQ(PadLeft("x", '0', -5), "x");
    EXPECT_EQ(PadRight("x", '0', 0), "x");
}

TEST(StringUtils, ReplaceAlsoReplacesTextItProduced) {
    EXPECT_EQ(Replace("aab", "ab", "b"), "b");
    EXPECT_EQ(Replace("aaaa", "aa", "a"), "a");
    EXPECT_EQ(Replace("xaaabbby", "ab", ""), "xy");
    EXPECT_EQ(Replace("hello world", "o", "0"), "hell0 w0rld");
    EXPECT_EQ(Replace("hello", "z", "y"), "hello");
    EXPECT_EQ(Replace("", "a", "b"), "");
    EXPECT_EQ(Replace("one, two, three", ", ", ";"), "one;two;three");
}

TEST(StringUtils, ReplaceEndsForEmptySearchAndSelfContainingReplacement) {
    EXPECT_EQ(Replace("abc", "", "z"), "abc");
    EXPECT_EQ(Replace("a.b.c", ".", ".."), "a..b..c");
    EXPECT_EQ(Replace("xx", "x", "xx"), "xxxx");
    EXPECT_EQ(Replace("abab", "ab", "ab"), "abab");
    EXPECT_EQ(Replace("%", "%", "%25"), "%25");
    // Rescanning this one would double the text for every leading "a".
    const std::string text = std::string(40, 'a') + "b";
    EXPECT_EQ(Replace(text, "ab", "bbaa"), std::string(39, 'a') + "bbaa");
}

TEST(StringUtils, ReplaceCharTreatsZeroAsTheEmptyText) {
    EXPECT_EQ(ReplaceChar("a-b-c", '-', '+'), "a+b+c");
    EXPECT_EQ(ReplaceChar("a-b-c", '-', '\0'), "abc");
    EXPECT_EQ(ReplaceChar("abc", '\0', 'x'), "abc");
    EXPECT_EQ(ReplaceChar("aaa", 'a', 'a'), "aaa");
    EXPECT_EQ(ReplaceChar("\xEC\xEC", '\xEC', 'i'), "ii");
}

TEST(StringUtils, SplitKeepsInnerEmptyPiecesButNoTrailingOne) {
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(Split("a,,b", ","), (Pieces{"a", "", "b"}));
    EXPECT_EQ(Split("a,", ","), (Pieces{"a"}));
    EXPECT_EQ(Split(",a", ","), (Pieces{"", "a"}));
    EXPECT_EQ(Split(",", ","), (Pieces{""}));
    EXPECT_EQ(Split("abc", ","), (Pieces{"abc"}));
    EXPECT_EQ(Split("", ","), Pieces{});
    EXPECT_EQ(Split("abc", ""), Pieces{});
    EXPECT_EQ(Split("1<>2<>3", "<>"), (Pieces{"1", "2", "3"}));
    EXPECT_EQ(Split("1<>2<", "<>"), (Pieces{"1", "2<"}));
}

TEST(StringUtils, IntToStringPadsWithZerosAfterTheSign) {
    EXPECT_EQ(IntToString(42), "42");
    EXPECT_EQ(IntToString(0), "0");
    EXPECT_EQ(IntToString(5, '0', 2), "05");
    EXPECT_EQ(IntToString(2026, '0', 2), "2026");
    EXPECT_EQ(IntToString(7, ' ', 3), "  7");
    EXPECT_EQ(IntToString(-5, '0', 3), "-05");
    EXPECT_EQ(IntToString(-5, ' ', 3), " -5");
    EXPECT_EQ(IntToString(INT64_MAX), "9223372036854775807");
    EXPECT_EQ(IntToString(INT64_MIN), "-9223372036854775808");
}

TEST(StringUtils, FormatFixed2RoundsToTwoDecimals) {
    EXPECT_EQ(FormatFixed2(3.14159), "3.14");
    EXPECT_EQ(FormatFixed2(-2.5), "-2.50");
    EXPECT_EQ(FormatFixed2(0.0), "0.00");
    EXPECT_EQ(FormatFixed2(1e20), "100000000000000000000.00");
}

TEST(StringUtils, ByteToHexGivesTwoUpperCaseDigits) {
    EXPECT_EQ(ByteToHex(10), "0A");
    EXPECT_EQ(ByteToHex(0), "00");
    EXPECT_EQ(ByteToHex(0xFF), "FF");
    EXPECT_EQ(ByteToHex(0x3c), "3C");
    // A char above 0x7F must not come out sign-extended as FFFFFFEC.
    const char accented = '\xEC';
    EXPECT_EQ(ByteToHex(accented), "EC");
}

TEST(StringUtils, FormatThousandsGroupsEveryThreeDigits) {
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1.000");
    EXPECT_EQ(FormatThousands(1234567), "1.234.567");
    EXPECT_EQ(FormatThousands(123456789012), "123.456.789.012");
    EXPECT_EQ(FormatThousands(1234567890123), "1.234.567.890.123");
    EXPECT_EQ(FormatThousands(-999), "-999");
    EXPECT_EQ(FormatThousands(-1234), "-1.234");
    EXPECT_EQ(FormatThousands(-123456), "-123.456");
    EXPECT_EQ(FormatThousands(INT64_MIN), "-9.223.372.036.854.775.808");
    NumberConvention english(false);
    EXPECT_EQ(FormatThousands(1234567), "1,234,567");
}

TEST(StringUtils, FormatAmountFollowsTheConvention) {
    EXPECT_EQ(FormatAmount(1234.5), "1.234,50");
    EXPECT_EQ(FormatAmount(0.0), "0,00");
    EXPECT_EQ(FormatAmount(999.994), "999,99");
    EXPECT_EQ(FormatAmount(1234567.891), "1.234.567,89");
    {
        NumberConvention english(false);
        EXPECT_EQ(FormatAmount(1234.5), "1,234.50");
        EXPECT_EQ(FormatAmount(1234567.891), "1,234,567.89");
        EXPECT_EQ(FormatAmount(-0.25), "-0.25");
    }
    EXPECT_EQ(FormatAmount(1234.5), "1.234,50");
}

TEST(StringUtils, FormatAmountRoundsBeforeSplittingAndKeepsTheSign) {
    EXPECT_EQ(FormatAmount(1.999), "2,00");
    EXPECT_EQ(FormatAmount(999.999), "1.000,00");
    EXPECT_EQ(FormatAmount(-0.5), "-0,50");
    EXPECT_EQ(FormatAmount(-1234.567), "-1.234,57");
    EXPECT_EQ(FormatAmount(-0.001), "0,00");
}

TEST(StringUtils, ParseAmountReadsBothConventionsAndRewritesTheText) {
    std::string italian = "1.234,50";
    EXPECT_DOUBLE_EQ(ParseAmount(italian), 1234.5);
    EXPECT_EQ(italian, "1234.50");
    std::string plain = "12,5";
    EXPECT_DOUBLE_EQ(ParseAmount(plain), 12.5);
    std::string negative = "-1.000.000,01";
    EXPECT_DOUBLE_EQ(ParseAmount(negative), -1000000.01);
    std::string empty;
    EXPECT_DOUBLE_EQ(ParseAmount(empty), 0.0);
    std::string roundTrip = FormatAmount(98765.43);
    EXPECT_DOUBLE_EQ(ParseAmount(roundTrip), 98765.43);

    NumberConvention english(false);
    std::string us = "1,234.50";
    EXPECT_DOUBLE_EQ(ParseAmount(us), 1234.5);
    EXPECT_EQ(us, "1234.50");
}

TEST(StringUtils, UrlEncodeEscapesAllButUnreservedBytes) {
    EXPECT_EQ(UrlEncode(" "), "%20");
    EXPECT_EQ(UrlEncode("Az09-._~"), "Az09-._~");
    EXPECT_EQ(UrlEncode("a b&c=d/e"), "a%20b%26c%3Dd%2Fe");
    EXPECT_EQ(UrlEncode("\xEC%+"), "%EC%25%2B");
    EXPECT_EQ(UrlEncode(""), "");
}

TEST(StringUtils, UrlDecodeTurnsEscapesBackIntoBytes) {
    EXPECT_EQ(UrlDecode("%41b"), "Ab");
    EXPECT_EQ(UrlDecode("a+b"), "a+b");
    EXPECT_EQ(UrlDecode("%ec%EC"), "\xEC\xEC");
    // A malformed escape and an encoded zero byte are consumed without output.
    EXPECT_EQ(UrlDecode("x%zz1"), "x1");
    EXPECT_EQ(UrlDecode("x%4g1"), "x1");
    EXPECT_EQ(UrlDecode("x%00y"), "xy");
    // Every byte but zero survives a round trip.
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
    }
    EXPECT_EQ(UrlDecode(UrlEncode(all)), all);
}

TEST(StringUtils, UrlDecodeKeepsAPercentSignCutShortAtTheEnd) {
    EXPECT_EQ(UrlDecode("%"), "%");
    EXPECT_EQ(UrlDecode("ab%"), "ab%");
    EXPECT_EQ(UrlDecode("ab%4"), "ab%4");
    EXPECT_EQ(UrlDecode("%41%4"), "A%4");
    // Decoding a piece that ends inside an escape must not look past the piece.
    const std::string longer = "x%41";
    EXPECT_EQ(UrlDecode(longer.substr(0, 3)), "x%4");
}
