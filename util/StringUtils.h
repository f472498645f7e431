#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Byte-string helpers used across the program. Every function works on single bytes with the C
// character classes of the current locale, so texts in ISO 8859-1 pass through unharmed.

// Number convention: true for the Italian one (1.234,50), false for the English one (1,234.50).
// The program never changes it; tests flip it to check both conventions.
extern bool italianNumbers;

// Case and white space
std::string ToUpper(const std::string& text);
std::string ToLower(const std::string& text);
std::string Trim(const std::string& text);
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);

// Padding
std::string PadLeft(const std::string& text, char fill, int width);
std::string PadRight(const std::string& text, char fill, int width);

// Search and replace, splitting
std::string Replace(const std::string& text, const std::string& search,
                    const std::string& replacement);
std::string ReplaceChar(const std::string& text, char from, char to);
std::vector<std::string> Split(const std::string& text, const std::string& separator);

// Numbers to text
std::string IntToString(int64_t value, char fill, int width);
std::string IntToString(int64_t value);
std::string FormatFixed2(double value);
std::string ByteToHex(unsigned char value);
std::string FormatThousands(int64_t value);
std::string FormatAmount(double value);

// Text to numbers, and the separators of the current convention
double ParseAmount(std::string& text);
char DecimalSeparator();
char ThousandsSeparator();

// Percent-encoding
std::string UrlEncode(const std::string& text);
std::string UrlDecode(const std::string& text);
