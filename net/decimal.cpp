#include "net/decimal.hpp"

#include <cstring>

#include "base/text.hpp"

namespace {

constexpr uint32_t NineDigits = 1000000000u;

// Divides the limbs (most significant first) by 10^9 in place; returns the remainder.
uint32_t DivideLimbs(uint32_t* limbs, int count) {
  uint64_t remainder = 0;
  for (int i = 0; i < count; ++i) {
    const uint64_t current = remainder << 32 | limbs[i];
    limbs[i] = static_cast<uint32_t>(current / NineDigits);
    remainder = current % NineDigits;
  }
  return static_cast<uint32_t>(remainder);
}

bool AllZero(const uint32_t* limbs, int count) {
  for (int i = 0; i < count; ++i) {
    if (limbs[i] != 0) return false;
  }
  return true;
}

// The digits of a number wider than 64 bits: nine at a time from the end.
char* WriteLimbs(char* out, uint32_t* limbs, int count) {
  char digits[MaxCountLength + 9];
  char* start = digits + sizeof digits;
  do {
    uint32_t chunk = DivideLimbs(limbs, count);
    const bool last = AllZero(limbs, count);
    for (int i = 0; i < 9 && (!last || chunk != 0); ++i) {
      *--start = static_cast<char>('0' + chunk % 10);
      chunk /= 10;
    }
  } while (!AllZero(limbs, count));
  const std::size_t length = static_cast<std::size_t>(digits + sizeof digits - start);
  std::memcpy(out, start, length);
  return out + length;
}

void SplitHalf(uint64_t half, uint32_t* limbs) {
  limbs[0] = static_cast<uint32_t>(half >> 32);
  limbs[1] = static_cast<uint32_t>(half);
}

}  // namespace

char* WriteDecimal(char* out, uint64_t value) {
  // Digits from the end; 32-bit division where the value allows, as it does
  // for every index of a listing but the largest.
  char digits[MaxDecimal64Length];
  char* start = digits + sizeof digits;
  for (; value > 0xFFFFFFFFu; value /= 10)
    *--start = static_cast<char>('0' + value % 10);
  uint32_t small = static_cast<uint32_t>(value);
  do {
    *--start = static_cast<char>('0' + small % 10);
    small /= 10;
  } while (small != 0);
  const std::size_t length = static_cast<std::size_t>(digits + sizeof digits - start);
  std::memcpy(out, start, length);
  return out + length;
}

char* WriteDecimal(char* out, const Uint128& value) {
  if (value.high == 0) return WriteDecimal(out, value.low);
  uint32_t limbs[4];
  SplitHalf(value.high, limbs);
  SplitHalf(value.low, limbs + 2);
  return WriteLimbs(out, limbs, 4);
}

char* WriteDecimal(char* out, const AddressCount& value) {
  if (value.high == 0) return WriteDecimal(out, value.low);
  uint32_t limbs[6];
  SplitHalf(value.high, limbs);
  SplitHalf(value.low.high, limbs + 2);
  SplitHalf(value.low.low, limbs + 4);
  return WriteLimbs(out, limbs, 6);
}

int DecimalWidth(uint64_t value) {
  int width = 1;
  while (value >= 10) {
    value /= 10;
    ++width;
  }
  return width;
}

int DecimalWidth(const Uint128& value) {
  char text[MaxDecimal128Length];
  return static_cast<int>(WriteDecimal(text, value) - text);
}

std::string DecimalText(const AddressCount& value) {
  char text[MaxCountLength];
  return std::string(text, WriteDecimal(text, value));
}

std::string GroupedDecimal(const AddressCount& value) {
  return GroupedDigits(DecimalText(value));
}

bool ReadDecimal(const char* at, const char* end, AddressCount& value) {
  if (at == end) return false;
  value = AddressCount();
  for (; at != end; ++at) {
    if (*at < '0' || *at > '9') return false;
    // value * 10 + digit as (value << 3) + (value << 1) + digit, saturating.
    AddressCount times2 = value + value;
    AddressCount times8 = times2 + times2;
    times8 += times8;
    value = times8 + times2 + AddressCount(static_cast<uint64_t>(*at - '0'));
  }
  return true;
}

bool ReadDecimal(const std::string& text, AddressCount& value) {
  return ReadDecimal(text.data(), text.data() + text.size(), value);
}
