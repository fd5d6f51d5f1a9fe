#include "base/text.hpp"

#include <cmath>
#include <limits>

std::string FormatInteger(int64_t value) {
  // Work on the unsigned magnitude so the most negative value needs no special case.
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  char digits[24];
  char* start = digits + sizeof digits;
  do {
    *--start = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--start = '-';
  return std::string(start, digits + sizeof digits);
}

namespace {

// Value of `c` as a digit of `base`, or -1.
int DigitValue(char c, int base) {
  int digit = -1;
  if (c >= '0' && c <= '9') digit = c - '0';
  if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
  return digit < base ? digit : -1;
}

int BaseOfPrefix(char c) {
  if (c == '$') return 16;
  if (c == '%') return 2;
  return 10;
}

}  // namespace

ParsedInteger ParseIntegerChecked(const char* text) {
  if (text == nullptr) return {0, false};
  while (*text == ' ' || *text == '\t')
    ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  const int base = BaseOfPrefix(*text);
  if (base != 10) ++text;

  // Unsigned arithmetic wraps by definition; the wrapped value is the result.
  uint64_t magnitude = 0;
  bool wrapped = false;
  constexpr uint64_t Unsigned64Max = std::numeric_limits<uint64_t>::max();
  for (int digit = DigitValue(*text, base); digit >= 0; digit = DigitValue(*++text, base)) {
    if (magnitude > (Unsigned64Max - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) {
      wrapped = true;
    }
    magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  // A negative value may reach one further than a positive one.
  const uint64_t largest =
      static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) + (negative ? 1 : 0);
  const uint64_t bits = negative ? 0 - magnitude : magnitude;
  return {static_cast<int64_t>(bits), wrapped || magnitude > largest};
}

int64_t ParseInteger(const char* text) {
  return ParseIntegerChecked(text).value;
}

std::string TextField(const std::string& text, int field, const std::string& delimiter) {
  if (field < 1) return std::string();
  if (delimiter.empty()) return field == 1 ? text : std::string();
  const char separator = delimiter[0];
  std::size_t start = 0;
  for (int k = 1; k < field; ++k) {
    const std::size_t found = text.find(separator, start);
    if (found == std::string::npos) return std::string();
    start = found + 1;
  }
  const std::size_t end = text.find(separator, start);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string Trimmed(const std::string& text, const char* blanks) {
  const std::size_t begin = text.find_first_not_of(blanks);
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

std::string GroupedDigits(const std::string& digits) {
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string PadRight(const std::string& text, int width) {
  const std::size_t size = width < 0 ? 0 : static_cast<std::size_t>(width);
  std::string padded = text.substr(0, size);
  padded.resize(size, ' ');
  return padded;
}

float RoundReal(float value, int mode) {
  // Double precision inside, so adding one half never rounds before floor/ceil.
  const double x = value;
  if (mode == RoundUp) return static_cast<float>(std::ceil(x));
  if (mode == RoundNearest) {
    return static_cast<float>(x > 0 ? std::floor(x + 0.5) : std::ceil(x - 0.5));
  }
  return static_cast<float>(std::floor(x));
}

float PowerReal(float base, float exponent) {
  return static_cast<float>(std::pow(static_cast<double>(base), static_cast<double>(exponent)));
}
