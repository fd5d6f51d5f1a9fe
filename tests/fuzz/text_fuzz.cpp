// Fuzzes the text conversions: ParseIntegerChecked against a reference that
// keeps the exact magnitude in 128 bits, FormatInteger round trips, and the
// field, padding and rounding rules as properties.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "base/text.hpp"
#include "tests/fuzz/fuzz_check.hpp"

namespace {

using Wide = unsigned __int128;

struct ReferenceNumber {
  int64_t value;
  bool overflowed;
};

// Digit value of `c` in `base`, found by position in the digit list.
int ReferenceDigit(char c, unsigned base) {
  const char* digits = base == 16 ? "0123456789abcdef" : (base == 2 ? "01" : "0123456789");
  const char lower = (c >= 'A' && c <= 'F') && base == 16 ? static_cast<char>(c - 'A' + 'a') : c;
  const char* found = lower == '\0' ? nullptr : std::strchr(digits, lower);
  return found == nullptr ? -1 : static_cast<int>(found - digits);
}

// The documented reading, digit by digit: the exact magnitude (capped far
// above 2^64) decides overflow, its low 64 bits give the value.
ReferenceNumber ReferenceParse(const char* text) {
  std::size_t at = 0;
  while (text[at] == ' ' || text[at] == '\t')
    ++at;
  const bool negative = text[at] == '-';
  if (text[at] == '-' || text[at] == '+') ++at;
  unsigned base = 10;
  if (text[at] == '$' || text[at] == '%') base = text[at++] == '$' ? 16 : 2;
  const Wide cap = Wide{1} << 70;
  Wide exact = 0;
  Wide lowBits = 0;
  for (int digit = ReferenceDigit(text[at], base); digit >= 0;
       digit = ReferenceDigit(text[++at], base)) {
    exact = std::min(cap, exact * base + static_cast<unsigned>(digit));
    lowBits = (lowBits * base + static_cast<unsigned>(digit)) & ~uint64_t{0};
  }
  const Wide largest = (Wide{1} << 63) - (negative ? 0 : 1);
  const uint64_t magnitude = static_cast<uint64_t>(lowBits);
  const uint64_t bits = negative ? ~magnitude + 1 : magnitude;
  int64_t value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return {value, exact > largest};
}

void CheckParse(const std::string& text) {
  const ParsedInteger parsed = ParseIntegerChecked(text.c_str());
  const ReferenceNumber expected = ReferenceParse(text.c_str());
  FUZZ_CHECK(parsed.value == expected.value);
  FUZZ_CHECK(parsed.overflowed == expected.overflowed);
  FUZZ_CHECK(ParseInteger(text.c_str()) == parsed.value);
  FUZZ_CHECK(ParseInteger(text) == parsed.value);
}

void CheckFormat(const uint8_t* data, std::size_t size) {
  int64_t value = 0;
  std::memcpy(&value, data, std::min(size, sizeof value));
  const std::string text = FormatInteger(value);
  const ParsedInteger back = ParseIntegerChecked(text.c_str());
  FUZZ_CHECK(back.value == value && !back.overflowed);
  const std::size_t digitsAt = value < 0 ? 1 : 0;
  FUZZ_CHECK(text.size() > digitsAt && (text[digitsAt] != '0' || text.size() == digitsAt + 1));
  FUZZ_CHECK(text.find_first_not_of("0123456789", digitsAt) == std::string::npos);
}

// Joining fields 1 .. n with the separator gives the text back; field n + 1 is empty.
void CheckFields(const std::string& text, const std::string& delimiter) {
  FUZZ_CHECK(TextField(text, 0, delimiter).empty());
  if (delimiter.empty()) {
    FUZZ_CHECK(TextField(text, 1, delimiter) == text);
    FUZZ_CHECK(TextField(text, 2, delimiter).empty());
    return;
  }
  const char separator = delimiter[0];
  const int fields = 1 + static_cast<int>(std::count(text.begin(), text.end(), separator));
  std::string joined;
  for (int field = 1; field <= fields; ++field) {
    const std::string piece = TextField(text, field, delimiter);
    FUZZ_CHECK(piece.find(separator) == std::string::npos);
    joined += (field == 1 ? "" : std::string(1, separator)) + piece;
  }
  FUZZ_CHECK(joined == text);
  FUZZ_CHECK(TextField(text, fields + 1, delimiter).empty());
}

void CheckPad(const std::string& text, int width) {
  const std::string padded = PadRight(text, width);
  const std::size_t size = static_cast<std::size_t>(std::max(width, 0));
  FUZZ_CHECK(padded.size() == size);
  const std::size_t kept = std::min(size, text.size());
  FUZZ_CHECK(padded.compare(0, kept, text, 0, kept) == 0);
  FUZZ_CHECK(padded.find_first_not_of(' ', kept) == std::string::npos);
}

void CheckRound(float value, int mode) {
  if (!std::isfinite(value)) return;
  const float rounded = RoundReal(value, mode);
  const double x = value;
  const double r = rounded;
  FUZZ_CHECK(std::floor(r) == r);
  // Whole numbers stay; every other single is below 2^23, where r - 1, r + 1
  // and r - x are exact in double.
  if (std::floor(x) == x) {
    FUZZ_CHECK(r == x);
    return;
  }
  if (mode == RoundUp) {
    FUZZ_CHECK(r >= x && r - 1 < x);
  } else if (mode == RoundNearest) {
    // Halves go away from zero.
    FUZZ_CHECK(std::fabs(r - x) < 0.5 || (std::fabs(r - x) == 0.5 && std::fabs(r) > std::fabs(x)));
  } else {
    FUZZ_CHECK(r <= x && r + 1 > x);
  }
}

// Powers of two stay exact up to 2^24, the largest a plan needs.
void CheckPower(int exponent) {
  const int k = exponent % 25;
  FUZZ_CHECK(PowerReal(2.0f, static_cast<float>(k)) == static_cast<float>(int32_t{1} << k));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckParse(text);
  CheckFormat(data, size);
  const bool noDelimiter = size == 0 || data[0] == 0;
  CheckFields(text, noDelimiter ? std::string() : text.substr(0, 2));
  int16_t widthBits = 0;
  std::memcpy(&widthBits, data, std::min(size, sizeof widthBits));
  CheckPad(text, widthBits / 8);
  float real = 0;
  std::memcpy(&real, data, std::min(size, sizeof real));
  CheckRound(real, size > sizeof real ? static_cast<int8_t>(data[sizeof real]) : RoundNearest);
  CheckPower(size > sizeof real + 1 ? data[sizeof real + 1] : 24);
  return 0;
}
