// An unsigned 128-bit integer of two 64-bit halves with the operators of a
// built-in type, for IPv6 addresses, indexes and counts. GCC's __int128 is
// missing on 32-bit targets, and this type costs no more where the high half
// is zero. Shifts by 128 or more give 0, so masks need no special case.
#pragma once

#include <cstdint>

struct Uint128 {
  uint64_t high = 0;
  uint64_t low = 0;

  constexpr Uint128() = default;
  constexpr Uint128(uint64_t value) : low(value) {}  // NOLINT(runtime/explicit)
  constexpr Uint128(uint64_t highHalf, uint64_t lowHalf) : high(highHalf), low(lowHalf) {}

  constexpr explicit operator bool() const { return (high | low) != 0; }
  constexpr explicit operator uint64_t() const { return low; }
  constexpr explicit operator uint32_t() const { return static_cast<uint32_t>(low); }

  static constexpr Uint128 Max() { return Uint128(~uint64_t{0}, ~uint64_t{0}); }
};

constexpr bool operator==(const Uint128& a, const Uint128& b) {
  return a.high == b.high && a.low == b.low;
}
constexpr bool operator!=(const Uint128& a, const Uint128& b) {
  return !(a == b);
}
constexpr bool operator<(const Uint128& a, const Uint128& b) {
  return a.high != b.high ? a.high < b.high : a.low < b.low;
}
constexpr bool operator>(const Uint128& a, const Uint128& b) {
  return b < a;
}
constexpr bool operator<=(const Uint128& a, const Uint128& b) {
  return !(b < a);
}
constexpr bool operator>=(const Uint128& a, const Uint128& b) {
  return !(a < b);
}

constexpr Uint128 operator~(const Uint128& a) {
  return Uint128(~a.high, ~a.low);
}
constexpr Uint128 operator&(const Uint128& a, const Uint128& b) {
  return Uint128(a.high & b.high, a.low & b.low);
}
constexpr Uint128 operator|(const Uint128& a, const Uint128& b) {
  return Uint128(a.high | b.high, a.low | b.low);
}
constexpr Uint128 operator^(const Uint128& a, const Uint128& b) {
  return Uint128(a.high ^ b.high, a.low ^ b.low);
}

// Both wrap modulo 2^128, as unsigned built-ins do.
constexpr Uint128 operator+(const Uint128& a, const Uint128& b) {
  const uint64_t low = a.low + b.low;
  return Uint128(a.high + b.high + (low < a.low ? 1 : 0), low);
}
constexpr Uint128 operator-(const Uint128& a, const Uint128& b) {
  return Uint128(a.high - b.high - (a.low < b.low ? 1 : 0), a.low - b.low);
}

constexpr Uint128 operator<<(const Uint128& a, int shift) {
  if (shift <= 0) return a;
  if (shift >= 128) return Uint128();
  if (shift >= 64) return Uint128(a.low << (shift - 64), 0);
  return Uint128(a.high << shift | a.low >> (64 - shift), a.low << shift);
}
constexpr Uint128 operator>>(const Uint128& a, int shift) {
  if (shift <= 0) return a;
  if (shift >= 128) return Uint128();
  if (shift >= 64) return Uint128(0, a.high >> (shift - 64));
  return Uint128(a.high >> shift, a.low >> shift | a.high << (64 - shift));
}

constexpr Uint128& operator+=(Uint128& a, const Uint128& b) {
  return a = a + b;
}
constexpr Uint128& operator-=(Uint128& a, const Uint128& b) {
  return a = a - b;
}
constexpr Uint128& operator&=(Uint128& a, const Uint128& b) {
  return a = a & b;
}
constexpr Uint128& operator|=(Uint128& a, const Uint128& b) {
  return a = a | b;
}
constexpr Uint128& operator<<=(Uint128& a, int shift) {
  return a = a << shift;
}
constexpr Uint128& operator>>=(Uint128& a, int shift) {
  return a = a >> shift;
}
constexpr Uint128& operator++(Uint128& a) {
  return a = a + 1;
}
constexpr Uint128& operator--(Uint128& a) {
  return a = a - 1;
}

// The full 128-bit product of two 64-bit values.
constexpr Uint128 MultiplyWide(uint64_t a, uint64_t b) {
  const uint64_t aLow = a & 0xFFFFFFFFu, aHigh = a >> 32;
  const uint64_t bLow = b & 0xFFFFFFFFu, bHigh = b >> 32;
  const uint64_t lowLow = aLow * bLow, lowHigh = aLow * bHigh;
  const uint64_t highLow = aHigh * bLow, highHigh = aHigh * bHigh;
  const uint64_t middle = (lowLow >> 32) + (lowHigh & 0xFFFFFFFFu) + (highLow & 0xFFFFFFFFu);
  return Uint128(highHigh + (lowHigh >> 32) + (highLow >> 32) + (middle >> 32),
                 (middle << 32) | (lowLow & 0xFFFFFFFFu));
}

// The low 128 bits of the product, as a built-in's * gives them.
constexpr Uint128 operator*(const Uint128& a, const Uint128& b) {
  Uint128 product = MultiplyWide(a.low, b.low);
  product.high += a.high * b.low + a.low * b.high;
  return product;
}

// Quotient and remainder by a non-zero 32-bit divisor, in 32-bit steps that
// every target has.
struct Uint128Division {
  Uint128 quotient;
  uint32_t remainder = 0;
};
constexpr Uint128Division DivideBy(const Uint128& value, uint32_t divisor) {
  const uint64_t parts[4] = {value.high >> 32, value.high & 0xFFFFFFFFu, value.low >> 32,
                             value.low & 0xFFFFFFFFu};
  uint64_t quotient[4] = {0, 0, 0, 0};
  uint64_t remainder = 0;
  for (int i = 0; i < 4; ++i) {
    const uint64_t current = remainder << 32 | parts[i];
    quotient[i] = current / divisor;
    remainder = current % divisor;
  }
  return Uint128Division{Uint128(quotient[0] << 32 | quotient[1], quotient[2] << 32 | quotient[3]),
                         static_cast<uint32_t>(remainder)};
}

// Position of the highest one bit plus one: 0 for 0, 128 for 2^127 and above.
constexpr int BitLength(const Uint128& a) {
  if (a.high != 0) return 128 - __builtin_clzll(a.high);
  return a.low != 0 ? 64 - __builtin_clzll(a.low) : 0;
}
// Number of zero bits below the lowest one bit: 128 for 0.
constexpr int TrailingZeros(const Uint128& a) {
  if (a.low != 0) return __builtin_ctzll(a.low);
  return a.high != 0 ? 64 + __builtin_ctzll(a.high) : 128;
}

// 2^bits - 1 for bits 0 .. 128: the value of `bits` one-bits.
constexpr Uint128 LowOnes(int bits) {
  return bits >= 128 ? Uint128::Max() : (Uint128(1) << bits) - 1;
}
