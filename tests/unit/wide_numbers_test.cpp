// The 128-bit integer and the wider counts, at their edges, against the
// compiler's own 128-bit type where the target has one.
#include <gtest/gtest.h>

#include <string>

#include "net/count.hpp"
#include "net/decimal.hpp"
#include "net/uint128.hpp"

namespace {

#ifdef __SIZEOF_INT128__
using Builtin = unsigned __int128;

Builtin AsBuiltin(const Uint128& value) {
  return static_cast<Builtin>(value.high) << 64 | value.low;
}

// Values at the edges of the halves: carries and borrows cross between them.
const Uint128 EdgeValues[] = {Uint128(0),
                              Uint128(1),
                              Uint128(0, ~uint64_t{0}),
                              Uint128(1, 0),
                              Uint128(1, ~uint64_t{0}),
                              Uint128(uint64_t{1} << 63, 0),
                              Uint128(~uint64_t{0}, 0),
                              Uint128(0x0123456789ABCDEFu, 0xFEDCBA9876543210u),
                              Uint128::Max()};

TEST(Uint128, ArithmeticMatchesTheBuiltinTypeAtTheEdges) {
  for (const Uint128& a : EdgeValues) {
    for (const Uint128& b : EdgeValues) {
      const Builtin x = AsBuiltin(a), y = AsBuiltin(b);
      EXPECT_TRUE(AsBuiltin(a + b) == x + y);
      EXPECT_TRUE(AsBuiltin(a - b) == x - y);
      EXPECT_TRUE(AsBuiltin(a * b) == x * y);
      EXPECT_TRUE(AsBuiltin(a & b) == (x & y) && AsBuiltin(a | b) == (x | y));
      EXPECT_TRUE(AsBuiltin(a ^ b) == (x ^ y) && AsBuiltin(~a) == static_cast<Builtin>(~x));
      EXPECT_EQ(a < b, x < y);
      EXPECT_EQ(a == b, x == y);
      EXPECT_EQ(a <= b, x <= y);
    }
    EXPECT_TRUE(AsBuiltin(MultiplyWide(a.low, a.high)) == static_cast<Builtin>(a.low) * a.high);
    for (const uint32_t divisor : {1u, 10u, 25u, 1000000000u, 0xFFFFFFFFu}) {
      const Uint128Division division = DivideBy(a, divisor);
      EXPECT_TRUE(AsBuiltin(division.quotient) == AsBuiltin(a) / divisor);
      EXPECT_EQ(division.remainder, static_cast<uint32_t>(AsBuiltin(a) % divisor));
    }
  }
}

TEST(Uint128, ShiftsByEveryEdgeCountAndPastTheWidth) {
  for (const Uint128& a : EdgeValues) {
    for (const int shift : {0, 1, 63, 64, 65, 127}) {
      EXPECT_TRUE(AsBuiltin(a << shift) == AsBuiltin(a) << shift) << shift;
      EXPECT_TRUE(AsBuiltin(a >> shift) == AsBuiltin(a) >> shift) << shift;
    }
    EXPECT_EQ(a << 128, Uint128());
    EXPECT_EQ(a >> 128, Uint128());
  }
}
#endif

TEST(Uint128, BitCountsAndLowOnes) {
  const struct {
    Uint128 value;
    int length;
    int trailing;
  } cases[] = {{Uint128(0), 0, 128},
               {Uint128(1), 1, 0},
               {Uint128(0, ~uint64_t{0}), 64, 0},
               {Uint128(1, 0), 65, 64},
               {Uint128(uint64_t{1} << 63, 0), 128, 127},
               {Uint128::Max(), 128, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(BitLength(c.value), c.length);
    EXPECT_EQ(TrailingZeros(c.value), c.trailing);
  }
  EXPECT_EQ(LowOnes(0), Uint128());
  EXPECT_EQ(LowOnes(64), Uint128(0, ~uint64_t{0}));
  EXPECT_EQ(LowOnes(128), Uint128::Max());
}

// Decimal texts of the powers a /0 of each family reaches, both ways.
TEST(Decimal, WritesAndReadsCountsUpTo192Bits) {
  const struct {
    AddressCount value;
    const char* text;
  } cases[] = {
      {AddressCount(0), "0"},
      {AddressCount(~uint64_t{0}), "18446744073709551615"},
      {PowerOfTwo(64), "18446744073709551616"},
      {AddressCount(Uint128(1000000000u, 0)), "18446744073709551616000000000"},
      {AddressCount(Uint128::Max()), "340282366920938463463374607431768211455"},
      {PowerOfTwo(128), "340282366920938463463374607431768211456"},
      {AddressCount::Max(), "6277101735386680763835789423207666416102355444464034512895"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecimalText(c.value), c.text);
    AddressCount read;
    EXPECT_TRUE(ReadDecimal(c.text, read) && read == c.value) << c.text;
  }
  AddressCount read;
  EXPECT_TRUE(ReadDecimal("99999999999999999999999999999999999999999999999999999999999999", read));
  EXPECT_EQ(read, AddressCount::Max());  // saturated, never wrapped
  EXPECT_FALSE(ReadDecimal("", read) || ReadDecimal("12a", read) || ReadDecimal("-1", read));
  EXPECT_EQ(PowerOfTwo(128) + AddressCount::Max(), AddressCount::Max());
  EXPECT_EQ(GroupedDecimal(PowerOfTwo(32)), "4,294,967,296");
}

TEST(PercentOf, RoundsDownExactlyAtAnySize) {
  const struct {
    AddressCount part;
    int exponent;
    int percent;
  } cases[] = {
      {AddressCount(0), 0, 0},
      {AddressCount(1), 0, 100},
      {AddressCount(254), 8, 99},
      {AddressCount(1019), 10, 99},  // 99.5 and 99.6
      {AddressCount(1014), 10, 99},
      {AddressCount(1013), 10, 98},  // 99.02 and 98.9
      {AddressCount(Uint128::Max()), 128, 99},
      {PowerOfTwo(127), 128, 50},
      {PowerOfTwo(128), 128, 100},
      {AddressCount(Uint128(0x28F5C28F5C28F5C2u, 0x8F5C28F5C28F5C29u)), 128, 16},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PercentOf(c.part, c.exponent), c.percent) << DecimalText(c.part) << " " << c.exponent;
}

}  // namespace
