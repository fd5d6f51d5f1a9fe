// Counts of addresses and rows beyond 128 bits: a /0 holds 2^128 IPv6
// addresses, and a list of millions of such blocks sums far past that. 192
// bits hold any sum of up to 2^64 blocks.
#pragma once

#include <cstdint>

#include "net/uint128.hpp"

struct AddressCount {
  Uint128 low;
  uint64_t high = 0;  // the bits above 2^128

  constexpr AddressCount() = default;
  constexpr AddressCount(const Uint128& value) : low(value) {}  // NOLINT(runtime/explicit)
  constexpr AddressCount(uint64_t value) : low(value) {}        // NOLINT(runtime/explicit)

  static constexpr AddressCount Max() {
    AddressCount count(Uint128::Max());
    count.high = ~uint64_t{0};
    return count;
  }
  // True when the count fits 128 bits (low then holds all of it).
  constexpr bool FitsUint128() const { return high == 0; }
};

// 2^exponent for exponent 0 .. 191.
constexpr AddressCount PowerOfTwo(int exponent) {
  AddressCount count;
  if (exponent >= 128) {
    count.high = uint64_t{1} << (exponent - 128);
  } else {
    count.low = Uint128(1) << exponent;
  }
  return count;
}

constexpr bool operator==(const AddressCount& a, const AddressCount& b) {
  return a.high == b.high && a.low == b.low;
}
constexpr bool operator!=(const AddressCount& a, const AddressCount& b) {
  return !(a == b);
}
constexpr bool operator<(const AddressCount& a, const AddressCount& b) {
  return a.high != b.high ? a.high < b.high : a.low < b.low;
}
constexpr bool operator<=(const AddressCount& a, const AddressCount& b) {
  return !(b < a);
}
constexpr bool operator>(const AddressCount& a, const AddressCount& b) {
  return b < a;
}
constexpr bool operator>=(const AddressCount& a, const AddressCount& b) {
  return !(a < b);
}

// Sums saturate at Max(), so a runaway sum stays larger than anything real.
constexpr AddressCount operator+(const AddressCount& a, const AddressCount& b) {
  AddressCount sum;
  sum.low = a.low + b.low;
  const uint64_t carry = sum.low < a.low ? 1 : 0;
  sum.high = a.high + b.high + carry;
  const bool wrapped = sum.high < a.high || (sum.high == a.high && (b.high | carry) != 0);
  return wrapped ? AddressCount::Max() : sum;
}
constexpr AddressCount& operator+=(AddressCount& a, const AddressCount& b) {
  return a = a + b;
}
// a - b for b <= a.
constexpr AddressCount operator-(const AddressCount& a, const AddressCount& b) {
  AddressCount difference;
  difference.low = a.low - b.low;
  difference.high = a.high - b.high - (a.low < b.low ? 1 : 0);
  return difference;
}

// Position of the highest one bit plus one: 0 for 0.
constexpr int BitLength(const AddressCount& a) {
  return a.high != 0 ? 192 - __builtin_clzll(a.high) : BitLength(a.low);
}

// The share `part` is of 2^exponent (part <= 2^exponent, exponent <= 128), in
// whole percent rounded down (99.9% is 99), exact at any size.
constexpr int PercentOf(const AddressCount& part, int exponent) {
  if (part == PowerOfTwo(exponent)) return 100;
  // part / 2^exponent as a fraction of 128 bits, times 100: its integer part
  // is the high half of the top 64 bits of the 192-bit product.
  const Uint128 fraction = part.low << (128 - exponent);
  const Uint128 low = MultiplyWide(100, fraction.low);
  const Uint128 high = MultiplyWide(100, fraction.high) + Uint128(low.high);
  return static_cast<int>(high.high);
}

// a * m; a product beyond 192 bits saturates at Max() as a sum does.
constexpr AddressCount operator*(const AddressCount& a, uint32_t m) {
  const Uint128 bottom = MultiplyWide(a.low.low, m);
  const Uint128 middle = MultiplyWide(a.low.high, m) + Uint128(bottom.high);
  const Uint128 top = MultiplyWide(a.high, m) + Uint128(middle.high);
  AddressCount product(Uint128(middle.low, bottom.low));
  product.high = top.low;
  return top.high != 0 ? AddressCount::Max() : product;
}
