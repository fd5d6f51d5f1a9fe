// Text and number conversion: the exact rules every shown number and every
// typed number goes through. Portable: no platform header.
#pragma once

#include <cstdint>
#include <string>

// Decimal text of `value`: no sign for non-negative values, no fill, no grouping.
std::string FormatInteger(int64_t value);

// Leading blanks/tabs, optional sign, "$" hex or "%" binary prefix, digits up to
// the first non-digit; wraps silently on 64-bit overflow. Null reads as "".
int64_t ParseInteger(const char* text);
inline int64_t ParseInteger(const std::string& text) {
  return ParseInteger(text.c_str());
}

// ParseInteger's value together with whether the digits overflowed, so callers
// can refuse a number whose wrapped value would look acceptable.
struct ParsedInteger {
  int64_t value;    // always equals ParseInteger of the same text
  bool overflowed;  // the typed magnitude does not fit in a signed 64-bit value
};
ParsedInteger ParseIntegerChecked(const char* text);

// Field `field` (1-based) of `text` split at the first character of `delimiter`;
// empty when there is no such field. An empty delimiter makes the text field 1.
std::string TextField(const std::string& text, int field, const std::string& delimiter);

// `text` without the characters of `blanks` at either end.
std::string Trimmed(const std::string& text, const char* blanks = " \t");

// The digits of a decimal number with a comma before each group of three
// from the right ("1,024"); text of any width, so any count's digits can go in.
std::string GroupedDigits(const std::string& digits);

// `text` cut or blank-filled to exactly `width` characters (negative width = 0).
std::string PadRight(const std::string& text, int width);

// Rounding modes of RoundReal: 0 down, 1 up, 2 nearest with halves away from zero.
constexpr int RoundDown = 0, RoundUp = 1, RoundNearest = 2;
float RoundReal(float value, int mode);

// base ** exponent, rounded to single precision; exact for 2 ** whole k <= 24.
float PowerReal(float base, float exponent);
